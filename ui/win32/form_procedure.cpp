// SPDX-License-Identifier: GPL-3.0-or-later
// The form window's messages.
#include <windows.h>

#include "ui/win32/dpi.h"
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
        // Asked before a move to a screen of another resolution: the size there, so that the
        // rectangle WM_DPICHANGED suggests is the form's own.
        case WM_GETDPISCALEDSIZE:
            *reinterpret_cast<SIZE*>(lParam) = WindowSize(static_cast<UINT>(wParam));
            return TRUE;
        case WM_DPICHANGED:
            OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
            return 0;
        case WM_SETTINGCHANGE:
            OnSettingChange();
            return DefWindowProcW(m_window, message, wParam, lParam);
        case kReportLeaves:
            m_leavesPosted = false;
            ReportLeaves();
            return 0;
        case WM_TIMER:
            if (wParam != kAcceptDropsTimer)
                return DefWindowProcW(m_window, message, wParam, lParam);
            KillTimer(m_window, kAcceptDropsTimer);
            AcceptDrops();
            return 0;
        case WM_DESTROY:
            OnDestroy();
            return 0;
        case WM_NCDESTROY: {
            const LRESULT result = DefWindowProcW(m_window, message, wParam, lParam);
            m_window = nullptr;
            return result;
        }
        default:
            return DefWindowProcW(m_window, message, wParam, lParam);
    }
}

// The button's click, and Enter or Space on it, all come as BN_CLICKED; whether it counts
// is the form's rule.
LRESULT Win32Form::OnCommand(WPARAM wParam, LPARAM lParam) {
    HWND sender = reinterpret_cast<HWND>(lParam);
    // Enter on a focused button arrives from IsDialogMessage as IDOK.
    if (LOWORD(wParam) == IDOK && sender == nullptr) {
        sender = GetFocus();
        const auto code = SendMessageW(sender, WM_GETDLGCODE, 0, 0);
        if ((code & (DLGC_UNDEFPUSHBUTTON | DLGC_DEFPUSHBUTTON)) == 0) return 0;
        wParam = MAKEWPARAM(0, BN_CLICKED);
    }
    const auto control = ControlOf(sender);
    if (control && HIWORD(wParam) == BN_CLICKED) Pressed(*control);
    return 0;
}

LRESULT Win32Form::OnControlColour(HDC dc, HWND window) {
    const auto control = ControlOf(window);
    if (!control)
        return DefWindowProcW(m_window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                              reinterpret_cast<LPARAM>(window));
    const ControlState& state = State(*control);
    if (state.text) SetTextColor(dc, ToColorRef(*state.text));
    if (state.background) {
        SetBkColor(dc, ToColorRef(*state.background));
        return reinterpret_cast<LRESULT>(m_brushes.Of(*state.background));
    }
    // A caption without a ground of its own shows the form's through it.
    SetBkMode(dc, TRANSPARENT);
    return reinterpret_cast<LRESULT>(m_brushes.Of(m_layout.background));
}

// Windows would put the focus on the form itself; it goes back to the control that had it
// when the window was left, as in a dialog, also after a message box.
void Win32Form::OnActivate(WPARAM wParam) {
    if (LOWORD(wParam) == WA_INACTIVE) {
        if (ControlOf(GetFocus())) m_lastFocus = GetFocus();
        return;
    }
    if (HIWORD(wParam) != 0) return;  // minimised
    if (m_lastFocus != nullptr && IsWindow(m_lastFocus)) {
        SetFocus(m_lastFocus);
    } else {
        SetFocus(m_window);
    }
}

// Moved to a screen of another resolution: where Windows suggests, at the size it was told
// (WM_GETDPISCALEDSIZE), and laid out anew.
void Win32Form::OnDpiChanged(UINT dpi, const RECT& suggested) {
    m_dpi = dpi;
    SetWindowPos(m_window, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    Layout();
    LoadIcons();
}

// The user's text size may have changed with any setting.
void Win32Form::OnSettingChange() {
    const UINT scale = TextScalePercent();
    if (scale == m_textScale) return;
    m_textScale = scale;
    Layout();
    FitWindow();
}

}  // namespace styrmark::win32
