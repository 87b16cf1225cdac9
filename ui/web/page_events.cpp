// SPDX-License-Identifier: GPL-3.0-or-later
// What page.js calls when the page has something to report: events of the form's
// elements by row, and the slots it passes texts in. Events for no form are dropped.
#include <algorithm>
#include <string>

#include "ui/web/page.h"
#include "ui/web/web_form.h"

#define STYRMARK_EXPORT(name) extern "C" __attribute__((export_name(#name)))

namespace styrmark::web {

namespace {

std::string& Slot(int slot) {
    static std::string slots[2];
    return slots[slot & 1];
}

}  // namespace

std::string Received(int slot, std::size_t bytes) { return Slot(slot).substr(0, bytes); }

std::u16string Received16(int slot, std::size_t units) {
    std::u16string text(units, u'\0');
    std::copy_n(Slot(slot).data(), units * sizeof(char16_t), reinterpret_cast<char*>(text.data()));
    return text;
}

}  // namespace styrmark::web

namespace {

using styrmark::toolkit::Control;
using styrmark::toolkit::WebForm;

// The form and the control a row stands for; none when no form is on the page.
struct Target {
    WebForm* form;
    std::optional<Control> control;
};

Target At(int row) {
    WebForm* form = WebForm::Current();
    return {form, form != nullptr ? form->ControlAt(row) : std::nullopt};
}

}  // namespace

STYRMARK_EXPORT(web_reserve) char* WebReserve(int slot, std::size_t bytes) {
    std::string& text = styrmark::web::Slot(slot);
    text.resize(bytes);
    return text.data();
}

STYRMARK_EXPORT(web_keydown) int WebKeyDown(int row, std::size_t keyBytes, int shift) {
    const Target at = At(row);
    return at.control &&
           at.form->OnKeyDown(*at.control, styrmark::web::Received(0, keyBytes), shift != 0);
}

STYRMARK_EXPORT(web_beforeinput)
int WebBeforeInput(int row, std::size_t typeBytes, std::size_t dataUnits) {
    const Target at = At(row);
    return at.control && at.form->OnBeforeInput(*at.control, styrmark::web::Received(0, typeBytes),
                                                styrmark::web::Received16(1, dataUnits));
}

STYRMARK_EXPORT(web_input) void WebInput(int row) {
    if (const Target at = At(row); at.control) at.form->OnInput(*at.control);
}

STYRMARK_EXPORT(web_mousedown) int WebMouseDown(int row) {
    const Target at = At(row);
    return at.form != nullptr && at.form->OnMouseDown(at.control);
}

STYRMARK_EXPORT(web_focus) void WebFocus(int row) {
    if (const Target at = At(row); at.control) at.form->OnFocus(*at.control);
}

// `gaining`: the row of the element the focus goes to, or none.
STYRMARK_EXPORT(web_blur) void WebBlur(int row, int gaining) {
    if (const Target at = At(row); at.control) at.form->OnBlur(*at.control, At(gaining).control);
}

STYRMARK_EXPORT(web_click) void WebClick(int row) {
    if (const Target at = At(row); at.control) at.form->OnClick(*at.control);
}

STYRMARK_EXPORT(web_closed) void WebClosed() {
    if (WebForm* form = WebForm::Current()) form->OnMessageClosed();
}

STYRMARK_EXPORT(web_posted) void WebPosted() {
    if (WebForm* form = WebForm::Current()) form->OnPosted();
}

STYRMARK_EXPORT(web_resized) void WebResized() {
    if (WebForm* form = WebForm::Current()) form->OnResized();
}
