// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/qt/button.h"

#include <QPainter>
#include <algorithm>

#include "ui/toolkit.h"

namespace styrmark::toolkit {
namespace {

constexpr int kFocusRingTwips = 30;
constexpr int kFocusRingInsetTwips = 45;  // inside the button's own bevel

}  // namespace

Button::Button(const QString& caption, QWidget* parent) : QPushButton(caption, parent) {
    setAutoDefault(true);  // Enter presses it too, not only Space
}

// The style's own focus hint is a hairline barely different from the frame; a ring in
// the caption's colour stands out from the face under any palette.
void Button::paintEvent(QPaintEvent* event) {
    QPushButton::paintEvent(event);
    if (!hasFocus()) return;
    const int width = std::max(2, TwipsToPixels(kFocusRingTwips, logicalDpiX()));
    const int inset = TwipsToPixels(kFocusRingInsetTwips, logicalDpiX()) + width / 2;
    QPainter painter(this);
    QPen pen(palette().color(QPalette::ButtonText), width);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    painter.drawRect(rect().adjusted(inset, inset, -inset, -inset));
}

}  // namespace styrmark::toolkit
