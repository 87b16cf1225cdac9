// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "ui/text_filter.h"
#include "ui/toolkit.h"

namespace styrmark::toolkit {

// A window laid out from its table as elements of the page: inputs, a button, captions that
// label what they head, a live region, the form's own <dialog> for messages. What the page
// reports comes in through the On… calls (page_events.cpp), one form on a page at a time.
class WebForm final : public Form {
public:
    WebForm(const FormLayout& layout, std::span<const ControlRow> controls);
    ~WebForm() override;

    // The form the page's events are for, if any.
    static WebForm* Current();
    // The control a row number from the page stands for, if it is one of this form's.
    std::optional<Control> ControlAt(int row) const;

    void Show() override;

    // True where the page is to skip its own default action.
    bool OnKeyDown(Control control, std::string_view key, bool shift);
    bool OnBeforeInput(Control control, std::string_view type, const std::u16string& data);
    void OnInput(Control control);
    bool OnMouseDown(std::optional<Control> control);
    void OnFocus(Control control) { FocusGained(control); }
    void OnBlur(Control control, std::optional<Control> gaining) {
        FocusLost(control, gaining.has_value());
    }
    void OnClick(Control control);
    void OnMessageClosed();
    void OnPosted();
    // Scales the window down to a viewport narrower than the form, never up.
    void OnResized();

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

    void Build(const FormLayout& layout);
    // The caption in the form's font, or smaller if that is what it takes to show it whole.
    void Fit(Control control, std::string_view text);
    // Keeps of the field's text what it admits, up to its limit, the cursor `cursor`.
    bool Filter(Control field, const std::u16string& text, std::size_t cursor);
    void Put(Control field, const FieldEdit& edit);

    const FormLayout m_layout;
    std::vector<Admits> m_admits;             // by row
    std::vector<std::string> m_descriptions;  // texts of the hidden descriptions
    std::function<void()> m_closed;           // what follows the open message
    bool m_leavesPosted = false;
};

}  // namespace styrmark::toolkit
