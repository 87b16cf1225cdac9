#include "ui/character_validator.h"

#include <utility>

namespace styrmark::toolkit {

CharacterValidator::CharacterValidator(Admits admits, QObject* parent)
    : QValidator(parent), m_admits(std::move(admits)) {}

// The cursor keeps its place among the characters that stay.
QValidator::State CharacterValidator::validate(QString& input, int& position) const {
    QString kept;
    kept.reserve(input.size());
    int keptBeforeCursor = 0;
    for (qsizetype i = 0; i < input.size(); ++i) {
        if (!m_admits(input[i].unicode())) continue;
        kept += input[i];
        if (i < position) ++keptBeforeCursor;
    }
    input = kept;
    position = keptBeforeCursor;
    return Acceptable;
}

}  // namespace styrmark::toolkit
