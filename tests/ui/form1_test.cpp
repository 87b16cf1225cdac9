#include <QFontInfo>
#include <QFontMetrics>
#include <QLocale>
#include <QTest>

#include "form_fixture.h"

namespace styrmark {

// The window as it opens, its layout, and the compute command.
class Form1Test : public FormTest {
    Q_OBJECT

private slots:
    void opensWithDefaults() {
        QCOMPARE(m_form->windowTitle(), QStringLiteral("   Styrmark beräkning"));
        QCOMPARE(m_form->size(), QSize(406, 360));
        QCOMPARE(Background(m_form.get()), QColor(0, 128, 128));
        QCOMPARE(m_form->Text1->text(), QStringLiteral("58:00:00"));
        QCOMPARE(m_form->Text2->text(), QStringLiteral("17:00:00"));
        QCOMPARE(m_form->Text3->text(), QStringLiteral("57:00:00"));
        QCOMPARE(m_form->Text4->text(), QStringLiteral("18:00:00"));
        QVERIFY(m_form->Label2->text().isEmpty());
        QVERIFY(m_form->Text1->hasFocus());
        QCOMPARE(Background(m_form->Text1), kLightCyan);
        for (const QWidget* field : {m_form->Text2, m_form->Text3, m_form->Text4})
            QCOMPARE(Background(field), kLightYellow);
    }

    void controlsSitWhereTheTableSays_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("pixels");
        QTest::newRow("Label1_0") << "Label1_0" << QRect(58, 18, 295, 27);
        QTest::newRow("Text2") << "Text2" << QRect(222, 54, 157, 29);
        QTest::newRow("Text3") << "Text3" << QRect(32, 152, 157, 27);
        QTest::newRow("Label2") << "Label2" << QRect(34, 230, 345, 27);
        QTest::newRow("Command1") << "Command1" << QRect(78, 280, 267, 43);
        QTest::newRow("Label1_2") << "Label1_2" << QRect(12, 330, 391, 21);
    }
    void controlsSitWhereTheTableSays() {
        QFETCH(QString, name);
        QFETCH(QRect, pixels);
        const auto* control = m_form->findChild<QWidget*>(name);
        QVERIFY(control);
        QCOMPARE(control->geometry(), pixels);
    }

    void tabRunsThroughFieldsAndButton() {
        const QList<QWidget*> order{m_form->Text2, m_form->Text3, m_form->Text4, m_form->Command1,
                                    m_form->Text1};
        for (QWidget* next : order) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), next);
        }
        for (const QLabel* label : m_form->Label1) QCOMPARE(label->focusPolicy(), Qt::NoFocus);
    }

    void fieldsRefuseCharactersPastTheirLimit_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("limit");
        QTest::newRow("Text1") << "Text1" << 8;
        QTest::newRow("Text2") << "Text2" << 9;
        QTest::newRow("Text3") << "Text3" << 8;
        QTest::newRow("Text4") << "Text4" << 9;
    }
    void fieldsRefuseCharactersPastTheirLimit() {
        QFETCH(QString, name);
        QFETCH(int, limit);
        auto* field = m_form->findChild<QLineEdit*>(name);
        field->setFocus();
        field->clear();
        QTest::keyClicks(field, QStringLiteral("1234567890"));
        QCOMPARE(field->text(), QStringLiteral("1234567890").left(limit));
    }

    // The result line follows the regional decimal separator; CTest runs this
    // suite once in an English and once in a Swedish locale.
    void computesTheDefaultPositions() {
        const bool swedish = QLocale::system().language() == QLocale::Swedish;
        const QString expected = swedish ? QStringLiteral("Kurs 151   68,32  DM   126,522  Km")
                                         : QStringLiteral("Kurs 151   68.32  DM   126.522  Km");
        QTest::mouseClick(m_form->Command1, Qt::LeftButton);
        QCOMPARE(m_form->Label2->text(), expected);
        QVERIFY(m_form->Text1->hasFocus());
        QCOMPARE(Background(m_form->Text1), kLightCyan);

        QTest::mouseClick(m_form->Command1, Qt::LeftButton);
        QCOMPARE(m_form->Label2->text(), expected);
        QVERIFY(m_messages->texts.isEmpty());
    }

    void samePositionShowsNoCourse() {
        m_form->Text3->setText(QStringLiteral("58:00:00"));
        m_form->Text4->setText(QStringLiteral("17:00:00"));
        QTest::mouseClick(m_form->Command1, Qt::LeftButton);
        QVERIFY(m_form->Label2->text().startsWith(QStringLiteral("Kurs ---   0")));
        QVERIFY(m_form->Label2->text().endsWith(QStringLiteral("000  Km")));
    }

    void unusableTextStopsTheCalculation_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::newRow("one part") << "Text3"
                                  << "580000";
        QTest::newRow("empty part") << "Text2"
                                    << "17::00";
        QTest::newRow("two parts") << "Text4"
                                   << "18:000";
    }
    void unusableTextStopsTheCalculation() {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QTest::mouseClick(m_form->Command1, Qt::LeftButton);
        QVERIFY(!m_form->Label2->text().isEmpty());

        auto* field = m_form->findChild<QLineEdit*>(name);
        field->setText(text);
        QTest::mouseClick(m_form->Command1, Qt::LeftButton);
        QVERIFY(m_form->Label2->text().isEmpty());
        QCOMPARE(m_messages->texts, QStringList{kShortInputMessage});
        QCOMPARE(m_messages->titles, QStringList{QStringLiteral("Styrmark")});
        QCOMPARE(m_form->focusWidget(), field);
        QCOMPARE(field->selectedText(), text);
        QCOMPARE(field->text(), text);
    }

    void fieldsHaveSpokenNames() {
        QCOMPARE(m_form->Text1->accessibleName(), QStringLiteral("Min latitud"));
        QCOMPARE(m_form->Text4->accessibleName(), QStringLiteral("Styrmärkets longitud"));
    }

    // Every caption, and the widest plausible result line, must fit its control in
    // the font actually in effect.
    void captionsFitTheirControls() {
        const QFontInfo font(m_form->font());
        QVERIFY2(font.bold(), qPrintable(font.family()));
        QCOMPARE(font.pointSize(), 12);
        QList<QPair<const QWidget*, QString>> texts;
        for (const QLabel* label : m_form->Label1) texts.append({label, label->text()});
        texts.append({m_form->Command1, m_form->Command1->text()});
        texts.append({m_form->Label2, QStringLiteral("Kurs 360   9999.99  DM   18518.500  Km")});
        for (const auto& [control, text] : texts) {
            const int width = QFontMetrics(control->font()).horizontalAdvance(text);
            QVERIFY2(width <= control->width(),
                     qPrintable(QStringLiteral("%1 (%2 px > %3 px) in %4")
                                    .arg(text)
                                    .arg(width)
                                    .arg(control->width())
                                    .arg(font.family())));
        }
    }
};

}  // namespace styrmark

QTEST_MAIN(styrmark::Form1Test)
#include "form1_test.moc"
