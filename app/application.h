// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>

namespace styrmark {

// Shows the window and runs until it is closed; returns the exit status. Needs the
// application object.
int RunStyrmark();

}  // namespace styrmark
