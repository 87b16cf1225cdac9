// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>
#include <QProcess>
#include <QTest>
#include <QTimer>

#include "app/application.h"
#include "ui/qt/form_widget.h"

namespace styrmark {

// The program as a whole: it opens its window, ends when the window is closed, and says
// in one line when there is no display to open it on.
class ApplicationTest : public QObject {
    Q_OBJECT

private slots:
    void showsTheWindowAndEndsWhenItCloses() {
        bool shown = false;
        bool readyForInput = false;
        QList<QSize> iconSizes;
        // Runs once the event loop does: looks at the window as the user gets it, then closes it.
        QTimer::singleShot(0, [&] {
            for (QWidget* window : QApplication::topLevelWidgets()) {
                auto* form = qobject_cast<toolkit::FormWidget*>(window);
                if (form == nullptr) continue;
                shown = QTest::qWaitForWindowExposed(form);
                readyForInput = form->focusWidget() == form->findChild<QWidget*>("Text1");
                iconSizes = form->windowIcon().availableSizes();
                form->close();
            }
        });
        QCOMPARE(RunStyrmark(), 0);
        QVERIFY(shown);
        QVERIFY(readyForInput);
        // A scaled desktop draws the larger one rather than blowing up the small one.
        QCOMPARE(iconSizes, (QList<QSize>{{32, 32}, {48, 48}}));
    }

    void needsADisplayWhereQtDoes_data() {
        QTest::addColumn<QString>("variable");
        QTest::addColumn<bool>("runs");
        QTest::newRow("nothing set") << "" << false;
        QTest::newRow("platform chosen") << "QT_QPA_PLATFORM=offscreen" << true;
        // Set but unreachable: Qt's own message then, not ours.
        QTest::newRow("X display") << "DISPLAY=:1234" << true;
        QTest::newRow("Wayland display") << "WAYLAND_DISPLAY=styrmark-none" << true;
    }
    void needsADisplayWhereQtDoes() {
        QFETCH(QString, variable);
        QFETCH(bool, runs);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
            environment.remove(QString::fromLatin1(name));
        if (!variable.isEmpty())
            environment.insert(variable.section('=', 0, 0), variable.section('=', 1));
        QProcess program;
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(STYRMARK_PROGRAM), {});
        QVERIFY(program.waitForStarted());
        program.waitForFinished(1500);
        const QString said = QString::fromUtf8(program.readAllStandardError());
        const bool ownMessage = said.startsWith(QStringLiteral("styrmark: ingen skärm")) &&
                                said.count('\n') == 1 && program.exitCode() == 1;
        // Whatever Qt does with a display it cannot reach, it is not this message.
        QCOMPARE(ownMessage, !runs);
        program.kill();
        program.waitForFinished();
    }
};

}  // namespace styrmark

QTEST_MAIN(styrmark::ApplicationTest)
#include "application_test.moc"
