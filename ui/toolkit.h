#pragma once

// The one seam between the window and Qt: controls built from a layout table, the
// entry field and button the window needs, colours, focus, the message box and the
// regional decimal separator. Nothing here knows about navigation.

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <functional>
#include <span>
#include <string>

namespace styrmark::toolkit {

struct Rgb {
    int red;
    int green;
    int blue;
};

enum class ControlKind { Label, Field, Button };

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
};

constexpr int kTwipsPerPixel = 15;

// How a field lost the focus: moved on by the user within the window (Tab, Shift+Tab,
// Enter, a click), or for any other reason (a message box, another application, the
// program, the window closing).
enum class FocusLoss { ByUser, Other };

// A single-line entry field that reports each typed character before taking it.
class Field : public QLineEdit {
    Q_OBJECT

public:
    // Returns the character to take, or 0 to take nothing.
    using KeyFilter = std::function<char16_t(char16_t)>;

    explicit Field(QWidget* parent);
    void setKeyFilter(KeyFilter filter);

signals:
    void focusGained();
    void focusLost(styrmark::toolkit::FocusLoss loss);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    KeyFilter m_keyFilter;
};

// A push button that Enter and Space press while it has the focus, and that a click
// does not press when the field being left refused to let the focus go.
class Button : public QPushButton {
    Q_OBJECT

public:
    explicit Button(QWidget* parent);

protected:
    void mousePressEvent(QMouseEvent* event) override;
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

// Lays out `window` and builds its controls from the table, chaining those that take
// the focus in tab-index order. Controls get their names as object names.
void CreateForm(QWidget* window, const FormLayout& form, std::span<const ControlRow> controls);

void SetBackground(QWidget* widget, Rgb colour);
void SetTextColour(QWidget* widget, Rgb colour);
void SetCaption(QLabel* label, const std::string& text);
std::string FieldText(const QLineEdit* field);
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
