// SPDX-License-Identifier: GPL-3.0-or-later
#include <windows.h>

#include <commctrl.h>

#include <algorithm>

#include "ui/win32/dpi.h"
#include "ui/win32/drop_target.h"
#include "ui/win32/field.h"
#include "ui/win32/fonts.h"
#include "ui/win32/form.h"
#include "ui/win32/resources.h"
#include "ui/win32/wide_text.h"

namespace styrmark::win32 {
namespace {

using toolkit::ControlKind;
using toolkit::TwipsToPixels;

constexpr const wchar_t* kWindowClass = L"StyrmarkForm";
// A fixed layout: no resizing, no maximise button.
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
// Clear of the ids IsDialogMessage sends for Enter and Escape (IDOK, IDCANCEL).
constexpr int kFirstControlId = 1000;
// What a button's frame takes of its width on either side, at 96 DPI.
constexpr int kButtonMargin = 6;

HICON LoadIconOfSize(HINSTANCE instance, int metric) {
    const int size = GetSystemMetrics(metric);
    return static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(STYRMARK_ICON), IMAGE_ICON, size, size, 0));
}

void RegisterFormClass(HINSTANCE instance, WNDPROC procedure) {
    static const bool registered = [&] {
        WNDCLASSEXW form{};
        form.cbSize = sizeof form;
        form.lpfnWndProc = procedure;
        form.hInstance = instance;
        form.hIcon = LoadIconOfSize(instance, SM_CXICON);
        form.hIconSm = LoadIconOfSize(instance, SM_CXSMICON);
        form.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        form.lpszClassName = kWindowClass;
        return RegisterClassExW(&form) != 0;
    }();
    (void)registered;
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
            return {L"STATIC", SS_CENTER | SS_CENTERIMAGE | SS_NOPREFIX, 0};
        case ControlKind::Field:
            return {L"EDIT", WS_TABSTOP | ES_CENTER | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
        case ControlKind::Button:
            // Without BS_NOTIFY, whose double click is no second press.
            return {L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON, 0};
    }
    return {};
}

}  // namespace

Win32Form::Win32Form(const toolkit::FormLayout& layout,
                     std::span<const toolkit::ControlRow> controls)
    : m_layout(layout), m_face(ChooseFace()) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    RegisterFormClass(instance, Procedure);
    m_window = CreateWindowExW(0, kWindowClass, Widen(layout.caption).c_str(), kWindowStyle,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr,
                               nullptr, instance, this);
    m_controls.reserve(controls.size());
    for (const toolkit::ControlRow& row : controls) m_controls.emplace_back().row = &row;
    CreateControls();
    OrderForTabbing();
    m_dpi = WindowDpi(m_window);
    Layout(m_dpi);
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
        if (layout.kind == ControlKind::Field) {
            control.field = std::make_unique<Field>(*this, toolkit::Control{row}, control.window,
                                                    static_cast<std::size_t>(layout.maxLength));
            m_accessibility.SetName(control.window, Widen(layout.accessibleName));
        }
        if (layout.kind == ControlKind::Button)
            SetWindowSubclass(control.window, ButtonProcedure, 0,
                              reinterpret_cast<DWORD_PTR>(this));
        if (layout.kind == ControlKind::LiveLabel) m_accessibility.MakeLiveRegion(control.window);
    }
}

// Once the window is drawn: starting OLE and registering the drop targets cost more than
// making the window, and nothing is dropped on a window not yet seen.
void Win32Form::AcceptDrops() {
    if (m_ole) return;
    m_ole.emplace(OleInitialize(nullptr), OleUninitialize);
    for (ControlState& control : m_controls) {
        if (control.row->kind == ControlKind::Field)
            control.dropTarget = new FieldDropTarget(control.window);
    }
}

// IsDialogMessage moves on in the order the children were made: the controls that take
// the focus are brought into their tab order, the captions stay where the table has them.
void Win32Form::OrderForTabbing() {
    std::vector<const ControlState*> focusable;
    for (const ControlState& control : m_controls) {
        if (GetWindowLongW(control.window, GWL_STYLE) & WS_TABSTOP) focusable.push_back(&control);
    }
    std::stable_sort(focusable.begin(), focusable.end(), [](const auto* a, const auto* b) {
        return a->row->tabIndex < b->row->tabIndex;
    });
    for (std::size_t i = 1; i < focusable.size(); ++i) {
        SetWindowPos(focusable[i]->window, focusable[i - 1]->window, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

void Win32Form::Layout(UINT dpi) {
    const auto pixels = [dpi](int twips) { return TwipsToPixels(twips, dpi); };
    if (m_font != nullptr) DeleteObject(m_font);
    m_font = CreateFormFont(m_face, m_layout.fontPoints, m_layout.bold, dpi);
    const SIZE outer = WindowSizeForClient({pixels(m_layout.width), pixels(m_layout.height)},
                                           kWindowStyle, 0, dpi);
    SetWindowPos(m_window, nullptr, 0, 0, outer.cx, outer.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    for (ControlState& control : m_controls) {
        const toolkit::ControlRow& row = *control.row;
        SetWindowPos(control.window, nullptr, pixels(row.left), pixels(row.top), pixels(row.width),
                     pixels(row.height), SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageW(control.window, WM_SETFONT, reinterpret_cast<WPARAM>(m_font), FALSE);
        if (row.kind != ControlKind::Field) FitCaption(control);
    }
    InvalidateRect(m_window, nullptr, TRUE);
}

void Win32Form::FitCaption(ControlState& control) {
    RECT client{};
    GetClientRect(control.window, &client);
    SIZE room{client.right, client.bottom};
    if (control.row->kind == ControlKind::Button) {
        const int margin = MulDiv(kButtonMargin, static_cast<int>(m_dpi), USER_DEFAULT_SCREEN_DPI);
        room = {room.cx - 2 * margin, room.cy - 2 * margin};
    }
    const double points = FittingPoints(m_face, m_layout.fontPoints, m_layout.bold, m_dpi,
                                        WindowText(control.window), room);
    if (control.fittedFont != nullptr) DeleteObject(control.fittedFont);
    control.fittedFont = points < m_layout.fontPoints
                             ? CreateFormFont(m_face, points, m_layout.bold, m_dpi)
                             : nullptr;
    const HFONT font = control.fittedFont != nullptr ? control.fittedFont : m_font;
    SendMessageW(control.window, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

}  // namespace styrmark::win32
