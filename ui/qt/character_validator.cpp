// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/qt/character_validator.h"

#include "ui/text_filter.h"

namespace styrmark::toolkit {

CharacterValidator::CharacterValidator(QObject* parent) : QValidator(parent) {}

void CharacterValidator::setAdmits(Admits admits) { m_admits = admits; }

void CharacterValidator::setLimit(int characters) { m_limit = characters; }

QValidator::State CharacterValidator::validate(QString& input, int& position) const {
    const FieldEdit kept =
        FilterFieldText({input.toStdU16String(), static_cast<std::size_t>(position)}, m_admits,
                        static_cast<std::size_t>(m_limit));
    input = QString::fromStdU16String(kept.text);
    position = static_cast<int>(kept.cursor);
    return Acceptable;
}

// The text around is kept already and the cut falls just before the cursor, so what stays
// of the insertion is what lies between the two.
QString CharacterValidator::Kept(const QString& text, int at, int replaced,
                                 const QString& incoming) const {
    QString edited = text;
    edited.replace(at, replaced, incoming);
    const FieldEdit kept =
        FilterFieldText({edited.toStdU16String(), static_cast<std::size_t>(at + incoming.size())},
                        m_admits, static_cast<std::size_t>(m_limit));
    return QString::fromStdU16String(kept.text).mid(at, static_cast<qsizetype>(kept.cursor) - at);
}

}  // namespace styrmark::toolkit
