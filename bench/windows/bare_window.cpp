// SPDX-License-Identifier: GPL-3.0-or-later
// The floor for start-up on Windows: a window with the same kinds and number of controls as
// Styrmark's, its size and texts, and nothing else (no icon, font, colours or filters).
#include <windows.h>

namespace {

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcW(window, message, wParam, lParam);
}

void Add(HWND window, const wchar_t* kind, const wchar_t* text, DWORD style, RECT place) {
    CreateWindowExW(0, kind, text, WS_CHILD | WS_VISIBLE | style, place.left, place.top,
                    place.right, place.bottom, window, nullptr, nullptr, nullptr);
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
    RECT outer{0, 0, 406, 360};
    AdjustWindowRectEx(&outer, style, FALSE, 0);
    const HWND window = CreateWindowExW(
        0, L"BareWindow", L"   Styrmark beräkning", style, CW_USEDEFAULT, CW_USEDEFAULT,
        outer.right - outer.left, outer.bottom - outer.top, nullptr, nullptr, instance, nullptr);
    const DWORD label = SS_CENTER;
    const DWORD field = WS_TABSTOP | ES_CENTER;
    Add(window, L"STATIC", L"Mina Koordinater Lat Long", label, {58, 18, 295, 27});
    Add(window, L"EDIT", L"58:00:00", field, {32, 56, 157, 29});
    Add(window, L"EDIT", L"17:00:00", field, {222, 54, 157, 29});
    Add(window, L"STATIC", L"Styrmark Koordinater Lat Long", label, {56, 116, 295, 27});
    Add(window, L"EDIT", L"57:00:00", field, {32, 152, 157, 27});
    Add(window, L"EDIT", L"18:00:00", field, {222, 152, 157, 27});
    Add(window, L"STATIC", L"Kurs och Distans", label, {134, 194, 169, 27});
    Add(window, L"STATIC", L"", label, {34, 230, 345, 27});
    Add(window, L"BUTTON", L"Kurs o Distans till Styrmark", WS_TABSTOP | BS_PUSHBUTTON,
        {78, 280, 267, 43});
    Add(window, L"STATIC", L"Du måste skriva koordinater enl. 59:04:30", label, {12, 330, 391, 21});
    ShowWindow(window, SW_SHOW);
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (IsDialogMessageW(window, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
