// SPDX-License-Identifier: GPL-3.0-or-later
// Styrmark for Windows: the one window and its message loop.
#include <windows.h>

#include "app/application.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return styrmark::RunStyrmark(); }
