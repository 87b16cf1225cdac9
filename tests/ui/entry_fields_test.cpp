// SPDX-License-Identifier: GPL-3.0-or-later
// What the four fields let in, and how they guard leaving them too short.
#include <string>
#include <vector>

#include "window_test.h"

namespace styrmark::test {
namespace {

struct Typed {
    const char* name;
    std::u16string typed;
    const char* kept;
};

using TypingKeepsOnlyDigitsAndColons = WindowTable<Typed>;
TEST_P(TypingKeepsOnlyDigitsAndColons, KeyByKey) {
    driver().Focus(form().Text2);
    driver().SetText(form().Text2, "");
    driver().Type(GetParam().typed);
    EXPECT_EQ(driver().Text(form().Text2), GetParam().kept);
}
INSTANTIATE_TEST_SUITE_P(Fields, TypingKeepsOnlyDigitsAndColons,
                         testing::Values(Typed{"DigitsAndColon", u"58:", "58:"},
                                         Typed{"Letters", u"5a8B:", "58:"},
                                         Typed{"MinusPointBlank", u"-5.8 :", "58:"},
                                         Typed{"ControlCharacters",
                                               u"5\x01\x1b"
                                               u"8",
                                               "58"},
                                         Typed{"NonAscii", u"5ö8٣:", "58:"}),
                         [](const auto& row) { return std::string(row.param.name); });

struct FullField {
    const char* field;
    const char* text;
    int cursor;
};

// A full field takes nothing more wherever the cursor is: no character is pushed out.
using TypingIntoAFullFieldChangesNothing = WindowTable<FullField>;
TEST_P(TypingIntoAFullFieldChangesNothing, CursorStays) {
    const toolkit::Control field = Named(GetParam().field);
    driver().Focus(field);
    driver().SetText(field, GetParam().text);
    driver().SetCursor(field, GetParam().cursor);
    driver().Type(u"7");
    EXPECT_EQ(driver().Text(field), GetParam().text);
    EXPECT_EQ(driver().Cursor(field), GetParam().cursor);
}
INSTANTIATE_TEST_SUITE_P(Fields, TypingIntoAFullFieldChangesNothing,
                         testing::Values(FullField{"Text1", "58:00:00", 3},
                                         FullField{"Text1", "58:00:00", 0},
                                         FullField{"Text4", "018:00:00", 4},
                                         FullField{"Text4", "018:00:00", 9}));

TEST_F(WindowTest, BackspaceAndEditingShortcutsStillWork) {
    driver().Press(Key::CtrlC);
    driver().Press(Key::End);
    driver().Press(Key::Backspace);
    EXPECT_EQ(driver().Text(form().Text1), "58:00:0");
    driver().Press(Key::CtrlZ);
    EXPECT_EQ(driver().Text(form().Text1), "58:00:00");
    driver().Press(Key::CtrlA);
    EXPECT_EQ(driver().SelectedText(form().Text1), "58:00:00");
    EXPECT_EQ(driver().Clipboard(), "58:00:00");
}

struct Incoming {
    Route route;
    const char* before;
    int cursorBefore;
    const char* incoming;
    const char* kept;
    int cursorAfter;
};

std::vector<Incoming> IncomingByEveryRoute() {
    std::vector<Incoming> rows;
    for (const Route route :
         {Route::CtrlV, Route::ShiftInsert, Route::ContextMenu, Route::Drop, Route::InputMethod}) {
        rows.push_back({route, "", 0, "5a8:-0 0", "58:00", 5});        // junk among digits
        rows.push_back({route, "", 0, "58:00:00:00", "58:00:00", 8});  // longer than the field
        rows.push_back({route, "", 0, "abc", "", 0});                  // nothing usable
        if (route == Route::Drop) continue;  // a drop goes where it lands, not to the cursor
        rows.push_back({route, "58:00", 2, "a1b:", "581::00", 4});    // junk into the middle
        rows.push_back({route, "58:00", 2, "12345", "58123:00", 5});  // the end of it cut
        rows.push_back({route, "58:00:0", 7, "x12", "58:00:01", 8});  // one more fits
    }
    return rows;
}

// A key filter alone would let pasted, dropped or composed text through untouched; what
// stays goes in at the cursor, no more than the limit, and the cursor ends after it.
using EveryRouteInIsFiltered = WindowTable<Incoming>;
TEST_P(EveryRouteInIsFiltered, KeptAndCursor) {
    const Incoming& row = GetParam();
    driver().SetText(form().Text1, row.before);
    driver().SetCursor(form().Text1, row.cursorBefore);
    driver().PutIn(row.route, form().Text1, row.incoming);
    EXPECT_EQ(driver().Text(form().Text1), row.kept);
    EXPECT_EQ(driver().Cursor(form().Text1), row.cursorAfter);
}
INSTANTIATE_TEST_SUITE_P(Fields, EveryRouteInIsFiltered, testing::ValuesIn(IncomingByEveryRoute()));

// Filtered or not, what came in over the selection is one edit of the field's own, which
// Ctrl+Z takes back, bringing back what it replaced.
TEST_F(WindowTest, FilteredTextThatCameInIsUndoneWhole) {
    for (const Route route : {Route::CtrlV, Route::ShiftInsert, Route::ContextMenu}) {
        driver().SetText(form().Text1, "17:00:00");
        driver().Press(Key::CtrlA);
        driver().PutIn(route, form().Text1, "5a8:-0 0");
        EXPECT_EQ(driver().Text(form().Text1), "58:00") << static_cast<int>(route);
        driver().Press(Key::CtrlZ);
        EXPECT_EQ(driver().Text(form().Text1), "17:00:00") << static_cast<int>(route);
    }
}

// As Tab does, Enter selects the next field's text, so that typing replaces it.
TEST_F(WindowTest, EnterMovesToTheNextControl) {
    driver().Press(Key::Enter);
    EXPECT_EQ(driver().FocusedControl(), form().Text2);
    EXPECT_EQ(driver().SelectedText(form().Text2), "17:00:00");
    EXPECT_EQ(driver().Background(form().Text1), kLightYellow);
    driver().Focus(form().Text4);
    driver().Press(Key::KeypadEnter);
    EXPECT_EQ(driver().FocusedControl(), form().Command1);
    EXPECT_EQ(driver().Text(form().Label2), "");
    driver().Press(Key::Enter);
    EXPECT_TRUE(driver().Text(form().Label2).starts_with("Kurs 151"));
    EXPECT_EQ(driver().FocusedControl(), form().Text1);
}

TEST_F(WindowTest, SpacePressesTheButton) {
    driver().Focus(form().Command1);
    driver().Press(Key::Space);
    EXPECT_TRUE(driver().Text(form().Label2).starts_with("Kurs 151"));
    EXPECT_EQ(driver().FocusedControl(), form().Text1);
}

TEST_F(WindowTest, FocusColoursFollowTheFocus) {
    driver().Press(Key::Tab);
    EXPECT_EQ(driver().Background(form().Text1), kLightYellow);
    EXPECT_EQ(driver().Background(form().Text2), kLightCyan);
    driver().Press(Key::ShiftTab);
    EXPECT_EQ(driver().Background(form().Text1), kLightCyan);
    EXPECT_EQ(driver().Background(form().Text2), kLightYellow);
}

enum class Leave { Tab, ShiftTab, Enter, ClickOnField, ClickOnButton };

struct Leaving {
    Leave route;
    const char* text;
    std::size_t messages;
    const char* focusAfter;
    const char* movedTo;  // where the focus is while the message shows
};

std::vector<Leaving> LeavingByEveryRoute() {
    std::vector<Leaving> rows;
    struct Route {
        Leave leave;
        const char* movedTo;
        const char* next;  // once the field is long enough
    };
    const Route routes[] = {{Leave::Tab, "Text3", "Text3"},
                            {Leave::ShiftTab, "Text1", "Text1"},
                            {Leave::Enter, "Text3", "Text3"},
                            {Leave::ClickOnField, "Text4", "Text4"},
                            {Leave::ClickOnButton, "Command1", "Text1"}};
    for (const auto& [route, movedTo, next] : routes) {
        rows.push_back({route, "5:0:0", 1, "Text2", movedTo});  // five characters
        rows.push_back({route, "", 1, "Text2", movedTo});
        rows.push_back({route, "5:0:0:", 0, next, nullptr});  // six characters
    }
    rows.push_back({Leave::Tab, "58:00:0", 0, "Text3", nullptr});
    return rows;
}

// Every way of leaving a field is checked the same; "5:0:0" is usable but too short, so
// a click on the button would compute if the check let it through.
using LeavingATooShortFieldIsRefused = WindowTable<Leaving>;
TEST_P(LeavingATooShortFieldIsRefused, MessageAndFocus) {
    const Leaving& row = GetParam();
    const toolkit::Control field = form().Text2;
    driver().Focus(field);
    driver().SetText(field, row.text);
    driver().SetCursor(field, 1);
    switch (row.route) {
        case Leave::Tab:
            driver().Press(Key::Tab);
            break;
        case Leave::ShiftTab:
            driver().Press(Key::ShiftTab);
            break;
        case Leave::Enter:
            driver().Press(Key::Enter);
            break;
        case Leave::ClickOnField:
            driver().Click(form().Text4);
            break;
        case Leave::ClickOnButton:
            driver().Click(form().Command1);
            break;
    }
    driver().Settle();
    ASSERT_EQ(m_messages.size(), row.messages);
    if (row.messages > 0) {
        EXPECT_EQ(m_messages.front(), kShortInputMessage);
        // Reported once the focus change is over, never in the middle of it.
        EXPECT_EQ(m_focusAtMessage.front(), Named(row.movedTo));
        // Left as it was for the user to correct, the cursor at its end.
        EXPECT_EQ(driver().Text(field), row.text);
        EXPECT_EQ(driver().SelectedText(field), "");
        EXPECT_EQ(driver().Cursor(field), static_cast<int>(std::string(row.text).size()));
        EXPECT_EQ(driver().Text(form().Label2), "");
        EXPECT_FALSE(driver().IsDown(form().Command1));
    }
    const toolkit::Control stays = Named(row.focusAfter);
    EXPECT_EQ(driver().FocusedControl(), stays);
    for (const toolkit::Control each : {form().Text1, form().Text2, form().Text3, form().Text4})
        EXPECT_EQ(driver().Background(each), each == stays ? kLightCyan : kLightYellow);
}
INSTANTIATE_TEST_SUITE_P(Fields, LeavingATooShortFieldIsRefused,
                         testing::ValuesIn(LeavingByEveryRoute()));

TEST_F(WindowTest, ClickingTheButtonFromAShortFieldDoesNotCompute) {
    driver().SetText(form().Text1, "58:0");
    driver().Click(form().Command1);
    driver().Settle();
    EXPECT_EQ(m_messages.size(), 1U);
    EXPECT_EQ(driver().Text(form().Label2), "");
    EXPECT_FALSE(driver().IsDown(form().Command1));
    EXPECT_EQ(driver().FocusedControl(), form().Text1);
}

// The program handing the focus back is not the user moving on: the field it takes the
// focus from is not checked, or two short fields would pass the message between them.
TEST_F(WindowTest, TwoShortFieldsGiveOneMessage) {
    driver().SetText(form().Text3, "57");
    driver().Focus(form().Text2);
    driver().SetText(form().Text2, "17");
    driver().Press(Key::Tab);
    driver().Settle();
    EXPECT_EQ(m_messages.size(), 1U);
    EXPECT_EQ(driver().FocusedControl(), form().Text2);
    EXPECT_EQ(driver().Background(form().Text2), kLightCyan);
    EXPECT_EQ(driver().Background(form().Text3), kLightYellow);
}

TEST_F(WindowTest, ClosingWithAShortFieldShowsNothing) {
    driver().SetText(form().Text1, "5");
    EXPECT_TRUE(driver().Close());
    driver().Settle();
    EXPECT_TRUE(m_messages.empty());
}

TEST_F(WindowTest, OtherApplicationTakingTheFocusIsNotChecked) {
    driver().SetText(form().Text1, "5");
    driver().LoseFocusToOtherWindow();
    driver().Settle();
    EXPECT_TRUE(m_messages.empty());
    EXPECT_EQ(driver().Background(form().Text1), kLightYellow);
}

}  // namespace
}  // namespace styrmark::test
