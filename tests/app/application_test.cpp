// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>
#include <QLibraryInfo>
#include <QLocalServer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <csignal>

#include "app/application.h"
#include "app/display_check.h"
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

    // Where one of Wayland and X11 can work, Qt is told which; where both can, Qt chooses.
    void choosesThePlatformThatCanWork() {
        const auto choose = [](const char* x11Display) {
            const auto isSocket = [](const std::filesystem::path& path) {
                return path == "/run/user/7/wayland-1";
            };
            return ChooseDisplay({"", x11Display, "wayland-1", "/run/user/7"},
                                 {"libqxcb.so", "libqwayland-generic.so"}, isSocket)
                .platform;
        };
        QCOMPARE(choose(""), "wayland");
        QCOMPARE(choose(":0"), "");
    }

    // Each run has a runtime directory of its own, holding the socket "wayland-test".
    void needsADisplayWhereQtDoes_data() {
        QTest::addColumn<QStringList>("variables");
        QTest::addColumn<QString>("shell");         // runs the program, "$0"
        QTest::addColumn<QStringList>("mentions");  // in our one line; none: no line of ours
        const QString alone = "exec \"$0\"";
        QTest::newRow("nothing set")
            << QStringList{} << alone << QStringList{"ingen skärm", " DISPLAY", "WAYLAND_DISPLAY"};
        QTest::newRow("platform chosen")
            << QStringList{"QT_QPA_PLATFORM=offscreen"} << alone << QStringList{};
        // Set but unreachable: Qt's own message then, not ours.
        QTest::newRow("X display") << QStringList{"DISPLAY=:1234"} << alone << QStringList{};
        QTest::newRow("no Wayland socket")
            << QStringList{"WAYLAND_DISPLAY=styrmark-none"} << alone
            << QStringList{"ingen skärm", "/styrmark-none ", " DISPLAY"};
        QTest::newRow("no runtime directory")
            << QStringList{"WAYLAND_DISPLAY=wayland-test", "XDG_RUNTIME_DIR="} << alone
            << QStringList{"XDG_RUNTIME_DIR", " DISPLAY"};
        // Qt's platform plugin directory ($2) covered by an empty one ($1).
        QTest::newRow("no Wayland plugin")
            << QStringList{"WAYLAND_DISPLAY=wayland-test"}
            << "unshare -rm sh -c 'mount --bind \"$1\" \"$2\" && exec \"$0\"' \"$0\" \"$1\" \"$2\""
            << QStringList{"qt6-wayland"};
        // Up on X11 with nothing said, the window is found, and the program killed.
        QTest::newRow("X11 where Wayland fails")
            << QStringList{"WAYLAND_DISPLAY=styrmark-none", "XDG_SESSION_TYPE=wayland"}
            << "xvfb-run -a sh -c '\"$0\" & timeout 60 xdotool search --sync --name Styrmark "
               ">/dev/null; kill $!; wait $! 2>/dev/null' \"$0\""
            << QStringList{};
    }
    void needsADisplayWhereQtDoes() {
        QFETCH(QStringList, variables);
        QFETCH(QString, shell);
        QFETCH(QStringList, mentions);
        if (shell.startsWith("unshare") && QProcess::execute("unshare", {"-rm", "true"}) != 0)
            QSKIP("no mount namespace to hide Qt's Wayland plugin in");
        QTemporaryDir runtime;
        QTemporaryDir empty;
        QLocalServer compositor;
        QVERIFY(compositor.listen(runtime.filePath(QStringLiteral("wayland-test"))));
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name :
             {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY", "XDG_SESSION_TYPE", "QT_PLUGIN_PATH",
              "QT_QPA_PLATFORM_PLUGIN_PATH"})
            environment.remove(QString::fromLatin1(name));
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
        // A desktop's locale: in the C locale Qt says it switched to UTF-8.
        environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
        for (const QString& variable : variables)
            environment.insert(variable.section('=', 0, 0), variable.section('=', 1));
        QProcess program;
        program.setProcessEnvironment(environment);
        program.setProcessChannelMode(QProcess::MergedChannels);
        program.start("sh", {"-c", shell, STYRMARK_PROGRAM, empty.path(),
                             QLibraryInfo::path(QLibraryInfo::PluginsPath) + "/platforms"});
        QVERIFY(program.waitForStarted());
        const bool onX11 = shell.startsWith("xvfb-run");
        program.waitForFinished(onX11 ? 90000 : 1500);
        const QString said = QString::fromUtf8(program.readAll());
        bool ownMessage = said.startsWith(QStringLiteral("styrmark: ")) && said.count('\n') == 1 &&
                          program.exitStatus() == QProcess::NormalExit && program.exitCode() == 1;
        for (const QString& mention : mentions) ownMessage = ownMessage && said.contains(mention);
        // Whatever Qt does with a display it cannot reach, it is not this message.
        QVERIFY2(ownMessage == !mentions.isEmpty(), qPrintable(said));
        if (onX11)
            QCOMPARE(std::pair(said, program.exitCode()), std::pair(QString(), 128 + SIGTERM));
        program.kill();
        program.waitForFinished();
    }
};

}  // namespace styrmark

QTEST_MAIN(styrmark::ApplicationTest)
#include "application_test.moc"
