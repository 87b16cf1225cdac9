// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the window tests share: a freshly shown, active Form1 and a record of the
// messages it would have shown, so that no test blocks on a modal box.

#include <QStringList>
#include <QTest>
#include <memory>

#include "ui/form1.h"
#include "ui/toolkit.h"

namespace styrmark {

struct MessageLog {
    QStringList texts;
    QStringList titles;

    MessageLog() {
        toolkit::SetMessageHook([this](const QString& text, const QString& title) {
            texts << text;
            titles << title;
        });
    }
    ~MessageLog() { toolkit::SetMessageHook({}); }
    MessageLog(const MessageLog&) = delete;
    MessageLog& operator=(const MessageLog&) = delete;
};

inline const QString kShortInputMessage = QStringLiteral("Indata måste skrivas ex. 58:00:00");

// Each test function gets a freshly shown, active window and an empty message log.
class FormTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        m_messages = std::make_unique<MessageLog>();
        m_form = std::make_unique<Form1>();
        m_form->show();
        m_form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
    }
    void cleanup() {
        m_form.reset();
        m_messages.reset();
    }

protected:
    std::unique_ptr<MessageLog> m_messages;
    std::unique_ptr<Form1> m_form;
};

inline QColor Background(const QWidget* widget) {
    return widget->palette().color(widget->backgroundRole());
}

inline const QColor kLightCyan{192, 255, 255};
inline const QColor kLightYellow{255, 255, 192};

}  // namespace styrmark
