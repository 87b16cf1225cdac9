#include <QApplication>
#include <QScreen>
#include <QStyle>
#include <cstdio>
#include <cstdlib>

#include "ui/form1.h"

namespace {

// Without a display Qt would print a page of platform-plugin errors and abort.
bool HasDisplay() {
    return std::getenv("QT_QPA_PLATFORM") != nullptr || std::getenv("DISPLAY") != nullptr ||
           std::getenv("WAYLAND_DISPLAY") != nullptr;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (!HasDisplay()) {
        std::fputs("styrmark: ingen skärm att visa fönstret på (DISPLAY är inte satt)\n", stderr);
        return EXIT_FAILURE;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromUtf8(styrmark::kApplicationTitle));
    QApplication::setDesktopFileName(QStringLiteral(STYRMARK_APP_ID));
    QApplication::setStyle(QStringLiteral("Fusion"));
    QIcon icon;
    icon.addFile(QStringLiteral(":/icons/styrmark-32.png"));
    icon.addFile(QStringLiteral(":/icons/styrmark-256.png"));
    QApplication::setWindowIcon(icon);

    styrmark::Form1 form;
    form.setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, form.size(),
                                         form.screen()->availableGeometry()));
    form.show();
    return QApplication::exec();
}
