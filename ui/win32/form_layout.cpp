// SPDX-License-Identifier: GPL-3.0-or-later
// Places, fonts and icons at the window's resolution, scaled by the user's text size: once
// at the start, and again whenever either changes.
#include <windows.h>

#include <string_view>
#include <utility>

#include "ui/win32/dpi.h"
#include "ui/win32/fonts.h"
#include "ui/win32/form.h"
#include "ui/win32/wide_text.h"

namespace styrmark::win32 {

using toolkit::ControlKind;
using toolkit::TwipsToPixels;

// The resolution twips and points are turned into pixels with: larger text grows the whole
// form with its font, as a larger font DPI does on Linux.
double Win32Form::LayoutDpi() const { return m_dpi * (m_textScale / 100.0); }

void Win32Form::Layout() {
    const double dpi = LayoutDpi();
    const auto pixels = [dpi](int twips) { return TwipsToPixels(twips, dpi); };
    Font font = CreateFormFont(m_face, m_layout.fontPoints, m_layout.bold, dpi);
    for (ControlState& control : m_controls) {
        const toolkit::ControlRow& row = *control.row;
        SetWindowPos(control.window, nullptr, pixels(row.left), pixels(row.top), pixels(row.width),
                     pixels(row.height), SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageW(control.window, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
    }
    // The controls no longer draw with the old font when it goes.
    m_font = std::move(font);
    for (ControlState& control : m_controls) {
        if (control.row->kind != ControlKind::Field) Fit(control);
    }
    InvalidateRect(m_window, nullptr, TRUE);
}

SIZE Win32Form::WindowSize(UINT dpi) const {
    const double layoutDpi = dpi * (m_textScale / 100.0);
    return WindowSizeForClient(
        {TwipsToPixels(m_layout.width, layoutDpi), TwipsToPixels(m_layout.height, layoutDpi)},
        kWindowStyle, 0, dpi);
}

// The outer size for the client area the table asks for, keeping the window's place.
void Win32Form::FitWindow() {
    const SIZE outer = WindowSize(m_dpi);
    SetWindowPos(m_window, nullptr, 0, 0, outer.cx, outer.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The caption in the form's font, or smaller if that is what it takes to show it whole.
void Win32Form::Fit(ControlState& control) {
    const double dpi = LayoutDpi();
    const double points = toolkit::FittingPoints(
        *control.row, Narrow(WindowText(control.window)), m_layout.fontPoints, dpi,
        [this, dpi](std::string_view text, double size) {
            return MeasureText(m_face, m_layout.bold, dpi, text, size);
        });
    Font fitted =
        points < m_layout.fontPoints ? CreateFormFont(m_face, points, m_layout.bold, dpi) : Font();
    const HFONT font = fitted ? fitted.get() : m_font.get();
    SendMessageW(control.window, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    control.fitted = std::move(fitted);
}

void Win32Form::SetIcon(HINSTANCE module, const wchar_t* resource) {
    m_iconModule = module;
    m_iconResource = resource;
    LoadIcons();
}

// The title bar's and the task switcher's sizes at the window's resolution, drawn from the
// icon's own image of that size rather than stretched from another.
void Win32Form::LoadIcons() {
    if (m_iconResource == nullptr) return;
    const auto load = [this](int metric) {
        const int size = SystemMetric(metric, m_dpi);
        return Icon(static_cast<HICON>(
            LoadImageW(m_iconModule, m_iconResource, IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
    };
    Icon large = load(SM_CXICON);
    Icon titleBar = load(SM_CXSMICON);
    SendMessageW(m_window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(large.get()));
    SendMessageW(m_window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(titleBar.get()));
    m_bigIcon = std::move(large);
    m_smallIcon = std::move(titleBar);
}

}  // namespace styrmark::win32
