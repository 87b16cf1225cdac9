// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/form1.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "core/navigation.h"

namespace styrmark {
namespace {

using toolkit::Control;
using toolkit::ControlKind;
using toolkit::ControlRow;
using toolkit::Rgb;

constexpr Rgb kFocusedFieldColour{192, 255, 255};  // light cyan
constexpr Rgb kIdleFieldColour{255, 255, 192};     // light yellow
constexpr Rgb kFieldTextColour{0, 0, 128};         // navy
// Fixed, because its ground is: the desktop's label colour is near white on a dark theme.
constexpr Rgb kResultTextColour{0, 0, 0};

constexpr toolkit::FormLayout kForm{.caption = "   Styrmark beräkning",
                                    .width = 6090,
                                    .height = 5400,
                                    .background = {0, 128, 128},  // teal
                                    .fontFamily = "MS Sans Serif",
                                    .fontPoints = 12,
                                    .bold = true};

constexpr const char* kFormatHint = "Du måste skriva koordinater enl. 59:04:30";

// clang-format off
constexpr auto kControls = std::to_array<ControlRow>({
 // name        kind                    text                                left   top width height tab max accessible name          heads
    {"Label1_0", ControlKind::Label,     "Mina Koordinater Lat Long",          870,  270, 4425, 405, 5, 0, nullptr,                "Text1"},
    {"Text1",    ControlKind::Field,     "58:00:00",                           480,  840, 2355, 435, 0, 8, "Min latitud"},
    {"Text2",    ControlKind::Field,     "17:00:00",                          3330,  810, 2355, 435, 1, 9, "Min longitud"},
    {"Label1_1", ControlKind::Label,     "Styrmark Koordinater Lat Long",      840, 1740, 4425, 405, 6, 0, nullptr,                "Text3"},
    {"Text3",    ControlKind::Field,     "57:00:00",                           480, 2280, 2355, 405, 2, 8, "Styrmärkets latitud"},
    {"Text4",    ControlKind::Field,     "18:00:00",                          3330, 2280, 2355, 405, 3, 9, "Styrmärkets longitud"},
    {"Label1_3", ControlKind::Label,     "Kurs och Distans",                  2010, 2910, 2535, 405, 9, 0, nullptr,                "Label2"},
    {"Label2",   ControlKind::LiveLabel, "",                                   510, 3450, 5175, 405, 8},
    {"Command1", ControlKind::Button,    "Kurs o Distans till Styrmark",      1170, 4200, 4005, 645, 4},
    {"Label1_2", ControlKind::Label,     kFormatHint,                          180, 4950, 5865, 315, 7},
});
// clang-format on

// A control by its name in the table; a name that is not there does not compile.
consteval Control Row(std::string_view name) {
    for (std::size_t row = 0; row < kControls.size(); ++row) {
        if (kControls[row].name == name) return Control{row};
    }
    throw "no such control";
}

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

// The one message the program has for input it cannot use.
void ShowShortInputMessage(toolkit::Form& form) {
    form.ShowMessage("Indata måste skrivas ex. 58:00:00", kApplicationTitle);
}

}  // namespace

Form1::Form1()
    : Text1(Row("Text1")),
      Text2(Row("Text2")),
      Text3(Row("Text3")),
      Text4(Row("Text4")),
      Command1(Row("Command1")),
      Label1{Row("Label1_0"), Row("Label1_1"), Row("Label1_2"), Row("Label1_3")},
      Label2(Row("Label2")),
      m_form(toolkit::CreateForm(kForm, kControls)) {
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

char16_t Form1::OnFieldKey(Control field, char16_t character) {
    if (character == kBackspace || character == kTab || IsCoordinateCharacter(character))
        return character;
    if (character == kEnter) {
        m_form->NextControl(field);
        return character;
    }
    return 0;
}

void Form1::OnFieldEnter(Control field) { m_form->SetBackground(field, kFocusedFieldColour); }

// The idle colour goes on first: handing the focus back below colours the field as
// focused again, and a field that has the focus must not look idle. The text is left
// as it was, with the cursor at its end, for the user to correct.
void Form1::OnFieldLeave(Control field, toolkit::FocusLoss loss) {
    m_form->SetBackground(field, kIdleFieldColour);
    if (loss == toolkit::FocusLoss::ByUser &&
        CharacterCount(m_form->Text(field)) < kLeastTextLength) {
        ShowShortInputMessage(*m_form);
        m_form->GiveFocus(field);
        m_form->PutCursorAtEnd(field);
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
        ShowShortInputMessage(*m_form);
        const auto unusable = static_cast<std::size_t>(
            std::find_if(texts.begin(), texts.end(),
                         [](const std::string& text) { return !DmsToDegrees(text); }) -
            texts.begin());
        const Control fix = unusable < fields.size() ? fields[unusable] : Text1;
        m_form->GiveFocus(fix);
        m_form->SelectAll(fix);
        return;
    }
    m_form->SetCaption(Label2, FormatResultLine(*result, toolkit::DecimalSeparator()));
    ReadyForNextPosition(*m_form, Text1);
    m_form->Announce(Label2);
}

}  // namespace styrmark
