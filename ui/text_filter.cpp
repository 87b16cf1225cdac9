// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/text_filter.h"

#include <algorithm>

namespace styrmark::toolkit {

FieldEdit FilterFieldText(const FieldEdit& edited, Admits admits, std::size_t limit) {
    FieldEdit kept{{}, 0};
    kept.text.reserve(edited.text.size());
    for (std::size_t i = 0; i < edited.text.size(); ++i) {
        if (admits != nullptr && !admits(edited.text[i])) continue;
        kept.text += edited.text[i];
        if (i < edited.cursor) ++kept.cursor;
    }
    if (limit > 0 && kept.text.size() > limit) {
        const std::size_t excess = std::min(kept.text.size() - limit, kept.cursor);
        kept.text.erase(kept.cursor - excess, excess);
        kept.cursor -= excess;
    }
    return kept;
}

}  // namespace styrmark::toolkit
