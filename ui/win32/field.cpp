// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/win32/field.h"

#include <commctrl.h>

#include <utility>

#include "ui/text_filter.h"
#include "ui/win32/wide_text.h"

namespace styrmark::win32 {
namespace {

constexpr char16_t kBackspace = 8;
constexpr char16_t kTab = 9;
constexpr char16_t kEnter = 13;
constexpr char16_t kSelectAll = 1;  // Ctrl+A
constexpr char16_t kFirstPrintable = 0x20;

// Ctrl+C, Ctrl+V, Ctrl+X, Ctrl+Z … arrive as control characters. They are commands for the
// edit control, not typed characters for the key filter; the same code sent as a character
// (by an on-screen keyboard, say) is typed.
bool IsEditingShortcut(char16_t character) {
    return character < kFirstPrintable && character != kBackspace && character != kTab &&
           character != kEnter && GetKeyState(VK_CONTROL) < 0;
}

}  // namespace

Field::Field(HWND edit, std::size_t limit, FieldEvents events)
    : m_edit(edit), m_limit(limit), m_events(std::move(events)) {
    SetWindowSubclass(m_edit, Procedure, 0, reinterpret_cast<DWORD_PTR>(this));
}

Field::~Field() { RemoveWindowSubclass(m_edit, Procedure, 0); }

LRESULT CALLBACK Field::Procedure(HWND, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                  DWORD_PTR self) {
    auto* field = reinterpret_cast<Field*>(self);
    ++field->m_depth;
    const LRESULT result = field->Handle(message, wParam, lParam);
    if (field->m_depth == 1) field->KeepAdmitted();
    --field->m_depth;
    return result;
}

LRESULT Field::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_GETDLGCODE: {
            LRESULT code = DefSubclassProc(m_edit, message, wParam, lParam);
            // Enter is a typed character for the key filter, not the dialog's default button.
            const auto* key = reinterpret_cast<const MSG*>(lParam);
            if (key != nullptr && key->wParam == VK_RETURN &&
                (key->message == WM_KEYDOWN || key->message == WM_CHAR))
                code |= DLGC_WANTMESSAGE;
            return code;
        }
        case WM_CHAR:
            return OnCharacter(wParam, lParam);
        case WM_IME_CHAR: {
            const auto composed = static_cast<wchar_t>(wParam);
            Put(Kept({&composed, 1}), TRUE);
            return 0;
        }
        case WM_PASTE:
            Paste();
            return 0;
        case WM_KEYDOWN:
            // Shift+Insert pastes inside the edit without a WM_PASTE.
            if (wParam != VK_INSERT || GetKeyState(VK_SHIFT) >= 0 || GetKeyState(VK_CONTROL) < 0)
                return DefSubclassProc(m_edit, message, wParam, lParam);
            Paste();
            return 0;
        case EM_REPLACESEL: {
            const auto* incoming = reinterpret_cast<const wchar_t*>(lParam);
            Put(Kept(incoming != nullptr ? incoming : L""), static_cast<BOOL>(wParam));
            return 0;
        }
        case WM_SETFOCUS: {
            const LRESULT result = DefSubclassProc(m_edit, message, wParam, lParam);
            if (m_events.gained) m_events.gained();
            return result;
        }
        case WM_KILLFOCUS: {
            const LRESULT result = DefSubclassProc(m_edit, message, wParam, lParam);
            if (m_events.lost) m_events.lost(reinterpret_cast<HWND>(wParam));
            return result;
        }
        default:
            return DefSubclassProc(m_edit, message, wParam, lParam);
    }
}

LRESULT Field::OnCharacter(WPARAM wParam, LPARAM lParam) {
    const auto typed = static_cast<char16_t>(wParam);
    if (typed == kSelectAll && IsEditingShortcut(typed)) {
        SendMessageW(m_edit, EM_SETSEL, 0, -1);
        return 0;
    }
    if (IsEditingShortcut(typed)) return DefSubclassProc(m_edit, WM_CHAR, wParam, lParam);
    if (m_events.typed && !m_events.typed(typed)) return 0;
    // A single-line field has no use for Enter or Tab: taken or not, they only move on.
    if (typed == kEnter || typed == kTab) return 0;
    if (typed < kFirstPrintable) return DefSubclassProc(m_edit, WM_CHAR, wParam, lParam);
    // Kept whole, it goes in as the edit's own typing, which one Ctrl+Z takes back at once.
    const auto character = static_cast<wchar_t>(typed);
    const toolkit::Replacement kept = Kept({&character, 1});
    if (kept.whole) return DefSubclassProc(m_edit, WM_CHAR, wParam, lParam);
    Put(kept, TRUE);
    return 0;
}

// What the field keeps of `incoming` over the selection.
toolkit::Replacement Field::Kept(std::wstring_view incoming) const {
    const std::wstring text = WindowText(m_edit);
    DWORD from = 0;
    DWORD to = 0;
    SendMessageW(m_edit, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
    return toolkit::KeptReplacement(std::u16string(text.begin(), text.end()), from, to,
                                    std::u16string(incoming.begin(), incoming.end()), m_admits,
                                    m_limit);
}

void Field::Put(const toolkit::Replacement& replacement, BOOL canUndo) {
    if (replacement.start != replacement.end || !replacement.text.empty()) {
        const std::wstring text(replacement.text.begin(), replacement.text.end());
        DefSubclassProc(m_edit, EM_SETSEL, replacement.start, static_cast<LPARAM>(replacement.end));
        DefSubclassProc(m_edit, EM_REPLACESEL, static_cast<WPARAM>(canUndo),
                        reinterpret_cast<LPARAM>(text.c_str()));
    }
    DefSubclassProc(m_edit, EM_SETSEL, replacement.cursor, static_cast<LPARAM>(replacement.cursor));
}

// Text can also come in by a way of the edit's own that the field does not see: on Windows,
// an input method's composition goes straight in. Whatever the user changed is kept to what
// the field admits as soon as the message that changed it is done, the undo with it.
void Field::KeepAdmitted() {
    if (DefSubclassProc(m_edit, EM_GETMODIFY, 0, 0) == 0) return;
    DefSubclassProc(m_edit, EM_SETMODIFY, FALSE, 0);
    const std::wstring text = WindowText(m_edit);
    DWORD cursor = 0;
    SendMessageW(m_edit, EM_GETSEL, 0, reinterpret_cast<LPARAM>(&cursor));
    const toolkit::FieldEdit kept = toolkit::FilterFieldText(
        {std::u16string(text.begin(), text.end()), cursor}, m_admits, m_limit);
    if (kept.text.size() == text.size()) return;
    Put({0, text.size(), kept.text, kept.cursor, false}, FALSE);
    DefSubclassProc(m_edit, EM_SETMODIFY, FALSE, 0);
}

// Another program may hold the clipboard for a moment (clipboard managers do): the paste
// waits a little for it rather than doing nothing.
void Field::Paste() {
    constexpr int kTries = 20;
    constexpr DWORD kPause = 5;  // ms
    for (int tries = 1; !OpenClipboard(m_edit); ++tries) {
        if (tries == kTries) return;
        Sleep(kPause);
    }
    std::wstring text;
    if (const HANDLE memory = GetClipboardData(CF_UNICODETEXT)) text = GlobalText(memory);
    CloseClipboard();
    Put(Kept(text), TRUE);
}

}  // namespace styrmark::win32
