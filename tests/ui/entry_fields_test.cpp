#include <QApplication>
#include <QClipboard>
#include <QMessageBox>
#include <QMimeData>
#include <QTimer>

#include "form_fixture.h"

namespace styrmark {

// What the four fields let in, and how they guard leaving them too short.
class EntryFieldsTest : public FormTest {
    Q_OBJECT

private slots:
    void typingKeepsOnlyDigitsAndColons_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("kept");
        QTest::newRow("digits and colon") << "58:"
                                          << "58:";
        QTest::newRow("letters") << "5a8B:"
                                 << "58:";
        QTest::newRow("minus, point, blank") << "-5.8 :"
                                             << "58:";
        QTest::newRow("control characters") << QStringLiteral(
                                                   "5\x01\x1b"
                                                   "8")
                                            << "58";
        QTest::newRow("non-ASCII") << QStringLiteral("5ö8٣:") << "58:";
    }
    void typingKeepsOnlyDigitsAndColons() {
        QFETCH(QString, typed);
        QFETCH(QString, kept);
        m_form->Text2->setFocus();
        m_form->Text2->clear();
        // Key by key with the text a keyboard would send, control characters included.
        for (const QChar c : typed)
            QTest::sendKeyEvent(QTest::Click, m_form->Text2, Qt::Key_unknown, c, Qt::NoModifier);
        QCOMPARE(m_form->Text2->text(), kept);
    }

    void backspaceAndEditingShortcutsStillWork() {
        m_form->Text1->selectAll();
        QTest::keyClick(m_form->Text1, Qt::Key_C, Qt::ControlModifier);
        QTest::keyClick(m_form->Text1, Qt::Key_End);
        QTest::keyClick(m_form->Text1, Qt::Key_Backspace);
        QCOMPARE(m_form->Text1->text(), QStringLiteral("58:00:0"));
        QTest::keyClick(m_form->Text1, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(m_form->Text1->text(), QStringLiteral("58:00:00"));
        QTest::keyClick(m_form->Text1, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(m_form->Text1->selectedText(), QStringLiteral("58:00:00"));
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("58:00:00"));
    }

    // A key filter alone would let pasted, dropped or composed text through untouched.
    void everyRouteInIsFiltered_data() {
        QTest::addColumn<QString>("route");
        QTest::addColumn<QString>("incoming");
        QTest::addColumn<QString>("kept");
        for (const char* route : {"Ctrl+V", "Shift+Insert", "menu", "drop", "input method"}) {
            QTest::addRow("%s, junk among digits", route) << route << "5a8:-0 0"
                                                          << "58:00";
            QTest::addRow("%s, longer than the field", route) << route << "58:00:00:00"
                                                              << "58:00:00";
            QTest::addRow("%s, nothing usable", route) << route << "abc"
                                                       << "";
        }
    }
    void everyRouteInIsFiltered() {
        QFETCH(QString, route);
        QFETCH(QString, incoming);
        QFETCH(QString, kept);
        QLineEdit* field = m_form->Text1;
        field->clear();
        QApplication::clipboard()->setText(incoming);
        if (route == "Ctrl+V") {
            QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
        } else if (route == "Shift+Insert") {
            QTest::keyClick(field, Qt::Key_Insert, Qt::ShiftModifier);
        } else if (route == "menu") {
            field->paste();
        } else if (route == "drop") {
            QMimeData data;
            data.setText(incoming);
            const QPoint at = field->rect().center();
            QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(field, &enter);
            QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(field, &drop);
        } else {
            QInputMethodEvent commit;
            commit.setCommitString(incoming);
            QApplication::sendEvent(field, &commit);
        }
        QCOMPARE(field->text(), kept);
    }

    void enterMovesToTheNextControl() {
        QTest::keyClick(m_form->Text1, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), m_form->Text2);
        m_form->Text4->setFocus();
        QTest::keyClick(m_form->Text4, Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(QApplication::focusWidget(), m_form->Command1);
        QVERIFY(m_form->Label2->text().isEmpty());
        QTest::keyClick(m_form->Command1, Qt::Key_Return);
        QVERIFY(m_form->Label2->text().startsWith(QStringLiteral("Kurs 151")));
        QCOMPARE(QApplication::focusWidget(), m_form->Text1);
    }

    void focusColoursFollowTheFocus() {
        QTest::keyClick(m_form->Text1, Qt::Key_Tab);
        QCOMPARE(Background(m_form->Text1), kLightYellow);
        QCOMPARE(Background(m_form->Text2), kLightCyan);
        QTest::keyClick(m_form->Text2, Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(Background(m_form->Text1), kLightCyan);
        QCOMPARE(Background(m_form->Text2), kLightYellow);
    }

    void leavingATooShortFieldIsRefused_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("messages");
        QTest::newRow("five characters") << "58:00" << 1;
        QTest::newRow("empty") << "" << 1;
        QTest::newRow("six characters") << "58:000" << 0;
        QTest::newRow("seven characters") << "58:00:0" << 0;
    }
    void leavingATooShortFieldIsRefused() {
        QFETCH(QString, text);
        QFETCH(int, messages);
        m_form->Text1->setText(text);
        QTest::keyClick(m_form->Text1, Qt::Key_Tab);
        QCOMPARE(m_messages->texts.size(), messages);
        if (messages > 0) {
            QCOMPARE(m_messages->texts.first(), kShortInputMessage);
            QCOMPARE(m_messages->titles.first(), QStringLiteral("Styrmark"));
        }
        QWidget* stays = messages > 0 ? m_form->Text1 : m_form->Text2;
        QCOMPARE(m_form->focusWidget(), stays);
        QCOMPARE(Background(stays), kLightCyan);
        QCOMPARE(Background(stays == m_form->Text1 ? m_form->Text2 : m_form->Text1), kLightYellow);
        QCOMPARE(m_form->Text1->text(), text);
    }

    // Leaving short A for short B must not bounce a message between the two for ever;
    // this needs the real modal box, whose focus changes caused the bouncing.
    void twoShortFieldsGiveOneMessage() {
        m_messages.reset();
        m_form->Text1->setText(QStringLiteral("58:00"));
        m_form->Text2->setText(QStringLiteral("17:0"));
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
        QTest::keyClick(m_form->Text1, Qt::Key_Tab);
        QTest::qWait(400);
        closer.stop();
        QCOMPARE(boxes, 1);
        QCOMPARE(seenText, kShortInputMessage);
        QCOMPARE(seenTitle, QStringLiteral("Styrmark"));
        QCOMPARE(m_form->focusWidget(), m_form->Text1);
        QCOMPARE(Background(m_form->Text2), kLightYellow);
    }

    void clickingTheButtonFromAShortFieldDoesNotCompute() {
        m_form->Text1->setText(QStringLiteral("58:0"));
        QTest::mouseClick(m_form->Command1, Qt::LeftButton);
        QCOMPARE(m_messages->texts.size(), 1);
        QVERIFY(m_form->Label2->text().isEmpty());
        QVERIFY(!m_form->Command1->isDown());
        QCOMPARE(m_form->focusWidget(), m_form->Text1);
    }

    void closingWithAShortFieldShowsNothing() {
        m_form->Text1->setText(QStringLiteral("5"));
        QVERIFY(m_form->close());
        QCOMPARE(m_messages->texts.size(), 0);
    }

    void otherApplicationTakingTheFocusIsNotChecked() {
        m_form->Text1->setText(QStringLiteral("5"));
        QFocusEvent out(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
        QApplication::sendEvent(m_form->Text1, &out);
        QCOMPARE(m_messages->texts.size(), 0);
        QCOMPARE(Background(m_form->Text1), kLightYellow);
    }
};

}  // namespace styrmark

QTEST_MAIN(styrmark::EntryFieldsTest)
#include "entry_fields_test.moc"
