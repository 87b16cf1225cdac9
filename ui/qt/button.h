// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPushButton>

namespace styrmark::toolkit {

// A push button that Enter and Space press while it has the focus, and that shows
// plainly when it has the keyboard focus.
class Button : public QPushButton {
    Q_OBJECT

public:
    Button(const QString& caption, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace styrmark::toolkit
