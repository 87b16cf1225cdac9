// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/qt/field.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <utility>

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

void Field::setOnLeave(std::function<void(bool)> handler) { m_onLeave = std::move(handler); }

void Field::clearHandlers() {
    m_keyFilter = {};
    m_onEnter = {};
    m_onLeave = {};
}

void Field::keyPressEvent(QKeyEvent* event) {
    const QString text = event->text();
    if (m_keyFilter && text.size() == 1 && !IsShortcut(event) &&
        !m_keyFilter(text.front().unicode())) {
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void Field::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    if (m_onEnter) m_onEnter();
}

// Qt has already made the gaining widget the focus widget when it tells the losing one; when
// the window itself is left, the focus widget is none or stays this one.
void Field::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    const QWidget* gaining = QApplication::focusWidget();
    if (m_onLeave)
        m_onLeave(gaining != nullptr && gaining != this && gaining->window() == window());
}

}  // namespace styrmark::toolkit
