// SPDX-License-Identifier: GPL-3.0-or-later
// What the form's rules ask of the window, done the Win32 way.
#include "ui/win32/form.h"

#include "ui/win32/field.h"
#include "ui/win32/wide_text.h"

namespace styrmark::win32 {

using toolkit::Control;

std::optional<Control> Win32Form::ControlOf(HWND window) const {
    for (std::size_t row = 0; row < m_controls.size(); ++row) {
        if (m_controls[row].window == window && window != nullptr) return Control{row};
    }
    return std::nullopt;
}

void Win32Form::Show() {
    RECT window{};
    GetWindowRect(m_window, &window);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(m_window, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT& work = monitor.rcWork;
    const LONG width = window.right - window.left;
    const LONG height = window.bottom - window.top;
    SetWindowPos(m_window, nullptr, work.left + (work.right - work.left - width) / 2,
                 work.top + (work.bottom - work.top - height) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(m_window, SW_SHOW);
    SetForegroundWindow(m_window);
    UpdateWindow(m_window);
    // A timer comes only when no paint is pending, the children's included.
    SetTimer(m_window, kAcceptDropsTimer, 0, nullptr);
}

// Once, however many leaves wait: the form reports them all at once.
void Win32Form::PostLeaves() {
    if (m_leavesPosted) return;
    m_leavesPosted = PostMessageW(m_window, kReportLeaves, 0, 0) != 0;
}

bool Win32Form::DoHasFocus(Control control) const { return GetFocus() == ControlHandle(control); }

// As IsDialogMessage does for Tab, a Tab move selects the field's text. A window that is not
// active takes the focus where it is put once it is activated again (WM_ACTIVATE).
void Win32Form::DoGiveFocus(Control control, bool asTab) {
    const HWND target = ControlHandle(control);
    if (asTab && (SendMessageW(target, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) != 0)
        SendMessageW(target, EM_SETSEL, 0, -1);
    m_lastFocus = target;
    if (IsWindowVisible(m_window) && GetActiveWindow() == m_window) SetFocus(target);
}

void Win32Form::DoSetAdmits(Control field, toolkit::Admits admits) {
    State(field).field->SetAdmits(admits);
}

std::string Win32Form::DoText(Control control) const {
    return Narrow(WindowText(ControlHandle(control)));
}

void Win32Form::DoSetCaption(Control label, std::string_view text) {
    ControlState& control = State(label);
    SetWindowTextW(control.window, Widen(text).c_str());
    Fit(control);
    InvalidateRect(control.window, nullptr, TRUE);
}

void Win32Form::DoSetBackground(Control control, toolkit::Rgb colour) {
    State(control).background = colour;
    InvalidateRect(ControlHandle(control), nullptr, TRUE);
}

void Win32Form::DoSetTextColour(Control control, toolkit::Rgb colour) {
    State(control).text = colour;
    InvalidateRect(ControlHandle(control), nullptr, TRUE);
}

void Win32Form::DoSetDescription(Control field, std::string_view description) {
    m_accessibility.SetDescription(ControlHandle(field), Widen(description));
}

void Win32Form::DoSelectAll(Control field) { SendMessageW(ControlHandle(field), EM_SETSEL, 0, -1); }

void Win32Form::DoPutCursorAtEnd(Control field) {
    const HWND edit = ControlHandle(field);
    const int end = GetWindowTextLengthW(edit);
    SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(end), end);
    SendMessageW(edit, EM_SCROLLCARET, 0, 0);
}

void Win32Form::DoAnnounce(Control liveLabel) { Accessibility::Announce(ControlHandle(liveLabel)); }

void Win32Form::DoShowMessage(std::string_view text, std::string_view title,
                              std::function<void()> closed) {
    MessageBoxW(m_window, Widen(text).c_str(), Widen(title).c_str(), MB_OK);
    if (closed) closed();
}

}  // namespace styrmark::win32
