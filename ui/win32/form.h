// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The form as a Win32 window: one child control per layout row, placed in pixels of the
// window's DPI, coloured through WM_CTLCOLOR*, and driven by an IsDialogMessage loop for
// Tab, Shift+Tab, Enter and Space.

#include <ole2.h>
#include <windows.h>

#include <deque>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "ui/toolkit.h"
#include "ui/win32/accessibility.h"
#include "ui/win32/brushes.h"

namespace styrmark::win32 {

class Field;
class FieldDropTarget;

// COM or OLE on this thread for as long as this lives, if starting it succeeded.
class OnThread {
public:
    using Uninitialise = void(WINAPI*)();
    OnThread(HRESULT started, Uninitialise uninitialise)
        : m_uninitialise(SUCCEEDED(started) ? uninitialise : nullptr) {}
    ~OnThread() {
        if (m_uninitialise != nullptr) m_uninitialise();
    }
    OnThread(const OnThread&) = delete;
    OnThread& operator=(const OnThread&) = delete;

private:
    Uninitialise m_uninitialise;
};

class Win32Form final : public toolkit::Form {
public:
    Win32Form(const toolkit::FormLayout& layout, std::span<const toolkit::ControlRow> controls);
    ~Win32Form() override;

    void Listen(toolkit::FormEvents events) override;
    void SetAdmits(toolkit::Control field, toolkit::Admits admits) override;
    std::string Text(toolkit::Control control) const override;
    void SetCaption(toolkit::Control label, std::string_view text) override;
    void SetBackground(toolkit::Control control, toolkit::Rgb colour) override;
    void SetTextColour(toolkit::Control control, toolkit::Rgb colour) override;
    void SetDescription(toolkit::Control control, std::string_view description) override;
    void SelectAll(toolkit::Control field) override;
    void PutCursorAtEnd(toolkit::Control field) override;
    void GiveFocus(toolkit::Control control) override;
    void NextControl(toolkit::Control from) override;
    void Announce(toolkit::Control liveLabel) override;
    void Show() override;

    HWND Handle() const { return m_window; }
    HWND ControlHandle(toolkit::Control control) const { return m_controls[control.row].window; }
    std::optional<toolkit::Control> ControlOf(HWND window) const;

    // From the fields' own procedures.
    char16_t OnKey(toolkit::Control field, char16_t character);
    void OnFocusGained(toolkit::Control control);
    void OnFocusLost(toolkit::Control field, HWND gaining);

private:
    struct ControlState {
        const toolkit::ControlRow* row = nullptr;
        HWND window = nullptr;
        std::optional<toolkit::Rgb> background;
        std::optional<toolkit::Rgb> text;
        HFONT fittedFont = nullptr;  // where the form's font is too large for the caption
        std::unique_ptr<Field> field;
        FieldDropTarget* dropTarget = nullptr;
    };

    static constexpr UINT kReportLeaves = WM_APP + 1;
    static constexpr UINT_PTR kAcceptDropsTimer = 1;

    void ShowMessageBox(std::string_view text, std::string_view title) override;

    void CreateControls();
    void AcceptDrops();
    void OrderForTabbing();
    void Layout(UINT dpi);
    void FitCaption(ControlState& control);
    void ReportPendingLeaves();

    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK ButtonProcedure(HWND button, UINT message, WPARAM wParam, LPARAM lParam,
                                            UINT_PTR id, DWORD_PTR self);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnCommand(WPARAM wParam, LPARAM lParam);
    LRESULT OnControlColour(HDC dc, HWND control);
    void OnActivate(WPARAM wParam);
    void OnDpiChanged(UINT dpi, const RECT& suggested);

    // COM, apartment-threaded as OLE wants it: the accessibility properties need it before
    // the window is shown. OLE (the fields' drop targets) only once it is drawn. OLE ends
    // after the drop targets (WM_DESTROY), COM after OLE and the properties.
    OnThread m_com{CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), CoUninitialize};
    std::optional<OnThread> m_ole;
    toolkit::FormLayout m_layout;
    std::vector<ControlState> m_controls;
    Accessibility m_accessibility;
    Brushes m_brushes;
    std::wstring m_face;
    HWND m_window = nullptr;
    HFONT m_font = nullptr;
    UINT m_dpi = USER_DEFAULT_SCREEN_DPI;
    toolkit::FormEvents m_events;
    // Focus losses wait until the focus change that caused them is over.
    std::deque<std::pair<toolkit::Control, toolkit::FocusLoss>> m_pendingLeaves;
    HWND m_lastFocus = nullptr;
    bool m_programMovesFocus = false;
};

}  // namespace styrmark::win32
