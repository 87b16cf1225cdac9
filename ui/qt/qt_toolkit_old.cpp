// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/toolkit.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLocale>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "ui/accessibility.h"
#include "ui/character_validator.h"
#include "ui/fonts.h"

namespace styrmark::toolkit {
namespace {

constexpr int kFocusRingTwips = 30;
constexpr int kFocusRingInsetTwips = 45;  // inside the button's own bevel

MessageHook& Hook() {
    static MessageHook hook;
    return hook;
}

QColor ToColor(Rgb colour) { return {colour.red, colour.green, colour.blue}; }

// Editing shortcuts such as Ctrl+V carry a control character as their text; they
// are commands, not typed characters.
bool IsShortcut(const QKeyEvent* event) {
    return event->modifiers().testAnyFlags(Qt::ControlModifier | Qt::AltModifier |
                                           Qt::MetaModifier);
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

int TwipsToPixels(int twips, double dotsPerInch) {
    return static_cast<int>(std::lround(twips * dotsPerInch / kTwipsPerInch));
}

Field::Field(QWidget* parent) : QLineEdit(parent), m_validator(new CharacterValidator(this)) {
    setAlignment(Qt::AlignCenter);
    setValidator(m_validator);
}

void Field::setKeyFilter(KeyFilter filter) { m_keyFilter = std::move(filter); }

void Field::setAdmits(Admits admits) { m_validator->setAdmits(std::move(admits)); }

void Field::setLimit(int characters) { m_validator->setLimit(characters); }

void Field::setOnEnter(std::function<void()> handler) { m_onEnter = std::move(handler); }

void Field::setOnLeave(std::function<void(FocusLoss)> handler) { m_onLeave = std::move(handler); }

void Field::clearHandlers() {
    m_keyFilter = {};
    m_onEnter = {};
    m_onLeave = {};
}

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
    if (m_onEnter) m_onEnter();
}

void Field::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    const Qt::FocusReason reason = event->reason();
    const bool byUser = reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
                        reason == Qt::MouseFocusReason;
    if (m_onLeave) m_onLeave(byUser ? FocusLoss::ByUser : FocusLoss::Other);
    // Taking the focus back while losing it: the focus change under way still reports the
    // control it was heading for once this returns, so screen readers hear of this field
    // again after it.
    if (hasFocus()) {
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (hasFocus()) ReportFocus(this);
            },
            Qt::QueuedConnection);
    }
}

Button::Button(QWidget* parent) : QPushButton(parent) {
    setAutoDefault(true);  // Enter presses it too, not only Space
}

void Button::setOnPress(std::function<void()> handler) {
    connect(this, &QPushButton::clicked, this, std::move(handler));
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

// The style's own focus hint is a hairline barely different from the frame; a ring in
// the caption's colour stands out from the face under any palette.
void Button::paintEvent(QPaintEvent* event) {
    QPushButton::paintEvent(event);
    if (!hasFocus()) return;
    const int width = std::max(2, TwipsToPixels(kFocusRingTwips, logicalDpiX()));
    const int inset = TwipsToPixels(kFocusRingInsetTwips, logicalDpiX()) + width / 2;
    QPainter painter(this);
    QPen pen(palette().color(QPalette::ButtonText), width);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    painter.drawRect(rect().adjusted(inset, inset, -inset, -inset));
}

Form::Form(const FormLayout& layout, std::span<const ControlRow> controls) {
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
    SetBackground(this, layout.background);

    std::vector<std::pair<int, QWidget*>> focusable;
    for (const ControlRow& row : controls) {
        QWidget* control = CreateControl(this, row);
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
    // A label's buddy is how screen readers learn what a caption heads.
    for (const ControlRow& row : controls) {
        if (row.heads != nullptr) control<QLabel>(row.name)->setBuddy(control<QWidget>(row.heads));
    }
}

// Closing the form moves the focus out of its fields while the window that handles
// that is already being taken apart.
Form::~Form() {
    for (Field* field : findChildren<Field*>()) field->clearHandlers();
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

void SetDescription(QWidget* widget, const QString& description) {
    widget->setAccessibleDescription(description);
}

void SetCaption(LiveLabel* label, const std::string& text) {
    const QString caption = QString::fromStdString(text);
    FitText(label, caption);
    label->setText(caption);
}

void Announce(LiveLabel* label) { PresentNotification(label); }

std::string FieldText(const QLineEdit* field) { return field->text().toStdString(); }

int FieldLength(const QLineEdit* field) {
    const QString text = field->text();
    return static_cast<int>(text.toUcs4().size());
}

void SelectAll(QLineEdit* field) { field->selectAll(); }

void PutCursorAtEnd(QLineEdit* field) { field->end(false); }

void GiveFocus(QWidget* widget) { widget->setFocus(Qt::OtherFocusReason); }

void NextControl(QWidget* from) {
    QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier, QStringLiteral("\t"));
    QCoreApplication::sendEvent(from, &tab);
}

void ShowMessage(QWidget* parent, const QString& text, const QString& title) {
    if (Hook()) {
        Hook()(text, title);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, parent);
    box.exec();
}

void SetMessageHook(MessageHook hook) { Hook() = std::move(hook); }

std::string DecimalSeparator() { return QLocale::system().decimalPoint().toStdString(); }

}  // namespace styrmark::toolkit
