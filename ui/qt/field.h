// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLineEdit>
#include <QMenu>
#include <functional>

#include "ui/toolkit.h"

namespace styrmark::toolkit {

class CharacterValidator;

// A single-line entry field that reports each typed character before taking it, and
// its focus changes.
class Field : public QLineEdit {
    Q_OBJECT

public:
    // True if the field is to take the character.
    using KeyFilter = std::function<bool(char16_t)>;

    explicit Field(QWidget* parent);
    void setKeyFilter(KeyFilter filter);
    // Whatever route text takes into the field, only these characters stay, and no more
    // than the limit.
    void setAdmits(Admits admits);
    void setLimit(int characters);
    void setOnEnter(std::function<void()> handler);
    // Told whether the focus went to another control of the same window.
    void setOnLeave(std::function<void(bool withinForm)> handler);
    void clearHandlers();
    // The standard menu, its Paste filtered as every other way in.
    QMenu* createContextMenu();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    // Text from outside goes in already filtered, as one edit Ctrl+Z takes back: a validator
    // that has to change the text empties the field's undo.
    void pasteFiltered();

    CharacterValidator* m_validator;
    KeyFilter m_keyFilter;
    std::function<void()> m_onEnter;
    std::function<void(bool)> m_onLeave;
};

}  // namespace styrmark::toolkit
