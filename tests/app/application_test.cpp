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
#include "ui/form1.h"

namespace styrmark {

// The program as a whole: it opens its window, ends when the window is closed, and says
// in one line when there is no display to open it on.
class ApplicationTest : public QObject {
    Q_OBJECT

private slots:
    void showsTheWindowAndEndsWhenItCloses() {
        bool shown = false;
        bool readyForInput = false;
        // Runs once the event loop does: looks at the window as the user gets it, then closes it.
        QTimer::singleShot(0, [&] {
            for (QWidget* window : QApplication::topLevelWidgets()) {
                auto* form = dynamic_cast<Form1*>(window);
                if (form == nullptr) continue;
                shown = QTest::qWaitForWindowExposed(form);
                readyForInput = form->focusWidget() == form->Text1;
                form->close();
            }
        });
        QCOMPARE(RunStyrmark(), 0);
        QVERIFY(shown);
        QVERIFY(readyForInput);
    }

    // What the program asks Qt for, from the variables, the platform plugins and the sockets.
    void choosesAPlatformQtCanWorkWith_data() {
        QTest::addColumn<QStringList>("variables");  // DISPLAY, WAYLAND_DISPLAY, XDG_RUNTIME_DIR
        QTest::addColumn<QString>("plugin");         // with libqxcb.so
        QTest::addColumn<QString>("platform");
        QTest::addColumn<QString>("problem");
        const QString wayland = "libqwayland-generic.so";
        QTest::newRow("Wayland alone")
            << QStringList{"", "wayland-1", "/run/user/7"} << wayland << "wayland"
            << "";
        QTest::newRow("both: Qt's choice")
            << QStringList{":0", "wayland-1", "/run/user/7"} << wayland << ""
            << "";
        QTest::newRow("socket by path")
            << QStringList{"", "/run/user/7/wayland-1", ""} << wayland << "wayland"
            << "";
        QTest::newRow("only the EGL plugin")
            << QStringList{"", "wayland-1", "/run/user/7"} << "libqwayland-egl.so"
            << ""
            << "qt6-wayland";
        QTest::newRow("no runtime directory") << QStringList{"", "wayland-1", ""} << wayland << ""
                                              << "XDG_RUNTIME_DIR, som inte är satt";
    }
    void choosesAPlatformQtCanWorkWith() {
        QFETCH(QStringList, variables);
        QFETCH(QString, plugin);
        QFETCH(QString, platform);
        QFETCH(QString, problem);
        const DisplayVariables set{"", variables[0].toStdString(), variables[1].toStdString(),
                                   variables[2].toStdString()};
        const DisplayChoice choice = ChooseDisplay(
            set, {"libqxcb.so", plugin.toStdString()},
            [](const std::filesystem::path& path) { return path == "/run/user/7/wayland-1"; });
        QCOMPARE(QString::fromStdString(choice.platform), platform);
        QCOMPARE(QString::fromStdString(choice.problem).contains(problem), true);
        QCOMPARE(choice.problem.empty(), problem.isEmpty());
    }

    // Each run in a runtime directory of its own holding one Wayland socket,
    // "wayland-test"; "{runtime}" in a mention stands for that directory.
    void needsADisplayWhereQtDoes_data() {
        QTest::addColumn<QStringList>("variables");
        QTest::addColumn<QString>("desktop");
        QTest::addColumn<QStringList>("mentions");  // in our one line; none: no line of ours
        QTest::newRow("nothing set")
            << QStringList{} << "" << QStringList{"ingen skärm", " DISPLAY", "WAYLAND_DISPLAY"};
        QTest::newRow("platform chosen")
            << QStringList{"QT_QPA_PLATFORM=offscreen"} << "" << QStringList{};
        // Set but unreachable: Qt's own message then, not ours.
        QTest::newRow("X display") << QStringList{"DISPLAY=:1234"} << "" << QStringList{};
        QTest::newRow("no Wayland socket")
            << QStringList{"WAYLAND_DISPLAY=styrmark-none"} << ""
            << QStringList{"ingen skärm", "{runtime}/styrmark-none", " DISPLAY"};
        QTest::newRow("no Wayland plugin")
            << QStringList{"WAYLAND_DISPLAY=wayland-test"} << "without Wayland plugin"
            << QStringList{"qt6-wayland"};
        // The window is up on X11 with nothing said, so the run ends by being killed.
        QTest::newRow("X11 where Wayland fails")
            << QStringList{"WAYLAND_DISPLAY=styrmark-none", "XDG_SESSION_TYPE=wayland"} << "X11"
            << QStringList{};
    }
    void needsADisplayWhereQtDoes() {
        QFETCH(QStringList, variables);
        QFETCH(QString, desktop);
        QFETCH(QStringList, mentions);
        QTemporaryDir runtime;
        QLocalServer compositor;
        QVERIFY(compositor.listen(runtime.filePath(QStringLiteral("wayland-test"))));
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name :
             {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY", "XDG_SESSION_TYPE", "QT_PLUGIN_PATH",
              "QT_QPA_PLATFORM_PLUGIN_PATH"})
            environment.remove(QString::fromLatin1(name));
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
        for (const QString& variable : variables)
            environment.insert(variable.section('=', 0, 0), variable.section('=', 1));
        QString command = QStringLiteral(STYRMARK_PROGRAM);
        QStringList arguments;
        QTemporaryDir noPlugins;
        if (desktop == "without Wayland plugin") {
            // Qt's platform plugin directory stands empty, as on a system without qt6-wayland.
            if (QProcess::execute("unshare", {"-rm", "true"}) != 0)
                QSKIP("no mount namespace to hide Qt's Wayland plugin in");
            arguments = {"-rm",
                         "sh",
                         "-c",
                         "mount --bind \"$1\" \"$2\" && exec \"$0\"",
                         command,
                         noPlugins.path(),
                         QLibraryInfo::path(QLibraryInfo::PluginsPath) + "/platforms"};
            command = "unshare";
        } else if (desktop == "X11") {
            arguments = {
                "-a", "sh", "-c",
                "\"$0\" & p=$!; timeout 60 xdotool search --sync --name Styrmark >/dev/null;"
                " kill $p; wait $p 2>/dev/null",
                command};
            command = "xvfb-run";
        }
        QProcess program;
        program.setProcessEnvironment(environment);
        program.setProcessChannelMode(QProcess::MergedChannels);
        program.start(command, arguments);
        QVERIFY(program.waitForStarted());
        program.waitForFinished(desktop == "X11" ? 90000 : 1500);
        const QString said = QString::fromUtf8(program.readAll());
        if (desktop == "X11") {
            QCOMPARE(said, QString());
            QCOMPARE(program.exitCode(), 128 + SIGTERM);
        }
        bool ownMessage = said.startsWith(QStringLiteral("styrmark: ")) && said.count('\n') == 1 &&
                          program.exitStatus() == QProcess::NormalExit && program.exitCode() == 1;
        for (const QString& mention : mentions)
            ownMessage =
                ownMessage && said.contains(QString(mention).replace("{runtime}", runtime.path()));
        // Whatever Qt does with a display it cannot reach, it is not this message.
        QVERIFY2(ownMessage == !mentions.isEmpty(), qPrintable(said));
        program.kill();
        program.waitForFinished();
    }
};

}  // namespace styrmark

QTEST_MAIN(styrmark::ApplicationTest)
#include "application_test.moc"
