// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/application.h"

#include <QIcon>
#include <QImageReader>
#include <cstdlib>

#include "ui/form1.h"

namespace styrmark {

bool DisplayMissing() {
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN) && !defined(Q_OS_ANDROID)
    return std::getenv("QT_QPA_PLATFORM") == nullptr && std::getenv("DISPLAY") == nullptr &&
           std::getenv("WAYLAND_DISPLAY") == nullptr;
#else
    return false;
#endif
}

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
    QApplication::setApplicationName(QString::fromUtf8(kApplicationTitle));
    QApplication::setDesktopFileName(QStringLiteral(STYRMARK_APP_ID));
    QApplication::setStyle(QStringLiteral("Fusion"));
    QApplication::setWindowIcon(WindowIcon());

    Form1 form;
    form.Show();
    return QApplication::exec();
}

}  // namespace styrmark
