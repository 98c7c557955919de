// cvdesigner --check and --dump, run as the built program with no display: exit codes and output.
#include "support/DesignerProcess.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString Demo = QStringLiteral(CV_EXAMPLES_DIR "/demo.cvform");

QString WriteFile(const QTemporaryDir& dir, const char* name, const QByteArray& contents)
{
    const QString path = dir.filePath(QLatin1String(name));
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(contents);
    return path;
}

TEST(DesignerCommandLine, CheckPassesTheDemoSilentlyContrastIncluded)
{
    const ProgramRun run = Designer({QStringLiteral("--check"), QStringLiteral("--contrast"), QStringLiteral("--werror"), Demo});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, QString());
}

TEST(DesignerCommandLine, CheckPrintsEveryProblemOfEveryFile)
{
    QTemporaryDir dir;
    const QString good = WriteFile(dir, "good.cvform", R"({"format": "cvform", "version": 1, "components": []})");
    // A "%2" in a file name is text, never a place for the line number.
    const QString bad = WriteFile(dir, "bad %2.cvform",
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
                                 "OkButton.Appearance.Color=Crimson", "OkButton.Appearance.PressedColor=DarkRed",
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

TEST(DesignerCommandLine, HelpVersionAndWrongCommandLinesNeedNoDisplay)
{
    struct Case {
        QStringList arguments;
        int exitCode;
        QStringList out;  // what standard output holds
        QString err;      // what standard error holds
    };
    const Case cases[] = {
        {{"--help"}, 0, {"--check ", "--contrast ", "--werror ", "--dump ", "--format ", "--package PATH", "--version ", "--output-format FORMAT"}, ""},
        {{"--version"}, 0, {"cvdesigner 1."}, ""},
        {{"--bogus"}, 2, {}, "bogus"},
        {{"--dump", Demo, Demo}, 2, {}, "one file"},
        {{"--check", "--dump", Demo}, 2, {}, "one of"},
        {{"--contrast", Demo}, 2, {}, "--check"},
        {{"--check", "--walkthrough", "x", Demo}, 2, {}, "window"},
        {{"--check", "--output-format=xml", Demo}, 2, {}, "text or sarif"},
        {{"--dump", "--output-format=sarif", Demo}, 2, {}, "--check"},
    };
    for (const Case& c : cases) {
        const ProgramRun run = Designer(c.arguments);
        const std::string what = c.arguments.join(u' ').toStdString();
        EXPECT_EQ(run.exitCode, c.exitCode) << what << ": " << run.err.toStdString();
        for (const QString& expected : c.out)
            EXPECT_TRUE(run.out.contains(expected)) << what << " prints " << expected.toStdString();
        EXPECT_TRUE(run.err.contains(c.err)) << what << ": " << run.err.toStdString();
        if (c.exitCode == 2) {
            EXPECT_EQ(run.err.count(u'\n'), 1) << what << ": one line";
        }
    }
}

TEST(DesignerCommandLine, FormatRewritesOnlyWhatDiffersAndCheckOnlySaysSo)
{
    QTemporaryDir dir;
    const QByteArray canonical = "{\n  \"format\": \"cvform\",\n  \"version\": 1,\n  \"components\": []\n}\n";
    const QString done = WriteFile(dir, "done.cvform", canonical);
    const QString loose = WriteFile(dir, "loose.cvform", R"({"format": "cvform", "version": 1, "components": []})");
    const QByteArray badBytes = R"({"format": "cvform", "version": 1, "components": [1]})";
    const QString bad = WriteFile(dir, "bad.cvform", badBytes);
    const auto contents = [](const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    const QDateTime untouched = QFileInfo(done).lastModified();

    const ProgramRun verify = Designer({"--format", "--check", done, loose});
    EXPECT_EQ(verify.exitCode, 1);
    EXPECT_EQ(verify.out, loose + ": not formatted as the designer saves it\n");
    EXPECT_NE(contents(loose), canonical) << "--check changes nothing";

    const ProgramRun format = Designer({"--format", done, loose, bad});
    EXPECT_EQ(format.exitCode, 1) << "the bad file fails the run";
    EXPECT_TRUE(format.out.startsWith(bad + ":1:")) << format.out.toStdString();
    EXPECT_EQ(contents(loose), canonical);
    EXPECT_EQ(contents(bad), badBytes) << "a file that does not read is never written";
    EXPECT_EQ(QFileInfo(done).lastModified(), untouched);
    EXPECT_EQ(Designer({"--format", "--check", done, loose}).exitCode, 0);
}

}  // namespace
