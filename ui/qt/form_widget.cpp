// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/qt/form_widget.h"

#include <QApplication>
#include <QLocale>
#include <QMessageBox>
#include <QScreen>
#include <QStyle>
#include <algorithm>
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
        case ControlKind::Button:
            control = new Button(QString::fromUtf8(row.text), form);
            break;
    }
    control->setObjectName(QString::fromUtf8(row.name));
    return control;
}

}  // namespace

FormWidget::FormWidget(const FormLayout& layout, std::span<const ControlRow> controls)
    : Form(controls), m_points(layout.fontPoints) {
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

    for (const ControlRow& row : controls) {
        QWidget* control = CreateControl(this, row);
        m_controls.push_back(control);
        control->setGeometry(pixels(row.left), pixels(row.top), pixels(row.width),
                             pixels(row.height));
        // Captions were made to fit the metrics of the wanted face; measuring them costs
        // start-up time, so only a stand-in of other metrics needs it.
        if (!face.sameMetrics &&
            (row.kind == ControlKind::Label || row.kind == ControlKind::Button))
            Fit(Control{m_controls.size() - 1}, QString::fromUtf8(row.text));
    }
    const std::vector<Control> order = TabOrder(controls);
    for (std::size_t i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(widget(order[i - 1]), widget(order[i]));

    for (std::size_t row = 0; row < controls.size(); ++row) {
        // A label's buddy is how screen readers learn what a caption heads.
        if (const auto headed = Headed(Control{row}))
            static_cast<QLabel*>(widget(Control{row}))->setBuddy(widget(*headed));
        ReportEvents(Control{row});
    }
}

void FormWidget::ReportEvents(Control control) {
    if (auto* field = qobject_cast<Field*>(widget(control))) {
        field->setKeyFilter(
            [this, control](char16_t character) { return KeyTyped(control, character); });
        field->setOnEnter([this, control] { FocusGained(control); });
        field->setOnLeave([this, control](bool withinForm) { FocusLost(control, withinForm); });
    }
    if (auto* button = qobject_cast<Button*>(widget(control)))
        connect(button, &QPushButton::clicked, this, [this, control] { Pressed(control); });
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

void FormWidget::PostLeaves() {
    if (m_leavesPosted) return;
    m_leavesPosted = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_leavesPosted = false;
            ReportLeaves();
        },
        Qt::QueuedConnection);
}

bool FormWidget::DoHasFocus(Control control) const { return widget(control)->hasFocus(); }

// Qt's own Tab selects a field's text when it takes the focus by that reason.
void FormWidget::DoGiveFocus(Control control, bool asTab) {
    widget(control)->setFocus(asTab ? Qt::TabFocusReason : Qt::OtherFocusReason);
}

void FormWidget::DoSetAdmits(Control field, Admits admits) {
    static_cast<Field*>(widget(field))->setAdmits(admits);
}

std::string FormWidget::DoText(Control control) const {
    return widget(control)->property("text").toString().toStdString();
}

void FormWidget::DoSetCaption(Control label, std::string_view text) {
    const QString caption = FromUtf8(text);
    Fit(label, caption);
    static_cast<QLabel*>(widget(label))->setText(caption);
}

void FormWidget::Fit(Control control, const QString& text) {
    const QFont base = font();
    const double points = FittingPoints(
        RowOf(control), text.toStdString(), m_points, logicalDpiY(),
        [&base](std::string_view caption, double size) { return Extent(base, size, caption); });
    // An unset font follows the form's; a fitted one is the form's, smaller.
    QFont fitted = base;
    fitted.setPointSizeF(points);
    widget(control)->setFont(points < m_points ? fitted : QFont());
}

void FormWidget::DoSetBackground(Control control, Rgb colour) {
    FillBackground(widget(control), colour);
}

void FormWidget::DoSetTextColour(Control control, Rgb colour) {
    SetPaletteColour(widget(control), widget(control)->foregroundRole(), colour);
}

void FormWidget::DoSetDescription(Control field, std::string_view description) {
    widget(field)->setAccessibleDescription(FromUtf8(description));
}

void FormWidget::DoSelectAll(Control field) { static_cast<QLineEdit*>(widget(field))->selectAll(); }

void FormWidget::DoPutCursorAtEnd(Control field) {
    static_cast<QLineEdit*>(widget(field))->end(false);
}

void FormWidget::DoAnnounce(Control liveLabel) { PresentNotification(widget(liveLabel)); }

void FormWidget::Show() {
    setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(),
                                    screen()->availableGeometry()));
    show();
}

void FormWidget::DoShowMessage(std::string_view text, std::string_view title,
                               std::function<void()> closed) {
    QMessageBox box(QMessageBox::NoIcon, FromUtf8(title), FromUtf8(text), QMessageBox::Ok, this);
    box.exec();
    if (closed) closed();
}

std::unique_ptr<Form> CreateForm(const FormLayout& layout, std::span<const ControlRow> controls) {
    return std::make_unique<FormWidget>(layout, controls);
}

std::string DecimalSeparator() { return QLocale::system().decimalPoint().toStdString(); }

}  // namespace styrmark::toolkit
