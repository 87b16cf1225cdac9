// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The form as a Win32 window: one child control per layout row, placed in pixels of the
// window's DPI (and the user's text size), coloured through WM_CTLCOLOR*, and driven by an
// IsDialogMessage loop for Tab, Shift+Tab, Enter and Space. It tells the form's rules what
// Windows did and does what they ask; the rules themselves are toolkit::Form's.

#include <ole2.h>
#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "ui/toolkit.h"
#include "ui/win32/accessibility.h"
#include "ui/win32/brushes.h"
#include "ui/win32/com.h"
#include "ui/win32/handles.h"

namespace styrmark::win32 {

class Field;
class DropRegistration;

class Win32Form final : public toolkit::Form {
public:
    // Throws std::runtime_error, its text one line for the user, if Windows makes no window.
    Win32Form(const toolkit::FormLayout& layout, std::span<const toolkit::ControlRow> controls);
    ~Win32Form() override;

    void Show() override;

    // What the program adds: its icon, loaded from `module` in the sizes the window's
    // resolution asks for (again when that changes), and what follows once the user has
    // closed the window.
    void SetIcon(HINSTANCE module, const wchar_t* resource);
    void SetClosed(std::function<void()> closed) { m_closed = std::move(closed); }

    HWND Handle() const { return m_window; }
    HWND ControlHandle(toolkit::Control control) const { return State(control).window; }
    std::optional<toolkit::Control> ControlOf(HWND window) const;

private:
    struct ControlState {
        const toolkit::ControlRow* row = nullptr;
        HWND window = nullptr;
        std::optional<toolkit::Rgb> background;
        std::optional<toolkit::Rgb> text;
        Font fitted;  // where the form's font is too large for the caption
        std::unique_ptr<Field> field;
        std::unique_ptr<DropRegistration> drops;
    };

    // A fixed layout: no resizing, no maximise button.
    static constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    static constexpr UINT kReportLeaves = WM_APP + 1;
    static constexpr UINT_PTR kAcceptDropsTimer = 1;

    // toolkit::Form
    void PostLeaves() override;
    bool DoHasFocus(toolkit::Control control) const override;
    void DoGiveFocus(toolkit::Control control, bool asTab) override;
    void DoSetAdmits(toolkit::Control field, toolkit::Admits admits) override;
    std::string DoText(toolkit::Control control) const override;
    void DoSetCaption(toolkit::Control label, std::string_view text) override;
    void DoSetBackground(toolkit::Control control, toolkit::Rgb colour) override;
    void DoSetTextColour(toolkit::Control control, toolkit::Rgb colour) override;
    void DoSetDescription(toolkit::Control field, std::string_view description) override;
    void DoSelectAll(toolkit::Control field) override;
    void DoPutCursorAtEnd(toolkit::Control field) override;
    void DoAnnounce(toolkit::Control liveLabel) override;
    void DoShowMessage(std::string_view text, std::string_view title,
                       std::function<void()> closed) override;

    ControlState& State(toolkit::Control control) { return m_controls.at(control.row); }
    const ControlState& State(toolkit::Control control) const { return m_controls.at(control.row); }

    // The window's life (form_window.cpp).
    void CreateControls();
    void ChainControls();
    void AcceptDrops();
    void OnDestroy();

    // Sizes at the window's resolution (form_layout.cpp).
    double LayoutDpi() const;
    // The window's outer size at `dpi` for the client area the table asks for.
    SIZE WindowSize(UINT dpi) const;
    void Layout();
    void FitWindow();
    void Fit(ControlState& control);
    void LoadIcons();

    // Messages (form_procedure.cpp).
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnCommand(WPARAM wParam, LPARAM lParam);
    LRESULT OnControlColour(HDC dc, HWND control);
    void OnActivate(WPARAM wParam);
    void OnDpiChanged(UINT dpi, const RECT& suggested);
    void OnSettingChange();

    // COM, apartment-threaded as OLE wants it: the accessibility properties need it before
    // the window is shown. OLE (the fields' drop targets) only once it is drawn. Members
    // end in reverse: the drop targets before OLE, COM after OLE and the properties.
    OnThread m_com{CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), CoUninitialize};
    toolkit::FormLayout m_layout;
    std::wstring m_face;
    Accessibility m_accessibility;
    Brushes m_brushes;
    Font m_font;
    std::optional<OnThread> m_ole;
    std::vector<ControlState> m_controls;
    HINSTANCE m_iconModule = nullptr;
    const wchar_t* m_iconResource = nullptr;
    Icon m_bigIcon;
    Icon m_smallIcon;
    std::function<void()> m_closed;
    HWND m_window = nullptr;
    // Where the focus goes back to when the window is activated again.
    HWND m_lastFocus = nullptr;
    UINT m_dpi = USER_DEFAULT_SCREEN_DPI;
    UINT m_textScale = 100;
    bool m_leavesPosted = false;
};

}  // namespace styrmark::win32
