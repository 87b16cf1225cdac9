// SPDX-License-Identifier: GPL-3.0-or-later
// The behaviour table's driver for the Qt front end: input through QTest as the window
// system would deliver it, and the controls read back from the widgets themselves.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <array>
#include <stdexcept>
#include <utility>

#include "driver.h"
#include "ui/qt/field.h"
#include "ui/qt/form_widget.h"

namespace styrmark::test {
namespace {

QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

toolkit::Rgb ToRgb(const QColor& colour) { return {colour.red(), colour.green(), colour.blue()}; }

// The menu's entries are known by the shortcut they show, whatever the language.
void PasteFromMenu(toolkit::Field* field) {
    const std::unique_ptr<QMenu> menu(field->createContextMenu());
    const QString shortcut =
        '\t' + QKeySequence(QKeySequence::Paste).toString(QKeySequence::NativeText);
    for (QAction* action : menu->actions()) {
        if (action->text().endsWith(shortcut)) {
            action->trigger();
            return;
        }
    }
    throw std::runtime_error("no Paste in the field's menu");
}

class QtDriver final : public Driver {
public:
    QtDriver() : m_form(std::make_unique<Form1>()) {
        m_form->Show();
        window().activateWindow();
        if (!QTest::qWaitForWindowActive(&window()))
            throw std::runtime_error("the window never became active");
    }

    Form1& form() override { return *m_form; }

    void Type(std::u16string_view characters) override {
        for (const char16_t character : characters) {
            QTest::sendKeyEvent(QTest::Click, QApplication::focusWidget(), Qt::Key_unknown,
                                QChar(character), Qt::NoModifier);
        }
        Settle();
    }

    void Press(Key key) override {
        // In the order of Key; at() throws for a key added there but not here.
        static constexpr std::array<std::pair<Qt::Key, Qt::KeyboardModifiers>, 10> kKeys{
            {{Qt::Key_Tab, Qt::NoModifier},
             {Qt::Key_Backtab, Qt::ShiftModifier},
             {Qt::Key_Return, Qt::NoModifier},
             {Qt::Key_Enter, Qt::KeypadModifier},
             {Qt::Key_Space, Qt::NoModifier},
             {Qt::Key_Backspace, Qt::NoModifier},
             {Qt::Key_End, Qt::NoModifier},
             {Qt::Key_A, Qt::ControlModifier},
             {Qt::Key_C, Qt::ControlModifier},
             {Qt::Key_Z, Qt::ControlModifier}}};
        const auto& [code, modifiers] = kKeys.at(static_cast<std::size_t>(key));
        QTest::keyClick(QApplication::focusWidget(), code, modifiers);
        Settle();
    }

    void Click(toolkit::Control control) override {
        QTest::mouseClick(widget(control), Qt::LeftButton);
        Settle();
    }

    void PutIn(Route route, toolkit::Control control, std::string_view text) override {
        auto* field = qobject_cast<QLineEdit*>(widget(control));
        const QString incoming = FromUtf8(text);
        QApplication::clipboard()->setText(incoming);
        switch (route) {
            case Route::CtrlV:
                QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
                break;
            case Route::ShiftInsert:
                QTest::keyClick(field, Qt::Key_Insert, Qt::ShiftModifier);
                break;
            case Route::ContextMenu:
                PasteFromMenu(qobject_cast<toolkit::Field*>(field));
                break;
            case Route::Drop: {
                QMimeData data;
                data.setText(incoming);
                const QPoint at = field->rect().center();
                QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
                QApplication::sendEvent(field, &enter);
                QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
                QApplication::sendEvent(field, &drop);
                break;
            }
            case Route::InputMethod: {
                QInputMethodEvent commit;
                commit.setCommitString(incoming);
                QApplication::sendEvent(field, &commit);
                break;
            }
        }
        Settle();
    }

    // A window of another program, as far as this one can tell: activating it takes the
    // focus out of the form through the window system.
    void LoseFocusToOtherWindow() override {
        m_other = std::make_unique<QWidget>();
        m_other->show();
        m_other->activateWindow();
        if (!QTest::qWaitForWindowActive(m_other.get()))
            throw std::runtime_error("the other window never became active");
    }

    bool Close() override { return window().close(); }

    void Settle() override {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }

    void Focus(toolkit::Control control) override { widget(control)->setFocus(); }
    void SetText(toolkit::Control field, std::string_view text) override {
        lineEdit(field)->setText(FromUtf8(text));
    }
    void SetCursor(toolkit::Control field, int position) override {
        lineEdit(field)->setCursorPosition(position);
    }

    std::string Title() const override { return window().windowTitle().toStdString(); }
    Rect ClientArea() const override { return {0, 0, window().width(), window().height()}; }
    double Dpi() const override { return window().logicalDpiY(); }
    toolkit::Rgb FormBackground() const override {
        return ToRgb(window().palette().color(window().backgroundRole()));
    }
    std::string Text(toolkit::Control control) const override {
        return widget(control)->property("text").toString().toStdString();
    }
    std::string SelectedText(toolkit::Control field) const override {
        return lineEdit(field)->selectedText().toStdString();
    }
    int Cursor(toolkit::Control field) const override { return lineEdit(field)->cursorPosition(); }
    std::optional<toolkit::Control> FocusedControl() const override {
        return window().control(QApplication::focusWidget());
    }
    std::optional<toolkit::Rgb> Background(toolkit::Control control) const override {
        const QWidget* shown = widget(control);
        if (!shown->autoFillBackground()) return std::nullopt;
        return ToRgb(shown->palette().color(shown->backgroundRole()));
    }
    toolkit::Rgb TextColour(toolkit::Control control) const override {
        const QWidget* shown = widget(control);
        return ToRgb(shown->palette().color(shown->foregroundRole()));
    }
    Rect Geometry(toolkit::Control control) const override {
        const QRect place = widget(control)->geometry();
        return {place.x(), place.y(), place.width(), place.height()};
    }
    bool IsDown(toolkit::Control button) const override {
        return qobject_cast<QPushButton*>(widget(button))->isDown();
    }
    // Read from the captions' side: a live label keeps its own text as its name.
    std::optional<toolkit::Control> LabelOf(toolkit::Control control) const override {
        for (QLabel* label : window().findChildren<QLabel*>()) {
            QAccessibleInterface* caption = QAccessible::queryAccessibleInterface(label);
            for (const auto& [other, relation] : caption->relations(QAccessible::Labelled)) {
                if (other->object() == widget(control)) return window().control(label);
            }
        }
        return std::nullopt;
    }
    Placement WindowPlacement() const override {
        const QRect frame = window().frameGeometry();
        const QRect screen = window().screen()->availableGeometry();
        return {{frame.x(), frame.y(), frame.width(), frame.height()},
                {screen.x(), screen.y(), screen.width(), screen.height()},
                window().minimumSize() != window().maximumSize(),
                window().windowFlags().testFlag(Qt::WindowMaximizeButtonHint)};
    }
    std::string Clipboard() const override {
        return QApplication::clipboard()->text().toStdString();
    }

private:
    toolkit::FormWidget& window() const {
        return static_cast<toolkit::FormWidget&>(m_form->Window());
    }
    QWidget* widget(toolkit::Control control) const { return window().widget(control); }
    QLineEdit* lineEdit(toolkit::Control field) const {
        return qobject_cast<QLineEdit*>(widget(field));
    }

    std::unique_ptr<Form1> m_form;
    std::unique_ptr<QWidget> m_other;
};

}  // namespace

std::unique_ptr<Driver> MakeDriver() { return std::make_unique<QtDriver>(); }

}  // namespace styrmark::test

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
