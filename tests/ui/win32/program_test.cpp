// SPDX-License-Identifier: GPL-3.0-or-later
// The program's own entry point and message loop, not the driver's, from start to end.
#include <windows.h>

#include <cstdlib>
#include <string>

#include "app/application.h"
#include "ui/win32/dpi.h"
#include "ui/win32/form.h"
#include "ui/win32/wide_text.h"
#include "win32_input.h"
#include "window_test.h"

namespace styrmark::test {
namespace {

win32::Win32Form& Win32(Form1& form) { return static_cast<win32::Win32Form&>(form.Window()); }

// The program's loop, not the driver's: typed keys become characters, and WM_QUIT ends it
// with its code. A timer comes only once every key is through.
TEST_F(WindowTest, TheProgramLoopTranslatesKeysAndEndsWithTheQuitCode) {
    SendKeys(KeystrokesFor(u'1'));
    SendKeys(KeystrokesFor(u'2'));
    SetTimer(nullptr, 0, 10, [](HWND, UINT, UINT_PTR timer, DWORD) {
        KillTimer(nullptr, timer);
        PostQuitMessage(3);
    });
    EXPECT_EQ(RunMessageLoop(Win32(form()).Handle()), 3);
    EXPECT_EQ(driver().Text(form().Text1), "12");
}

struct SeenProgram {
    HWND besides = nullptr;  // the driver's own window
    std::string title;
    int titleBarIcon = 0;
    int bigIcon = 0;
};
SeenProgram g_program;

// Runs in the program's loop: reads its window as it shows, then closes it as the user
// does. Should closing not end the loop, a second timer does, with another code.
void CALLBACK InspectProgramAndClose(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND window = nullptr;
    do {
        window = FindWindowExW(nullptr, window, L"StyrmarkForm", nullptr);
    } while (window != nullptr && window == g_program.besides);
    if (window == nullptr || !IsWindowVisible(window)) return;
    KillTimer(nullptr, timer);
    g_program.title = win32::Narrow(win32::WindowText(window));
    g_program.titleBarIcon = IconWidth(window, ICON_SMALL);
    g_program.bigIcon = IconWidth(window, ICON_BIG);
    PostMessageW(window, WM_CLOSE, 0, 0);
    SetTimer(nullptr, 0, 2000, [](HWND, UINT, UINT_PTR, DWORD) { PostQuitMessage(99); });
}

TEST_F(WindowTest, TheProgramRunsUntilItsWindowIsClosed) {
    g_program = {};
    g_program.besides = Win32(form()).Handle();
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, InspectProgramAndClose);
    EXPECT_EQ(RunStyrmark(), EXIT_SUCCESS);
    KillTimer(nullptr, timer);
    EXPECT_EQ(g_program.title, "   Styrmark beräkning");
    const UINT dpi = win32::WindowDpi(g_program.besides);
    EXPECT_EQ(g_program.titleBarIcon, GetSystemMetricsForDpi(SM_CXSMICON, dpi));
    EXPECT_EQ(g_program.bigIcon, GetSystemMetricsForDpi(SM_CXICON, dpi));
}

}  // namespace
}  // namespace styrmark::test
