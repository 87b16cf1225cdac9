// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/form1.h"

#include <algorithm>
#include <array>

#include "core/navigation.h"

namespace styrmark {
namespace {

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

constexpr int kLeastTextLength = 6;
constexpr char16_t kBackspace = 8;
constexpr char16_t kTab = 9;
constexpr char16_t kEnter = 13;

// The characters a coordinate text is made of: the digits and the colon.
bool IsCoordinateCharacter(char16_t character) {
    return (character >= u'0' && character <= u'9') || character == u':';
}

// Focus in the own latitude, its text selected so that typing replaces it.
void ReadyForNextPosition(toolkit::Field* ownLatitude) {
    toolkit::GiveFocus(ownLatitude);
    toolkit::SelectAll(ownLatitude);
}

// The one message the program has for input it cannot use.
void ShowShortInputMessage(QWidget* window) {
    toolkit::ShowMessage(window, QStringLiteral("Indata måste skrivas ex. 58:00:00"),
                         QString::fromUtf8(kApplicationTitle));
}

}  // namespace

Form1::Form1()
    : Form(kForm, kControls),
      Text1(control<toolkit::Field>("Text1")),
      Text2(control<toolkit::Field>("Text2")),
      Text3(control<toolkit::Field>("Text3")),
      Text4(control<toolkit::Field>("Text4")),
      Command1(control<toolkit::Button>("Command1")),
      Label1{control<QLabel>("Label1_0"), control<QLabel>("Label1_1"), control<QLabel>("Label1_2"),
             control<QLabel>("Label1_3")},
      Label2(control<toolkit::LiveLabel>("Label2")) {
    for (QLabel* label : Label1) toolkit::SetTextColour(label, kIdleFieldColour);
    toolkit::SetBackground(Label2, kIdleFieldColour);
    toolkit::SetTextColour(Label2, kResultTextColour);

    for (toolkit::Field* field : Fields()) {
        toolkit::SetTextColour(field, kFieldTextColour);
        toolkit::SetBackground(field, field == Text1 ? kFocusedFieldColour : kIdleFieldColour);
        toolkit::SetDescription(field, QString::fromUtf8(kFormatHint));
        field->setAdmits(IsCoordinateCharacter);
        field->setKeyFilter([this, field](char16_t c) { return OnFieldKey(field, c); });
        field->setOnEnter([this, field] { OnFieldEnter(field); });
        field->setOnLeave([this, field](toolkit::FocusLoss loss) { OnFieldLeave(field, loss); });
    }
    Command1->setOnPress([this] { OnCompute(); });
    ReadyForNextPosition(Text1);
}

char16_t Form1::OnFieldKey(toolkit::Field* field, char16_t character) {
    if (character == kBackspace || character == kTab || IsCoordinateCharacter(character))
        return character;
    if (character == kEnter) {
        toolkit::NextControl(field);
        return character;
    }
    return 0;
}

void Form1::OnFieldEnter(toolkit::Field* field) {
    toolkit::SetBackground(field, kFocusedFieldColour);
}

// The idle colour goes on first: handing the focus back below colours the field as
// focused again, and a field that has the focus must not look idle. The text is left
// as it was, with the cursor at its end, for the user to correct.
void Form1::OnFieldLeave(toolkit::Field* field, toolkit::FocusLoss loss) {
    toolkit::SetBackground(field, kIdleFieldColour);
    if (loss == toolkit::FocusLoss::ByUser && toolkit::FieldLength(field) < kLeastTextLength) {
        ShowShortInputMessage(this);
        toolkit::GiveFocus(field);
        toolkit::PutCursorAtEnd(field);
    }
}

void Form1::OnCompute() {
    const auto fields = Fields();
    std::array<std::string, 4> texts;
    std::transform(fields.begin(), fields.end(), texts.begin(), toolkit::FieldText);
    const auto result = ComputeCourseDistance(texts[0], texts[1], texts[2], texts[3]);
    if (!result) {
        // Never leave an old answer beside positions it does not belong to.
        toolkit::SetCaption(Label2, "");
        ShowShortInputMessage(this);
        const auto* const unusable = std::find_if(fields.begin(), fields.end(), [](auto* field) {
            return !DmsToDegrees(toolkit::FieldText(field));
        });
        toolkit::Field* const fix = unusable != fields.end() ? *unusable : Text1;
        toolkit::GiveFocus(fix);
        toolkit::SelectAll(fix);
        return;
    }
    toolkit::SetCaption(Label2, FormatResultLine(*result, toolkit::DecimalSeparator()));
    ReadyForNextPosition(Text1);
    toolkit::Announce(Label2);
}

}  // namespace styrmark
