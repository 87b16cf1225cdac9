// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>
#include <QIcon>

namespace styrmark {

// Where Qt would need an X11 or Wayland display and none is set, Qt prints a page of
// platform errors and aborts; this says why in one line instead.
bool DisplayMissing();

// The window's icon in the sizes a title bar and a task list draw it at. Needs the
// application object.
QIcon WindowIcon();

// Shows the window and runs until it is closed; returns the exit status. Needs the
// application object.
int RunStyrmark();

}  // namespace styrmark
