// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/toolkit.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <utility>

namespace styrmark::toolkit {
namespace {

MessageHook& Hook() {
    static MessageHook hook;
    return hook;
}

// Clear of a label's edges on either side; a button's frame and focus ring take more.
constexpr int kLabelMarginTwips = 30;
constexpr int kButtonMarginTwips = 90;
constexpr double kPointStep = 0.5;
constexpr double kSmallestPoints = 4;

[[noreturn]] void WrongControl(const char* call, const char* what) {
    std::fprintf(stderr, "styrmark: %s: %s\n", call, what);
    std::abort();
}

}  // namespace

int TwipsToPixels(int twips, double dotsPerInch) {
    return static_cast<int>(std::lround(twips * dotsPerInch / kTwipsPerInch));
}

std::vector<Control> TabOrder(std::span<const ControlRow> controls) {
    std::vector<Control> order;
    for (std::size_t row = 0; row < controls.size(); ++row) {
        const ControlKind kind = controls[row].kind;
        if (kind == ControlKind::Field || kind == ControlKind::Button) order.push_back({row});
    }
    std::stable_sort(order.begin(), order.end(), [controls](Control a, Control b) {
        return controls[a.row].tabIndex < controls[b.row].tabIndex;
    });
    return order;
}

double FittingPoints(const ControlRow& row, std::string_view text, double points, double dpi,
                     const std::function<TextExtent(std::string_view, double)>& measure) {
    const bool button = row.kind == ControlKind::Button;
    const int margin = TwipsToPixels(button ? kButtonMarginTwips : kLabelMarginTwips, dpi);
    const int width = TwipsToPixels(row.width, dpi) - 2 * margin;
    const int height = TwipsToPixels(row.height, dpi) - (button ? 2 * margin : 0);
    for (; points - kPointStep >= kSmallestPoints; points -= kPointStep) {
        const TextExtent extent = measure(text, points);
        if (extent.width <= width && extent.height <= height) break;
    }
    return points;
}

Form::Form(std::span<const ControlRow> controls) : m_rows(controls) {}

const ControlRow& Form::RowOf(Control control) const {
    if (control.row >= m_rows.size()) WrongControl("control", "not a row of the form");
    return m_rows[control.row];
}

std::optional<Control> Form::Headed(Control label) const {
    const char* heads = RowOf(label).heads;
    if (heads == nullptr) return std::nullopt;
    for (std::size_t row = 0; row < m_rows.size(); ++row) {
        if (std::string_view(m_rows[row].name) == heads) return Control{row};
    }
    return std::nullopt;
}

void Form::Require(Control control, std::initializer_list<ControlKind> kinds,
                   const char* call) const {
    const ControlRow& row = RowOf(control);
    if (std::find(kinds.begin(), kinds.end(), row.kind) == kinds.end())
        WrongControl(call, row.name);
}

void Form::Listen(FormEvents events) {
    m_events = std::move(events);
    if (!m_events.fieldLeave) m_pendingLeaves.clear();
}

void Form::SetAdmits(Control field, Admits admits) {
    Require(field, {ControlKind::Field}, "SetAdmits");
    DoSetAdmits(field, admits);
}

std::string Form::Text(Control control) const {
    RowOf(control);
    return DoText(control);
}

void Form::SetCaption(Control label, std::string_view text) {
    Require(label, {ControlKind::Label, ControlKind::LiveLabel}, "SetCaption");
    DoSetCaption(label, text);
}

void Form::SetBackground(Control control, Rgb colour) {
    RowOf(control);
    DoSetBackground(control, colour);
}

void Form::SetTextColour(Control control, Rgb colour) {
    RowOf(control);
    DoSetTextColour(control, colour);
}

void Form::SetDescription(Control field, std::string_view description) {
    Require(field, {ControlKind::Field}, "SetDescription");
    DoSetDescription(field, description);
}

void Form::SelectAll(Control field) {
    Require(field, {ControlKind::Field}, "SelectAll");
    DoSelectAll(field);
}

void Form::PutCursorAtEnd(Control field) {
    Require(field, {ControlKind::Field}, "PutCursorAtEnd");
    DoPutCursorAtEnd(field);
}

void Form::GiveFocus(Control control) {
    Require(control, {ControlKind::Field, ControlKind::Button}, "GiveFocus");
    ++m_programMoves;
    DoGiveFocus(control, false);
    --m_programMoves;
}

Control Form::NextInTabOrder(Control from, bool backwards) const {
    const std::vector<Control> order = TabOrder(m_rows);
    const auto at = std::find(order.begin(), order.end(), from);
    if (backwards) return at == order.begin() || at == order.end() ? order.back() : *(at - 1);
    return at == order.end() || at + 1 == order.end() ? order.front() : *(at + 1);
}

void Form::NextControl(Control from) {
    Require(from, {ControlKind::Field, ControlKind::Button}, "NextControl");
    DoGiveFocus(NextInTabOrder(from), true);
}

void Form::Announce(Control liveLabel) {
    Require(liveLabel, {ControlKind::LiveLabel}, "Announce");
    DoAnnounce(liveLabel);
}

void Form::ShowMessage(std::string_view text, std::string_view title,
                       std::function<void()> closed) {
    if (Hook()) {
        Hook()(text, title);
        if (closed) closed();
        return;
    }
    DoShowMessage(text, title, std::move(closed));
}

bool Form::KeyTyped(Control field, char16_t character) const {
    return !m_events.fieldKey || m_events.fieldKey(field, character);
}

void Form::FocusGained(Control control) {
    if (RowOf(control).kind == ControlKind::Field && m_events.fieldEnter)
        m_events.fieldEnter(control);
}

void Form::FocusLost(Control field, bool withinForm) {
    if (RowOf(field).kind != ControlKind::Field || !m_events.fieldLeave) return;
    const bool byUser = withinForm && m_programMoves == 0;
    m_pendingLeaves.emplace_back(field, byUser ? FocusLoss::ByUser : FocusLoss::Other);
    PostLeaves();
}

void Form::ReportLeaves() {
    // One at a time: a handler may lose more focus, whose leaves queue up behind.
    while (!m_pendingLeaves.empty()) {
        const auto [field, loss] = m_pendingLeaves.front();
        m_pendingLeaves.erase(m_pendingLeaves.begin());
        if (!DoHasFocus(field) && m_events.fieldLeave) m_events.fieldLeave(field, loss);
    }
}

void Form::Pressed(Control button) {
    ReportLeaves();
    if (DoHasFocus(button) && m_events.buttonPress) m_events.buttonPress(button);
}

void SetMessageHook(MessageHook hook) { Hook() = std::move(hook); }

}  // namespace styrmark::toolkit
