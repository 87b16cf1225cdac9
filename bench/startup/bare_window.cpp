// SPDX-License-Identifier: GPL-3.0-or-later
// The floor for start-up: a window with Styrmark's controls, read from its layout table,
// and nothing else (no icon, font, colours, style or behaviour).

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

#include "ui/form1_layout.h"

int main(int argc, char* argv[]) {
    using styrmark::toolkit::ControlKind;
    QApplication app(argc, argv);
    QWidget window;
    const auto pixels = [](int twips) { return styrmark::toolkit::TwipsToPixels(twips, 96); };
    window.setWindowTitle(QString::fromUtf8(styrmark::kForm1.caption));
    window.setFixedSize(pixels(styrmark::kForm1.width), pixels(styrmark::kForm1.height));

    for (const styrmark::toolkit::ControlRow& row : styrmark::kForm1Controls) {
        const QString text = QString::fromUtf8(row.text);
        QWidget* control = nullptr;
        if (row.kind == ControlKind::Field) {
            auto* field = new QLineEdit(text, &window);
            field->setAlignment(Qt::AlignCenter);
            control = field;
        } else if (row.kind == ControlKind::Button) {
            control = new QPushButton(text, &window);
        } else {
            auto* label = new QLabel(text, &window);
            label->setAlignment(Qt::AlignCenter);
            control = label;
        }
        control->setGeometry(pixels(row.left), pixels(row.top), pixels(row.width),
                             pixels(row.height));
    }

    window.show();
    return QApplication::exec();
}
