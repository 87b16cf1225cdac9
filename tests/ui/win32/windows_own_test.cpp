// SPDX-License-Identifier: GPL-3.0-or-later
// What only the Win32 front end does: the real message box, fonts, styles, resolution
// changes, icons, the live result line, drops, and a window Windows will not make.
#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/application.h"
#include "ui/win32/dpi.h"
#include "ui/win32/form.h"
#include "ui/win32/wide_text.h"
#include "win32_input.h"
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

win32::Win32Form& Win32(Form1& form) { return static_cast<win32::Win32Form&>(form.Window()); }

LOGFONTW FontOf(HWND control) {
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font,
               &font);
    return font;
}

TEST_F(WindowTest, RealMessageBoxHasOneOkNoIconAndGivesTheFocusBack) {
    toolkit::SetMessageHook({});
    g_box = {};
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
    SetForegroundWindow(Win32(form()).Handle());
    driver().Settle();
    EXPECT_EQ(driver().FocusedControl(), form().Text2);
    EXPECT_EQ(driver().Background(form().Text2), kLightCyan);
}

// 12 pt bold in a TrueType face at the window's resolution; the widest result line in a
// smaller size of it, whole within the label and clear of its edges; fields centred.
TEST_F(WindowTest, FontsAreTrueTypeAndTheResultLineFits) {
    const auto& window = Win32(form());
    const LOGFONTW field = FontOf(window.ControlHandle(form().Text1));
    EXPECT_EQ(field.lfHeight, -MulDiv(12, static_cast<int>(driver().Dpi()), 72));
    EXPECT_EQ(field.lfWeight, FW_BOLD);
    EXPECT_EQ(field.lfOutPrecision, OUT_TT_ONLY_PRECIS);
    EXPECT_EQ(FontOf(window.ControlHandle(form().Command1)).lfWeight, FW_BOLD);
    for (const toolkit::Control each : {form().Text1, form().Text2, form().Text3, form().Text4}) {
        const LONG style = GetWindowLongW(window.ControlHandle(each), GWL_STYLE);
        EXPECT_EQ(style & (ES_CENTER | ES_RIGHT | ES_MULTILINE), ES_CENTER);
    }

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
    EXPECT_LE(extent.cx, room.right - 2 * toolkit::TwipsToPixels(30, driver().Dpi()));
    EXPECT_LE(extent.cy, room.bottom);
}

// Moved to a screen of 144 dpi: the size Windows is told is the form's own there, its
// suggested place is taken as it is (or the window would bounce between screens), and
// fonts, places and icons follow the new resolution.
TEST_F(WindowTest, ANewResolutionLaysTheFormOutAnew) {
    auto& window = Win32(form());
    AttachToProgram(window, GetModuleHandleW(nullptr));
    const HWND shown = window.Handle();
    const double dpi = driver().Dpi() * 144 / win32::WindowDpi(shown);
    const auto pixels = [dpi](int twips) { return toolkit::TwipsToPixels(twips, dpi); };
    RECT frame{0, 0, pixels(6090), pixels(5400)};
    AdjustWindowRectExForDpi(&frame, static_cast<DWORD>(GetWindowLongW(shown, GWL_STYLE)), FALSE, 0,
                             144);
    SIZE asked{};
    EXPECT_TRUE(SendMessageW(shown, WM_GETDPISCALEDSIZE, 144, reinterpret_cast<LPARAM>(&asked)));
    EXPECT_EQ(asked.cx, frame.right - frame.left);
    EXPECT_EQ(asked.cy, frame.bottom - frame.top);

    const RECT suggested{40, 30, 40 + asked.cx + 1, 30 + asked.cy};
    SendMessageW(shown, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    RECT now{};
    GetWindowRect(shown, &now);
    EXPECT_TRUE(EqualRect(&now, &suggested));
    EXPECT_EQ(driver().Geometry(form().Command1),
              (Rect{pixels(1170), pixels(4200), pixels(4005), pixels(645)}));
    EXPECT_EQ(FontOf(window.ControlHandle(form().Text4)).lfHeight,
              -static_cast<LONG>(std::lround(12 * dpi / 72)));
    EXPECT_EQ(IconWidth(shown, ICON_SMALL), 24);
    EXPECT_EQ(IconWidth(shown, ICON_BIG), 48);
}

std::vector<std::string> g_liveChanges;

void CALLBACK NoteLiveChange(HWINEVENTHOOK, DWORD, HWND control, LONG object, LONG child, DWORD,
                             DWORD) {
    if (object == OBJID_CLIENT && child == CHILDID_SELF)
        g_liveChanges.push_back(win32::Narrow(win32::WindowText(control)));
}

// Screen readers hear the result line each time, the same one again too, once it is there.
TEST_F(WindowTest, TheResultIsRaisedAsALiveRegionChange) {
    g_liveChanges.clear();
    const HWINEVENTHOOK hook = SetWinEventHook(
        EVENT_OBJECT_LIVEREGIONCHANGED, EVENT_OBJECT_LIVEREGIONCHANGED, nullptr, NoteLiveChange,
        GetCurrentProcessId(), GetCurrentThreadId(), WINEVENT_OUTOFCONTEXT);
    driver().Click(form().Command1);
    driver().Click(form().Command1);
    UnhookWinEvent(hook);
    const std::string line = WithSeparator("Kurs 151   68.32  DM   126.522  Km");
    EXPECT_EQ(g_liveChanges, (std::vector{line, line}));
}

// Text dragged from elsewhere is copied, never moved away from where it came from (the
// field may keep only part of it); dropped on the selected text it takes its place.
TEST_F(WindowTest, ADropCopiesAndReplacesTheSelectionItLandsOn) {
    driver().Click(form().Text1);
    driver().Press(Key::CtrlA);
    EXPECT_EQ(DropText(L"59:04:30", DROPEFFECT_COPY | DROPEFFECT_MOVE),
              static_cast<DWORD>(DROPEFFECT_COPY));
    EXPECT_EQ(driver().Text(form().Text1), "59:04:30");
}

// Text that reaches the edit a way of its own (on Windows, an input method's composition)
// is kept to what the field admits once the edit is done with it.
TEST_F(WindowTest, TextThatCameInUnseenIsFilteredAtOnce) {
    const HWND edit = Win32(form()).ControlHandle(form().Text1);
    const auto editProcedure = reinterpret_cast<WNDPROC>(GetClassLongPtrW(edit, GCLP_WNDPROC));
    CallWindowProcW(editProcedure, edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"5a9"));
    SendMessageW(edit, WM_NULL, 0, 0);
    EXPECT_EQ(driver().Text(form().Text1), "59");
}

LRESULT CALLBACK RefuseTheForm(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND) {
        const CREATESTRUCTW* made = reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs;
        if (!IS_INTRESOURCE(made->lpszClass) && std::wstring(made->lpszClass) == L"StyrmarkForm")
            return 1;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// A window that Windows will not make is said, in one line, and the program ends with 1.
TEST_F(WindowTest, AWindowWindowsWillNotMakeIsSaid) {
    g_box = {};
    const HHOOK hook = SetWindowsHookExW(WH_CBT, RefuseTheForm, nullptr, GetCurrentThreadId());
    SetTimer(nullptr, 0, 20, InspectAndClose);
    const int status = RunStyrmark();
    UnhookWindowsHookEx(hook);
    EXPECT_EQ(status, EXIT_FAILURE);
    EXPECT_EQ(g_box.title, "Styrmark");
    EXPECT_TRUE(g_box.text.starts_with("styrmark: fönstret kunde inte skapas: ")) << g_box.text;
}

}  // namespace
}  // namespace styrmark::test
