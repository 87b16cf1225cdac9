// SPDX-License-Identifier: GPL-3.0-or-later
#include <windows.h>

#include <commctrl.h>

#include "ui/win32/dpi.h"
#include "ui/win32/drop_target.h"
#include "ui/win32/field.h"
#include "ui/win32/form.h"

namespace styrmark::win32 {

LRESULT CALLBACK Win32Form::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
    }
    auto* form = reinterpret_cast<Win32Form*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (form == nullptr || form->m_window == nullptr)
        return DefWindowProcW(window, message, wParam, lParam);
    return form->Handle(message, wParam, lParam);
}

// The button tells the form when it takes the focus, so that the focus can come back to it.
LRESULT CALLBACK Win32Form::ButtonProcedure(HWND button, UINT message, WPARAM wParam, LPARAM lParam,
                                            UINT_PTR, DWORD_PTR self) {
    if (message == WM_SETFOCUS) {
        auto* form = reinterpret_cast<Win32Form*>(self);
        if (const auto control = form->ControlOf(button)) form->OnFocusGained(*control);
    }
    if (message == WM_NCDESTROY) RemoveWindowSubclass(button, ButtonProcedure, 0);
    return DefSubclassProc(button, message, wParam, lParam);
}

LRESULT Win32Form::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            return OnCommand(wParam, lParam);
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC:
            return OnControlColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
        case WM_ERASEBKGND: {
            RECT client{};
            GetClientRect(m_window, &client);
            FillRect(reinterpret_cast<HDC>(wParam), &client, m_brushes.Of(m_layout.background));
            return 1;
        }
        case WM_ACTIVATE:
            OnActivate(wParam);
            return 0;
        case WM_DPICHANGED:
            OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
            return 0;
        case kReportLeaves:
            ReportPendingLeaves();
            return 0;
        case WM_TIMER:
            if (wParam != kAcceptDropsTimer)
                return DefWindowProcW(m_window, message, wParam, lParam);
            KillTimer(m_window, kAcceptDropsTimer);
            AcceptDrops();
            return 0;
        case WM_DESTROY:
            for (ControlState& control : m_controls) {
                if (control.dropTarget != nullptr) control.dropTarget->Revoke();
                control.dropTarget = nullptr;
                m_accessibility.Forget(control.window);
            }
            PostQuitMessage(0);
            return 0;
        case WM_NCDESTROY:
            m_window = nullptr;
            return 0;
        default:
            return DefWindowProcW(m_window, message, wParam, lParam);
    }
}

LRESULT Win32Form::OnCommand(WPARAM wParam, LPARAM lParam) {
    HWND sender = reinterpret_cast<HWND>(lParam);
    // Enter on a button that is not the default one arrives from IsDialogMessage as IDOK.
    if (LOWORD(wParam) == IDOK && sender == nullptr) {
        sender = GetFocus();
        if (!(SendMessageW(sender, WM_GETDLGCODE, 0, 0) & DLGC_UNDEFPUSHBUTTON)) return 0;
        wParam = MAKEWPARAM(0, BN_CLICKED);
    }
    const auto control = ControlOf(sender);
    if (!control) return 0;
    switch (HIWORD(wParam)) {
        case EN_CHANGE:
            if (m_controls[control->row].field) m_controls[control->row].field->NoteChange();
            break;
        case BN_CLICKED:
            // A field the click took the focus from speaks first, and may take it back.
            ReportPendingLeaves();
            if (GetFocus() == sender && m_events.buttonPress) m_events.buttonPress(*control);
            break;
        default:
            break;
    }
    return 0;
}

LRESULT Win32Form::OnControlColour(HDC dc, HWND window) {
    const auto control = ControlOf(window);
    if (!control)
        return DefWindowProcW(m_window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                              reinterpret_cast<LPARAM>(window));
    const ControlState& state = m_controls[control->row];
    if (state.text) SetTextColor(dc, ToColorRef(*state.text));
    if (state.background) {
        SetBkColor(dc, ToColorRef(*state.background));
        return reinterpret_cast<LRESULT>(m_brushes.Of(*state.background));
    }
    // A caption without a ground of its own shows the form's through it.
    SetBkMode(dc, TRANSPARENT);
    return reinterpret_cast<LRESULT>(m_brushes.Of(m_layout.background));
}

// Windows would put the focus on the form itself; it goes back to the control that last had
// it, as in a dialog, also after a message box.
void Win32Form::OnActivate(WPARAM wParam) {
    if (LOWORD(wParam) == WA_INACTIVE || HIWORD(wParam) != 0) return;
    if (m_lastFocus != nullptr && IsWindow(m_lastFocus)) SetFocus(m_lastFocus);
}

void Win32Form::OnDpiChanged(UINT dpi, const RECT& suggested) {
    m_dpi = dpi;
    SetWindowPos(m_window, nullptr, suggested.left, suggested.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    Layout(dpi);
}

}  // namespace styrmark::win32
