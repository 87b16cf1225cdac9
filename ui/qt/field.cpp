// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/qt/field.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <memory>
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
    if (event->matches(QKeySequence::Paste) && !isReadOnly()) {
        pasteFiltered();
        event->accept();
        return;
    }
    const QString text = event->text();
    if (m_keyFilter && text.size() == 1 && !IsShortcut(event) &&
        !m_keyFilter(text.front().unicode())) {
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void Field::pasteFiltered() {
    const QString incoming = QGuiApplication::clipboard()->text();
    const int at = hasSelectedText() ? selectionStart() : cursorPosition();
    insert(m_validator->Kept(text(), at, static_cast<int>(selectedText().size()), incoming));
}

// Its Paste is known by the shortcut it shows, whatever the language: not every Qt names it.
QMenu* Field::createContextMenu() {
    QMenu* menu = createStandardContextMenu();
    const QString shortcut =
        '\t' + QKeySequence(QKeySequence::Paste).toString(QKeySequence::NativeText);
    for (QAction* action : menu->actions()) {
        if (!action->text().endsWith(shortcut)) continue;
        action->disconnect(this);
        connect(action, &QAction::triggered, this, &Field::pasteFiltered);
    }
    return menu;
}

void Field::contextMenuEvent(QContextMenuEvent* event) {
    const std::unique_ptr<QMenu> menu(createContextMenu());
    menu->exec(event->globalPos());
}

void Field::dropEvent(QDropEvent* event) {
    if (!event->mimeData()->hasText()) return QLineEdit::dropEvent(event);
    QMimeData filtered;
    filtered.setText(m_validator->Kept(text(), cursorPositionAt(event->position().toPoint()), 0,
                                       event->mimeData()->text()));
    QDropEvent drop(event->position(), event->possibleActions(), &filtered, event->buttons(),
                    event->modifiers(), event->type());
    drop.setDropAction(event->dropAction());
    QLineEdit::dropEvent(&drop);
    event->setAccepted(drop.isAccepted());
    event->setDropAction(drop.dropAction());
}

void Field::inputMethodEvent(QInputMethodEvent* event) {
    if (event->commitString().isEmpty()) return QLineEdit::inputMethodEvent(event);
    const int at = hasSelectedText() ? selectionStart() : cursorPosition();
    QInputMethodEvent filtered(event->preeditString(), event->attributes());
    filtered.setCommitString(
        m_validator->Kept(text(), at + event->replacementStart(),
                          hasSelectedText() ? static_cast<int>(selectedText().size())
                                            : event->replacementLength(),
                          event->commitString()),
        event->replacementStart(), event->replacementLength());
    QLineEdit::inputMethodEvent(&filtered);
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
