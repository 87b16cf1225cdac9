// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/qt/fonts.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QStringList>
#include <array>

#include "ui/toolkit.h"

namespace styrmark::toolkit {
namespace {

// Faces drawn to the metrics of the classic Windows sans serif, so that captions measured
// for it fit as they were meant to.
constexpr std::array kSameMetrics{"Liberation Sans", "Arimo", "Nimbus Sans", "Nimbus Sans L"};

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

TextExtent Extent(const QFont& font, double points, std::string_view text) {
    QFont sized = font;
    sized.setPointSizeF(points);
    const QSize size = QFontMetrics(sized).size(
        Qt::TextSingleLine, QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    return {size.width(), size.height()};
}

}  // namespace styrmark::toolkit
