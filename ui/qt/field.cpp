// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/qt/field.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <utility>

#include "ui/qt/accessibility.h"
#include "ui/qt/character_validator.h"

namespace styrmark::toolkit {
namespace {

// Editing shortcuts such as Ctrl+V carry a control character as their text; they
// are commands, not typed characters.
bool IsShortcut(const QKeyEvent* event) {
    return event->modifiers().testAnyFlags(Qt::ControlModifier | Qt::AltModifier |
                                           Qt::MetaModifier);
}

}  // namespace

Field::Field(QWidget* parent) : QLineEdit(parent), m_validator(new CharacterValidator(this)) {
    setAlignment(Qt::AlignCenter);
    setValidator(m_validator);
}

void Field::setKeyFilter(KeyFilter filter) { m_keyFilter = std::move(filter); }

void Field::setAdmits(Admits admits) { m_validator->setAdmits(admits); }

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

}  // namespace styrmark::toolkit
