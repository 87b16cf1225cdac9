// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/win32/form.h"

#include "ui/win32/drop_target.h"
#include "ui/win32/field.h"
#include "ui/win32/fonts.h"
#include "ui/win32/wide_text.h"

namespace styrmark::win32 {

using toolkit::Control;
using toolkit::FocusLoss;

Win32Form::~Win32Form() {
    // Closing moves the focus out of the fields while the handlers' owner is going away.
    m_events = {};
    if (m_window != nullptr) DestroyWindow(m_window);
    for (ControlState& control : m_controls) {
        if (control.fittedFont != nullptr) DeleteObject(control.fittedFont);
    }
    if (m_font != nullptr) DeleteObject(m_font);
}

void Win32Form::Listen(toolkit::FormEvents events) { m_events = std::move(events); }

void Win32Form::SetAdmits(Control field, toolkit::Admits admits) {
    m_controls[field.row].field->SetAdmits(admits);
}

std::string Win32Form::Text(Control control) const {
    return Narrow(WindowText(ControlHandle(control)));
}

void Win32Form::SetCaption(Control label, std::string_view text) {
    ControlState& control = m_controls[label.row];
    SetWindowTextW(control.window, Widen(text).c_str());
    FitCaption(control);
    InvalidateRect(control.window, nullptr, TRUE);
}

void Win32Form::SetBackground(Control control, toolkit::Rgb colour) {
    m_controls[control.row].background = colour;
    InvalidateRect(ControlHandle(control), nullptr, TRUE);
}

void Win32Form::SetTextColour(Control control, toolkit::Rgb colour) {
    m_controls[control.row].text = colour;
    InvalidateRect(ControlHandle(control), nullptr, TRUE);
}

void Win32Form::SetDescription(Control control, std::string_view description) {
    m_accessibility.SetDescription(ControlHandle(control), Widen(description));
}

void Win32Form::SelectAll(Control field) { SendMessageW(ControlHandle(field), EM_SETSEL, 0, -1); }

void Win32Form::PutCursorAtEnd(Control field) {
    const HWND edit = ControlHandle(field);
    const int end = GetWindowTextLengthW(edit);
    SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(end), end);
    SendMessageW(edit, EM_SCROLLCARET, 0, 0);
}

void Win32Form::GiveFocus(Control control) {
    m_lastFocus = ControlHandle(control);
    // An inactive window takes it when it is activated again (WM_ACTIVATE).
    if (!IsWindowVisible(m_window) || GetActiveWindow() != m_window) return;
    m_programMovesFocus = true;
    SetFocus(m_lastFocus);
    m_programMovesFocus = false;
}

// As IsDialogMessage does for Tab in a window that is not a dialog.
void Win32Form::NextControl(Control from) {
    const HWND next = GetNextDlgTabItem(m_window, ControlHandle(from), FALSE);
    if (next == nullptr) return;
    if ((SendMessageW(next, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) != 0)
        SendMessageW(next, EM_SETSEL, 0, -1);
    SetFocus(next);
}

void Win32Form::Announce(Control liveLabel) { Accessibility::Announce(ControlHandle(liveLabel)); }

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

std::optional<Control> Win32Form::ControlOf(HWND window) const {
    for (std::size_t row = 0; row < m_controls.size(); ++row) {
        if (m_controls[row].window == window && window != nullptr) return Control{row};
    }
    return std::nullopt;
}

char16_t Win32Form::OnKey(Control field, char16_t character) {
    return m_events.fieldKey ? m_events.fieldKey(field, character) : character;
}

void Win32Form::OnFocusGained(Control control) {
    m_lastFocus = ControlHandle(control);
    if (m_events.fieldEnter && m_controls[control.row].field) m_events.fieldEnter(control);
}

// Never acted on here: a message box or a focus move inside WM_KILLFOCUS would fight the
// focus change under way. The form reports it once that is over.
void Win32Form::OnFocusLost(Control field, HWND gaining) {
    const bool byUser = gaining != nullptr && IsChild(m_window, gaining) && !m_programMovesFocus;
    m_pendingLeaves.emplace_back(field, byUser ? FocusLoss::ByUser : FocusLoss::Other);
    PostMessageW(m_window, kReportLeaves, 0, 0);
}

void Win32Form::ReportPendingLeaves() {
    while (!m_pendingLeaves.empty()) {
        const auto [field, loss] = m_pendingLeaves.front();
        m_pendingLeaves.pop_front();
        if (m_events.fieldLeave) m_events.fieldLeave(field, loss);
        // The focus may have come back before the loss was reported.
        if (GetFocus() == ControlHandle(field) && m_events.fieldEnter) m_events.fieldEnter(field);
    }
    // A click whose focus move was taken back ends in no press.
    const HWND captured = GetCapture();
    if (captured != nullptr && captured != GetFocus() && ControlOf(captured)) ReleaseCapture();
}

void Win32Form::ShowMessageBox(std::string_view text, std::string_view title) {
    MessageBoxW(m_window, Widen(text).c_str(), Widen(title).c_str(), MB_OK);
}

}  // namespace styrmark::win32
