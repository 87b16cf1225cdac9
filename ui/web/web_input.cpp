// SPDX-License-Identifier: GPL-3.0-or-later
// What keys, edits and clicks on the page do to the form's controls.
#include <string>

#include "ui/text_filter.h"
#include "ui/web/page.h"
#include "ui/web/web_form.h"

namespace styrmark::toolkit {
namespace {

int Row(Control control) { return static_cast<int>(control.row); }

struct FieldState {
    std::u16string text;
    std::size_t start;  // of the selection, in UTF-16 units
    std::size_t end;
};

FieldState State(Control field) {
    int selection[2] = {};
    const std::size_t length = page_value16(Row(field), selection);
    return {web::Received16(0, length), static_cast<std::size_t>(selection[0]),
            static_cast<std::size_t>(selection[1])};
}

}  // namespace

// Tab and Shift+Tab run through the form's own order and round it, as in a window;
// Enter and Backspace are a field's typed characters. A key with Ctrl, Alt or Meta never
// comes here: those are shortcuts.
bool WebForm::OnKeyDown(Control control, std::string_view key, bool shift) {
    if (key == "Tab") {
        DoGiveFocus(NextInTabOrder(control, shift), true);
        return true;
    }
    if (RowOf(control).kind != ControlKind::Field) return false;
    // Whatever the filter says, Enter never reaches the field, nor, once the focus has
    // moved on, the button as a press.
    if (key == "Enter") {
        KeyTyped(control, u'\r');
        return true;
    }
    if (key == "Backspace") return !KeyTyped(control, u'\b');
    return false;
}

// A typed character (a key, or a phone keyboard's single letter) goes past the key
// filter first. Text coming in any other way the page lets be stopped is put in as
// what stays of it, as an edit of the field's own, so that undo brings back what it
// replaced; a composition or a drop is kept in check once it is in (OnInput).
bool WebForm::OnBeforeInput(Control field, std::string_view type, const std::u16string& data) {
    if (RowOf(field).kind != ControlKind::Field) return false;
    if (type == "insertText" && data.size() == 1 && !KeyTyped(field, data.front())) return true;
    if (!type.starts_with("insert") || type == "insertCompositionText" || type == "insertFromDrop")
        return false;
    const FieldState now = State(field);
    const Replacement kept =
        KeptReplacement(now.text, now.start, now.end, data, m_admits[field.row],
                        static_cast<std::size_t>(RowOf(field).maxLength));
    if (kept.whole) return false;
    if (kept.start != now.start || kept.end != now.end) {
        Put(field,
            {now.text.substr(0, kept.start) + kept.text + now.text.substr(kept.end), kept.cursor});
    } else if (!kept.text.empty() || now.end > now.start) {
        page_insert16(Row(field), kept.text.data(), kept.text.size());
    }
    return true;
}

void WebForm::OnInput(Control field) {
    if (RowOf(field).kind != ControlKind::Field) return;
    const FieldState now = State(field);
    Filter(field, now.text, now.end);
}

bool WebForm::Filter(Control field, const std::u16string& text, std::size_t cursor) {
    const FieldEdit kept = FilterFieldText({text, cursor}, m_admits[field.row],
                                           static_cast<std::size_t>(RowOf(field).maxLength));
    if (kept.text == text && kept.cursor == cursor) return false;
    Put(field, kept);
    return true;
}

void WebForm::Put(Control field, const FieldEdit& edit) {
    page_set_value16(Row(field), edit.text.data(), edit.text.size());
    const auto at = static_cast<int>(edit.cursor);
    page_set_selection(Row(field), at, at);
}

// The form's ground and its captions keep the focus where it is, as a window's do. A
// button takes the focus from the press itself: some browsers never give it one on a click,
// and a press is only for a button that has it.
bool WebForm::OnMouseDown(std::optional<Control> control) {
    if (!control) return true;
    switch (RowOf(*control).kind) {
        case ControlKind::Label:
        case ControlKind::LiveLabel:
            return true;
        case ControlKind::Button:
            if (!DoHasFocus(*control)) page_focus(Row(*control));
            return false;
        case ControlKind::Field:
            return false;
    }
    return false;
}

void WebForm::OnClick(Control control) {
    if (RowOf(control).kind == ControlKind::Button) Pressed(control);
}

}  // namespace styrmark::toolkit
