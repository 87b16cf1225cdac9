#pragma once

#include <QValidator>

namespace styrmark {

// The characters a coordinate text is made of: the digits and the colon.
bool IsCoordinateCharacter(char16_t character);

// Drops every other character from whatever enters a field, whatever the route:
// typing, paste, middle-click, drag and drop or an input method.
class CoordinateValidator : public QValidator {
    Q_OBJECT

public:
    using QValidator::QValidator;
    State validate(QString& input, int& position) const override;
};

}  // namespace styrmark
