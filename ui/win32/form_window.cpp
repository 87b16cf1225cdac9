// SPDX-License-Identifier: GPL-3.0-or-later
// The window's life: made with its controls, chained for Tab and screen readers, and taken
// down again, whether the user closes it or the program lets it go.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <stdexcept>
#include <string>

#include "ui/win32/dpi.h"
#include "ui/win32/drop_target.h"
#include "ui/win32/field.h"
#include "ui/win32/fonts.h"
#include "ui/win32/form.h"
#include "ui/win32/wide_text.h"

namespace styrmark::win32 {
namespace {

using toolkit::Control;
using toolkit::ControlKind;

constexpr const wchar_t* kWindowClass = L"StyrmarkForm";
// Clear of the ids IsDialogMessage sends for Enter and Escape (IDOK, IDCANCEL).
constexpr int kFirstControlId = 1000;

// What Windows says of an error, on one line.
std::string ErrorText(DWORD error) {
    wchar_t* text = nullptr;
    FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring said = text != nullptr ? text : L"";
    LocalFree(text);
    while (!said.empty() && (said.back() == L'\n' || said.back() == L'\r' || said.back() == L'.'))
        said.pop_back();
    return "fel " + std::to_string(error) + (said.empty() ? "" : ": " + Narrow(said));
}

// One line for the user: what Windows would not do, and why.
[[noreturn]] void CannotCreate(const char* what, const char* name = "") {
    const std::string why = ErrorText(GetLastError());
    throw std::runtime_error(std::string("styrmark: fönstret kunde inte skapas: Windows ") + what +
                             name + " (" + why + ")");
}

struct ChildClass {
    const wchar_t* name;
    DWORD style;
    DWORD extendedStyle;
};

// Captions are centred both ways on one line, never wrapped: they are fitted instead.
ChildClass ClassOf(ControlKind kind) {
    switch (kind) {
        case ControlKind::Label:
        case ControlKind::LiveLabel:
            return {WC_STATICW, SS_CENTER | SS_CENTERIMAGE | SS_NOPREFIX, 0};
        case ControlKind::Field:
            return {WC_EDITW, WS_TABSTOP | ES_CENTER | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
        case ControlKind::Button:
            // Without BS_NOTIFY, whose double click is no second press.
            return {WC_BUTTONW, WS_TABSTOP | BS_PUSHBUTTON, 0};
    }
    return {};
}

}  // namespace

Win32Form::Win32Form(const toolkit::FormLayout& layout,
                     std::span<const toolkit::ControlRow> controls)
    : Form(controls), m_layout(layout), m_face(ChooseFace()), m_controls(controls.size()) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW form{};
    form.cbSize = sizeof form;
    form.lpfnWndProc = Procedure;
    form.hInstance = instance;
    form.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    form.lpszClassName = kWindowClass;
    if (GetClassInfoExW(instance, kWindowClass, &form) == 0 && RegisterClassExW(&form) == 0)
        CannotCreate("registrerade inte fönsterklassen");
    m_window = CreateWindowExW(0, kWindowClass, Widen(layout.caption).c_str(), kWindowStyle,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr,
                               nullptr, instance, this);
    if (m_window == nullptr) CannotCreate("skapade inte fönstret");
    try {
        for (std::size_t row = 0; row < controls.size(); ++row)
            m_controls[row].row = &controls[row];
        CreateControls();
        ChainControls();
        m_dpi = WindowDpi(m_window);
        m_textScale = TextScalePercent();
        Layout();
        FitWindow();
    } catch (...) {
        DestroyWindow(m_window);
        throw;
    }
}

// The handlers' owner is going away: what the window does as it closes is nobody's news.
Win32Form::~Win32Form() {
    m_closed = {};
    Listen({});
    if (m_window != nullptr) DestroyWindow(m_window);
}

void Win32Form::CreateControls() {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    for (std::size_t row = 0; row < m_controls.size(); ++row) {
        ControlState& control = m_controls[row];
        const toolkit::ControlRow& layout = *control.row;
        const ChildClass kind = ClassOf(layout.kind);
        control.window =
            CreateWindowExW(kind.extendedStyle, kind.name, Widen(layout.text).c_str(),
                            WS_CHILD | WS_VISIBLE | kind.style, 0, 0, 0, 0, m_window,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstControlId + row)),
                            instance, nullptr);
        if (control.window == nullptr) CannotCreate("skapade inte kontrollen ", layout.name);
        const Control self{row};
        if (layout.kind == ControlKind::Field) {
            control.field = std::make_unique<Field>(
                control.window, static_cast<std::size_t>(layout.maxLength),
                FieldEvents{.typed = [this, self](char16_t typed) { return KeyTyped(self, typed); },
                            .gained = [this, self] { FocusGained(self); },
                            .lost =
                                [this, self](HWND gaining) {
                                    FocusLost(self, ControlOf(gaining).has_value());
                                }});
            m_accessibility.SetName(control.window, Widen(layout.accessibleName));
        }
        if (layout.kind == ControlKind::LiveLabel) m_accessibility.MakeLiveRegion(control.window);
    }
}

// One order serves both: IsDialogMessage tabs through the children in it, and screen
// readers (the edit's MSAA name, UI Automation's LabeledBy) take the caption just before a
// control as its label. So the controls go in tab order, each straight after the caption
// that heads it; what takes no focus follows, headed the same way; lone captions last.
void Win32Form::ChainControls() {
    const std::size_t rows = m_controls.size();
    std::vector<Control> chain;
    const auto chained = [&chain](Control control) {
        return std::find(chain.begin(), chain.end(), control) != chain.end();
    };
    const auto add = [&](Control control) {
        for (std::size_t row = 0; row < rows; ++row) {
            if (Headed(Control{row}) == control) chain.push_back(Control{row});
        }
        chain.push_back(control);
    };
    for (const Control control : toolkit::TabOrder(Rows())) add(control);
    for (std::size_t row = 0; row < rows; ++row) {
        const std::optional<Control> headed = Headed(Control{row});
        if (headed && !chained(*headed)) add(*headed);
    }
    for (std::size_t row = 0; row < rows; ++row) {
        if (!chained(Control{row})) chain.push_back(Control{row});
    }
    for (std::size_t i = 1; i < chain.size(); ++i) {
        SetWindowPos(State(chain[i]).window, State(chain[i - 1]).window, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

// Once the window is drawn: starting OLE and registering the drop targets cost more than
// making the window, and nothing is dropped on a window not yet seen.
void Win32Form::AcceptDrops() {
    if (m_ole) return;
    m_ole.emplace(OleInitialize(nullptr), OleUninitialize);
    for (ControlState& control : m_controls) {
        if (control.field) control.drops = std::make_unique<DropRegistration>(control.window);
    }
}

// Still whole: what is registered for the controls goes while they are there.
void Win32Form::OnDestroy() {
    for (ControlState& control : m_controls) {
        control.drops.reset();
        m_accessibility.Forget(control.window);
    }
    if (m_closed) m_closed();
}

}  // namespace styrmark::win32
