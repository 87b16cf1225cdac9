// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Resource ids the program's resource script and the form share.

#define STYRMARK_ICON 1
