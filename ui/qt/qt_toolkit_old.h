// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The seam between the window and Qt: a form built from a layout table, the entry field,
// button and labels the window needs, and every service its behaviour uses (texts,
// colours, focus, selection, messages, what a field admits). Form1 is a Qt widget and
// nothing more: all it does goes through here. Nothing here knows about navigation.

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>
#include <functional>
#include <span>
#include <string>

namespace styrmark::toolkit {

class CharacterValidator;

struct Rgb {
    int red;
    int green;
    int blue;
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

// Twips to layout pixels at the screen's logical resolution, so that a larger text
// setting grows the whole form with its font.
int TwipsToPixels(int twips, double dotsPerInch);

// The installed face to draw `wanted` with: itself where installed, else the first
// installed face with its metrics, else the desktop's sans serif. Named directly, so
// that fontconfig never searches for a family that is not there.
struct InstalledFace {
    QString family;
    bool sameMetrics;  // texts measured for `wanted` fit as they are
};
InstalledFace ChooseFace(const QString& wanted);

// How a field lost the focus: moved on by the user within the window (Tab, Shift+Tab,
// Enter, a click), or for any other reason (a message box, another application, the
// program, the window closing).
enum class FocusLoss { ByUser, Other };

// A single-line entry field that reports each typed character before taking it, and
// its focus changes.
class Field : public QLineEdit {
    Q_OBJECT

public:
    // Returns the character to take, or 0 to take nothing.
    using KeyFilter = std::function<char16_t(char16_t)>;
    using Admits = std::function<bool(char16_t)>;

    explicit Field(QWidget* parent);
    void setKeyFilter(KeyFilter filter);
    // Whatever route text takes into the field, only these characters stay, and no more
    // than the limit.
    void setAdmits(Admits admits);
    void setLimit(int characters);
    void setOnEnter(std::function<void()> handler);
    void setOnLeave(std::function<void(FocusLoss)> handler);
    void clearHandlers();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    CharacterValidator* m_validator;
    KeyFilter m_keyFilter;
    std::function<void()> m_onEnter;
    std::function<void(FocusLoss)> m_onLeave;
};

// A push button that Enter and Space press while it has the focus, that a click does
// not press when the field being left refused to let the focus go, and that shows
// plainly when it has the keyboard focus.
class Button : public QPushButton {
    Q_OBJECT

public:
    explicit Button(QWidget* parent);
    void setOnPress(std::function<void()> handler);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};

// A label that screen readers know as a notification: Announce() has them present its
// caption without moving the focus.
class LiveLabel : public QLabel {
    Q_OBJECT

public:
    using QLabel::QLabel;
};

// A window laid out from its table: controls get their names as object names, those that
// take the focus are chained in tab-index order, and captions are tied to what they head.
// Its one font is the whole application's.
class Form : public QWidget {
    Q_OBJECT

public:
    Form(const FormLayout& layout, std::span<const ControlRow> controls);
    ~Form() override;
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    template <class Control>
    Control* control(const char* name) const {
        return findChild<Control*>(QString::fromUtf8(name), Qt::FindDirectChildrenOnly);
    }
};

void SetBackground(QWidget* widget, Rgb colour);
void SetTextColour(QWidget* widget, Rgb colour);
void SetDescription(QWidget* widget, const QString& description);

// Replaces the caption, in a smaller font if that is what it takes to show it whole.
void SetCaption(LiveLabel* label, const std::string& text);

// Has screen readers present the caption now, even when it is the same as before. Each
// presentation cuts the one before short, so this comes after any focus move.
void Announce(LiveLabel* label);

std::string FieldText(const QLineEdit* field);
int FieldLength(const QLineEdit* field);  // in characters
void SelectAll(QLineEdit* field);
void PutCursorAtEnd(QLineEdit* field);
void GiveFocus(QWidget* widget);

// Moves the focus on exactly as a Tab key press in `from` would, before returning.
void NextControl(QWidget* from);

// A modal box with one OK button and no icon; returns once the user has closed it.
void ShowMessage(QWidget* parent, const QString& text, const QString& title);

// Lets tests see messages without a modal box: while set, ShowMessage calls it instead.
using MessageHook = std::function<void(const QString& text, const QString& title)>;
void SetMessageHook(MessageHook hook);

// The decimal separator of the user's regional settings, UTF-8.
std::string DecimalSeparator();

}  // namespace styrmark::toolkit
