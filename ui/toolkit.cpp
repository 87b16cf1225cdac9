#include "ui/toolkit.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLocale>
#include <QMessageBox>
#include <QMouseEvent>
#include <algorithm>
#include <utility>
#include <vector>

namespace styrmark::toolkit {
namespace {

MessageHook& Hook() {
    static MessageHook hook;
    return hook;
}

// True while a message box is up: the focus changes it causes are not the user's.
bool g_messageShowing = false;

QRect PixelRect(const ControlRow& row) {
    return {row.left / kTwipsPerPixel, row.top / kTwipsPerPixel, row.width / kTwipsPerPixel,
            row.height / kTwipsPerPixel};
}

QColor ToColor(Rgb colour) { return {colour.red, colour.green, colour.blue}; }

// Editing shortcuts such as Ctrl+V carry a control character as their text; they
// are commands, not typed characters.
bool IsShortcut(const QKeyEvent* event) {
    return event->modifiers().testAnyFlags(Qt::ControlModifier | Qt::AltModifier |
                                           Qt::MetaModifier);
}

QWidget* CreateControl(QWidget* window, const ControlRow& row) {
    QWidget* control = nullptr;
    switch (row.kind) {
        case ControlKind::Label: {
            auto* label = new QLabel(QString::fromUtf8(row.text), window);
            label->setAlignment(Qt::AlignCenter);
            control = label;
            break;
        }
        case ControlKind::Field: {
            auto* field = new Field(window);
            field->setText(QString::fromUtf8(row.text));
            field->setMaxLength(row.maxLength);
            field->setAccessibleName(QString::fromUtf8(row.accessibleName));
            control = field;
            break;
        }
        case ControlKind::Button: {
            auto* button = new Button(window);
            button->setText(QString::fromUtf8(row.text));
            control = button;
            break;
        }
    }
    control->setObjectName(QString::fromUtf8(row.name));
    control->setGeometry(PixelRect(row));
    return control;
}

}  // namespace

Field::Field(QWidget* parent) : QLineEdit(parent) { setAlignment(Qt::AlignCenter); }

void Field::setKeyFilter(KeyFilter filter) { m_keyFilter = std::move(filter); }

void Field::keyPressEvent(QKeyEvent* event) {
    const QString text = event->text();
    if (m_keyFilter && text.size() == 1 && !IsShortcut(event) &&
        m_keyFilter(text.front().unicode()) == 0) {
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void Field::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    emit focusGained();
}

void Field::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    const Qt::FocusReason reason = event->reason();
    const bool byUser =
        !g_messageShowing && (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
                              reason == Qt::MouseFocusReason);
    emit focusLost(byUser ? FocusLoss::ByUser : FocusLoss::Other);
}

Button::Button(QWidget* parent) : QPushButton(parent) {
    setAutoDefault(true);  // Enter presses it too, not only Space
}

void Button::mousePressEvent(QMouseEvent* event) {
    // The click's focus move comes first; if the field being left took the focus
    // back, this press must neither show the button down nor end in a click.
    if (window()->focusWidget() != this) {
        event->ignore();
        return;
    }
    QPushButton::mousePressEvent(event);
}

void CreateForm(QWidget* window, const FormLayout& form, std::span<const ControlRow> controls) {
    // Where MS Sans Serif is missing, Liberation Sans has Arial's metrics, so every
    // caption still fits its control.
    QFont::insertSubstitutions(
        QStringLiteral("MS Sans Serif"),
        {QStringLiteral("Liberation Sans"), QStringLiteral("Arial"), QStringLiteral("Helvetica")});
    QFont font(QString::fromUtf8(form.fontFamily), form.fontPoints,
               form.bold ? QFont::Bold : QFont::Normal);
    window->setFont(font);
    window->setWindowTitle(QString::fromUtf8(form.caption));
    // A fixed layout: no maximise button, no resizing.
    window->setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                           Qt::WindowCloseButtonHint);
    window->setFixedSize(form.width / kTwipsPerPixel, form.height / kTwipsPerPixel);
    SetBackground(window, form.background);

    std::vector<std::pair<int, QWidget*>> focusable;
    for (const ControlRow& row : controls) {
        QWidget* control = CreateControl(window, row);
        if (row.kind == ControlKind::Label) continue;
        focusable.emplace_back(row.tabIndex, control);
    }
    std::sort(focusable.begin(), focusable.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 1; i < focusable.size(); ++i)
        QWidget::setTabOrder(focusable[i - 1].second, focusable[i].second);
}

void SetBackground(QWidget* widget, Rgb colour) {
    QPalette palette = widget->palette();
    palette.setColor(widget->backgroundRole(), ToColor(colour));
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

void SetTextColour(QWidget* widget, Rgb colour) {
    QPalette palette = widget->palette();
    palette.setColor(widget->foregroundRole(), ToColor(colour));
    widget->setPalette(palette);
}

void SetCaption(QLabel* label, const std::string& text) {
    label->setText(QString::fromStdString(text));
}

std::string FieldText(const QLineEdit* field) { return field->text().toStdString(); }

void GiveFocus(QWidget* widget) { widget->setFocus(Qt::OtherFocusReason); }

void NextControl(QWidget* from) {
    QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier, QStringLiteral("\t"));
    QCoreApplication::sendEvent(from, &tab);
}

void ShowMessage(QWidget* parent, const QString& text, const QString& title) {
    g_messageShowing = true;
    if (Hook()) {
        Hook()(text, title);
    } else {
        QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, parent);
        box.exec();
    }
    g_messageShowing = false;
}

void SetMessageHook(MessageHook hook) { Hook() = std::move(hook); }

std::string DecimalSeparator() { return QLocale::system().decimalPoint().toStdString(); }

}  // namespace styrmark::toolkit
