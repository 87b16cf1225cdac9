// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The seam between the window and the desktop toolkit, in plain C++: a form built from a
// layout table, and every service the window's behaviour uses. Texts are UTF-8, typed
// characters 16-bit codes, colours Rgb, places and sizes twips. Each front end (ui/qt,
// ui/win32, ui/web) implements it with its own toolkit; one is linked into each program.
// Nothing here knows about navigation.
//
// The contract. The rules below are kept here, in Form, once for every front end; a front
// end only tells Form what its toolkit did (FocusGained, FocusLost, Pressed) and does
// what Form asks of it (the Do… calls). tests/ui's behaviour table proves each rule on
// every front end.
//
// 1. Focus. fieldEnter is reported when a field gains the focus. fieldLeave is reported
//    only once the focus change that caused it is over, from the event loop, never from
//    inside the toolkit's own focus notification: moving from field A to field B reports
//    enter B, then leave A. Leaves are reported in the order they happened. A leave is not
//    reported at all if the field has the focus again by then: it was never seen left.
// 2. How a field lost the focus: FocusLoss::ByUser when the focus went to another control
//    of the form by the user's hand (Tab, Shift+Tab, a click, Enter through NextControl);
//    FocusLoss::Other when it went anywhere else (a message box, another window or
//    application, the window closing) or when the program moved it (GiveFocus).
// 3. Inside any handler the form may be asked anything: show a message, give the focus,
//    move on. Focus changes made there are reported by rules 1 and 2.
// 4. The button. A press (a click, or Enter or Space while it has the focus) is reported
//    after every leave still pending, and only if the button still has the focus then: a
//    field that takes the focus back thereby refuses the click that took it away. A
//    refused press leaves the button up.
// 5. Messages. ShowMessage opens a modal box with one OK button and no icon, and `closed`
//    runs once the user has closed it. A desktop toolkit waits in a nested loop, so there
//    `closed` has run when ShowMessage returns; a browser cannot wait, so there it runs
//    later. Callers therefore put whatever must follow the user's OK into `closed`, and
//    do nothing after ShowMessage. While the box is open the form takes no input.
// 6. Captions. A label whose row `heads` a control is that control's visible label: the
//    toolkit ties the two in its accessibility (the label-for relation, and the caption
//    just before the control in reading order), so that screen readers name the control
//    and say what heads it. A control's own name is its row's accessibleName, a button's
//    its text.
// 7. A control of the wrong kind for a call (a label given to SelectAll, a row that is not
//    in the table) is a programming error: the form says which on standard error and
//    aborts, on every front end alike.

#include <cstddef>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

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

enum class FocusLoss { ByUser, Other };

// What the form tells its owner, each on the one user-interface thread, one at a time.
struct FormEvents {
    // A character typed into a field, before the field takes it; true if the field is to
    // take it. Editing shortcuts (Ctrl+C, Ctrl+V …) are not typed characters.
    std::function<bool(Control field, char16_t character)> fieldKey;
    std::function<void(Control field)> fieldEnter;
    std::function<void(Control field, FocusLoss loss)> fieldLeave;
    std::function<void(Control button)> buttonPress;
};

// Whether a field keeps a character that comes in by any route.
using Admits = bool (*)(char16_t character);

// Controls that take the focus, in the order Tab moves through them: fields and buttons by
// tab index, rows of the same index in table order.
std::vector<Control> TabOrder(std::span<const ControlRow> controls);

// What a single line of text takes on screen, in pixels.
struct TextExtent {
    int width;
    int height;
};

// The largest size, from `points` down in half points to 4, at which `text` fits the row's
// box on one line, clear of the box's edges (a margin on each side; a button's frame
// takes more). `measure` gives the text's extent at a size in the form's face.
double FittingPoints(const ControlRow& row, std::string_view text, double points, double dpi,
                     const std::function<TextExtent(std::string_view, double)>& measure);

// A window laid out from its table (see the contract above).
class Form {
public:
    virtual ~Form() = default;
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    // Until called, nothing is reported. The form drops them before it is taken apart.
    void Listen(FormEvents events);

    // Whatever route text takes into the field (typing, paste, drop, an input method),
    // only the admitted characters stay, and then no more than the row's limit.
    void SetAdmits(Control field, Admits admits);

    // A field's text or a label's caption.
    std::string Text(Control control) const;
    // Replaces the caption, in a smaller font if that is what it takes to show it whole:
    // never elided, never clipped.
    void SetCaption(Control label, std::string_view text);
    // Take effect at once.
    void SetBackground(Control control, Rgb colour);
    void SetTextColour(Control control, Rgb colour);
    // What screen readers say of a field beyond its name.
    void SetDescription(Control field, std::string_view description);

    void SelectAll(Control field);
    void PutCursorAtEnd(Control field);

    // The program's own move: the field that loses the focus hears FocusLoss::Other. The
    // text is left as it is, not selected as by Tab.
    void GiveFocus(Control control);
    // Moves the focus on as a Tab key press in `from` would, the user's move: the next
    // field's text is selected.
    void NextControl(Control from);

    // Has screen readers present a live label's caption now, even when it is the same as
    // before. Each presentation cuts the one before short, so this comes after any focus
    // move.
    void Announce(Control liveLabel);

    // A modal box, titled, with one OK button and no icon; `closed` runs once the user has
    // closed it (rule 5). While a message hook is set, that is called instead, and then
    // `closed`, as if the user had closed the box at once.
    void ShowMessage(std::string_view text, std::string_view title,
                     std::function<void()> closed = {});

    // Centred on its screen.
    virtual void Show() = 0;

protected:
    explicit Form(std::span<const ControlRow> controls);

    std::span<const ControlRow> Rows() const { return m_rows; }
    const ControlRow& RowOf(Control control) const;
    // The control a caption heads, if it heads one.
    std::optional<Control> Headed(Control label) const;
    // The control Tab (or Shift+Tab) moves the focus to from `from`, round the form.
    Control NextInTabOrder(Control from, bool backwards = false) const;

    // What the toolkit did, told by the front end as it happens.
    bool KeyTyped(Control field, char16_t character) const;  // true if the field takes it
    void FocusGained(Control control);
    // `withinForm`: the focus went to another control of this form.
    void FocusLost(Control field, bool withinForm);
    // The toolkit's click, Enter or Space on the button.
    void Pressed(Control button);
    // Reports the leaves that wait for their focus change to be over; the front end calls
    // it from its event loop once PostLeaves() asked for it, and may call it earlier.
    void ReportLeaves();

private:
    virtual void PostLeaves() = 0;  // have ReportLeaves() called from the event loop soon
    virtual bool DoHasFocus(Control control) const = 0;
    virtual void DoGiveFocus(Control control, bool asTab) = 0;
    virtual void DoSetAdmits(Control field, Admits admits) = 0;
    virtual std::string DoText(Control control) const = 0;
    virtual void DoSetCaption(Control label, std::string_view text) = 0;
    virtual void DoSetBackground(Control control, Rgb colour) = 0;
    virtual void DoSetTextColour(Control control, Rgb colour) = 0;
    virtual void DoSetDescription(Control field, std::string_view description) = 0;
    virtual void DoSelectAll(Control field) = 0;
    virtual void DoPutCursorAtEnd(Control field) = 0;
    virtual void DoAnnounce(Control liveLabel) = 0;
    virtual void DoShowMessage(std::string_view text, std::string_view title,
                               std::function<void()> closed) = 0;

    // Aborts unless the control is a row of one of these kinds (rule 7).
    void Require(Control control, std::initializer_list<ControlKind> kinds, const char* call) const;

    std::span<const ControlRow> m_rows;
    FormEvents m_events;
    std::vector<std::pair<Control, FocusLoss>> m_pendingLeaves;
    int m_programMoves = 0;
};

// Built by the front end this program was linked with.
std::unique_ptr<Form> CreateForm(const FormLayout& layout, std::span<const ControlRow> controls);

// Lets tests see messages without a modal box: while set, ShowMessage calls it instead.
using MessageHook = std::function<void(std::string_view text, std::string_view title)>;
void SetMessageHook(MessageHook hook);

// The decimal separator of the user's regional settings, UTF-8.
std::string DecimalSeparator();

}  // namespace styrmark::toolkit
