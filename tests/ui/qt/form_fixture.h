// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the Qt window tests share: a freshly shown, active Form1, its widgets, and a
// record of the messages it would have shown, so that no test blocks on a modal box.

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStringList>
#include <QTest>
#include <memory>

#include "ui/form1.h"
#include "ui/qt/form_widget.h"
#include "ui/toolkit.h"

namespace styrmark {

struct MessageLog {
    QStringList texts;

    MessageLog() {
        toolkit::SetMessageHook([this](std::string_view text, std::string_view) {
            texts << QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
        });
    }
    ~MessageLog() { toolkit::SetMessageHook({}); }
    MessageLog(const MessageLog&) = delete;
    MessageLog& operator=(const MessageLog&) = delete;
};

inline toolkit::FormWidget& Window(const Form1& form) {
    return static_cast<toolkit::FormWidget&>(form.Window());
}

template <class Widget = QWidget>
Widget* Shown(const Form1& form, toolkit::Control control) {
    return qobject_cast<Widget*>(Window(form).widget(control));
}

// Each test function gets a freshly shown, active window and an empty message log.
class FormTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        m_messages = std::make_unique<MessageLog>();
        m_form = std::make_unique<Form1>();
        m_form->Show();
        window().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window()));
    }
    void cleanup() {
        m_form.reset();
        m_messages.reset();
    }

protected:
    toolkit::FormWidget& window() const { return Window(*m_form); }
    template <class Widget = QWidget>
    Widget* shown(toolkit::Control control) const {
        return Shown<Widget>(*m_form, control);
    }

    std::unique_ptr<MessageLog> m_messages;
    std::unique_ptr<Form1> m_form;
};

inline QColor Background(const QWidget* widget) {
    return widget->palette().color(widget->backgroundRole());
}

inline const QColor kLightCyan{192, 255, 255};
inline const QColor kLightYellow{255, 255, 192};

}  // namespace styrmark
