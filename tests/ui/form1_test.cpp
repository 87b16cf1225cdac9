// SPDX-License-Identifier: GPL-3.0-or-later
// The window as it opens, its layout, and the compute command.
#include <cstdlib>
#include <optional>
#include <string>

#include "window_test.h"

namespace styrmark::test {
namespace {

TEST_F(WindowTest, OpensWithDefaults) {
    EXPECT_EQ(driver().Title(), "   Styrmark beräkning");
    // 406 x 360 at the usual 96 dpi; large-text settings grow it in proportion.
    EXPECT_EQ(driver().ClientArea(), (Rect{0, 0, Scaled(406), Scaled(360)}));
    EXPECT_EQ(driver().FormBackground(), (toolkit::Rgb{0, 128, 128}));
    EXPECT_EQ(driver().Text(form().Text1), "58:00:00");
    EXPECT_EQ(driver().Text(form().Text2), "17:00:00");
    EXPECT_EQ(driver().Text(form().Text3), "57:00:00");
    EXPECT_EQ(driver().Text(form().Text4), "18:00:00");
    EXPECT_EQ(driver().Text(form().Label2), "");
    EXPECT_EQ(driver().FocusedControl(), form().Text1);
    // Ready for the own position: typing replaces the default.
    EXPECT_EQ(driver().SelectedText(form().Text1), "58:00:00");
}

// A fixed layout: neither resized nor maximised, and centred on its screen.
TEST_F(WindowTest, FixedAndCentred) {
    const Placement placed = driver().WindowPlacement();
    EXPECT_FALSE(placed.resizable);
    EXPECT_FALSE(placed.maximisable);
    const Rect& window = placed.window;
    const Rect& screen = placed.screen;
    const int leftGap = window.left - screen.left;
    const int rightGap = screen.left + screen.width - window.left - window.width;
    const int topGap = window.top - screen.top;
    const int bottomGap = screen.top + screen.height - window.top - window.height;
    EXPECT_LE(std::abs(leftGap - rightGap), 1) << leftGap << " " << rightGap;
    EXPECT_LE(std::abs(topGap - bottomGap), 1) << topGap << " " << bottomGap;
}

struct Heading {
    const char* control;
    const char* caption;  // none: nothing heads it
};

// Screen readers say which caption heads a field, and what the result line is.
using CaptionsLabelWhatTheyHead = WindowTable<Heading>;
TEST_P(CaptionsLabelWhatTheyHead, ForScreenReaders) {
    const Heading& row = GetParam();
    const std::optional<toolkit::Control> caption =
        row.caption != nullptr ? std::optional(Named(row.caption)) : std::nullopt;
    EXPECT_EQ(driver().LabelOf(Named(row.control)), caption);
}
INSTANTIATE_TEST_SUITE_P(Form1, CaptionsLabelWhatTheyHead,
                         testing::Values(Heading{"Text1", "Label1_0"}, Heading{"Text2", nullptr},
                                         Heading{"Text3", "Label1_1"}, Heading{"Text4", nullptr},
                                         Heading{"Label2", "Label1_3"},
                                         Heading{"Command1", nullptr}),
                         [](const auto& row) { return std::string(row.param.control); });

// Asking a control for what its kind cannot do is the program's own mistake: it is said
// and the program stops, on every toolkit alike, rather than going on half-done.
TEST_F(WindowTest, ControlOfTheWrongKindStopsTheProgram) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    toolkit::Form& window = form().Window();
    EXPECT_DEATH_IF_SUPPORTED(window.SelectAll(form().Label2), "SelectAll: Label2");
    EXPECT_DEATH_IF_SUPPORTED(window.SetCaption(form().Text1, "x"), "SetCaption: Text1");
    EXPECT_DEATH_IF_SUPPORTED(window.Announce(form().Label1[0]), "Announce: Label1_0");
    EXPECT_DEATH_IF_SUPPORTED(window.GiveFocus(form().Label2), "GiveFocus: Label2");
    EXPECT_DEATH_IF_SUPPORTED(window.Text(toolkit::Control{99}), "not a row of the form");
}

struct PlacedControl {
    const char* name;
    Rect pixels;  // at 96 dpi
    std::optional<toolkit::Rgb> background;
    std::optional<toolkit::Rgb> text;
    const char* caption;
};

// Place, size and colours of every control; no colour where the desktop's own shows.
using ControlsSitWhereTheTableSays = WindowTable<PlacedControl>;
TEST_P(ControlsSitWhereTheTableSays, PlaceColoursAndCaption) {
    const PlacedControl& row = GetParam();
    const toolkit::Control control = Named(row.name);
    EXPECT_EQ(driver().Text(control), row.caption);
    EXPECT_EQ(driver().Geometry(control),
              (Rect{Scaled(row.pixels.left), Scaled(row.pixels.top), Scaled(row.pixels.width),
                    Scaled(row.pixels.height)}));
    EXPECT_EQ(driver().Background(control), row.background);
    if (row.text) {
        EXPECT_EQ(driver().TextColour(control), *row.text);
    }
}
// clang-format off
INSTANTIATE_TEST_SUITE_P(Form1, ControlsSitWhereTheTableSays, testing::Values(
    PlacedControl{"Label1_0", {58, 18, 295, 27}, std::nullopt, kLightYellow, "Mina Koordinater Lat Long"},
    PlacedControl{"Text1", {32, 56, 157, 29}, kLightCyan, kNavy, "58:00:00"},
    PlacedControl{"Text2", {222, 54, 157, 29}, kLightYellow, kNavy, "17:00:00"},
    PlacedControl{"Label1_1", {56, 116, 295, 27}, std::nullopt, kLightYellow, "Styrmark Koordinater Lat Long"},
    PlacedControl{"Text3", {32, 152, 157, 27}, kLightYellow, kNavy, "57:00:00"},
    PlacedControl{"Text4", {222, 152, 157, 27}, kLightYellow, kNavy, "18:00:00"},
    PlacedControl{"Label1_3", {134, 194, 169, 27}, std::nullopt, kLightYellow, "Kurs och Distans"},
    PlacedControl{"Label2", {34, 230, 345, 27}, kLightYellow, kBlack, ""},
    PlacedControl{"Command1", {78, 280, 267, 43}, std::nullopt, std::nullopt, "Kurs o Distans till Styrmark"},
    PlacedControl{"Label1_2", {12, 330, 391, 21}, std::nullopt, kLightYellow, "Du måste skriva koordinater enl. 59:04:30"}),
    [](const auto& row) { return std::string(row.param.name); });
// clang-format on

struct TwipsAt {
    int twips;
    double dpi;
    int pixels;
};

// Twips follow the screen's logical resolution, so large text grows the layout too.
class TwipsFollowTheResolution : public testing::TestWithParam<TwipsAt> {};
TEST_P(TwipsFollowTheResolution, Rounded) {
    EXPECT_EQ(toolkit::TwipsToPixels(GetParam().twips, GetParam().dpi), GetParam().pixels);
}
INSTANTIATE_TEST_SUITE_P(Form1, TwipsFollowTheResolution,
                         testing::Values(TwipsAt{6090, 96, 406},  // width at 96 dpi
                                         TwipsAt{6090, 144, 609},
                                         TwipsAt{435, 120, 36},  // rounded down
                                         TwipsAt{405, 144, 41}   // half rounded up
                                         ));

struct Fitting {
    toolkit::ControlKind kind;
    int width;  // twips
    double points;
};

// A caption keeps 30 twips clear of its box on either side, a button's 90; at 96 dpi, with
// text 8 px wide for each point, 2 px high.
class CaptionsAreFittedClearOfTheirEdges : public testing::TestWithParam<Fitting> {};
TEST_P(CaptionsAreFittedClearOfTheirEdges, InHalfPoints) {
    const toolkit::ControlRow row{"Caption", GetParam().kind, "", 0, 0, GetParam().width, 645, 0};
    const double points =
        toolkit::FittingPoints(row, "x", 12, 96, [](std::string_view, double size) {
            return toolkit::TextExtent{static_cast<int>(size * 8), static_cast<int>(size * 2)};
        });
    EXPECT_EQ(points, GetParam().points);
}
INSTANTIATE_TEST_SUITE_P(Form1, CaptionsAreFittedClearOfTheirEdges,
                         testing::Values(Fitting{toolkit::ControlKind::Label, 1500, 12},
                                         Fitting{toolkit::ControlKind::Label, 1440, 11.5},
                                         Fitting{toolkit::ControlKind::LiveLabel, 300, 4},
                                         Fitting{toolkit::ControlKind::Button, 1440, 10.5}));

// Labels are neither in the Tab chain nor take the focus when clicked.
TEST_F(WindowTest, TabRunsThroughFieldsAndButton) {
    for (const toolkit::Control next :
         {form().Text2, form().Text3, form().Text4, form().Command1, form().Text1}) {
        driver().Press(Key::Tab);
        EXPECT_EQ(driver().FocusedControl(), next);
    }
    for (const toolkit::Control label : form().Label1) {
        driver().Click(label);
        EXPECT_EQ(driver().FocusedControl(), form().Text1);
    }
}

struct Limit {
    const char* field;
    int characters;
};

using FieldsRefuseCharactersPastTheirLimit = WindowTable<Limit>;
TEST_P(FieldsRefuseCharactersPastTheirLimit, Typed) {
    const toolkit::Control field = Named(GetParam().field);
    driver().Focus(field);
    driver().SetText(field, "");
    driver().Type(u"1234567890");
    EXPECT_EQ(driver().Text(field),
              std::string("1234567890").substr(0, static_cast<std::size_t>(GetParam().characters)));
}
INSTANTIATE_TEST_SUITE_P(Form1, FieldsRefuseCharactersPastTheirLimit,
                         testing::Values(Limit{"Text1", 8}, Limit{"Text2", 9}, Limit{"Text3", 8},
                                         Limit{"Text4", 9}),
                         [](const auto& row) { return std::string(row.param.field); });

// The result line follows the regional decimal separator; CTest runs this suite once in
// an English and once in a Swedish locale.
TEST_F(WindowTest, ComputesTheDefaultPositions) {
    const std::string expected = WithSeparator("Kurs 151   68.32  DM   126.522  Km");
    driver().Click(form().Command1);
    EXPECT_EQ(driver().Text(form().Label2), expected);
    EXPECT_EQ(driver().FocusedControl(), form().Text1);
    EXPECT_EQ(driver().Background(form().Text1), kLightCyan);
    EXPECT_EQ(driver().SelectedText(form().Text1), "58:00:00");

    driver().Click(form().Command1);
    EXPECT_EQ(driver().Text(form().Label2), expected);
    EXPECT_TRUE(m_messages.empty());
}

TEST_F(WindowTest, SamePositionShowsNoCourse) {
    driver().SetText(form().Text3, "58:00:00");
    driver().SetText(form().Text4, "17:00:00");
    driver().Click(form().Command1);
    const std::string shown = driver().Text(form().Label2);
    EXPECT_TRUE(shown.starts_with("Kurs ---   0")) << shown;
    EXPECT_TRUE(shown.ends_with("000  Km")) << shown;
}

struct Unusable {
    const char* field;
    const char* text;
};

using UnusableTextStopsTheCalculation = WindowTable<Unusable>;
TEST_P(UnusableTextStopsTheCalculation, NoResultAndTheFieldToFix) {
    driver().Click(form().Command1);
    EXPECT_NE(driver().Text(form().Label2), "");

    const toolkit::Control field = Named(GetParam().field);
    driver().SetText(field, GetParam().text);
    driver().Click(form().Command1);
    driver().Settle();
    EXPECT_EQ(driver().Text(form().Label2), "");
    EXPECT_EQ(m_messages, std::vector{kShortInputMessage});
    EXPECT_EQ(driver().FocusedControl(), field);
    EXPECT_EQ(driver().SelectedText(field), GetParam().text);
    EXPECT_EQ(driver().Text(field), GetParam().text);
}
INSTANTIATE_TEST_SUITE_P(Form1, UnusableTextStopsTheCalculation,
                         testing::Values(Unusable{"Text3", "580000"},   // one part
                                         Unusable{"Text2", "17::00"},   // an empty part
                                         Unusable{"Text4", "18:000"}),  // two parts
                         [](const auto& row) { return std::string(row.param.field); });

// The longest line the fields can produce: eight integer digits of kilometres. How it is
// fitted into the label is each front end's own test.
TEST_F(WindowTest, WidestResultLineIsShownWhole) {
    driver().SetText(form().Text1, "00:00:00");
    driver().SetText(form().Text2, "000:00:00");
    driver().SetText(form().Text3, "00:00:00");
    driver().SetText(form().Text4, "99999:9:9");
    driver().Click(form().Command1);
    EXPECT_EQ(driver().Text(form().Label2),
              WithSeparator("Kurs 090   5999949.50  DM   11111017.593  Km"));
}

}  // namespace
}  // namespace styrmark::test
