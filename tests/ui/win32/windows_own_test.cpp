// SPDX-License-Identifier: GPL-3.0-or-later
// What only the Win32 front end does: the real message box, and the fonts it draws with.
#include <windows.h>

#include <string>

#include "ui/win32/form.h"
#include "ui/win32/wide_text.h"
#include "window_test.h"

namespace styrmark::test {
namespace {

struct SeenBox {
    std::string title;
    std::string text;
    int buttons = 0;
    std::string button;
    int icons = 0;
};
SeenBox g_box;

BOOL CALLBACK NoteChild(HWND child, LPARAM) {
    wchar_t kind[16]{};
    GetClassNameW(child, kind, 16);
    const std::string text = win32::Narrow(win32::WindowText(child));
    if (std::wstring(kind) == L"Button") {
        ++g_box.buttons;
        g_box.button = text;
    } else if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
        // The box's template always has the icon's place; without an icon it holds none.
        if (SendMessageW(child, STM_GETICON, 0, 0) != 0) ++g_box.icons;
    } else if (!text.empty()) {
        g_box.text = text;
    }
    return TRUE;
}

// Runs in the box's own message loop: reads the box as it shows, then presses its OK.
void CALLBACK InspectAndClose(HWND, UINT, UINT_PTR timer, DWORD) {
    const HWND box = FindWindowW(L"#32770", nullptr);
    if (box == nullptr || !IsWindowVisible(box)) return;
    KillTimer(nullptr, timer);
    g_box.title = win32::Narrow(win32::WindowText(box));
    EnumChildWindows(box, NoteChild, 0);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
}

TEST_F(WindowTest, RealMessageBoxHasOneOkNoIconAndGivesTheFocusBack) {
    toolkit::SetMessageHook({});
    driver().SetText(form().Text1, "58:0");
    SetTimer(nullptr, 0, 20, InspectAndClose);
    driver().Press(Key::Tab);
    driver().Settle();
    EXPECT_EQ(g_box.title, "Styrmark");
    EXPECT_EQ(g_box.text, kShortInputMessage.text);
    EXPECT_EQ(g_box.buttons, 1);
    EXPECT_EQ(g_box.button, "OK");
    EXPECT_EQ(g_box.icons, 0);
    EXPECT_EQ(driver().FocusedControl(), form().Text1);
    EXPECT_EQ(driver().Cursor(form().Text1), 4);
    EXPECT_EQ(driver().Background(form().Text1), kLightCyan);
    EXPECT_EQ(driver().Background(form().Text2), kLightYellow);
}

// Windows would give the focus to the form itself when it is activated again.
TEST_F(WindowTest, SwitchingBackReturnsTheFocusToTheField) {
    driver().Press(Key::Tab);
    driver().LoseFocusToOtherWindow();
    SetForegroundWindow(static_cast<win32::Win32Form&>(form().Window()).Handle());
    driver().Settle();
    EXPECT_EQ(driver().FocusedControl(), form().Text2);
    EXPECT_EQ(driver().Background(form().Text2), kLightCyan);
}

LOGFONTW FontOf(HWND control) {
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font,
               &font);
    return font;
}

// 12 pt bold in a TrueType face at the window's resolution; the widest result line in a
// smaller size of it, whole within the label.
TEST_F(WindowTest, FontsAreTrueTypeAndTheResultLineFits) {
    const auto& window = static_cast<win32::Win32Form&>(form().Window());
    const LOGFONTW field = FontOf(window.ControlHandle(form().Text1));
    EXPECT_EQ(field.lfHeight, -MulDiv(12, static_cast<int>(driver().Dpi()), 72));
    EXPECT_EQ(field.lfWeight, FW_BOLD);
    EXPECT_EQ(field.lfOutPrecision, OUT_TT_ONLY_PRECIS);
    EXPECT_EQ(FontOf(window.ControlHandle(form().Command1)).lfWeight, FW_BOLD);

    for (const auto& [control, text] : {std::pair{form().Text1, "00:00:00"},
                                        {form().Text2, "000:00:00"},
                                        {form().Text3, "00:00:00"},
                                        {form().Text4, "99999:9:9"}})
        driver().SetText(control, text);
    driver().Click(form().Command1);
    const HWND result = window.ControlHandle(form().Label2);
    const LOGFONTW fitted = FontOf(result);
    EXPECT_GT(fitted.lfHeight, field.lfHeight);  // smaller: heights are negative
    EXPECT_EQ(fitted.lfWeight, FW_BOLD);
    EXPECT_STREQ(fitted.lfFaceName, field.lfFaceName);

    HDC dc = GetDC(result);
    const HGDIOBJ old =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(result, WM_GETFONT, 0, 0)));
    const std::wstring line = win32::WindowText(result);
    SIZE extent{};
    GetTextExtentPoint32W(dc, line.c_str(), static_cast<int>(line.size()), &extent);
    SelectObject(dc, old);
    ReleaseDC(result, dc);
    RECT room{};
    GetClientRect(result, &room);
    EXPECT_LE(extent.cx, room.right);
    EXPECT_LE(extent.cy, room.bottom);
}

}  // namespace
}  // namespace styrmark::test
