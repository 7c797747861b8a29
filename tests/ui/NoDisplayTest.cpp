// The built program started without a display: one line that says why, status 1, no core dump.
#include <gtest/gtest.h>

#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>

namespace orvel {
namespace {

// A display number that no X server on this machine serves: neither its socket nor its lock
// file exists.
QString displayWithoutServer() {
    for (int number = 917; number < 1017; ++number) {
        const QString n = QString::number(number);
        if (!QFileInfo::exists(QStringLiteral("/tmp/.X11-unix/X") + n) &&
            !QFileInfo::exists(QStringLiteral("/tmp/.X") + n + QStringLiteral("-lock")))
            return QStringLiteral(":") + n;
    }
    return {};
}

struct SessionCase {
    const char* name;
    QString display;  // empty: no DISPLAY at all
};

TEST(NoDisplay, TheProgramSaysItNeedsADesktopSessionAndEndsWithStatus1) {
    const QString absent = displayWithoutServer();
    ASSERT_FALSE(absent.isEmpty());
    const SessionCase cases[] = {
        {"no DISPLAY or WAYLAND_DISPLAY", {}},
        {"DISPLAY naming a server that is not there", absent},
    };
    for (const SessionCase& c : cases) {
        SCOPED_TRACE(c.name);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name :
             {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_SESSION_TYPE"})
            environment.remove(QLatin1String(name));
        if (!c.display.isEmpty())
            environment.insert(QStringLiteral("DISPLAY"), c.display);
        QProcess program;
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(ORVEL_PROGRAM_PATH), {});
        ASSERT_TRUE(program.waitForStarted(10000));
        if (!program.waitForFinished(30000)) {
            program.kill();
            program.waitForFinished(5000);
            FAIL() << "the program did not end";
        }
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit) << "it crashed or dumped core";
        EXPECT_EQ(program.exitCode(), 1);
        EXPECT_EQ(program.readAllStandardError().toStdString(),
                  "varnet-orvel: this program needs a desktop session, and no display could be "
                  "opened.\n");
        EXPECT_EQ(program.readAllStandardOutput().toStdString(), "");
    }
}

}  // namespace
}  // namespace orvel
