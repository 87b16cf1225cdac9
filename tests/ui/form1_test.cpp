// SPDX-License-Identifier: GPL-3.0-or-later
#include <QAccessible>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLocale>
#include <QStyle>
#include <QTest>
#include <cmath>

#include "form_fixture.h"

namespace styrmark {
namespace {

// WCAG's contrast ratio of two colours, from 1 to 21.
double Contrast(const QColor& a, const QColor& b) {
    const auto luminance = [](const QColor& c) {
        const auto linear = [](int channel) {
            const double v = channel / 255.0;
            return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(c.red()) + 0.7152 * linear(c.green()) + 0.0722 * linear(c.blue());
    };
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor TextColour(const QWidget* widget) {
    return widget->palette().color(widget->foregroundRole());
}

// What a dark desktop theme hands the program.
QPalette DarkPalette() {
    QPalette dark(QColor(53, 53, 53));
    dark.setColor(QPalette::WindowText, Qt::white);
    dark.setColor(QPalette::Base, QColor(42, 42, 42));
    dark.setColor(QPalette::Text, Qt::white);
    dark.setColor(QPalette::ButtonText, Qt::white);
    dark.setColor(QPalette::Highlight, QColor(42, 130, 218));
    return dark;
}

// The strongest change the focus makes along each edge of the button, near the edge.
QList<double> FocusChangeAlongEdges(const QImage& idle, const QImage& focused) {
    QList<double> edges(4, 1.0);
    const int w = idle.width();
    const int h = idle.height();
    for (int d = 0; d < 12; ++d) {
        const QList<QPoint> points{{d, h / 2}, {w - 1 - d, h / 2}, {w / 2, d}, {w / 2, h - 1 - d}};
        for (int edge = 0; edge < 4; ++edge) {
            const QPoint p = points[edge];
            edges[edge] =
                std::max(edges[edge], Contrast(idle.pixelColor(p), focused.pixelColor(p)));
        }
    }
    return edges;
}

}  // namespace

// The window as it opens, its layout, and the compute command.
class Form1Test : public FormTest {
    Q_OBJECT

private slots:
    void opensWithDefaults() {
        QCOMPARE(m_form->windowTitle(), QStringLiteral("   Styrmark beräkning"));
        // 406 x 360 at the usual 96 dpi; large-text settings grow it in proportion.
        const double scale = m_form->logicalDpiY() / 96.0;
        QCOMPARE(m_form->size(), QSize(qRound(406 * scale), qRound(360 * scale)));
        QCOMPARE(Background(m_form.get()), QColor(0, 128, 128));
        QCOMPARE(m_form->Text1->text(), QStringLiteral("58:00:00"));
        QCOMPARE(m_form->Text2->text(), QStringLiteral("17:00:00"));
        QCOMPARE(m_form->Text3->text(), QStringLiteral("57:00:00"));
        QCOMPARE(m_form->Text4->text(), QStringLiteral("18:00:00"));
        QVERIFY(m_form->Label2->text().isEmpty());
        QVERIFY(m_form->Text1->hasFocus());
        // Ready for the own position: typing replaces the default.
        QCOMPARE(m_form->Text1->selectedText(), QStringLiteral("58:00:00"));
    }

    // Place, size and colours of every control; no colour where the desktop's own shows.
    void controlsSitWhereTheTableSays_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("pixels");
        QTest::addColumn<QColor>("background");
        QTest::addColumn<QColor>("text");
        QTest::addColumn<QString>("caption");
        const QColor none;
        const QColor navy(0, 0, 128);
        QTest::newRow("Label1_0") << "Label1_0" << QRect(58, 18, 295, 27) << none << kLightYellow
                                  << QStringLiteral("Mina Koordinater Lat Long");
        QTest::newRow("Text1") << "Text1" << QRect(32, 56, 157, 29) << kLightCyan << navy
                               << QStringLiteral("58:00:00");
        QTest::newRow("Text2") << "Text2" << QRect(222, 54, 157, 29) << kLightYellow << navy
                               << QStringLiteral("17:00:00");
        QTest::newRow("Label1_1") << "Label1_1" << QRect(56, 116, 295, 27) << none << kLightYellow
                                  << QStringLiteral("Styrmark Koordinater Lat Long");
        QTest::newRow("Text3") << "Text3" << QRect(32, 152, 157, 27) << kLightYellow << navy
                               << QStringLiteral("57:00:00");
        QTest::newRow("Text4") << "Text4" << QRect(222, 152, 157, 27) << kLightYellow << navy
                               << QStringLiteral("18:00:00");
        QTest::newRow("Label1_3") << "Label1_3" << QRect(134, 194, 169, 27) << none << kLightYellow
                                  << QStringLiteral("Kurs och Distans");
        QTest::newRow("Label2") << "Label2" << QRect(34, 230, 345, 27) << kLightYellow
                                << QColor(Qt::black) << QString();
        QTest::newRow("Command1") << "Command1" << QRect(78, 280, 267, 43) << none << none
                                  << QStringLiteral("Kurs o Distans till Styrmark");
        QTest::newRow("Label1_2") << "Label1_2" << QRect(12, 330, 391, 21) << none << kLightYellow
                                  << QStringLiteral("Du måste skriva koordinater enl. 59:04:30");
    }
    void controlsSitWhereTheTableSays() {
        QFETCH(QString, name);
        QFETCH(QRect, pixels);
        QFETCH(QColor, background);
        QFETCH(QColor, text);
        QFETCH(QString, caption);
        const auto* control = m_form->findChild<QWidget*>(name);
        QVERIFY(control);
        QCOMPARE(control->property("text").toString(), caption);
        const double scale = m_form->logicalDpiY() / 96.0;
        QCOMPARE(control->geometry(),
                 QRect(qRound(pixels.x() * scale), qRound(pixels.y() * scale),
                       qRound(pixels.width() * scale), qRound(pixels.height() * scale)));
        QCOMPARE(control->autoFillBackground(), background.isValid());
        if (background.isValid()) QCOMPARE(Background(control), background);
        if (text.isValid()) QCOMPARE(TextColour(control), text);
    }

    // Twips follow the screen's logical resolution, so large text grows the layout too.
    void twipsFollowTheScreenResolution_data() {
        QTest::addColumn<int>("twips");
        QTest::addColumn<double>("dpi");
        QTest::addColumn<int>("pixels");
        QTest::newRow("width at 96 dpi") << 6090 << 96.0 << 406;
        QTest::newRow("width at 144 dpi") << 6090 << 144.0 << 609;
        QTest::newRow("rounded down at 120 dpi") << 435 << 120.0 << 36;
        QTest::newRow("half rounded up at 144 dpi") << 405 << 144.0 << 41;
    }
    void twipsFollowTheScreenResolution() {
        QFETCH(int, twips);
        QFETCH(double, dpi);
        QFETCH(int, pixels);
        QCOMPARE(toolkit::TwipsToPixels(twips, dpi), pixels);
    }

    // Texts on the fixed grounds keep their own colours, so no desktop palette can hide them;
    // the rest follows the desktop, whose own pairs contrast.
    void readableUnderAnyPalette_data() {
        QTest::addColumn<QPalette>("palette");
        QTest::newRow("light") << QApplication::style()->standardPalette();
        QTest::newRow("dark") << DarkPalette();
    }
    void readableUnderAnyPalette() {
        QFETCH(QPalette, palette);
        const QPalette desktop = QApplication::palette();
        QApplication::setPalette(palette);
        Form1 form;
        form.show();
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QVERIFY(Contrast(TextColour(form.Label2), Background(form.Label2)) >= 4.5);
        for (const QColor& ground : {kLightCyan, kLightYellow})
            QVERIFY(Contrast(TextColour(form.Text2), ground) >= 4.5);
        for (const QLabel* caption : form.Label1)
            QVERIFY(Contrast(TextColour(caption), Background(&form)) >= 3);
        const QPalette button = form.Command1->palette();
        QVERIFY(Contrast(button.color(QPalette::ButtonText), button.color(QPalette::Button)) >= 3);

        // The keyboard focus shows plainly on all four sides of the button.
        const QImage idle = form.Command1->grab().toImage();
        form.Command1->setFocus();
        const QImage focused = form.Command1->grab().toImage();
        for (const double change : FocusChangeAlongEdges(idle, focused)) QVERIFY(change >= 3);
        QApplication::setPalette(desktop);
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
        QCOMPARE(m_form->Text1->selectedText(), QStringLiteral("58:00:00"));

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

    // What a screen reader is told of each control: its role, name, the caption tied to it
    // (either way), and for the fields how to write a coordinate. The result line has none
    // of its own: screen readers would speak the caption in place of the result.
    void screenReadersKnowEachControl_data() {
        const QString hint = QStringLiteral("Du måste skriva koordinater enl. 59:04:30");
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("role");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("description");
        QTest::newRow("window") << "" << int(QAccessible::Window)
                                << QStringLiteral("   Styrmark beräkning") << ""
                                << "";
        QTest::newRow("Text1") << "Text1" << int(QAccessible::EditableText) << "Min latitud"
                               << "Label1_0" << hint;
        QTest::newRow("Text2") << "Text2" << int(QAccessible::EditableText) << "Min longitud"
                               << "" << hint;
        QTest::newRow("Text3") << "Text3" << int(QAccessible::EditableText)
                               << QStringLiteral("Styrmärkets latitud") << "Label1_1" << hint;
        QTest::newRow("Text4") << "Text4" << int(QAccessible::EditableText)
                               << QStringLiteral("Styrmärkets longitud") << "" << hint;
        QTest::newRow("Label2") << "Label2" << int(QAccessible::Notification) << ""
                                << ""
                                << "";
        QTest::newRow("Label1_3") << "Label1_3" << int(QAccessible::StaticText)
                                  << "Kurs och Distans"
                                  << "Label2"
                                  << "";
        QTest::newRow("Command1") << "Command1" << int(QAccessible::Button)
                                  << "Kurs o Distans till Styrmark"
                                  << ""
                                  << "";
    }
    void screenReadersKnowEachControl() {
        QFETCH(QString, control);
        QFETCH(int, role);
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QString, description);
        QObject* object = control.isEmpty() ? m_form.get() : m_form->findChild<QObject*>(control);
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(object);
        QVERIFY(iface);
        QCOMPARE(int(iface->role()), role);
        QCOMPARE(iface->text(QAccessible::Name), name);
        QCOMPARE(iface->text(QAccessible::Description), description);
        const auto labels = iface->relations(QAccessible::Label | QAccessible::Labelled);
        QCOMPARE(labels.isEmpty() ? QString() : labels.first().first->object()->objectName(),
                 caption);
    }

    // Every caption fits its control in the font the window chose.
    void captionsFitTheirControls() {
        const QFontInfo font(m_form->font());
        QVERIFY2(font.bold(), qPrintable(font.family()));
        QCOMPARE(font.pointSize(), 12);
        QList<QPair<const QWidget*, QString>> texts;
        for (const QLabel* label : m_form->Label1) texts.append({label, label->text()});
        texts.append({m_form->Command1, m_form->Command1->text()});
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

    // The longest line the fields can produce (eight integer digits of kilometres) is shown
    // whole, in a smaller size where it must be, also in a face wider than the one chosen;
    // the next short line is back in the window's own size.
    void widestResultLineIsShownWhole_data() {
        QTest::addColumn<QString>("family");
        QTest::newRow("chosen") << "";
        QTest::newRow("DejaVu Sans Bold") << "DejaVu Sans";
    }
    void widestResultLineIsShownWhole() {
        QFETCH(QString, family);
        if (!family.isEmpty()) m_form->setFont(QFont(family, 12, QFont::Bold));
        const QStringList widest{"00:00:00", "000:00:00", "00:00:00", "99999:9:9"};
        const auto fields = {m_form->Text1, m_form->Text2, m_form->Text3, m_form->Text4};
        for (int i = 0; const auto& field : fields) field->setText(widest[i++]);
        QTest::mouseClick(m_form->Command1, Qt::LeftButton);
        const QString separator = QLocale::system().decimalPoint();
        QCOMPARE(
            m_form->Label2->text(),
            QStringLiteral("Kurs 090   5999949.50  DM   11111017.593  Km").replace('.', separator));
        const QFont shown = m_form->Label2->font();
        QCOMPARE(shown.family(), m_form->font().family());
        QVERIFY(shown.pointSizeF() < 12);
        QVERIFY(QFontMetrics(shown).horizontalAdvance(m_form->Label2->text()) <
                m_form->Label2->width());

        const QStringList defaults{"58:00:00", "17:00:00", "57:00:00", "18:00:00"};
        for (int i = 0; const auto& field : fields) field->setText(defaults[i++]);
        QTest::mouseClick(m_form->Command1, Qt::LeftButton);
        QCOMPARE(m_form->Label2->font().pointSizeF(), 12.0);
    }
};

}  // namespace styrmark

QTEST_MAIN(styrmark::Form1Test)
#include "form1_test.moc"
