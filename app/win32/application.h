// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <windows.h>

#include "ui/win32/form.h"

namespace styrmark {

// What the program adds to its window: the icon from `program`'s resources, and the end of
// the message loop once the user has closed the window.
void AttachToProgram(win32::Win32Form& window, HINSTANCE program);

// The program's message loop, with the form's keyboard interface: runs until WM_QUIT and
// returns its exit code.
int RunMessageLoop(HWND form);

// Shows the window and runs until it is closed; returns the exit status. A window that
// Windows would not make is said in one line in a message box, and the status is 1.
int RunStyrmark();

}  // namespace styrmark
