// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLineEdit>
#include <functional>

#include "ui/toolkit.h"

namespace styrmark::toolkit {

class CharacterValidator;

// A single-line entry field that reports each typed character before taking it, and
// its focus changes.
class Field : public QLineEdit {
    Q_OBJECT

public:
    // Returns the character to take, or 0 to take nothing.
    using KeyFilter = std::function<char16_t(char16_t)>;

    explicit Field(QWidget* parent);
    void setKeyFilter(KeyFilter filter);
    // Whatever route text takes into the field, only these characters stay, and no more
    // than the limit.
    void setAdmits(Admits admits);
    void setLimit(int characters);
    void setOnEnter(std::function<void()> handler);
    void setOnLeave(std::function<void(FocusLoss)> handler);
    void clearHandlers();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    CharacterValidator* m_validator;
    KeyFilter m_keyFilter;
    std::function<void()> m_onEnter;
    std::function<void(FocusLoss)> m_onLeave;
};

}  // namespace styrmark::toolkit
