// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// One message of the program's loop: the form's keyboard interface (Tab, Shift+Tab, Enter,
// Space) comes from IsDialogMessage, as in a dialog.

#include <windows.h>

namespace styrmark::win32 {

void DispatchFormMessage(HWND form, MSG& message);

}  // namespace styrmark::win32
