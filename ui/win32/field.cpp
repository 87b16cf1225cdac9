// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/win32/field.h"

#include <commctrl.h>

#include <string>

#include "ui/text_filter.h"
#include "ui/win32/form.h"
#include "ui/win32/wide_text.h"

namespace styrmark::win32 {
namespace {

constexpr char16_t kBackspace = 8;
constexpr char16_t kTab = 9;
constexpr char16_t kEnter = 13;
constexpr char16_t kSelectAll = 1;  // Ctrl+A

// Ctrl+C, Ctrl+V, Ctrl+X, Ctrl+Z … arrive as control characters. They are commands for the
// edit control, not typed characters for the key filter; the same code sent as a character
// (by an on-screen keyboard, say) is typed.
bool IsEditingShortcut(char16_t character) {
    return character < 0x20 && character != kBackspace && character != kTab &&
           character != kEnter && GetKeyState(VK_CONTROL) < 0;
}

}  // namespace

Field::Field(Win32Form& form, toolkit::Control control, HWND edit, std::size_t limit)
    : m_form(form), m_control(control), m_edit(edit), m_limit(limit) {
    SetWindowSubclass(m_edit, Procedure, 0, reinterpret_cast<DWORD_PTR>(this));
}

Field::~Field() { RemoveWindowSubclass(m_edit, Procedure, 0); }

LRESULT CALLBACK Field::Procedure(HWND, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                  DWORD_PTR self) {
    return reinterpret_cast<Field*>(self)->Handle(message, wParam, lParam);
}

LRESULT Field::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_depth == 0) m_changed = false;
    ++m_depth;
    LRESULT result = 0;
    switch (message) {
        case WM_GETDLGCODE: {
            result = DefSubclassProc(m_edit, message, wParam, lParam);
            // Enter is a typed character for the key filter, not the dialog's default button.
            const auto* key = reinterpret_cast<const MSG*>(lParam);
            if (key != nullptr && key->wParam == VK_RETURN &&
                (key->message == WM_KEYDOWN || key->message == WM_CHAR))
                result |= DLGC_WANTMESSAGE;
            break;
        }
        case WM_CHAR:
            result = OnCharacter(wParam, lParam);
            break;
        case WM_SETFOCUS:
            result = DefSubclassProc(m_edit, message, wParam, lParam);
            m_form.OnFocusGained(m_control);
            break;
        case WM_KILLFOCUS:
            result = DefSubclassProc(m_edit, message, wParam, lParam);
            m_form.OnFocusLost(m_control, reinterpret_cast<HWND>(wParam));
            break;
        default:
            result = DefSubclassProc(m_edit, message, wParam, lParam);
            break;
    }
    --m_depth;
    // Setting the text is the program's own doing; everything else came from the user.
    if (m_depth == 0 && m_changed && message != WM_SETTEXT) KeepAdmitted();
    return result;
}

LRESULT Field::OnCharacter(WPARAM wParam, LPARAM lParam) {
    const auto typed = static_cast<char16_t>(wParam);
    if (typed == kSelectAll && IsEditingShortcut(typed)) {
        SendMessageW(m_edit, EM_SETSEL, 0, -1);
        return 0;
    }
    if (IsEditingShortcut(typed)) return DefSubclassProc(m_edit, WM_CHAR, wParam, lParam);
    const char16_t taken = m_form.OnKey(m_control, typed);
    // A single-line field has no use for Enter; taken or not, it only moved the focus on.
    if (taken == 0 || taken == kEnter) return 0;
    return DefSubclassProc(m_edit, WM_CHAR, taken, lParam);
}

void Field::KeepAdmitted() {
    const std::wstring text = WindowText(m_edit);
    DWORD cursor = 0;
    SendMessageW(m_edit, EM_GETSEL, 0, reinterpret_cast<LPARAM>(&cursor));
    const toolkit::FieldEdit kept = toolkit::FilterFieldText(
        {std::u16string(text.begin(), text.end()), cursor}, m_admits, m_limit);
    if (kept.text.size() == text.size()) return;
    SetWindowTextW(m_edit, std::wstring(kept.text.begin(), kept.text.end()).c_str());
    SendMessageW(m_edit, EM_SETSEL, kept.cursor, static_cast<LPARAM>(kept.cursor));
    m_changed = false;
}

}  // namespace styrmark::win32
