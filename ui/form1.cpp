// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/form1.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <utility>

#include "core/navigation.h"
#include "ui/form1_layout.h"

namespace styrmark {
namespace {

using toolkit::Control;
using toolkit::Rgb;

constexpr Rgb kFocusedFieldColour{192, 255, 255};  // light cyan
constexpr Rgb kIdleFieldColour{255, 255, 192};     // light yellow
constexpr Rgb kFieldTextColour{0, 0, 128};         // navy
// Fixed, because its ground is: the desktop's label colour is near white on a dark theme.
constexpr Rgb kResultTextColour{0, 0, 0};

constexpr int kLeastTextLength = 6;
constexpr char16_t kBackspace = 8;
constexpr char16_t kTab = 9;
constexpr char16_t kEnter = 13;

// Characters, not bytes: every UTF-8 byte but a continuation byte starts one.
std::ptrdiff_t CharacterCount(std::string_view text) {
    return std::count_if(text.begin(), text.end(), [](char byte) {
        return (static_cast<unsigned char>(byte) & 0xC0) != 0x80;
    });
}

// The characters a coordinate text is made of: the digits and the colon.
bool IsCoordinateCharacter(char16_t character) {
    return (character >= u'0' && character <= u'9') || character == u':';
}

// Focus in the own latitude, its text selected so that typing replaces it.
void ReadyForNextPosition(toolkit::Form& form, Control ownLatitude) {
    form.GiveFocus(ownLatitude);
    form.SelectAll(ownLatitude);
}

// The one message the program has for input it cannot use; `closed` runs once the user
// has read it.
void ShowShortInputMessage(toolkit::Form& form, std::function<void()> closed) {
    form.ShowMessage("Indata måste skrivas ex. 58:00:00", kApplicationTitle, std::move(closed));
}

}  // namespace

Form1::Form1()
    : Text1(Form1Control("Text1")),
      Text2(Form1Control("Text2")),
      Text3(Form1Control("Text3")),
      Text4(Form1Control("Text4")),
      Command1(Form1Control("Command1")),
      Label1{Form1Control("Label1_0"), Form1Control("Label1_1"), Form1Control("Label1_2"),
             Form1Control("Label1_3")},
      Label2(Form1Control("Label2")),
      m_form(toolkit::CreateForm(kForm1, kForm1Controls)) {
    toolkit::Form& form = *m_form;
    for (const Control label : Label1) form.SetTextColour(label, kIdleFieldColour);
    form.SetBackground(Label2, kIdleFieldColour);
    form.SetTextColour(Label2, kResultTextColour);

    for (const Control field : Fields()) {
        form.SetTextColour(field, kFieldTextColour);
        form.SetBackground(field, field == Text1 ? kFocusedFieldColour : kIdleFieldColour);
        form.SetDescription(field, kFormatHint);
        form.SetAdmits(field, IsCoordinateCharacter);
    }
    form.Listen({.fieldKey = [this](Control field, char16_t c) { return OnFieldKey(field, c); },
                 .fieldEnter = [this](Control field) { OnFieldEnter(field); },
                 .fieldLeave = [this](Control field,
                                      toolkit::FocusLoss loss) { OnFieldLeave(field, loss); },
                 .buttonPress = [this](Control) { OnCompute(); }});
    ReadyForNextPosition(form, Text1);
}

bool Form1::OnFieldKey(Control field, char16_t character) {
    if (character == kBackspace || character == kTab || IsCoordinateCharacter(character))
        return true;
    if (character == kEnter) {
        m_form->NextControl(field);
        return true;
    }
    return false;
}

void Form1::OnFieldEnter(Control field) { m_form->SetBackground(field, kFocusedFieldColour); }

// The idle colour goes on first: handing the focus back below colours the field as
// focused again, and a field that has the focus must not look idle. The text is left
// as it was, with the cursor at its end, for the user to correct.
void Form1::OnFieldLeave(Control field, toolkit::FocusLoss loss) {
    m_form->SetBackground(field, kIdleFieldColour);
    if (loss == toolkit::FocusLoss::ByUser &&
        CharacterCount(m_form->Text(field)) < kLeastTextLength) {
        ShowShortInputMessage(*m_form, [this, field] {
            m_form->GiveFocus(field);
            m_form->PutCursorAtEnd(field);
        });
    }
}

void Form1::OnCompute() {
    const auto fields = Fields();
    std::array<std::string, 4> texts;
    std::transform(fields.begin(), fields.end(), texts.begin(),
                   [this](Control field) { return m_form->Text(field); });
    const auto result = ComputeCourseDistance(texts[0], texts[1], texts[2], texts[3]);
    if (!result) {
        // Never leave an old answer beside positions it does not belong to.
        m_form->SetCaption(Label2, "");
        const auto unusable = static_cast<std::size_t>(
            std::find_if(texts.begin(), texts.end(),
                         [](const std::string& text) { return !DmsToDegrees(text); }) -
            texts.begin());
        const Control fix = unusable < fields.size() ? fields[unusable] : Text1;
        ShowShortInputMessage(*m_form, [this, fix] {
            m_form->GiveFocus(fix);
            m_form->SelectAll(fix);
        });
        return;
    }
    m_form->SetCaption(Label2, FormatResultLine(*result, toolkit::DecimalSeparator()));
    ReadyForNextPosition(*m_form, Text1);
    m_form->Announce(Label2);
}

}  // namespace styrmark
