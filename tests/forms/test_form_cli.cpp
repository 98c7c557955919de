// cvdesigner --check and --dump, run as the built program with no display: exit codes and output.
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct ProgramRun {
    int exitCode;
    QString out;
    QString err;
};

ProgramRun Designer(const QStringList& arguments)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // No display of any kind and no platform chosen: the window is never created.
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QLatin1String(name));
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(CV_DESIGNER_PATH), arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return {-1, {}, QStringLiteral("did not finish")};
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()), QString::fromUtf8(process.readAllStandardError())};
}

const QString Demo = QStringLiteral(CV_EXAMPLES_DIR "/demo.cvform");

QString WriteFile(const QTemporaryDir& dir, const char* name, const QByteArray& contents)
{
    const QString path = dir.filePath(QLatin1String(name));
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(contents);
    return path;
}

TEST(DesignerCommandLine, CheckPassesTheDemoSilently)
{
    const ProgramRun run = Designer({QStringLiteral("--check"), Demo});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, QString());
}

TEST(DesignerCommandLine, CheckPrintsEveryProblemOfEveryFile)
{
    QTemporaryDir dir;
    const QString good = WriteFile(dir, "good.cvform", R"({"format": "cvform", "version": 1, "components": []})");
    const QString bad = WriteFile(dir, "bad.cvform",
                                  "{\"format\": \"cvform\", \"version\": 1, \"components\": [\n"
                                  "  {\"class\": \"TPalmoTrackbar\", \"name\": \"T\", \"properties\": {\"Max\": \"x\"}},\n"
                                  "  {\"class\": \"TPalmoDial\", \"name\": \"D\"}\n]}\n");
    const ProgramRun run = Designer({QStringLiteral("--check"), good, bad, Demo});
    EXPECT_EQ(run.exitCode, 1);
    // Max's value: line 2, column 66; the class TPalmoDial: line 3, column 13.
    const QStringList lines = run.out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2) << run.out.toStdString();
    EXPECT_EQ(lines[0], bad + QStringLiteral(":2:66: Max needs an integer, not a string"));
    EXPECT_TRUE(lines[1].startsWith(bad + QStringLiteral(":3:13: unknown class 'TPalmoDial'"))) << lines[1].toStdString();

    EXPECT_EQ(Designer({QStringLiteral("--check"), good}).exitCode, 0);
    EXPECT_EQ(Designer({QStringLiteral("--check")}).exitCode, 2);
}

TEST(DesignerCommandLine, DumpListsEveryPropertyDefaultsIncluded)
{
    const ProgramRun run = Designer({QStringLiteral("--dump"), Demo});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QStringList lines = run.out.split(u'\n', Qt::SkipEmptyParts);
    // Seven controls: 8 common properties each, plus per class its own and its appearance's:
    // button 1 + 7, on/off 2 + 5, trackbar 2 + 5, list item 3 + 6, page indicator 1 + 4,
    // spinner 1 + 6 + Count + 2 slots × 4, popup 2 + 6.
    EXPECT_EQ(lines.size(), 7 * 8 + 8 + 7 + 7 + 9 + 5 + 16 + 8);
    for (const char* expected : {"OkButton.Name=OkButton", "OkButton.Left=16", "OkButton.Width=96",
                                 "OkButton.Appearance.Color=Tomato", "OkButton.Appearance.PressedColor=FireBrick",
                                 "OkButton.Appearance.BorderColor=$00123456", "OkButton.Appearance.ShadowColor=clGray",
                                 "OkButton.Appearance.TextColor=White", "WifiSwitch.Appearance.Checked=False",
                                 "TimeSpinner.Slots.Count=2", "TimeSpinner.Slots[1].SelectedTextColor=Blue",
                                 "TimeSpinner.Appearance.FrameColor=Navy", "ConfirmPopup.Visible=False"})
        EXPECT_TRUE(lines.contains(QLatin1String(expected))) << expected;
    EXPECT_EQ(lines.front(), QStringLiteral("OkButton.Name=OkButton"));
    EXPECT_EQ(lines.back(), QStringLiteral("ConfirmPopup.Appearance.Title=Confirm"));
}

TEST(DesignerCommandLine, DumpOfABadFileFailsWithTheCheckMessages)
{
    QTemporaryDir dir;
    const QString bad = WriteFile(dir, "bad.cvform", "{\"format\": \"cvform\", \"version\": 9, \"components\": []}");
    const ProgramRun run = Designer({QStringLiteral("--dump"), bad});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, QString());
    EXPECT_EQ(run.err, bad + QStringLiteral(":1:33: version 9 is newer than this designer reads (up to 1)\n"));
}

}  // namespace
