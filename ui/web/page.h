// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The page's side of the seam: the few DOM functions of page.js the C++ calls by name. A
// control is known by its row; row -1 is the form itself, row -2 its window on the page,
// rows past the table's the elements the form adds.
// Texts go out as UTF-8; a field's contents as UTF-16, as the DOM keeps them. What the
// page hands back waits in a slot (Received) that page.js fills through web_reserve.

#include <cstddef>
#include <string>
#include <string_view>

#define STYRMARK_PAGE(name) __attribute__((import_module("page"), import_name(#name)))

extern "C" {
// Puts the form's window on the page in one piece (form_markup.h), and titles the page.
STYRMARK_PAGE(form)
void page_form(const char* title, std::size_t titleLength, const char* css, std::size_t cssLength,
               const char* html, std::size_t htmlLength);
// A new element at the end of the form, known from then on by `row`.
STYRMARK_PAGE(element) void page_element(int row, const char* tag, std::size_t tagLength);
STYRMARK_PAGE(attribute)
void page_attribute(int row, const char* name, std::size_t nameLength, const char* value,
                    std::size_t valueLength);
// An inline style property; an empty value removes it.
STYRMARK_PAGE(style)
void page_style(int row, const char* name, std::size_t nameLength, const char* value,
                std::size_t valueLength);
// A field's value or any other control's text.
STYRMARK_PAGE(set_text) void page_set_text(int row, const char* text, std::size_t length);
STYRMARK_PAGE(text) std::size_t page_text(int row);
STYRMARK_PAGE(set_value16)
void page_set_value16(int row, const char16_t* text, std::size_t length);
// The value in slot 0, its selection's start and end in UTF-16 units at `selection`.
STYRMARK_PAGE(value16) std::size_t page_value16(int row, int* selection);
STYRMARK_PAGE(set_selection) void page_set_selection(int row, int start, int end);
STYRMARK_PAGE(select) void page_select(int row);
// Replaces the field's selection as typing would, an edit the field can undo.
STYRMARK_PAGE(insert16) void page_insert16(int row, const char16_t* text, std::size_t length);
STYRMARK_PAGE(focus) void page_focus(int row);
// The control has the focus, and the page has it from the system.
STYRMARK_PAGE(has_focus) int page_has_focus(int row);
// Width and height in CSS pixels of a line of text in a CSS font, into `extent`.
STYRMARK_PAGE(measure)
void page_measure(const char* font, std::size_t fontLength, const char* text, std::size_t length,
                  int* extent);
// The viewport's width and height in CSS pixels, into `size`.
STYRMARK_PAGE(viewport) void page_viewport(int* size);
// Has screen readers present the live region's text again.
STYRMARK_PAGE(announce) void page_announce(int row);
// Opens the modal dialog; web_closed() follows once it is closed.
STYRMARK_PAGE(message)
void page_message(const char* text, std::size_t textLength, const char* title,
                  std::size_t titleLength);
// web_posted() follows from the event loop.
STYRMARK_PAGE(post) void page_post();
STYRMARK_PAGE(decimal_separator) std::size_t page_decimal_separator();
// Takes the form and its window off the page.
STYRMARK_PAGE(remove) void page_remove();
}

#undef STYRMARK_PAGE

namespace styrmark::web {

// What page.js put in a slot.
std::string Received(int slot, std::size_t bytes);
std::u16string Received16(int slot, std::size_t units);

inline void Element(int row, std::string_view tag) { page_element(row, tag.data(), tag.size()); }
inline void Attribute(int row, std::string_view name, std::string_view value) {
    page_attribute(row, name.data(), name.size(), value.data(), value.size());
}
inline void Style(int row, std::string_view name, std::string_view value) {
    page_style(row, name.data(), name.size(), value.data(), value.size());
}

}  // namespace styrmark::web
