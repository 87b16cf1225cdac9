// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>

namespace styrmark {

// Where Qt would need an X11 or Wayland display and none is set, Qt prints a page of
// platform errors and aborts; this says why in one line instead.
bool DisplayMissing();

// Shows the window and runs until it is closed; returns the exit status. Needs the
// application object.
int RunStyrmark();

}  // namespace styrmark
