// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/character_validator.h"

#include <algorithm>
#include <utility>

namespace styrmark::toolkit {

CharacterValidator::CharacterValidator(QObject* parent) : QValidator(parent) {}

void CharacterValidator::setAdmits(Admits admits) { m_admits = std::move(admits); }

void CharacterValidator::setLimit(int characters) { m_limit = characters; }

// The limit applies to what stays, not to what came in: pasted junk must not push digits
// out. What does not fit is cut from the end of the insertion, just before the cursor, so
// that typing into a full field changes nothing and a long paste keeps its beginning.
QValidator::State CharacterValidator::validate(QString& input, int& position) const {
    QString kept;
    kept.reserve(input.size());
    int keptBeforeCursor = 0;
    for (qsizetype i = 0; i < input.size(); ++i) {
        if (!m_admits(input[i].unicode())) continue;
        kept += input[i];
        if (i < position) ++keptBeforeCursor;
    }
    if (m_limit > 0 && kept.size() > m_limit) {
        const qsizetype excess = std::min<qsizetype>(kept.size() - m_limit, keptBeforeCursor);
        kept.remove(keptBeforeCursor - excess, excess);
        keptBeforeCursor -= static_cast<int>(excess);
    }
    input = kept;
    position = keptBeforeCursor;
    return Acceptable;
}

}  // namespace styrmark::toolkit
