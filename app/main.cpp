#include <QApplication>
#include <QImageReader>
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
    QApplication::setDesktopFileName(QStringLiteral("styrmark"));
    QApplication::setStyle(QStringLiteral("Fusion"));
    // The window shows the 32 px icon; the larger ones are installed for the desktop.
    // Naming the format spares loading every image plugin to guess it.
    QImageReader icon(QStringLiteral(":/icons/styrmark-32.png"), "png");
    icon.setAutoDetectImageFormat(false);
    QApplication::setWindowIcon(QPixmap::fromImage(icon.read()));

    styrmark::Form1 form;
    form.setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, form.size(),
                                         form.screen()->availableGeometry()));
    form.show();
    return QApplication::exec();
}
