// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/web/form_markup.h"

#include <algorithm>
#include <string_view>

namespace styrmark::web {
namespace {

using toolkit::ControlKind;
using toolkit::ControlRow;

// Text as HTML shows it, in an element or an attribute's value.
std::string Escaped(std::string_view text) {
    std::string escaped;
    for (const char c : text) {
        switch (c) {
            case '&':
                escaped += "&amp;";
                break;
            case '<':
                escaped += "&lt;";
                break;
            case '"':
                escaped += "&quot;";
                break;
            default:
                escaped += c;
        }
    }
    return escaped;
}

std::string Attribute(std::string_view name, std::string_view value) {
    return " " + std::string(name) + "=\"" + Escaped(value) + "\"";
}

// Sizes come in half points.
std::string Points(double points) {
    const auto halves = static_cast<int>(points * 2);
    return std::to_string(halves / 2) + (halves % 2 != 0 ? ".5pt" : "pt");
}

// What a control's element is and what screen readers learn of it, besides its caption.
std::string Element(const ControlRow& row, std::string_view labelledBy) {
    std::string attributes = Attribute("id", row.name);
    if (!labelledBy.empty()) attributes += Attribute("aria-labelledby", labelledBy);
    switch (row.kind) {
        case ControlKind::Field:
            attributes += Attribute("type", "text") + Attribute("value", row.text) +
                          Attribute("aria-label", row.accessibleName) +
                          // Every numeric keyboard of the phones lacks the colon; the text
                          // keyboard's first symbol page has the digits and the colon together.
                          " inputmode=\"text\" enterkeyhint=\"next\" autocomplete=\"off\""
                          " autocorrect=\"off\" autocapitalize=\"off\" spellcheck=\"false\"";
            return "<input" + attributes + ">";
        case ControlKind::Button:
            return "<button" + attributes + " type=\"button\">" + Escaped(row.text) + "</button>";
        case ControlKind::LiveLabel:
            // Read out when it changes, whole, without taking the focus.
            attributes += " role=\"status\" aria-live=\"polite\" aria-atomic=\"true\"";
            break;
        case ControlKind::Label:
            break;
    }
    return "<div" + attributes + ">" + Escaped(row.text) + "</div>";
}

}  // namespace

std::string Css(toolkit::Rgb colour) {
    return "rgb(" + std::to_string(colour.red) + " " + std::to_string(colour.green) + " " +
           std::to_string(colour.blue) + ")";
}

std::string Pixels(int twips) {
    return std::to_string(toolkit::TwipsToPixels(twips, kCssDpi)) + "px";
}

// The wanted face where installed, else one drawn to its metrics, else the system's.
std::string CssFont(const toolkit::FormLayout& layout, double points) {
    return std::string(layout.bold ? "bold " : "") + Points(points) + " \"" + layout.fontFamily +
           "\", \"Liberation Sans\", Arimo, \"Nimbus Sans\", Arial, sans-serif";
}

FormMarkup MarkupOf(const toolkit::FormLayout& layout, std::span<const ControlRow> rows,
                    std::span<const std::string> labelledBy) {
    std::string_view caption = layout.caption;
    caption.remove_prefix(std::min(caption.find_first_not_of(' '), caption.size()));
    const std::string width = Pixels(layout.width);
    const std::string height = Pixels(layout.height);
    FormMarkup markup{
        "<div id=\"window\"><main id=\"form\"" + Attribute("aria-label", caption) + ">\n",
        "#window{width:" + width + ";height:" + height + "}\n#form{width:" + width +
            ";height:" + height + ";background-color:" + Css(layout.background) +
            ";font:" + CssFont(layout, layout.fontPoints) + "}\n"};
    for (std::size_t index = 0; index < rows.size(); ++index) {
        const ControlRow& row = rows[index];
        markup.html += Element(row, labelledBy[index]) + "\n";
        markup.css += "#" + std::string(row.name) + "{left:" + Pixels(row.left) +
                      ";top:" + Pixels(row.top) + ";width:" + Pixels(row.width) +
                      ";height:" + Pixels(row.height) + "}\n";
    }
    markup.html += "</main></div>";
    return markup;
}

}  // namespace styrmark::web
