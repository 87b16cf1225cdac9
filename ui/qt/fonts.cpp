// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/qt/fonts.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <array>

#include "ui/toolkit.h"

namespace styrmark::toolkit {
namespace {

// Faces drawn to the metrics of the classic Windows sans serif, so that captions measured
// for it fit as they were meant to.
constexpr std::array kSameMetrics{"Liberation Sans", "Arimo", "Nimbus Sans", "Nimbus Sans L"};

constexpr int kCaptionMarginTwips = 30;  // clear of the label's edges on either side
constexpr double kPointStep = 0.5;
constexpr double kSmallestPoints = 4;

bool Fits(const QWidget* control, const QFont& font, const QString& text) {
    const QFontMetrics metrics(font);
    const QSize textSize = metrics.size(Qt::TextSingleLine, text);
    if (const auto* button = qobject_cast<const QPushButton*>(control)) {
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = text;
        option.fontMetrics = metrics;
        const QSize needed =
            button->style()->sizeFromContents(QStyle::CT_PushButton, &option, textSize, button);
        return needed.width() <= button->width() && needed.height() <= button->height();
    }
    const int margin = TwipsToPixels(kCaptionMarginTwips, control->logicalDpiX());
    return textSize.width() + 2 * margin <= control->contentsRect().width() &&
           textSize.height() <= control->contentsRect().height();
}

}  // namespace

// The list of installed families, not hasFamily(): that asks fontconfig for aliases of
// every family that is missing, which costs a millisecond at start-up.
InstalledFace ChooseFace(const QString& wanted) {
    const QStringList installed = QFontDatabase::families();
    if (installed.contains(wanted, Qt::CaseInsensitive)) return {wanted, true};
    for (const char* family : kSameMetrics) {
        QString name = QString::fromLatin1(family);
        if (installed.contains(name, Qt::CaseInsensitive)) return {name, true};
    }
    return {QFontInfo(QFontDatabase::systemFont(QFontDatabase::GeneralFont)).family(), false};
}

void FitText(QWidget* control, const QString& text) {
    const QFont base = control->parentWidget()->font();
    QFont font = base;
    while (!Fits(control, font, text) && font.pointSizeF() - kPointStep >= kSmallestPoints)
        font.setPointSizeF(font.pointSizeF() - kPointStep);
    // An unset font follows the form's; a fitted one is the form's, smaller.
    control->setFont(font == base ? QFont() : font);
}

}  // namespace styrmark::toolkit
