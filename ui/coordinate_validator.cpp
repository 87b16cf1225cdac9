#include "ui/coordinate_validator.h"

namespace styrmark {

bool IsCoordinateCharacter(char16_t character) {
    return (character >= u'0' && character <= u'9') || character == u':';
}

QValidator::State CoordinateValidator::validate(QString& input, int& position) const {
    QString kept;
    kept.reserve(input.size());
    int keptBeforeCursor = 0;
    for (qsizetype i = 0; i < input.size(); ++i) {
        if (!IsCoordinateCharacter(input[i].unicode())) continue;
        kept += input[i];
        if (i < position) ++keptBeforeCursor;
    }
    input = kept;
    position = keptBeforeCursor;
    return Acceptable;
}

}  // namespace styrmark
