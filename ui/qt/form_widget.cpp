// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/qt/form_widget.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLocale>
#include <QMessageBox>
#include <QScreen>
#include <QStyle>
#include <algorithm>
#include <stdexcept>
#include <utility>

#include "ui/qt/accessibility.h"
#include "ui/qt/button.h"
#include "ui/qt/field.h"
#include "ui/qt/fonts.h"
#include "ui/qt/live_label.h"

namespace styrmark::toolkit {
namespace {

QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

void SetPaletteColour(QWidget* widget, QPalette::ColorRole role, Rgb colour) {
    QPalette palette = widget->palette();
    palette.setColor(role, QColor(colour.red, colour.green, colour.blue));
    widget->setPalette(palette);
}

void FillBackground(QWidget* widget, Rgb colour) {
    SetPaletteColour(widget, widget->backgroundRole(), colour);
    widget->setAutoFillBackground(true);
}

QWidget* CreateControl(QWidget* form, const ControlRow& row) {
    QWidget* control = nullptr;
    switch (row.kind) {
        case ControlKind::Label:
        case ControlKind::LiveLabel: {
            auto* label = row.kind == ControlKind::Label ? new QLabel(form) : new LiveLabel(form);
            label->setText(QString::fromUtf8(row.text));
            label->setAlignment(Qt::AlignCenter);
            control = label;
            break;
        }
        case ControlKind::Field: {
            auto* field = new Field(form);
            field->setText(QString::fromUtf8(row.text));
            field->setLimit(row.maxLength);
            field->setAccessibleName(QString::fromUtf8(row.accessibleName));
            control = field;
            break;
        }
        case ControlKind::Button: {
            auto* button = new Button(form);
            button->setText(QString::fromUtf8(row.text));
            control = button;
            break;
        }
    }
    control->setObjectName(QString::fromUtf8(row.name));
    return control;
}

}  // namespace

FormWidget::FormWidget(const FormLayout& layout, std::span<const ControlRow> controls) {
    InstallAccessibility();
    const double dpi = logicalDpiY();
    const auto pixels = [dpi](int twips) { return TwipsToPixels(twips, dpi); };

    const InstalledFace face = ChooseFace(QString::fromUtf8(layout.fontFamily));
    setFont(QFont(face.family, layout.fontPoints, layout.bold ? QFont::Bold : QFont::Normal));
    // The program's one font: its message box and menus match the window, and no other face
    // is loaded at start-up just to lay out the fields before they take the form's.
    QApplication::setFont(font());
    setWindowTitle(QString::fromUtf8(layout.caption));
    // A fixed layout: no maximise button, no resizing.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(pixels(layout.width), pixels(layout.height));
    FillBackground(this, layout.background);

    std::vector<std::pair<int, QWidget*>> focusable;
    for (const ControlRow& row : controls) {
        QWidget* control = CreateControl(this, row);
        m_controls.push_back(control);
        control->setGeometry(pixels(row.left), pixels(row.top), pixels(row.width),
                             pixels(row.height));
        // Captions were made to fit the metrics of the wanted face; measuring them costs
        // start-up time, so only a stand-in of other metrics needs it.
        if (!face.sameMetrics &&
            (row.kind == ControlKind::Label || row.kind == ControlKind::Button))
            FitText(control, QString::fromUtf8(row.text));
        if (row.kind == ControlKind::Field || row.kind == ControlKind::Button)
            focusable.emplace_back(row.tabIndex, control);
    }
    std::sort(focusable.begin(), focusable.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 1; i < focusable.size(); ++i)
        QWidget::setTabOrder(focusable[i - 1].second, focusable[i].second);

    for (std::size_t row = 0; row < controls.size(); ++row) {
        // A label's buddy is how screen readers learn what a caption heads.
        if (controls[row].heads != nullptr) {
            as<QLabel>(Control{row})
                ->setBuddy(findChild<QWidget*>(QString::fromUtf8(controls[row].heads)));
        }
        ReportEvents(Control{row});
    }
}

void FormWidget::ReportEvents(Control control) {
    if (auto* field = qobject_cast<Field*>(widget(control))) {
        field->setKeyFilter([this, control](char16_t character) {
            return m_events.fieldKey ? m_events.fieldKey(control, character) : character;
        });
        field->setOnEnter([this, control] {
            if (m_events.fieldEnter) m_events.fieldEnter(control);
        });
        field->setOnLeave([this, control](FocusLoss loss) {
            if (m_events.fieldLeave) m_events.fieldLeave(control, loss);
        });
    }
    if (auto* button = qobject_cast<Button*>(widget(control))) {
        connect(button, &QPushButton::clicked, this, [this, control] {
            if (m_events.buttonPress) m_events.buttonPress(control);
        });
    }
}

// Closing the form moves the focus out of its fields while the window that handles
// that is already being taken apart.
FormWidget::~FormWidget() {
    for (Field* field : findChildren<Field*>()) field->clearHandlers();
}

QWidget* FormWidget::widget(Control control) const { return m_controls.at(control.row); }

std::optional<Control> FormWidget::control(const QWidget* widget) const {
    const auto found = std::find(m_controls.begin(), m_controls.end(), widget);
    if (found == m_controls.end()) return std::nullopt;
    return Control{static_cast<std::size_t>(found - m_controls.begin())};
}

template <class Widget>
Widget* FormWidget::as(Control control) const {
    auto* widget = qobject_cast<Widget*>(m_controls.at(control.row));
    if (widget == nullptr) throw std::invalid_argument("control of another kind");
    return widget;
}

void FormWidget::Listen(FormEvents events) { m_events = std::move(events); }

void FormWidget::SetAdmits(Control field, Admits admits) { as<Field>(field)->setAdmits(admits); }

std::string FormWidget::Text(Control control) const {
    return widget(control)->property("text").toString().toStdString();
}

void FormWidget::SetCaption(Control label, std::string_view text) {
    const QString caption = FromUtf8(text);
    FitText(as<QLabel>(label), caption);
    as<QLabel>(label)->setText(caption);
}

void FormWidget::SetBackground(Control control, Rgb colour) {
    FillBackground(widget(control), colour);
}

void FormWidget::SetTextColour(Control control, Rgb colour) {
    SetPaletteColour(widget(control), widget(control)->foregroundRole(), colour);
}

void FormWidget::SetDescription(Control control, std::string_view description) {
    widget(control)->setAccessibleDescription(FromUtf8(description));
}

void FormWidget::SelectAll(Control field) { as<QLineEdit>(field)->selectAll(); }

void FormWidget::PutCursorAtEnd(Control field) { as<QLineEdit>(field)->end(false); }

void FormWidget::GiveFocus(Control control) { widget(control)->setFocus(Qt::OtherFocusReason); }

void FormWidget::NextControl(Control from) {
    QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier, QStringLiteral("\t"));
    QCoreApplication::sendEvent(widget(from), &tab);
}

void FormWidget::Announce(Control liveLabel) { PresentNotification(as<LiveLabel>(liveLabel)); }

void FormWidget::Show() {
    setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(),
                                    screen()->availableGeometry()));
    show();
}

void FormWidget::ShowMessageBox(std::string_view text, std::string_view title) {
    QMessageBox box(QMessageBox::NoIcon, FromUtf8(title), FromUtf8(text), QMessageBox::Ok, this);
    box.exec();
}

std::unique_ptr<Form> CreateForm(const FormLayout& layout, std::span<const ControlRow> controls) {
    return std::make_unique<FormWidget>(layout, controls);
}

std::string DecimalSeparator() { return QLocale::system().decimalPoint().toStdString(); }

}  // namespace styrmark::toolkit
