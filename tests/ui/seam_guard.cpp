// SPDX-License-Identifier: GPL-3.0-or-later
// Compiled with the window library's own include path: the build fails the day a toolkit
// shows up on it, since then the window could start to depend on one.
#include "ui/form1.h"

#if __has_include(<QWidget>) || __has_include(<QtWidgets/QWidget>)
#error "Qt is on the window library's include path"
#endif
#if __has_include(<emscripten.h>)
#error "a web toolkit is on the window library's include path"
#endif
