// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLabel>

namespace styrmark::toolkit {

// A label that screen readers know as a notification: PresentNotification() has them
// present its caption without moving the focus.
class LiveLabel : public QLabel {
    Q_OBJECT

public:
    using QLabel::QLabel;
};

}  // namespace styrmark::toolkit
