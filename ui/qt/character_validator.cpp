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

QString CharacterValidator::Kept(const QString& text, int at, int replaced,
                                 const QString& incoming) const {
    const auto start = static_cast<std::size_t>(at);
    const Replacement kept =
        KeptReplacement(text.toStdU16String(), start, start + static_cast<std::size_t>(replaced),
                        incoming.toStdU16String(), m_admits, static_cast<std::size_t>(m_limit));
    return QString::fromStdU16String(kept.text);
}

}  // namespace styrmark::toolkit
