#pragma once

#include <QValidator>
#include <functional>

namespace styrmark::toolkit {

// Drops every character a field does not admit from whatever enters it, whatever the
// route: typing, paste, middle-click, drag and drop or an input method.
class CharacterValidator : public QValidator {
    Q_OBJECT

public:
    using Admits = std::function<bool(char16_t)>;

    CharacterValidator(Admits admits, QObject* parent);
    State validate(QString& input, int& position) const override;

private:
    Admits m_admits;
};

}  // namespace styrmark::toolkit
