// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "ui/toolkit.h"

namespace styrmark::toolkit {

// A window laid out from its table: controls get their names as object names, those that
// take the focus are chained in tab order, and captions are buddies of what they head.
// Its one font is the whole application's.
class FormWidget final : public QWidget, public Form {
    Q_OBJECT

public:
    FormWidget(const FormLayout& layout, std::span<const ControlRow> controls);
    ~FormWidget() override;

    // The widget a control is drawn by, and the control a widget draws; for tests.
    QWidget* widget(Control control) const;
    std::optional<Control> control(const QWidget* widget) const;

    void Show() override;

private:
    void PostLeaves() override;
    bool DoHasFocus(Control control) const override;
    void DoGiveFocus(Control control, bool asTab) override;
    void DoSetAdmits(Control field, Admits admits) override;
    std::string DoText(Control control) const override;
    void DoSetCaption(Control label, std::string_view text) override;
    void DoSetBackground(Control control, Rgb colour) override;
    void DoSetTextColour(Control control, Rgb colour) override;
    void DoSetDescription(Control field, std::string_view description) override;
    void DoSelectAll(Control field) override;
    void DoPutCursorAtEnd(Control field) override;
    void DoAnnounce(Control liveLabel) override;
    void DoShowMessage(std::string_view text, std::string_view title,
                       std::function<void()> closed) override;

    // Passes what the toolkit does with the control on to the form's rules.
    void ReportEvents(Control control);
    // The caption in the form's font, or smaller if that is what it takes to show it whole.
    void Fit(Control control, const QString& text);

    std::vector<QWidget*> m_controls;  // by row
    double m_points;
    bool m_leavesPosted = false;
};

}  // namespace styrmark::toolkit
