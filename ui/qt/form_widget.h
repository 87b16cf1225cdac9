// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "ui/toolkit.h"

namespace styrmark::toolkit {

// A window laid out from its table: controls get their names as object names, those that
// take the focus are chained in tab-index order, and captions are buddies of what they
// head. Its one font is the whole application's.
class FormWidget final : public QWidget, public Form {
    Q_OBJECT

public:
    FormWidget(const FormLayout& layout, std::span<const ControlRow> controls);
    ~FormWidget() override;

    // The widget a control is drawn by, and the control a widget draws; for tests.
    QWidget* widget(Control control) const;
    std::optional<Control> control(const QWidget* widget) const;

    void Listen(FormEvents events) override;
    void SetAdmits(Control field, Admits admits) override;
    std::string Text(Control control) const override;
    void SetCaption(Control label, std::string_view text) override;
    void SetBackground(Control control, Rgb colour) override;
    void SetTextColour(Control control, Rgb colour) override;
    void SetDescription(Control control, std::string_view description) override;
    void SelectAll(Control field) override;
    void PutCursorAtEnd(Control field) override;
    void GiveFocus(Control control) override;
    void NextControl(Control from) override;
    void Announce(Control liveLabel) override;
    void Show() override;

private:
    void ShowMessageBox(std::string_view text, std::string_view title) override;
    // Passes what happens to the control on to whatever Listen() was given.
    void ReportEvents(Control control);
    template <class Widget>
    Widget* as(Control control) const;

    std::vector<QWidget*> m_controls;  // by row
    FormEvents m_events;
};

}  // namespace styrmark::toolkit
