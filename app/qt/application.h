// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>
#include <QIcon>

namespace styrmark {

// The window's icon in the sizes a title bar and a task list draw it at. Needs the
// application object.
QIcon WindowIcon();

// Shows the window and runs until it is closed; returns the exit status. Needs the
// application object.
int RunStyrmark();

}  // namespace styrmark
