// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include "form_fixture.h"

namespace styrmark {

// The real modal box, whose own focus changes the window must live with.
class MessageBoxTest : public FormTest {
    Q_OBJECT

private slots:
    // Leaving short A for short B must not bounce a message between the two for ever.
    void twoShortFieldsGiveOneMessage() {
        m_messages.reset();
        auto* text1 = shown<QLineEdit>(m_form->Text1);
        text1->setText(QStringLiteral("58:00"));
        shown<QLineEdit>(m_form->Text2)->setText(QStringLiteral("17:0"));
        int boxes = 0;
        QString seenText;
        QString seenTitle;
        QTimer closer;
        connect(&closer, &QTimer::timeout, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                ++boxes;
                seenText = box->text();
                seenTitle = box->windowTitle();
                box->accept();
            }
        });
        closer.start(20);
        QTest::keyClick(text1, Qt::Key_Tab);
        QTest::qWait(400);
        closer.stop();
        QCOMPARE(boxes, 1);
        QCOMPARE(seenText, QStringLiteral("Indata måste skrivas ex. 58:00:00"));
        QCOMPARE(seenTitle, QStringLiteral("Styrmark"));
        QCOMPARE(window().focusWidget(), text1);
        QCOMPARE(Background(shown(m_form->Text2)), kLightYellow);
    }
};

}  // namespace styrmark

QTEST_MAIN(styrmark::MessageBoxTest)
#include "message_box_test.moc"
