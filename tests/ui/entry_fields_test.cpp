// SPDX-License-Identifier: GPL-3.0-or-later
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

    // A key filter alone would let pasted, dropped or composed text through untouched; what
    // stays goes in at the cursor, and the cursor ends after it.
    void everyRouteInIsFiltered_data() {
        QTest::addColumn<QString>("route");
        QTest::addColumn<QString>("before");
        QTest::addColumn<int>("cursorBefore");
        QTest::addColumn<QString>("incoming");
        QTest::addColumn<QString>("kept");
        QTest::addColumn<int>("cursorAfter");
        for (const char* route : {"Ctrl+V", "Shift+Insert", "menu", "drop", "input method"}) {
            QTest::addRow("%s, junk among digits", route) << route << "" << 0 << "5a8:-0 0"
                                                          << "58:00" << 5;
            QTest::addRow("%s, longer than the field", route) << route << "" << 0 << "58:00:00:00"
                                                              << "58:00:00" << 8;
            QTest::addRow("%s, nothing usable", route) << route << "" << 0 << "abc"
                                                       << "" << 0;
            // A drop goes where it lands, not to the cursor.
            if (QByteArray(route) != "drop") {
                QTest::addRow("%s, junk into the middle", route) << route << "58:00" << 2 << "a1b:"
                                                                 << "581::00" << 4;
            }
        }
    }
    void everyRouteInIsFiltered() {
        QFETCH(QString, route);
        QFETCH(QString, before);
        QFETCH(int, cursorBefore);
        QFETCH(QString, incoming);
        QFETCH(QString, kept);
        QFETCH(int, cursorAfter);
        QLineEdit* field = m_form->Text1;
        field->setText(before);
        field->setCursorPosition(cursorBefore);
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
        QCOMPARE(field->cursorPosition(), cursorAfter);
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

    // Every way of leaving a field is checked the same; "5:0:0" is usable but too short, so
    // a click on the button would compute if the check let it through.
    void leavingATooShortFieldIsRefused_data() {
        QTest::addColumn<QString>("route");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("messages");
        QTest::addColumn<QString>("focusAfter");
        const QList<std::pair<const char*, const char*>> routes{{"Tab", "Text3"},
                                                                {"Shift+Tab", "Text1"},
                                                                {"Enter", "Text3"},
                                                                {"click on a field", "Text4"},
                                                                {"click on the button", "Text1"}};
        for (const auto& [route, next] : routes) {
            QTest::addRow("%s, five characters", route) << route << "5:0:0" << 1 << "Text2";
            QTest::addRow("%s, empty", route) << route << "" << 1 << "Text2";
            QTest::addRow("%s, six characters", route) << route << "5:0:0:" << 0 << next;
        }
        QTest::newRow("Tab, seven characters") << "Tab"
                                               << "58:00:0" << 0 << "Text3";
    }
    void leavingATooShortFieldIsRefused() {
        QFETCH(QString, route);
        QFETCH(QString, text);
        QFETCH(int, messages);
        QFETCH(QString, focusAfter);
        toolkit::Field* field = m_form->Text2;
        field->setFocus();
        field->setText(text);
        field->setCursorPosition(1);
        if (route == "Tab") {
            QTest::keyClick(field, Qt::Key_Tab);
        } else if (route == "Shift+Tab") {
            QTest::keyClick(field, Qt::Key_Backtab, Qt::ShiftModifier);
        } else if (route == "Enter") {
            QTest::keyClick(field, Qt::Key_Return);
        } else if (route == "click on a field") {
            QTest::mouseClick(m_form->Text4, Qt::LeftButton);
        } else {
            QTest::mouseClick(m_form->Command1, Qt::LeftButton);
        }
        QCoreApplication::processEvents();
        QCOMPARE(m_messages->texts.size(), messages);
        if (messages > 0) {
            QCOMPARE(m_messages->texts.first(), kShortInputMessage);
            QCOMPARE(m_messages->titles.first(), QStringLiteral("Styrmark"));
            // Left as it was for the user to correct, the cursor at its end.
            QCOMPARE(field->text(), text);
            QVERIFY(!field->hasSelectedText());
            QCOMPARE(field->cursorPosition(), text.size());
            QVERIFY(m_form->Label2->text().isEmpty());
            QVERIFY(!m_form->Command1->isDown());
        }
        QWidget* stays = m_form->findChild<QWidget*>(focusAfter);
        QCOMPARE(m_form->focusWidget(), stays);
        for (const toolkit::Field* each :
             {m_form->Text1, m_form->Text2, m_form->Text3, m_form->Text4})
            QCOMPARE(Background(each), each == stays ? kLightCyan : kLightYellow);
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
