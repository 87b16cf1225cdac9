#include "ui/form1.h"

#include <algorithm>
#include <array>

#include "core/navigation.h"
#include "ui/coordinate_validator.h"

namespace styrmark {
namespace {

using toolkit::ControlKind;
using toolkit::ControlRow;
using toolkit::Rgb;

constexpr Rgb kFocusedFieldColour{192, 255, 255};  // light cyan
constexpr Rgb kIdleFieldColour{255, 255, 192};     // light yellow
constexpr Rgb kFieldTextColour{0, 0, 128};         // navy

constexpr toolkit::FormLayout kForm{.caption = "   Styrmark beräkning",
                                    .width = 6090,
                                    .height = 5400,
                                    .background = {0, 128, 128},  // teal
                                    .fontFamily = "MS Sans Serif",
                                    .fontPoints = 12,
                                    .bold = true};

// clang-format off
constexpr auto kControls = std::to_array<ControlRow>({
 // name        kind                 text                                        left   top width height tab max accessible name
    {"Label1_0", ControlKind::Label,  "Mina Koordinater Lat Long",                  870,  270, 4425, 405, 5},
    {"Text1",    ControlKind::Field,  "58:00:00",                                   480,  840, 2355, 435, 0, 8, "Min latitud"},
    {"Text2",    ControlKind::Field,  "17:00:00",                                  3330,  810, 2355, 435, 1, 9, "Min longitud"},
    {"Label1_1", ControlKind::Label,  "Styrmark Koordinater Lat Long",              840, 1740, 4425, 405, 6},
    {"Text3",    ControlKind::Field,  "57:00:00",                                   480, 2280, 2355, 405, 2, 8, "Styrmärkets latitud"},
    {"Text4",    ControlKind::Field,  "18:00:00",                                  3330, 2280, 2355, 405, 3, 9, "Styrmärkets longitud"},
    {"Label1_3", ControlKind::Label,  "Kurs och Distans",                          2010, 2910, 2535, 405, 9},
    {"Label2",   ControlKind::Label,  "",                                           510, 3450, 5175, 405, 8},
    {"Command1", ControlKind::Button, "Kurs o Distans till Styrmark",              1170, 4200, 4005, 645, 4},
    {"Label1_2", ControlKind::Label,  "Du måste skriva koordinater enl. 59:04:30",  180, 4950, 5865, 315, 7},
});
// clang-format on

constexpr int kLeastTextLength = 6;
constexpr char16_t kBackspace = 8;
constexpr char16_t kTab = 9;
constexpr char16_t kEnter = 13;

// The one message the program has for input it cannot use.
void ShowShortInputMessage(QWidget* window) {
    toolkit::ShowMessage(window, QStringLiteral("Indata måste skrivas ex. 58:00:00"),
                         QString::fromUtf8(kApplicationTitle));
}

}  // namespace

Form1::Form1(QWidget* parent) : QWidget(parent) {
    toolkit::CreateForm(this, kForm, kControls);
    Text1 = findChild<toolkit::Field*>(QStringLiteral("Text1"));
    Text2 = findChild<toolkit::Field*>(QStringLiteral("Text2"));
    Text3 = findChild<toolkit::Field*>(QStringLiteral("Text3"));
    Text4 = findChild<toolkit::Field*>(QStringLiteral("Text4"));
    Command1 = findChild<toolkit::Button*>(QStringLiteral("Command1"));
    for (std::size_t i = 0; i < Label1.size(); ++i) {
        Label1[i] = findChild<QLabel*>(QStringLiteral("Label1_%1").arg(i));
        toolkit::SetTextColour(Label1[i], kIdleFieldColour);
    }
    Label2 = findChild<QLabel*>(QStringLiteral("Label2"));
    toolkit::SetBackground(Label2, kIdleFieldColour);

    for (toolkit::Field* field : Fields()) {
        toolkit::SetTextColour(field, kFieldTextColour);
        toolkit::SetBackground(field, field == Text1 ? kFocusedFieldColour : kIdleFieldColour);
        field->setValidator(new CoordinateValidator(field));
        field->setKeyFilter([this, field](char16_t c) { return OnFieldKey(field, c); });
        connect(field, &toolkit::Field::focusGained, this, [this, field] { OnFieldEnter(field); });
        connect(field, &toolkit::Field::focusLost, this,
                [this, field](toolkit::FocusLoss loss) { OnFieldLeave(field, loss); });
    }
    connect(Command1, &QPushButton::clicked, this, &Form1::OnCompute);
    toolkit::GiveFocus(Text1);
}

// Destroying the window moves the focus out of its fields; by then there is no Form1
// left to handle that.
Form1::~Form1() {
    for (toolkit::Field* field : Fields()) field->disconnect(this);
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
// focused again, and a field that has the focus must not look idle.
void Form1::OnFieldLeave(toolkit::Field* field, toolkit::FocusLoss loss) {
    toolkit::SetBackground(field, kIdleFieldColour);
    if (loss == toolkit::FocusLoss::ByUser && field->text().size() < kLeastTextLength) {
        ShowShortInputMessage(this);
        toolkit::GiveFocus(field);
    }
}

void Form1::OnCompute() {
    const auto fields = Fields();
    std::array<std::string, 4> texts;
    std::transform(fields.begin(), fields.end(), texts.begin(), toolkit::FieldText);
    const auto result = ComputeCourseDistance(texts[0], texts[1], texts[2], texts[3]);
    if (!result) {
        // Never leave an old answer beside positions it does not belong to.
        Label2->clear();
        ShowShortInputMessage(this);
        const auto* const unusable = std::find_if(fields.begin(), fields.end(), [](auto* field) {
            return !DmsToDegrees(toolkit::FieldText(field));
        });
        toolkit::GiveFocus(*unusable);
        (*unusable)->selectAll();
        return;
    }
    toolkit::SetCaption(Label2, FormatResultLine(*result, toolkit::DecimalSeparator()));
    toolkit::GiveFocus(Text1);
}

}  // namespace styrmark
