// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPushButton>

namespace styrmark::toolkit {

// A push button that Enter and Space press while it has the focus, that a click does
// not press when the field being left refused to let the focus go, and that shows
// plainly when it has the keyboard focus.
class Button : public QPushButton {
    Q_OBJECT

public:
    explicit Button(QWidget* parent);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace styrmark::toolkit
