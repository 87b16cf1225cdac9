// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/application.h"

#include <QIcon>
#include <QImageReader>

#include "ui/form1.h"

namespace styrmark {

// 32 px for the title bar and the task list, 48 px so that a scaled desktop need not blow
// up the small one; the larger sizes are installed for the desktop. Naming the format
// spares loading every image plugin to guess it.
QIcon WindowIcon() {
    QIcon icon;
    for (const char* path : {":/icons/styrmark-32.png", ":/icons/styrmark-48.png"}) {
        QImageReader image(QString::fromLatin1(path), "png");
        image.setAutoDetectImageFormat(false);
        icon.addPixmap(QPixmap::fromImage(image.read()));
    }
    return icon;
}

int RunStyrmark() {
    // Also the class of the window on X11, which the desktop file names as StartupWMClass.
    QApplication::setApplicationName(QString::fromUtf8(kApplicationTitle));
    QApplication::setDesktopFileName(QStringLiteral(STYRMARK_APP_ID));
    QApplication::setStyle(QStringLiteral("Fusion"));
    QApplication::setWindowIcon(WindowIcon());

    Form1 form;
    form.Show();
    return QApplication::exec();
}

}  // namespace styrmark
