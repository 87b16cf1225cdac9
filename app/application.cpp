#include "app/application.h"

#include <QScreen>
#include <QStyle>
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

int RunStyrmark(QApplication& app) {
    QApplication::setApplicationName(QString::fromUtf8(kApplicationTitle));
    QApplication::setDesktopFileName(QStringLiteral("styrmark"));
    QApplication::setStyle(QStringLiteral("Fusion"));
    QIcon icon;
    icon.addFile(QStringLiteral(":/icons/styrmark-32.png"));
    icon.addFile(QStringLiteral(":/icons/styrmark-256.png"));
    QApplication::setWindowIcon(icon);

    Form1 form;
    form.setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, form.size(),
                                         form.screen()->availableGeometry()));
    form.show();
    return app.exec();
}

}  // namespace styrmark
