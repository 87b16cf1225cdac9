// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the window's behaviour table needs of a front end: a shown, active Form1, real
// input delivered the way that front end's toolkit delivers it, and the controls read back
// from the toolkit itself. One implementation per front end; the table is written once.

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "ui/form1.h"
#include "ui/toolkit.h"

namespace styrmark::test {

enum class Key { Tab, ShiftTab, Enter, KeypadEnter, Space, Backspace, End, CtrlA, CtrlC, CtrlZ };

// The ways text comes into a field other than typing.
enum class Route { CtrlV, ShiftInsert, ContextMenu, Drop, InputMethod };

struct Rect {
    int left;
    int top;
    int width;
    int height;

    friend bool operator==(const Rect&, const Rect&) = default;
};

// The window on its screen, in the screen's pixels.
struct Placement {
    Rect window;  // its frame included, where the toolkit knows it
    Rect screen;  // the area windows may take: the work area, or the page's viewport
    bool resizable;
    bool maximisable;
};

class Driver {
public:
    virtual ~Driver() = default;

    // The window under test: made by the driver, shown and active, the focus in Text1.
    virtual Form1& form() = 0;

    // Input, as a user gives it, to the control that has the focus: one key press per
    // character, control characters as a keyboard sends them.
    virtual void Type(std::u16string_view characters) = 0;
    virtual void Press(Key key) = 0;
    virtual void Click(toolkit::Control control) = 0;
    // Puts `text` into the field by the route: the clipboard then a paste at the cursor, a
    // drop on the field's centre, or a committed input-method string.
    virtual void PutIn(Route route, toolkit::Control field, std::string_view text) = 0;
    // Another application takes the focus.
    virtual void LoseFocusToOtherWindow() = 0;
    // As the user closes the window; false if it stayed open.
    virtual bool Close() = 0;
    // Runs what the toolkit has queued (posted messages, deferred events).
    virtual void Settle() = 0;

    // Setting up a case without going through the handlers' checks.
    virtual void Focus(toolkit::Control control) = 0;
    virtual void SetText(toolkit::Control field, std::string_view text) = 0;
    virtual void SetCursor(toolkit::Control field, int position) = 0;

    // Read back from the toolkit's own controls. Texts are UTF-8, positions in characters,
    // geometry in pixels of the window's client area.
    virtual std::string Title() const = 0;
    virtual Rect ClientArea() const = 0;  // left and top 0
    virtual double Dpi() const = 0;       // what twips are turned into pixels with
    virtual toolkit::Rgb FormBackground() const = 0;
    virtual std::string Text(toolkit::Control control) const = 0;
    virtual std::string SelectedText(toolkit::Control field) const = 0;
    virtual int Cursor(toolkit::Control field) const = 0;
    virtual std::optional<toolkit::Control> FocusedControl() const = 0;
    // None where the control shows the desktop's own background.
    virtual std::optional<toolkit::Rgb> Background(toolkit::Control control) const = 0;
    virtual toolkit::Rgb TextColour(toolkit::Control control) const = 0;
    virtual Rect Geometry(toolkit::Control control) const = 0;
    virtual bool IsDown(toolkit::Control button) const = 0;
    // The caption the toolkit presents to screen readers as the control's label.
    virtual std::optional<toolkit::Control> LabelOf(toolkit::Control control) const = 0;
    virtual Placement WindowPlacement() const = 0;
    virtual std::string Clipboard() const = 0;
};

// The driver of the front end this test program was built with.
std::unique_ptr<Driver> MakeDriver();

}  // namespace styrmark::test
