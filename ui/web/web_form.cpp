// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/web/web_form.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "ui/text_filter.h"
#include "ui/web/form_markup.h"
#include "ui/web/page.h"

namespace styrmark::toolkit {
namespace {

constexpr int kForm = -1;
constexpr int kWindow = -2;

WebForm* g_current = nullptr;

int Row(Control control) { return static_cast<int>(control.row); }

}  // namespace

using web::Attribute;
using web::Css;
using web::kCssDpi;
using web::Pixels;
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

// In one piece, laid out at once (OnResized reads the viewport), so that the captions are
// measured in the faces the layout has already loaded.
void WebForm::Build(const FormLayout& layout) {
    // A caption names what it heads, before the control's own name where it has one.
    std::vector<std::string> labelledBy(Rows().size());
    for (std::size_t index = 0; index < Rows().size(); ++index) {
        const auto headed = Headed(Control{index});
        if (!headed) continue;
        std::string& names = labelledBy[headed->row];
        names = Rows()[index].name;
        if (RowOf(*headed).accessibleName != nullptr)
            names += std::string(" ") + RowOf(*headed).name;
    }
    const web::FormMarkup markup = web::MarkupOf(layout, Rows(), labelledBy);
    const std::string_view title = layout.caption;
    page_form(title.data(), title.size(), markup.css.data(), markup.css.size(), markup.html.data(),
              markup.html.size());
    OnResized();
    for (std::size_t index = 0; index < Rows().size(); ++index) {
        const ControlRow& row = Rows()[index];
        if (row.kind == ControlKind::Label || row.kind == ControlKind::Button)
            Fit(Control{index}, row.text);
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
    const auto measure = [this](std::string_view caption, double size) {
        const std::string font = web::CssFont(m_layout, size);
        int extent[2] = {};
        page_measure(font.data(), font.size(), caption.data(), caption.size(), extent);
        return TextExtent{extent[0], extent[1]};
    };
    const double points =
        FittingPoints(RowOf(control), text, m_layout.fontPoints, kCssDpi, measure);
    Style(Row(control), "font", points < m_layout.fontPoints ? web::CssFont(m_layout, points) : "");
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
