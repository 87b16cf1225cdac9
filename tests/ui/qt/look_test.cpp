// SPDX-License-Identifier: GPL-3.0-or-later
// How the window looks under Qt: the face it draws with, captions fitted to their
// controls, and colours that stay readable under any desktop palette.
#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLocale>
#include <QStyle>
#include <cmath>

#include "form_fixture.h"
#include "ui/qt/fonts.h"

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

// Near the middle of each edge of the button, the strongest change the focus makes and
// how many points are in the ring's colour before and after.
struct EdgeLook {
    double change = 1.0;
    int ringBefore = 0;
    int ringAfter = 0;
};
QList<EdgeLook> LookAlongEdges(const QImage& idle, const QImage& focused, const QColor& ring) {
    QList<EdgeLook> edges(4);
    const int w = idle.width();
    const int h = idle.height();
    for (int d = 0; d < 12; ++d) {
        const QList<QPoint> points{{d, h / 2}, {w - 1 - d, h / 2}, {w / 2, d}, {w / 2, h - 1 - d}};
        for (int edge = 0; edge < 4; ++edge) {
            const QPoint p = points[edge];
            EdgeLook& look = edges[edge];
            look.change =
                std::max(look.change, Contrast(idle.pixelColor(p), focused.pixelColor(p)));
            look.ringBefore += idle.pixelColor(p) == ring ? 1 : 0;
            look.ringAfter += focused.pixelColor(p) == ring ? 1 : 0;
        }
    }
    return edges;
}

}  // namespace

class LookTest : public FormTest {
    Q_OBJECT

private slots:
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
        form.Show();
        Window(form).activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&Window(form)));
        const auto* result = Shown(form, form.Label2);
        QVERIFY(Contrast(TextColour(result), Background(result)) >= 4.5);
        for (const QColor& ground : {kLightCyan, kLightYellow})
            QVERIFY(Contrast(TextColour(Shown(form, form.Text2)), ground) >= 4.5);
        for (const toolkit::Control caption : form.Label1)
            QVERIFY(Contrast(TextColour(Shown(form, caption)), Background(&Window(form))) >= 3);
        auto* button = Shown<QPushButton>(form, form.Command1);
        const QPalette colours = button->palette();
        QVERIFY(Contrast(colours.color(QPalette::ButtonText), colours.color(QPalette::Button)) >=
                3);

        // The keyboard focus shows plainly on all four sides of the button, as a ring in
        // the caption's colour that only the focused button has.
        const QImage idle = button->grab().toImage();
        button->setFocus();
        const QImage focused = button->grab().toImage();
        for (const EdgeLook& edge :
             LookAlongEdges(idle, focused, colours.color(QPalette::ButtonText))) {
            QVERIFY(edge.change >= 3);
            QCOMPARE(edge.ringBefore, 0);
            QVERIFY(edge.ringAfter > 0);
        }
        QApplication::setPalette(desktop);
    }

    // With the face of the classic metrics installed, it is the one drawn, everywhere.
    void drawsInLiberationSansWhereInstalled() {
        const QString liberation = QStringLiteral("Liberation Sans");
        if (!QFontDatabase::families().contains(liberation))
            QSKIP("Liberation Sans is not installed");
        const toolkit::InstalledFace face = toolkit::ChooseFace(QStringLiteral("MS Sans Serif"));
        QCOMPARE(face.family, liberation);
        QVERIFY(face.sameMetrics);
        QCOMPARE(QFontInfo(window().font()).family(), liberation);
        QCOMPARE(QFontInfo(QApplication::font()).family(), liberation);
        for (const QWidget* control : window().findChildren<QWidget*>())
            QCOMPARE(QFontInfo(control->font()).family(), liberation);
    }

    // Every caption fits its control in the font the window chose.
    void captionsFitTheirControls() {
        const QFontInfo font(window().font());
        QVERIFY2(font.bold(), qPrintable(font.family()));
        QCOMPARE(font.pointSize(), 12);
        QList<const QWidget*> controls{shown(m_form->Command1)};
        for (const toolkit::Control label : m_form->Label1) controls.append(shown(label));
        for (const QWidget* control : controls) {
            const QString text = control->property("text").toString();
            const int width = QFontMetrics(control->font()).horizontalAdvance(text);
            QVERIFY2(width <= control->width(),
                     qPrintable(QStringLiteral("%1 (%2 px > %3 px) in %4")
                                    .arg(text)
                                    .arg(width)
                                    .arg(control->width())
                                    .arg(font.family())));
        }
    }

    // The longest line the fields can produce is shown whole, in a smaller size where it
    // must be, also in a face wider than the one chosen. Each line is fitted from the
    // window's own font: a narrower line after it is larger again, a short one back at the
    // window's size.
    void resultLinesAreFittedFromTheWindowsFont_data() {
        QTest::addColumn<QString>("family");
        QTest::newRow("chosen") << "";
        QTest::newRow("DejaVu Sans Bold") << "DejaVu Sans";
    }
    void resultLinesAreFittedFromTheWindowsFont() {
        QFETCH(QString, family);
        if (!family.isEmpty()) window().setFont(QFont(family, 12, QFont::Bold));
        const QFont own = window().font();
        const auto* result = shown<QLabel>(m_form->Label2);
        const auto compute = [&](const QStringList& texts) {
            const auto fields = {m_form->Text1, m_form->Text2, m_form->Text3, m_form->Text4};
            for (int i = 0; const toolkit::Control field : fields)
                shown<QLineEdit>(field)->setText(texts[i++]);
            QTest::mouseClick(shown(m_form->Command1), Qt::LeftButton);
            QVERIFY2(
                QFontMetrics(result->font()).horizontalAdvance(result->text()) < result->width(),
                qPrintable(result->text()));
            QCOMPARE(result->font().family(), own.family());
        };
        compute({"00:00:00", "000:00:00", "00:00:00", "99999:9:9"});
        QCOMPARE(result->text(), QStringLiteral("Kurs 090   5999949.50  DM   11111017.593  Km")
                                     .replace('.', QLocale::system().decimalPoint()));
        const double widest = result->font().pointSizeF();
        QVERIFY(widest < 12);
        compute({"00:00:00", "000:00:00", "00:00:00", "99:9:9"});
        const double wide = result->font().pointSizeF();
        QVERIFY2(wide > widest, qPrintable(QString::number(wide)));
        compute({"58:00:00", "17:00:00", "57:00:00", "18:00:00"});
        QCOMPARE(result->font().pointSizeF(), 12.0);
    }
};

}  // namespace styrmark

QTEST_MAIN(styrmark::LookTest)
#include "look_test.moc"
