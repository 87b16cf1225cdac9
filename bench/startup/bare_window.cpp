// SPDX-License-Identifier: GPL-3.0-or-later
// The floor for start-up: a window with the same kinds and number of controls as
// Styrmark's, its size and texts, and nothing else (no icon, font, colours or style).

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("   Styrmark beräkning"));
    window.setFixedSize(406, 360);

    const auto label = [&window](const char* text, int left, int top, int width, int height) {
        auto* control = new QLabel(QString::fromUtf8(text), &window);
        control->setAlignment(Qt::AlignCenter);
        control->setGeometry(left, top, width, height);
    };
    const auto field = [&window](const char* text, int left, int top, int width, int height) {
        auto* control = new QLineEdit(QString::fromUtf8(text), &window);
        control->setAlignment(Qt::AlignCenter);
        control->setGeometry(left, top, width, height);
    };
    label("Mina Koordinater Lat Long", 58, 18, 295, 27);
    field("58:00:00", 32, 56, 157, 29);
    field("17:00:00", 222, 54, 157, 29);
    label("Styrmark Koordinater Lat Long", 56, 116, 295, 27);
    field("57:00:00", 32, 152, 157, 27);
    field("18:00:00", 222, 152, 157, 27);
    label("Kurs och Distans", 134, 194, 169, 27);
    label("", 34, 230, 345, 27);
    auto* button = new QPushButton(QStringLiteral("Kurs o Distans till Styrmark"), &window);
    button->setGeometry(78, 280, 267, 43);
    label("Du måste skriva koordinater enl. 59:04:30", 12, 330, 391, 21);

    window.show();
    return QApplication::exec();
}
