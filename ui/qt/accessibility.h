// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What screen readers learn of the form beyond what Qt tells them by itself.

#include <QWidget>

namespace styrmark::toolkit {

// Forms are frames with their caption as title, and live labels are notifications.
// Safe to call more than once; needs the application object.
void InstallAccessibility();

// Screen readers present a notification when it is shown, so a live label is shown anew.
void PresentNotification(QWidget* liveLabel);

}  // namespace styrmark::toolkit
