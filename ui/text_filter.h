// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What stays of a field's text after something came into it, for every front end alike.

#include <cstddef>
#include <string>
#include <string_view>

#include "ui/toolkit.h"

namespace styrmark::toolkit {

struct FieldEdit {
    std::u16string text;
    std::size_t cursor;  // in UTF-16 code units
};

// Keeps only the admitted characters, then no more than `limit` (0: none). The limit
// applies to what stays, not to what came in, so pasted junk never pushes digits out. What
// does not fit is cut from the end of the insertion, just before the cursor, so that typing
// into a full field changes nothing and a long paste keeps its beginning.
FieldEdit FilterFieldText(const FieldEdit& edited, Admits admits, std::size_t limit);

// What to replace of a field's text, and with what, for `incoming` to take the place of
// [start, end) as the field keeps it: the least part of the old text that differs, never
// less than [start, end), so that one undo gives back exactly what it replaced.
struct Replacement {
    std::size_t start;
    std::size_t end;
    std::u16string text;
    std::size_t cursor;  // after the replacement
    bool whole;          // `incoming` goes in as it is, over [start, end)
};
Replacement KeptReplacement(std::u16string_view text, std::size_t start, std::size_t end,
                            std::u16string_view incoming, Admits admits, std::size_t limit);

}  // namespace styrmark::toolkit
