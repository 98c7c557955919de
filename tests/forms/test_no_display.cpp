// The window without a display, run as the built program: one line that says why and what works
// without one, exit 2, and nothing of the toolkit's plugin loader; a platform named on the
// command line still starts.
#include "support/DesignerProcess.h"

#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString Demo = QStringLiteral(CV_EXAMPLES_DIR "/demo.cvform");

TEST(DesignerWithoutDisplay, TheWindowIsRefusedInOneLineThatSaysWhatWorks)
{
    struct Case {
        const char* what;
        QStringList arguments;
        QStringList variables;
        const char* why;
    };
    const Case cases[] = {
        {"a form, no display", {Demo}, {}, "no display"},
        {"the window alone, no display", {}, {}, "no display"},
        {"a display that does not answer", {Demo}, {"DISPLAY=:1000093"}, ":1000093"},
        {"a platform named that shows on a display", {Demo}, {"QT_QPA_PLATFORM=wayland;xcb"}, "no display"},
        {"a platform that is not there", {"-platform", "nosuchplatform", Demo}, {}, "cannot start"},
    };
    for (const Case& c : cases) {
        const ProgramRun run = Designer(c.arguments, c.variables);
        EXPECT_EQ(run.exitCode, 2) << c.what << ": " << run.err.toStdString();
        EXPECT_EQ(run.out, QString()) << c.what;
        EXPECT_EQ(run.err.count(u'\n'), 1) << c.what << ", one line: " << run.err.toStdString();
        EXPECT_TRUE(run.err.endsWith(u'\n')) << c.what;
        EXPECT_TRUE(run.err.contains(QLatin1String(c.why))) << c.what << ": " << run.err.toStdString();
        for (const char* works : {"--check", "--dump", "--format", "-platform offscreen"})
            EXPECT_TRUE(run.err.contains(QLatin1String(works))) << c.what << " names " << works;
    }
}

TEST(DesignerWithoutDisplay, ANamedOffscreenPlatformStillStartsTheWindow)
{
    // The walk-through: the window, played and closed, as the run script does without a display.
    QTemporaryDir shots;
    const ProgramRun run = Designer({"-platform", "offscreen", "--walkthrough", shots.path(), Demo},
                                    {"XDG_RUNTIME_DIR=" + shots.path()});
    EXPECT_EQ(run.exitCode, 0) << run.out.toStdString() << run.err.toStdString();
    EXPECT_TRUE(run.out.startsWith("Screenshots of the walk-through are in " + shots.path())) << run.out.toStdString();
}

}  // namespace
