// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Resource ids of the program's resource script.

#define STYRMARK_ICON 1
