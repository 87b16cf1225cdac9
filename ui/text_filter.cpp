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

Replacement KeptReplacement(std::u16string_view text, std::size_t start, std::size_t end,
                            std::u16string_view incoming, Admits admits, std::size_t limit) {
    start = std::min(start, text.size());
    end = std::clamp(end, start, text.size());
    std::u16string edited(text.substr(0, start));
    edited += incoming;
    edited += text.substr(end);
    const FieldEdit kept = FilterFieldText({edited, start + incoming.size()}, admits, limit);

    std::size_t head = 0;
    while (head < start && head < kept.text.size() && kept.text[head] == text[head]) ++head;
    std::size_t tail = 0;
    while (tail < text.size() - end && tail < kept.text.size() - head &&
           kept.text[kept.text.size() - 1 - tail] == text[text.size() - 1 - tail])
        ++tail;
    Replacement replacement{head, text.size() - tail,
                            kept.text.substr(head, kept.text.size() - tail - head), kept.cursor,
                            false};
    replacement.whole =
        replacement.start == start && replacement.end == end && replacement.text == incoming;
    return replacement;
}

}  // namespace styrmark::toolkit
