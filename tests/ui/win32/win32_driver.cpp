// SPDX-License-Identifier: GPL-3.0-or-later
// The behaviour table's driver for the Win32 front end: keys and clicks through SendInput,
// so that they pass the message loop, IsDialogMessage and TranslateMessage as a user's do;
// the controls read back from the window and from what the form paints them with.
#include <gtest/gtest.h>

#include <windows.h>

#include <stdexcept>
#include <vector>

#include "driver.h"
#include "ui/win32/dpi.h"
#include "ui/win32/form.h"
#include "ui/win32/message_loop.h"
#include "ui/win32/wide_text.h"
#include "win32_input.h"

namespace styrmark::test {
namespace {

using win32::Narrow;
using win32::Widen;
using win32::WindowText;

// What the form hands a control to paint with, in a memory DC of its own.
struct Paint {
    std::optional<toolkit::Rgb> background;
    toolkit::Rgb text;
};

// Windows' own timers (caret, mouse tracking) arrive as this undocumented message.
constexpr UINT kSystemTimer = 0x118;

toolkit::Rgb ToRgb(COLORREF colour) {
    return {GetRValue(colour), GetGValue(colour), GetBValue(colour)};
}

// The user's text size as Settings keeps it, read here on its own so that a form that
// ignored it would not fit the table.
double TextScale() {
    DWORD percent = 100;
    DWORD size = sizeof percent;
    RegGetValueW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Accessibility", L"TextScaleFactor",
                 RRF_RT_REG_DWORD, nullptr, &percent, &size);
    return percent / 100.0;
}

Rect ToRect(const RECT& place) {
    return {place.left, place.top, place.right - place.left, place.bottom - place.top};
}

class Win32Driver final : public Driver {
public:
    Win32Driver() : m_form(std::make_unique<Form1>()), m_window(win32Form().Handle()) {
        m_form->Show();
        Settle();
        if (GetForegroundWindow() != m_window)
            throw std::runtime_error("the window never became active");
    }

    ~Win32Driver() override {
        m_form.reset();
        if (m_other != nullptr) DestroyWindow(m_other);
        Settle();
    }

    Form1& form() override { return *m_form; }

    void Type(std::u16string_view characters) override {
        for (const char16_t character : characters) {
            SendKeys(KeystrokesFor(character));
            Settle();
        }
    }

    void Press(Key key) override {
        SendKeys(KeystrokesFor(key));
        Settle();
    }

    void Click(toolkit::Control control) override {
        ClickAt(ControlCentre(control), MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
        Settle();
    }

    void PutIn(Route route, toolkit::Control field, std::string_view text) override {
        SetClipboard(m_window, Widen(text));
        switch (route) {
            case Route::CtrlV:
                SendKeys(Chord(VK_CONTROL, 'V'));
                break;
            case Route::ShiftInsert:
                SendKeys(Chord(VK_SHIFT, VK_INSERT, true));
                break;
            case Route::ContextMenu:
                PasteFromContextMenu(ControlCentre(field));
                break;
            case Route::Drop:
                // The fields take drops only once the window has been drawn, on a timer; a
                // drag that reached no target is tried again once that has run.
                for (int tries = 0; tries < 3; ++tries) {
                    SetCursorPos(ControlCentre(field).x, ControlCentre(field).y);
                    Settle();
                    if (DropText(Widen(text)) != DROPEFFECT_NONE) break;
                }
                break;
            case Route::InputMethod:
                Compose(control(field), Widen(text));
                break;
        }
        Settle();
    }

    void LoseFocusToOtherWindow() override {
        m_other = CreateWindowExW(0, L"STATIC", L"other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                  200, 100, nullptr, nullptr, nullptr, nullptr);
        SetForegroundWindow(m_other);
        SetActiveWindow(m_other);
        Settle();
    }

    bool Close() override {
        SendMessageW(m_window, WM_SYSCOMMAND, SC_CLOSE, 0);
        Settle();
        return !IsWindow(m_window);
    }

    // Until nothing but timers comes for a few rounds: a timer is handed out only when no
    // other message waits, and some (the mouse's hover tracking) fire without end.
    void Settle() override {
        for (int quiet = 0; quiet < 3;) {
            MSG message{};
            if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                ++quiet;
                MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
                continue;
            }
            if (message.message == WM_QUIT) continue;
            win32::DispatchFormMessage(IsWindow(m_window) ? m_window : nullptr, message);
            if (message.message == WM_TIMER || message.message == kSystemTimer) {
                ++quiet;
                Sleep(5);
            } else {
                quiet = 0;
            }
        }
    }

    void Focus(toolkit::Control control) override {
        win32Form().GiveFocus(control);
        Settle();
    }
    void SetText(toolkit::Control field, std::string_view text) override {
        SetWindowTextW(control(field), Widen(text).c_str());
    }
    void SetCursor(toolkit::Control field, int position) override {
        SendMessageW(control(field), EM_SETSEL, static_cast<WPARAM>(position), position);
    }

    std::string Title() const override { return Narrow(WindowText(m_window)); }
    Rect ClientArea() const override {
        RECT client{};
        GetClientRect(m_window, &client);
        return {0, 0, client.right, client.bottom};
    }
    double Dpi() const override { return win32::WindowDpi(m_window) * TextScale(); }
    toolkit::Rgb FormBackground() const override {
        return ToRgb(PaintedPixel([this](HDC dc) {
            SendMessageW(m_window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
        }));
    }
    std::string Text(toolkit::Control control) const override {
        return Narrow(WindowText(this->control(control)));
    }
    std::string SelectedText(toolkit::Control field) const override {
        const auto [start, end] = Selection(field);
        return Narrow(WindowText(control(field)).substr(start, end - start));
    }
    int Cursor(toolkit::Control field) const override {
        return static_cast<int>(Selection(field).second);
    }
    std::optional<toolkit::Control> FocusedControl() const override {
        return win32Form().ControlOf(GetFocus());
    }
    std::optional<toolkit::Rgb> Background(toolkit::Control control) const override {
        return PaintOf(control).background;
    }
    toolkit::Rgb TextColour(toolkit::Control control) const override {
        return PaintOf(control).text;
    }
    Rect Geometry(toolkit::Control control) const override {
        RECT place{};
        GetWindowRect(this->control(control), &place);
        MapWindowPoints(nullptr, m_window, reinterpret_cast<POINT*>(&place), 2);
        return ToRect(place);
    }
    bool IsDown(toolkit::Control button) const override {
        return (SendMessageW(control(button), BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
    }
    std::string Clipboard() const override { return Narrow(ClipboardText()); }
    // As screen readers have it from Windows: the caption just before the control.
    std::optional<toolkit::Control> LabelOf(toolkit::Control control) const override {
        const HWND before = GetWindow(this->control(control), GW_HWNDPREV);
        wchar_t kind[16]{};
        GetClassNameW(before, kind, 16);
        if (before == nullptr || _wcsicmp(kind, L"Static") != 0) return std::nullopt;
        return win32Form().ControlOf(before);
    }
    Placement WindowPlacement() const override {
        RECT window{};
        GetWindowRect(m_window, &window);
        MONITORINFO monitor{};
        monitor.cbSize = sizeof monitor;
        GetMonitorInfoW(MonitorFromWindow(m_window, MONITOR_DEFAULTTONEAREST), &monitor);
        const LONG style = GetWindowLongW(m_window, GWL_STYLE);
        return {ToRect(window), ToRect(monitor.rcWork), (style & WS_THICKFRAME) != 0,
                (style & WS_MAXIMIZEBOX) != 0};
    }

private:
    win32::Win32Form& win32Form() const { return static_cast<win32::Win32Form&>(m_form->Window()); }
    HWND control(toolkit::Control control) const { return win32Form().ControlHandle(control); }

    POINT ControlCentre(toolkit::Control control) const {
        RECT place{};
        GetWindowRect(this->control(control), &place);
        return {(place.left + place.right) / 2, (place.top + place.bottom) / 2};
    }

    std::pair<std::size_t, std::size_t> Selection(toolkit::Control field) const {
        DWORD start = 0;
        DWORD end = 0;
        SendMessageW(control(field), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                     reinterpret_cast<LPARAM>(&end));
        return {start, end};
    }

    // Edits ask with WM_CTLCOLOREDIT, labels with WM_CTLCOLORSTATIC; a transparent ground is
    // the form's showing through, and buttons keep the desktop's colours.
    Paint PaintOf(toolkit::Control control) const {
        const HWND shown = this->control(control);
        if (control == m_form->Command1) return {std::nullopt, ToRgb(GetSysColor(COLOR_BTNTEXT))};
        const bool isField = (GetWindowLongW(shown, GWL_STYLE) & WS_TABSTOP) != 0;
        HDC dc = CreateCompatibleDC(nullptr);
        const auto brush = reinterpret_cast<HBRUSH>(
            SendMessageW(m_window, isField ? WM_CTLCOLOREDIT : WM_CTLCOLORSTATIC,
                         reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(shown)));
        Paint paint{std::nullopt, ToRgb(GetTextColor(dc))};
        LOGBRUSH fill{};
        if (GetBkMode(dc) == OPAQUE && GetObjectW(brush, sizeof fill, &fill) != 0)
            paint.background = ToRgb(fill.lbColor);
        DeleteDC(dc);
        return paint;
    }

    std::unique_ptr<Form1> m_form;
    HWND m_window = nullptr;
    HWND m_other = nullptr;
};

}  // namespace

std::unique_ptr<Driver> MakeDriver() { return std::make_unique<Win32Driver>(); }

}  // namespace styrmark::test
