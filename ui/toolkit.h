// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The seam between the window and the desktop toolkit, in plain C++: a form built from a
// layout table, and every service the window's behaviour uses. Texts are UTF-8, typed
// characters 16-bit codes, colours Rgb, places and sizes twips. Each front end (ui/qt,
// ui/win32) implements it with its own toolkit; one is chosen when the program is built.
// Nothing here knows about navigation.

#include <cstddef>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace styrmark::toolkit {

struct Rgb {
    int red;
    int green;
    int blue;

    friend bool operator==(const Rgb&, const Rgb&) = default;
};

enum class ControlKind { Label, LiveLabel, Field, Button };

// One row of a form designer's table; places and sizes in twips.
struct ControlRow {
    const char* name;
    ControlKind kind;
    const char* text;
    int left;
    int top;
    int width;
    int height;
    int tabIndex;
    int maxLength = 0;                     // fields only
    const char* accessibleName = nullptr;  // fields only
    const char* heads = nullptr;           // labels only: the control this caption is for
};

// The window itself: caption, fixed client size in twips, background and the one font
// every control uses.
struct FormLayout {
    const char* caption;
    int width;
    int height;
    Rgb background;
    const char* fontFamily;
    int fontPoints;
    bool bold;
};

constexpr int kTwipsPerInch = 1440;

// Twips to pixels at the window's resolution, so that a larger text setting or scale
// grows the whole form with its font.
int TwipsToPixels(int twips, double dotsPerInch);

// A control of a form: its row in the layout table.
struct Control {
    std::size_t row;

    friend bool operator==(Control, Control) = default;
};

// How a field lost the focus: moved on by the user within the window (Tab, Shift+Tab,
// Enter, a click), or for any other reason (a message box, another application, the
// program, the window closing).
enum class FocusLoss { ByUser, Other };

// What the form tells its owner, each on the one user-interface thread, one at a time.
struct FormEvents {
    // A character typed into a field, before the field takes it; returns the character to
    // take, or 0 to take nothing. Editing shortcuts (Ctrl+C, Ctrl+V …) are not typed
    // characters and do not come here.
    std::function<char16_t(Control field, char16_t character)> fieldKey;
    std::function<void(Control field)> fieldEnter;
    std::function<void(Control field, FocusLoss loss)> fieldLeave;
    // By a click, or by Enter or Space while the button has the focus.
    std::function<void(Control button)> buttonPress;
};

// Whether a field keeps a character that comes in by any route.
using Admits = bool (*)(char16_t character);

// A window laid out from its table: controls that take the focus are chained in
// tab-index order, captions are tied to what they head, and every control carries its
// row's name where the toolkit keeps names.
class Form {
public:
    virtual ~Form() = default;
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    // Until called, nothing is reported. The form drops them before it is taken apart.
    virtual void Listen(FormEvents events) = 0;

    // Whatever route text takes into the field (typing, paste, drop, an input method),
    // only the admitted characters stay, and then no more than the row's limit.
    virtual void SetAdmits(Control field, Admits admits) = 0;

    // A field's text or a label's caption.
    virtual std::string Text(Control control) const = 0;
    // Replaces the caption, in a smaller font if that is what it takes to show it whole:
    // never elided, never clipped.
    virtual void SetCaption(Control label, std::string_view text) = 0;
    // Takes effect at once.
    virtual void SetBackground(Control control, Rgb colour) = 0;
    virtual void SetTextColour(Control control, Rgb colour) = 0;
    // What screen readers say of the control beyond its name.
    virtual void SetDescription(Control control, std::string_view description) = 0;

    virtual void SelectAll(Control field) = 0;
    virtual void PutCursorAtEnd(Control field) = 0;

    // The field that loses the focus hears of it as FocusLoss::Other.
    virtual void GiveFocus(Control control) = 0;
    // Moves the focus on exactly as a Tab key press in `from` would, before returning.
    virtual void NextControl(Control from) = 0;

    // Has screen readers present a live label's caption now, even when it is the same as
    // before. Each presentation cuts the one before short, so this comes after any focus
    // move.
    virtual void Announce(Control liveLabel) = 0;

    // A modal box with one OK button and no icon; returns once the user has closed it.
    // While a message hook is set, that is called instead.
    void ShowMessage(std::string_view text, std::string_view title);

    // Centred on its screen.
    virtual void Show() = 0;

protected:
    Form() = default;

private:
    virtual void ShowMessageBox(std::string_view text, std::string_view title) = 0;
};

// Built by the front end this program was built with.
std::unique_ptr<Form> CreateForm(const FormLayout& layout, std::span<const ControlRow> controls);

// Lets tests see messages without a modal box: while set, ShowMessage calls it instead.
using MessageHook = std::function<void(std::string_view text, std::string_view title)>;
void SetMessageHook(MessageHook hook);

// The decimal separator of the user's regional settings, UTF-8.
std::string DecimalSeparator();

}  // namespace styrmark::toolkit
