// SPDX-License-Identifier: GPL-3.0-or-later
// The floor for start-up on Windows: a window with Styrmark's controls from its layout
// table, their places at 96 dpi and their texts, and nothing else (no icon, font, colours,
// filters or DPI handling).
#include <windows.h>

#include "ui/form1_layout.h"

namespace {

using styrmark::toolkit::ControlKind;

// At 96 dpi, 15 twips to the pixel, rounded.
constexpr int Pixels(int twips) { return (twips + 7) / 15; }

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcW(window, message, wParam, lParam);
}

// The table's texts are UTF-8.
void Add(HWND window, const styrmark::toolkit::ControlRow& row) {
    wchar_t text[64]{};
    MultiByteToWideChar(CP_UTF8, 0, row.text, -1, text, 64);
    const wchar_t* kind = row.kind == ControlKind::Field    ? L"EDIT"
                          : row.kind == ControlKind::Button ? L"BUTTON"
                                                            : L"STATIC";
    const DWORD style = row.kind == ControlKind::Field    ? WS_TABSTOP | ES_CENTER
                        : row.kind == ControlKind::Button ? WS_TABSTOP | BS_PUSHBUTTON
                                                          : SS_CENTER;
    CreateWindowExW(0, kind, text, WS_CHILD | WS_VISIBLE | style, Pixels(row.left), Pixels(row.top),
                    Pixels(row.width), Pixels(row.height), window, nullptr, nullptr, nullptr);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    WNDCLASSEXW form{};
    form.cbSize = sizeof form;
    form.lpfnWndProc = Procedure;
    form.hInstance = instance;
    form.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    form.lpszClassName = L"BareWindow";
    RegisterClassExW(&form);
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    RECT outer{0, 0, Pixels(styrmark::kForm1.width), Pixels(styrmark::kForm1.height)};
    AdjustWindowRectEx(&outer, style, FALSE, 0);
    wchar_t caption[64]{};
    MultiByteToWideChar(CP_UTF8, 0, styrmark::kForm1.caption, -1, caption, 64);
    const HWND window = CreateWindowExW(
        0, L"BareWindow", caption, style, CW_USEDEFAULT, CW_USEDEFAULT, outer.right - outer.left,
        outer.bottom - outer.top, nullptr, nullptr, instance, nullptr);
    for (const auto& row : styrmark::kForm1Controls) Add(window, row);
    ShowWindow(window, SW_SHOW);
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (IsDialogMessageW(window, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
