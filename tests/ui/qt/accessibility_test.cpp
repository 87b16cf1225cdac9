// SPDX-License-Identifier: GPL-3.0-or-later
// What screen readers learn of the window beyond what Qt tells them by itself, and the
// events they hear, in order.
#include <private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>
#include <QAccessible>
#include <QApplication>
#include <QList>

#include "form_fixture.h"

namespace styrmark {
namespace {

// Kind and control of each accessibility event, as a screen reader would receive them.
QStringList& Heard() {
    static QStringList heard;
    return heard;
}

void Hear(QAccessibleEvent* event) {
    const char* kind = event->type() == QAccessible::Focus        ? "focus"
                       : event->type() == QAccessible::ObjectShow ? "shown"
                                                                  : nullptr;
    if (kind != nullptr && event->object() != nullptr)
        Heard() << QStringLiteral("%1 %2").arg(kind, event->object()->objectName());
}

}  // namespace

class AccessibilityTest : public FormTest {
    Q_OBJECT

private slots:
    // What a screen reader is told of each control: its role, name, and for the fields how to
    // write a coordinate. (Which caption heads what is a row of the behaviour table.)
    void screenReadersKnowEachControl_data() {
        const QString hint = QStringLiteral("Du måste skriva koordinater enl. 59:04:30");
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("role");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("description");
        QTest::newRow("window") << "" << int(QAccessible::Window)
                                << QStringLiteral("   Styrmark beräkning") << "";
        QTest::newRow("Text1") << "Text1" << int(QAccessible::EditableText) << "Min latitud"
                               << hint;
        QTest::newRow("Text2") << "Text2" << int(QAccessible::EditableText) << "Min longitud"
                               << hint;
        QTest::newRow("Text3") << "Text3" << int(QAccessible::EditableText)
                               << QStringLiteral("Styrmärkets latitud") << hint;
        QTest::newRow("Text4") << "Text4" << int(QAccessible::EditableText)
                               << QStringLiteral("Styrmärkets longitud") << hint;
        QTest::newRow("Label2") << "Label2" << int(QAccessible::Notification) << ""
                                << "";
        QTest::newRow("Label1_3") << "Label1_3" << int(QAccessible::StaticText)
                                  << "Kurs och Distans"
                                  << "";
        QTest::newRow("Command1") << "Command1" << int(QAccessible::Button)
                                  << "Kurs o Distans till Styrmark"
                                  << "";
    }
    void screenReadersKnowEachControl() {
        QFETCH(QString, control);
        QFETCH(int, role);
        QFETCH(QString, name);
        QFETCH(QString, description);
        QObject* object = control.isEmpty() ? &window() : window().findChild<QObject*>(control);
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(object);
        QVERIFY(iface);
        QCOMPARE(int(iface->role()), role);
        QCOMPARE(iface->text(QAccessible::Name), name);
        QCOMPARE(iface->text(QAccessible::Description), description);
    }

    // Each presentation cuts the one before short: the result is presented as shown (a
    // rename alone is not spoken) once the focus is back in Text1, each time, also when
    // the result is the same as before.
    void resultIsPresentedAfterTheFocusMove() {
        shown(m_form->Command1)->setFocus();
        Heard().clear();
        QTest::keyClick(shown(m_form->Command1), Qt::Key_Space);
        QTest::keyClick(shown(m_form->Text1), Qt::Key_Tab, Qt::ShiftModifier);
        QTest::keyClick(shown(m_form->Command1), Qt::Key_Space);
        QCoreApplication::processEvents();
        const QStringList once{QStringLiteral("focus Text1"), QStringLiteral("shown Label2")};
        QCOMPARE(Heard(), once + QStringList{QStringLiteral("focus Command1")} + once);
    }

    // A field that refuses to let the focus go takes it back inside the focus change, which
    // still reports the control it was heading for; the field is reported again after it.
    void refusedFieldIsReportedAfterTheFocusChange() {
        shown<QLineEdit>(m_form->Text2)->setFocus();
        shown<QLineEdit>(m_form->Text2)->setText(QStringLiteral("5"));
        Heard().clear();
        QTest::keyClick(shown(m_form->Text2), Qt::Key_Tab);
        QCoreApplication::processEvents();
        QCOMPARE(m_messages->texts.size(), 1);
        QVERIFY2(Heard().size() >= 2, qPrintable(Heard().join(", ")));
        QCOMPARE(Heard().last(), QStringLiteral("focus Text2"));
        QCOMPARE(Heard().indexOf(QStringLiteral("focus Text3")), Heard().size() - 2);
        QCOMPARE(QApplication::focusWidget(), shown(m_form->Text2));
    }

    // As when a screen reader is running; only the platform can say so, hence its own API.
    void initTestCase() {
        QAccessible::installUpdateHandler(Hear);
        QPlatformAccessibility* platform =
            QGuiApplicationPrivate::platformIntegration()->accessibility();
        QVERIFY(platform);
        platform->setActive(true);
    }
};

}  // namespace styrmark

QTEST_MAIN(styrmark::AccessibilityTest)
#include "accessibility_test.moc"
