// SPDX-License-Identifier: GPL-3.0-or-later
// Styrmark for Windows: the one window and its message loop.
#include <windows.h>

#include "ui/form1.h"
#include "ui/win32/form.h"
#include "ui/win32/message_loop.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    styrmark::Form1 form;
    form.Show();
    // This build's forms are Win32 forms.
    const HWND window = static_cast<styrmark::win32::Win32Form&>(form.Window()).Handle();
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0)
        styrmark::win32::DispatchFormMessage(window, message);
    return static_cast<int>(message.wParam);
}
