// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/web/web_form.h"

#include <algorithm>
#include <string>
#include <utility>

#include "ui/text_filter.h"
#include "ui/web/page.h"

namespace styrmark::toolkit {
namespace {

// A CSS pixel is a 96th of an inch: 15 twips.
constexpr double kCssDpi = 96;
constexpr int kForm = -1;
constexpr int kWindow = -2;

WebForm* g_current = nullptr;

int Row(Control control) { return static_cast<int>(control.row); }

std::string Pixels(int twips) { return std::to_string(TwipsToPixels(twips, kCssDpi)) + "px"; }

std::string Css(Rgb colour) {
    return "rgb(" + std::to_string(colour.red) + " " + std::to_string(colour.green) + " " +
           std::to_string(colour.blue) + ")";
}

// Sizes come in half points.
std::string Points(double points) {
    const auto halves = static_cast<int>(points * 2);
    return std::to_string(halves / 2) + (halves % 2 != 0 ? ".5pt" : "pt");
}

// The wanted face where installed, else one drawn to its metrics, else the system's.
std::string Families(const char* wanted) {
    return "\"" + std::string(wanted) +
           "\", \"Liberation Sans\", Arimo, \"Nimbus Sans\", Arial, sans-serif";
}

std::string_view Tag(ControlKind kind) {
    switch (kind) {
        case ControlKind::Field:
            return "input";
        case ControlKind::Button:
            return "button";
        default:
            return "div";
    }
}

}  // namespace

using web::Attribute;
using web::Style;

WebForm::WebForm(const FormLayout& layout, std::span<const ControlRow> controls)
    : Form(controls), m_layout(layout), m_admits(controls.size(), nullptr) {
    g_current = this;
    Build(layout);
}

// The page's events stop reaching the form before its elements go.
WebForm::~WebForm() {
    g_current = nullptr;
    page_remove();
}

WebForm* WebForm::Current() { return g_current; }

std::optional<Control> WebForm::ControlAt(int row) const {
    if (row < 0 || static_cast<std::size_t>(row) >= Rows().size()) return std::nullopt;
    return Control{static_cast<std::size_t>(row)};
}

void WebForm::Build(const FormLayout& layout) {
    page_title(layout.caption, std::string_view(layout.caption).size());
    web::Element(kWindow, "div");
    Attribute(kWindow, "id", "window");
    web::Element(kForm, "main");
    Attribute(kForm, "id", "form");
    std::string_view caption = layout.caption;
    caption.remove_prefix(std::min(caption.find_first_not_of(' '), caption.size()));
    Attribute(kForm, "aria-label", caption);
    Style(kForm, "width", Pixels(layout.width));
    Style(kForm, "height", Pixels(layout.height));
    Style(kForm, "background-color", Css(layout.background));
    Style(kForm, "font-family", Families(layout.fontFamily));
    Style(kForm, "font-size", Points(layout.fontPoints));
    Style(kForm, "font-weight", layout.bold ? "bold" : "normal");

    for (std::size_t index = 0; index < Rows().size(); ++index) {
        const ControlRow& row = Rows()[index];
        const int at = static_cast<int>(index);
        web::Element(at, Tag(row.kind));
        Attribute(at, "id", row.name);
        Style(at, "left", Pixels(row.left));
        Style(at, "top", Pixels(row.top));
        Style(at, "width", Pixels(row.width));
        Style(at, "height", Pixels(row.height));
        switch (row.kind) {
            case ControlKind::LiveLabel:
                // Read out when it changes, whole, without taking the focus.
                Attribute(at, "role", "status");
                Attribute(at, "aria-live", "polite");
                Attribute(at, "aria-atomic", "true");
                break;
            case ControlKind::Field:
                Attribute(at, "type", "text");
                Attribute(at, "aria-label", row.accessibleName);
                // Every numeric keyboard of the phones lacks the colon; the text keyboard's
                // first symbol page has the digits and the colon together.
                Attribute(at, "inputmode", "text");
                Attribute(at, "enterkeyhint", "next");
                for (const char* off : {"autocomplete", "autocorrect", "autocapitalize"})
                    Attribute(at, off, "off");
                Attribute(at, "spellcheck", "false");
                break;
            case ControlKind::Button:
                Attribute(at, "type", "button");
                break;
            case ControlKind::Label:
                break;
        }
        page_set_text(at, row.text, std::string_view(row.text).size());
        if (row.kind == ControlKind::Label || row.kind == ControlKind::Button)
            Fit(Control{index}, row.text);
    }
    OnResized();
    // A caption names what it heads, before the control's own name where it has one.
    for (std::size_t index = 0; index < Rows().size(); ++index) {
        const auto headed = Headed(Control{index});
        if (!headed) continue;
        const ControlRow& control = RowOf(*headed);
        std::string names = Rows()[index].name;
        if (control.accessibleName != nullptr) names += std::string(" ") + control.name;
        Attribute(Row(*headed), "aria-labelledby", names);
    }
}

// On the page from the start, centred by the page's style; fitted again in case the
// viewport changed meanwhile.
void WebForm::Show() { OnResized(); }

void WebForm::OnResized() {
    int viewport[2] = {};
    page_viewport(viewport);
    const int width = TwipsToPixels(m_layout.width, kCssDpi);
    const std::string height = Pixels(m_layout.height);
    if (viewport[0] >= width) {
        Style(kForm, "transform", "");
        Style(kWindow, "width", Pixels(m_layout.width));
        Style(kWindow, "height", height);
        return;
    }
    // Scaled, not zoomed: the fields' font keeps its size, under which phones zoom in on a
    // field that takes the focus.
    const std::string ratio =
        "calc(" + std::to_string(viewport[0]) + " / " + std::to_string(width) + ")";
    Style(kForm, "transform", "scale(" + ratio + ")");
    Style(kWindow, "width", std::to_string(viewport[0]) + "px");
    Style(kWindow, "height", "calc(" + height + " * " + ratio + ")");
}

void WebForm::Fit(Control control, std::string_view text) {
    const std::string family = Families(m_layout.fontFamily);
    const std::string weight = m_layout.bold ? "bold " : "";
    const double points = FittingPoints(
        RowOf(control), text, m_layout.fontPoints, kCssDpi,
        [&](std::string_view caption, double size) {
            const std::string font = weight + Points(size) + " " + family;
            int extent[2] = {};
            page_measure(font.data(), font.size(), caption.data(), caption.size(), extent);
            return TextExtent{extent[0], extent[1]};
        });
    Style(Row(control), "font-size", points < m_layout.fontPoints ? Points(points) : "");
}

void WebForm::PostLeaves() {
    if (m_leavesPosted) return;
    m_leavesPosted = true;
    page_post();
}

void WebForm::OnPosted() {
    m_leavesPosted = false;
    ReportLeaves();
}

bool WebForm::DoHasFocus(Control control) const { return page_has_focus(Row(control)) != 0; }

void WebForm::DoGiveFocus(Control control, bool asTab) {
    page_focus(Row(control));
    if (asTab && RowOf(control).kind == ControlKind::Field) page_select(Row(control));
}

void WebForm::DoSetAdmits(Control field, Admits admits) { m_admits[field.row] = admits; }

std::string WebForm::DoText(Control control) const {
    return web::Received(0, page_text(Row(control)));
}

void WebForm::DoSetCaption(Control label, std::string_view text) {
    Fit(label, text);
    page_set_text(Row(label), text.data(), text.size());
}

void WebForm::DoSetBackground(Control control, Rgb colour) {
    Style(Row(control), "background-color", Css(colour));
}

void WebForm::DoSetTextColour(Control control, Rgb colour) {
    Style(Row(control), "color", Css(colour));
}

// Described by a hidden element of that text, one for each text.
void WebForm::DoSetDescription(Control field, std::string_view description) {
    auto found = std::find(m_descriptions.begin(), m_descriptions.end(), description);
    const auto index = static_cast<std::size_t>(found - m_descriptions.begin());
    const int row = static_cast<int>(Rows().size() + index);
    const std::string id = "description-" + std::to_string(index);
    if (found == m_descriptions.end()) {
        m_descriptions.emplace_back(description);
        web::Element(row, "div");
        Attribute(row, "id", id);
        Attribute(row, "hidden", "");
        page_set_text(row, description.data(), description.size());
    }
    Attribute(Row(field), "aria-describedby", id);
}

void WebForm::DoSelectAll(Control field) { page_select(Row(field)); }

void WebForm::DoPutCursorAtEnd(Control field) {
    int selection[2] = {};
    const auto length = static_cast<int>(page_value16(Row(field), selection));
    page_set_selection(Row(field), length, length);
}

void WebForm::DoAnnounce(Control liveLabel) { page_announce(Row(liveLabel)); }

void WebForm::DoShowMessage(std::string_view text, std::string_view title,
                            std::function<void()> closed) {
    m_closed = std::move(closed);
    page_message(text.data(), text.size(), title.data(), title.size());
}

void WebForm::OnMessageClosed() {
    auto closed = std::exchange(m_closed, {});
    if (closed) closed();
}

std::unique_ptr<Form> CreateForm(const FormLayout& layout, std::span<const ControlRow> controls) {
    return std::make_unique<WebForm>(layout, controls);
}

std::string DecimalSeparator() { return web::Received(0, page_decimal_separator()); }

}  // namespace styrmark::toolkit
