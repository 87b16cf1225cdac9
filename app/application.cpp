// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/application.h"

#include <QImageReader>
#include <QScreen>
#include <QStyle>

#include "ui/form1.h"

namespace styrmark {

int RunStyrmark() {
    // Also the class of the window on X11, which the desktop file names as StartupWMClass.
    QApplication::setApplicationName(QString::fromUtf8(kApplicationTitle));
    QApplication::setDesktopFileName(QStringLiteral(STYRMARK_APP_ID));
    QApplication::setStyle(QStringLiteral("Fusion"));
    // The window shows the 32 px icon; the larger ones are installed for the desktop.
    // Naming the format spares loading every image plugin to guess it.
    QImageReader icon(QStringLiteral(":/icons/styrmark-32.png"), "png");
    icon.setAutoDetectImageFormat(false);
    QApplication::setWindowIcon(QPixmap::fromImage(icon.read()));

    Form1 form;
    form.setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, form.size(),
                                         form.screen()->availableGeometry()));
    form.show();
    return QApplication::exec();
}

}  // namespace styrmark
