// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QValidator>

#include "ui/toolkit.h"

namespace styrmark::toolkit {

// Keeps a field to the characters it admits and to its length limit, whatever the route
// text comes in by: typing, paste, middle-click, drag and drop or an input method.
class CharacterValidator : public QValidator {
    Q_OBJECT

public:
    explicit CharacterValidator(QObject* parent);
    void setAdmits(Admits admits);
    void setLimit(int characters);
    State validate(QString& input, int& position) const override;
    // What stays of `incoming` put into `text`, whose characters the field keeps already, in
    // place of `replaced` characters from `at`.
    QString Kept(const QString& text, int at, int replaced, const QString& incoming) const;

private:
    Admits m_admits = nullptr;  // all
    int m_limit = 0;            // none
};

}  // namespace styrmark::toolkit
