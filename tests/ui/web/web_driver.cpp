// SPDX-License-Identifier: GPL-3.0-or-later
// The behaviour table's driver for the web front end. The table runs inside the page, in
// WebAssembly; each input is trusted input from the DevTools protocol (driver.js hands it
// to the test runner), the module suspended until it is handled. The controls are read
// back from the page's elements and its accessibility tree.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>

#include "driver.h"
#include "ui/form1_layout.h"
#include "ui/web/page.h"

#define STYRMARK_DRIVER(name) __attribute__((import_module("driver"), import_name(#name)))

extern "C" {
// Suspend the module until the page has handled the input.
STYRMARK_DRIVER(key) void driver_key(int key);
STYRMARK_DRIVER(type) void driver_type(const char16_t* characters, std::size_t length);
STYRMARK_DRIVER(click) void driver_click(const char* id, std::size_t length);
STYRMARK_DRIVER(put_in)
void driver_put_in(int route, const char* id, std::size_t idLength, const char* text,
                   std::size_t length);
STYRMARK_DRIVER(other_page) void driver_other_page();
STYRMARK_DRIVER(activate) void driver_activate();
STYRMARK_DRIVER(settle) void driver_settle();
// The id of the caption the accessibility tree names the element by, into slot 0.
STYRMARK_DRIVER(label_of) std::size_t driver_label_of(const char* id, std::size_t length);
STYRMARK_DRIVER(clipboard) std::size_t driver_clipboard();
// Read from the page at once.
STYRMARK_DRIVER(title) std::size_t driver_title();
STYRMARK_DRIVER(focused) std::size_t driver_focused();
// What: 0 the element's offset box into `values` (false if there is no such element), 1
// its computed background as 0xRRGGBB (-1 if the form never set one), 2 its text colour,
// 3 whether it is pressed; 4 the window's rect on the viewport, the viewport's size, and
// whether it is resizable and maximisable, into `values`; 5 its computed background, whoever
// set it.
STYRMARK_DRIVER(read) int driver_read(int what, const char* id, std::size_t length, int* values);
}

namespace styrmark::test {
namespace {

constexpr std::string_view kForm = "form";

int Row(toolkit::Control control) { return static_cast<int>(control.row); }
std::string_view Id(toolkit::Control control) { return kForm1Controls.at(control.row).name; }

toolkit::Rgb Unpacked(int rgb) { return {rgb >> 16 & 0xFF, rgb >> 8 & 0xFF, rgb & 0xFF}; }

// The control an element id names; none for the page's other elements.
std::optional<toolkit::Control> ById(const std::string& id) {
    for (std::size_t row = 0; row < kForm1Controls.size(); ++row) {
        if (id == kForm1Controls[row].name) return toolkit::Control{row};
    }
    return std::nullopt;
}

class WebDriver final : public Driver {
public:
    WebDriver() {
        driver_activate();
        m_form = std::make_unique<Form1>();
        m_form->Show();
        Settle();
    }

    Form1& form() override { return *m_form; }

    void Type(std::u16string_view characters) override {
        driver_type(characters.data(), characters.size());
        Settle();
    }
    void Press(Key key) override {
        driver_key(static_cast<int>(key));
        Settle();
    }
    void Click(toolkit::Control control) override {
        driver_click(Id(control).data(), Id(control).size());
        Settle();
    }
    void PutIn(Route route, toolkit::Control field, std::string_view text) override {
        driver_put_in(static_cast<int>(route), Id(field).data(), Id(field).size(), text.data(),
                      text.size());
        Settle();
    }
    void LoseFocusToOtherWindow() override {
        driver_other_page();
        Settle();
    }
    // The tab goes to the background and its document away with the form.
    bool Close() override {
        driver_other_page();
        m_form.reset();
        Settle();
        int box[4] = {};
        return Read(0, kForm, box) == 0;
    }
    void Settle() override { driver_settle(); }

    void Focus(toolkit::Control control) override { page_focus(Row(control)); }
    void SetText(toolkit::Control field, std::string_view text) override {
        page_set_text(Row(field), text.data(), text.size());
    }
    void SetCursor(toolkit::Control field, int position) override {
        page_set_selection(Row(field), position, position);
    }

    std::string Title() const override { return web::Received(0, driver_title()); }
    Rect ClientArea() const override {
        const Rect box = Box(kForm);
        return {0, 0, box.width, box.height};
    }
    double Dpi() const override { return 96; }
    toolkit::Rgb FormBackground() const override { return Unpacked(Read(5, kForm)); }
    std::string Text(toolkit::Control control) const override {
        return web::Received(0, page_text(Row(control)));
    }
    std::string SelectedText(toolkit::Control field) const override {
        int selection[2] = {};
        const std::size_t length = page_value16(Row(field), selection);
        const std::u16string text = web::Received16(0, length);
        std::string selected;
        for (int at = selection[0]; at < selection[1]; ++at)
            selected += static_cast<char>(text[static_cast<std::size_t>(at)]);
        return selected;
    }
    int Cursor(toolkit::Control field) const override {
        int selection[2] = {};
        page_value16(Row(field), selection);
        return selection[1];
    }
    std::optional<toolkit::Control> FocusedControl() const override { return ById(Focused()); }
    std::optional<toolkit::Rgb> Background(toolkit::Control control) const override {
        const int rgb = Read(1, Id(control));
        return rgb < 0 ? std::nullopt : std::optional(Unpacked(rgb));
    }
    toolkit::Rgb TextColour(toolkit::Control control) const override {
        return Unpacked(Read(2, Id(control)));
    }
    Rect Geometry(toolkit::Control control) const override { return Box(Id(control)); }
    bool IsDown(toolkit::Control button) const override { return Read(3, Id(button)) != 0; }
    std::optional<toolkit::Control> LabelOf(toolkit::Control control) const override {
        return ById(web::Received(0, driver_label_of(Id(control).data(), Id(control).size())));
    }
    Placement WindowPlacement() const override {
        int values[8] = {};
        Read(4, kForm, values);
        return {{values[0], values[1], values[2], values[3]},
                {0, 0, values[4], values[5]},
                values[6] != 0,
                values[7] != 0};
    }
    std::string Clipboard() const override { return web::Received(0, driver_clipboard()); }

private:
    static std::string Focused() { return web::Received(0, driver_focused()); }
    static int Read(int what, std::string_view id, int* values = nullptr) {
        return driver_read(what, id.data(), id.size(), values);
    }
    static Rect Box(std::string_view id) {
        int box[4] = {};
        Read(0, id, box);
        return {box[0], box[1], box[2], box[3]};
    }

    std::unique_ptr<Form1> m_form;
};

}  // namespace

std::unique_ptr<Driver> MakeDriver() { return std::make_unique<WebDriver>(); }

}  // namespace styrmark::test

// The rule that a control of the wrong kind stops the program, where death tests cannot run:
// tests/web/check.mjs calls this instead of the table and reads what the page is told.
extern "C" __attribute__((export_name("wrong_kind"))) void WrongKind() {
    styrmark::Form1 form;
    form.Window().SelectAll(form.Label2);
}
