// Where a read form's controls and values are in the file, and cvdesigner --check --contrast run
// as the built program: a warning at the colour value the file sets (or at its control's object
// when the file leaves both colours at their defaults), the exit status with and without
// --werror, and --fix.
#include "support/DesignerProcess.h"
#include "core/FormFile.h"
#include "core/FormModel.h"
#include "views/ReadabilitySettings.h"

#include <QFile>
#include <QDir>
#include <QProcess>
#include <QSettings>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// Dim: Gray text on White (3.94:1) fails, on Black passes. Plain: the default White text on
// DodgerBlue (3.23:1) fails, on the default MediumBlue passes. Pop: an Ivory title on the default
// Ivory (1:1).
const QByteArray Fixture =
    "{\"format\": \"cvform\", \"version\": 1, \"components\": [\n"
    "  {\"class\": \"TPalmoButton\", \"name\": \"Dim\", \"properties\": {\n"
    "    \"Appearance.Color\": \"White\",\n"
    "    \"Appearance.PressedColor\": \"Black\",\n"
    "    \"Appearance.TextColor\": \"Gray\"}},\n"
    "  {\"class\": \"TPalmoButton\", \"name\": \"Plain\", \"properties\": {\"Appearance.Color\": \"DodgerBlue\"}},\n"
    "  {\"class\": \"TPalmoPopup\", \"name\": \"Pop\", \"properties\": {\"Appearance.TitleColor\": \"Ivory\"}}\n"
    "]}\n";

QString WriteFile(const QTemporaryDir& dir, const char* name, const QByteArray& contents)
{
    const QString path = dir.filePath(QLatin1String(name));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(contents);
    return path;
}

TEST(FormSources, TheReaderKeepsWhereControlsAndValuesAre)
{
    const FormReadResult read = FormFile::parse(Fixture, QStringLiteral("f.cvform"));
    ASSERT_TRUE(read.form);
    ASSERT_EQ(read.sources.size(), 3u);
    // Each object's "{" is column 3 of its line.
    EXPECT_EQ(read.sources[0].object, (FormPosition{2, 3}));
    EXPECT_EQ(read.sources[1].object, (FormPosition{6, 3}));
    EXPECT_EQ(read.sources[2].object, (FormPosition{7, 3}));
    // Four spaces and the 22-character key, a colon and a space: the value at column 29.
    EXPECT_EQ(read.sources[0].values.value("Appearance.TextColor"), (FormPosition{5, 29}));
    EXPECT_EQ(read.sources[0].values.value("Appearance.Color"), (FormPosition{3, 25}));
    EXPECT_EQ(read.sources[0].values.size(), 3);
    EXPECT_EQ(read.sources[1].values.keys(), QStringList{"Appearance.Color"});
    EXPECT_EQ(read.sources[2].values.value("Appearance.TitleColor"), (FormPosition{7, 83}));

    // A refused file has no form and so no sources.
    const FormReadResult refused = FormFile::parse(QByteArray(Fixture).replace("\"Plain\"", "\"Dim\""), QStringLiteral("f.cvform"));
    EXPECT_FALSE(refused.form);
    EXPECT_TRUE(refused.sources.empty());
}

// Each warning is at the colour value the file sets: Dim sets both colours of its pair, the
// first written (its Color, line 3, column 25) is where; Plain sets only its background (line 6:
// the value of "Appearance.Color" at column 81); Pop only its title's colour. A switch left at its
// defaults (LimeGreen on, LightGray off: 1.41:1) is warned at its object.
TEST(ContrastCommandLine, WarnsAtTheColourValueTheFileSets)
{
    QTemporaryDir dir;
    const QString file = WriteFile(dir, "poor.cvform", QByteArray(Fixture).replace("\n]}", ",\n  {\"class\": \"TPalmoOnOffButton\", \"name\": \"Sw\"}\n]}"));
    const ProgramRun run = Designer({QStringLiteral("--check"), QStringLiteral("--contrast"), file});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QStringList lines = run.out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 4) << run.out.toStdString();
    EXPECT_EQ(lines[0], file + ":3:25: warning: Dim Appearance.TextColor (Gray) on Appearance.Color (White): contrast 3.94:1 < 4.5:1");
    EXPECT_EQ(lines[1], file + ":6:81: warning: Plain Appearance.TextColor (White) on Appearance.Color (DodgerBlue): contrast "
                               "3.23:1 < 4.5:1");
    EXPECT_EQ(lines[2], file + ":7:83: warning: Pop Appearance.TitleColor (Ivory) on Appearance.Color (Ivory): contrast 1:1 < 4.5:1");
    EXPECT_EQ(lines[3], file + ":8:3: warning: Sw Appearance.OnColor (LimeGreen) against Appearance.OffColor (LightGray), on "
                               "against off: luminance 1.41:1 < 1.5:1 without colour");
}

// A switch whose states a protanope cannot tell apart and whose lightness is alike: a warning for
// each measure that fails, at the On colour's value (line 3: four spaces, the 20-character key, a
// colon and a space: column 27), and they fail the check with --werror as any warning does.
TEST(ContrastCommandLine, StateColoursTooAlikeWarnAtTheStateColour)
{
    QTemporaryDir dir;
    const QString file = WriteFile(dir, "switch.cvform",
                                   "{\"format\": \"cvform\", \"version\": 1, \"components\": [\n"
                                   "  {\"class\": \"TPalmoOnOffButton\", \"name\": \"Sw\", \"properties\": {\n"
                                   "    \"Appearance.OnColor\": \"SeaGreen\",\n"
                                   "    \"Appearance.OffColor\": \"Tomato\"}}\n]}\n");
    const ProgramRun run = Designer({QStringLiteral("--check"), QStringLiteral("--contrast"), QStringLiteral("--werror"), file});
    EXPECT_EQ(run.exitCode, 1);
    const QStringList lines = run.out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2) << run.out.toStdString();
    const QString start = file + ":3:27: warning: Sw Appearance.OnColor (SeaGreen) against Appearance.OffColor (Tomato), on against off: ";
    EXPECT_TRUE(lines[0].startsWith(start + "\u0394E ") && lines[0].endsWith(" < 10 under protanopia")) << lines[0].toStdString();
    EXPECT_EQ(lines[1], start + "luminance 1.44:1 < 1.5:1 without colour");
}

// --fix writes each form that needs it as --format would, with only the fixed values changed,
// says each change at the value it changed, and the fixed form passes with --werror; a form that
// needs no fix is not touched.
TEST(ContrastCommandLine, FixedFormsPassAndChangeOnlyTheFixedValues)
{
    QTemporaryDir dir;
    const QString poor = WriteFile(dir, "poor.cvform", Fixture);
    const QByteArray fine = "{\"format\": \"cvform\", \"version\": 1, \"components\": [{\"class\": \"TPalmoButton\", "
                            "\"name\": \"Ok\", \"properties\": {\"Appearance.Color\": \"Navy\", \"Appearance.PressedColor\": \"DimGray\"}}]}";
    const QString good = WriteFile(dir, "good.cvform", fine);
    const FormReadResult before = FormFile::readFormFile(poor);
    ASSERT_TRUE(before.form);

    const ProgramRun run = Designer({QStringLiteral("--check"), QStringLiteral("--contrast"), QStringLiteral("--fix"), poor, good});
    EXPECT_EQ(run.exitCode, 0) << run.out.toStdString();
    const QStringList lines = run.out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3) << run.out.toStdString();
    const QRegularExpression fixed(QRegularExpression::escape(poor) + R"(:(\d+):(\d+): fixed: (\w+)\.([\w.]+) (\w+) -> \$00[0-9A-F]{6} \((\d+(\.\d+)?):1\))");
    QStringList changedPaths;
    for (const QString& line : lines) {
        const QRegularExpressionMatch match = fixed.match(line);
        ASSERT_TRUE(match.hasMatch()) << line.toStdString();
        EXPECT_GE(match.captured(6).toDouble(), 4.5) << line.toStdString();
        changedPaths << match.captured(3) + u'.' + match.captured(4);
    }
    // Dim's Gray text, Plain's DodgerBlue and Pop's Ivory title, each changed in the smaller way,
    // each said at its value in the file as written.
    EXPECT_TRUE(lines[0].contains(": fixed: Dim.Appearance.TextColor Gray -> ")) << lines[0].toStdString();
    EXPECT_TRUE(lines[1].contains(": fixed: Plain.Appearance.Color DodgerBlue -> ")) << lines[1].toStdString();
    EXPECT_TRUE(lines[2].contains(": fixed: Pop.Appearance.TitleColor Ivory -> ")) << lines[2].toStdString();
    const FormReadResult written = FormFile::readFormFile(poor);
    ASSERT_TRUE(written.form);
    for (int i = 0; i < 3; ++i) {
        const FormPosition place = written.sources[std::size_t(i)].values.value(fixed.match(lines[i]).captured(4));
        EXPECT_EQ(fixed.match(lines[i]).captured(1).toInt(), place.line) << lines[i].toStdString();
        EXPECT_EQ(fixed.match(lines[i]).captured(2).toInt(), place.column) << lines[i].toStdString();
    }

    const ProgramRun again = Designer({QStringLiteral("--check"), QStringLiteral("--contrast"), QStringLiteral("--werror"), poor});
    EXPECT_EQ(again.exitCode, 0) << again.out.toStdString();
    EXPECT_EQ(again.out, QString());
    const ProgramRun formatted = Designer({QStringLiteral("--format"), QStringLiteral("--check"), poor});
    EXPECT_EQ(formatted.exitCode, 0) << formatted.out.toStdString();

    // Every other value is as it was.
    const FormReadResult after = FormFile::readFormFile(poor);
    ASSERT_TRUE(after.form);
    const QStringList was = FormFile::dump(*before.form), is = FormFile::dump(*after.form);
    ASSERT_EQ(was.size(), is.size());
    for (qsizetype i = 0; i < was.size(); ++i)
        if (was[i] != is[i]) {
            EXPECT_TRUE(changedPaths.contains(is[i].section(u'=', 0, 0))) << was[i].toStdString() << " became " << is[i].toStdString();
        }
    QFile untouched(good);
    ASSERT_TRUE(untouched.open(QIODevice::ReadOnly));
    EXPECT_EQ(untouched.readAll(), fine);
}

TEST(ContrastCommandLine, WarningsFailOnlyWithWerror)
{
    QTemporaryDir dir;
    const QString poor = WriteFile(dir, "poor.cvform", Fixture);
    const QString good = WriteFile(dir, "good.cvform",
                                   "{\"format\": \"cvform\", \"version\": 1, \"components\": [\n"
                                   "  {\"class\": \"TPalmoButton\", \"name\": \"Ok\", \"properties\": {\"Appearance.Color\": \"Navy\", "
                                   "\"Appearance.PressedColor\": \"DimGray\"}}\n]}\n");
    const QString broken = WriteFile(dir, "broken.cvform", "{\"format\": \"cvform\"}");

    const ProgramRun werror = Designer({QStringLiteral("--check"), QStringLiteral("--contrast"), QStringLiteral("--werror"), poor});
    EXPECT_EQ(werror.exitCode, 1);
    EXPECT_EQ(werror.out.count(QStringLiteral(": warning: ")), 3);

    const ProgramRun clean = Designer({QStringLiteral("--check"), QStringLiteral("--contrast"), QStringLiteral("--werror"), good});
    EXPECT_EQ(clean.exitCode, 0) << clean.out.toStdString();
    EXPECT_EQ(clean.out, QString());

    // Without --contrast the colours are not looked at.
    const ProgramRun plain = Designer({QStringLiteral("--check"), QStringLiteral("--werror"), poor});
    EXPECT_EQ(plain.exitCode, 0);
    EXPECT_EQ(plain.out, QString());

    // A file that does not load fails the check whatever the options.
    EXPECT_EQ(Designer({QStringLiteral("--check"), QStringLiteral("--contrast"), good, broken}).exitCode, 1);
    // --contrast belongs to --check.
    EXPECT_EQ(Designer({QStringLiteral("--dump"), QStringLiteral("--contrast"), good}).exitCode, 2);
    EXPECT_EQ(Designer({QStringLiteral("--contrast"), good}).exitCode, 2);
}

// The thresholds are the user's settings, read in one place: what the window writes is what the
// command line reads (the program's settings file, Palmo/cvdesigner.conf under the user's
// configuration folder). At ΔE 100 the navy button's pressed DimGray fails every dichromacy.
TEST(ContrastCommandLine, TheThresholdsAreTheWindowsSettings)
{
    QTemporaryDir dir;
    const QString good = WriteFile(dir, "good.cvform",
                                   "{\"format\": \"cvform\", \"version\": 1, \"components\": [{\"class\": \"TPalmoButton\", "
                                   "\"name\": \"Ok\", \"properties\": {\"Appearance.Color\": \"Navy\", \"Appearance.PressedColor\": \"DimGray\"}}]}");
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("config/Palmo")));
    {
        QSettings settings(dir.filePath(QStringLiteral("config/Palmo/cvdesigner.conf")), QSettings::IniFormat);
        const ReadabilityThresholds strict{100, 1.5};
        writeReadabilityThresholds(strict);
        EXPECT_EQ(readReadabilityThresholds(), strict);
        // The window's own file says the same as the one the command line is given below.
        for (const QString& key : QSettings().allKeys())
            settings.setValue(key, QSettings().value(key));
    }
    const ProgramRun run = Designer({QStringLiteral("--check"), QStringLiteral("--contrast"), good}, {"XDG_CONFIG_HOME=" + dir.filePath(QStringLiteral("config"))});
    EXPECT_EQ(run.out.count(QStringLiteral(" < 100 under ")), 3) << run.out.toStdString();

    // A setting that is no number, or out of range, is the default.
    QSettings().setValue(QStringLiteral("readability/minimumDeltaE"), QStringLiteral("a lot"));
    QSettings().setValue(QStringLiteral("readability/minimumLuminanceRatio"), 40);
    EXPECT_EQ(readReadabilityThresholds(), ReadabilityThresholds{});
    QSettings().remove(QStringLiteral("readability"));
    EXPECT_EQ(Designer({QStringLiteral("--check"), QStringLiteral("--contrast"), good}, {"XDG_CONFIG_HOME=" + dir.filePath(QStringLiteral("empty"))}).out,
              QString());
}

}  // namespace
