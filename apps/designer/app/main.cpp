// The form designer: loads the design-time package and edits the styled controls' properties.
// With --walkthrough DIR it plays a typical edit, saves a screenshot of each step into DIR and
// exits (what the run script does when there is no display). --check, --dump and --format read
// (and format) form files without a window; they, --help, --version and a wrong command line
// never need a display. The window without one is refused in one line (exit 2).

#include "app/CheckFindings.h"
#include "app/CommandLine.h"
#include "app/ContrastFix.h"
#include "app/DisplayCheck.h"
#include "app/FormatCommand.h"
#include "app/ManualPage.h"
#include "app/SarifReport.h"
#include "core/FormFile.h"
#include "core/Document.h"
#include "core/FormModel.h"
#include "views/MainWindow.h"
#include "views/ReadabilitySettings.h"
#include "app/PropertyReport.h"
#include "app/Walkthrough.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <optional>

namespace {

// The package the designer loads unless told otherwise: installed, in the private library folder
// beside the binary's; in the build tree, in lib.
QString defaultPackage()
{
    const QDir programs(QApplication::applicationDirPath());
    const QString installed = QStringLiteral(CV_PACKAGE_DIR "/" CV_PACKAGE_FILE);
    return programs.filePath(programs.exists(installed) ? installed : QStringLiteral("../lib/" CV_PACKAGE_FILE));
}

void print(std::FILE* stream, const QString& line)
{
    std::fprintf(stream, "%s\n", line.toUtf8().constData());
}

// --check FILE...: every problem of every file on standard output, exit 0 when all load. With
// --contrast also a warning for each finding of the readability report; warnings fail the check
// (exit 1) only with --werror. With --output-format=sarif the same as one SARIF log. With --fix the
// failing colours are fixed first (ContrastFix.h): its lines say each change and each warning left.
int runCheck(const CommandLine& line)
{
    bool allRead = true;
    std::vector<CheckFinding> findings;
    bool fixesLeftWarnings = false;
    const ReadabilityThresholds thresholds = readReadabilityThresholds();
    for (const QString& file : line.files) {
        const FormReadResult result = FormFile::readFormFile(file);
        allRead = allRead && result.form;
        if (result.form && line.fix) {
            const FixedForm fixed = fixForm(file, result, thresholds);
            for (const QString& text : fixed.lines)
                print(stdout, text);
            if (!fixed.failure.isEmpty())
                print(stdout, fixed.failure);
            allRead = allRead && fixed.failure.isEmpty();
            fixesLeftWarnings = fixesLeftWarnings || fixed.remaining > 0;
            continue;
        }
        const std::optional<ReadabilityThresholds> contrast = line.contrast ? std::optional(thresholds) : std::nullopt;
        for (CheckFinding& finding : checkFindings(file, result, contrast))
            findings.push_back(std::move(finding));
    }
    if (line.output == CommandLine::OutputFormat::Sarif)
        std::fputs(sarifLog(findings, QStringLiteral(CV_VERSION)).constData(), stdout);
    else
        for (const CheckFinding& finding : findings)
            print(stdout, checkFindingText(finding));
    const bool warned = fixesLeftWarnings || std::any_of(findings.begin(), findings.end(), [](const CheckFinding& finding) {
        return !checkRule(finding.rule).refuses;
    });
    return allRead && !(warned && line.werror) ? 0 : 1;
}

// --dump FILE: every property of every control on standard output, or the problems on standard
// error and exit 1.
int runDump(const CommandLine& line)
{
    const FormReadResult result = FormFile::readFormFile(line.files.front());
    for (const QString& message : result.messages())
        print(stderr, message);
    if (!result.form)
        return 1;
    for (const QString& text : FormFile::dump(*result.form))
        print(stdout, text);
    return 0;
}

// --format FILE...: see app/FormatCommand.h.
int runFormat(const CommandLine& line)
{
    return formatFiles(line.files, line.verify, [](const QString& text) { print(stdout, text); });
}

}  // namespace

namespace {

// The modes that print and end, or run without a display: their exit status; none for the window.
std::optional<int> runWithoutWindow(const CommandLine& line, int& argc, char** argv)
{
    switch (line.mode) {
    case CommandLine::Mode::Help:
        std::fputs(commandLineHelp().toUtf8().constData(), stdout);
        return 0;
    case CommandLine::Mode::Version:
        print(stdout, QStringLiteral("cvdesigner " CV_VERSION));
        return 0;
    case CommandLine::Mode::Manual:
        std::fputs(manualPage(QStringLiteral(CV_VERSION)).toUtf8().constData(), stdout);
        return 0;
    case CommandLine::Mode::Wrong:
        print(stderr, QStringLiteral("cvdesigner: %1; see cvdesigner --help").arg(line.error));
        return 2;
    case CommandLine::Mode::Check:
    case CommandLine::Mode::Dump:
    case CommandLine::Mode::Format: {
        // No display, no window, no package.
        QCoreApplication app(argc, argv);
        QCoreApplication::setApplicationName(QStringLiteral("cvdesigner"));
        // Named as the window is, so that both read the same settings.
        QCoreApplication::setOrganizationName(QStringLiteral("Palmo"));
        return line.mode == CommandLine::Mode::Check ? runCheck(line) : line.mode == CommandLine::Mode::Dump ? runDump(line) : runFormat(line);
    }
    case CommandLine::Mode::Window:
        break;
    }
    return std::nullopt;
}

// The walk-through of the window's everyday jobs, its screenshots put in the folder the command
// line names: 0 when every step did what it should.
int runWalkthrough(MainWindow& window, const CommandLine& line)
{
    if (const QString file = line.files.value(0); !file.isEmpty()) {
        const QStringList problems = window.document()->open(file);
        for (const QString& problem : problems)
            print(stderr, problem);
        if (!problems.isEmpty())
            return 1;
    }
    const QString directory = QDir(line.walkthrough).absolutePath();
    Walkthrough walk(window, directory);
    const bool ok = walk.run();
    std::printf("Screenshots of the walk-through are in %s\n", qPrintable(directory));
    for (const QString& shot : walk.screenshots())
        std::printf("  %s\n", qPrintable(QDir(directory).relativeFilePath(shot)));
    for (const QString& failure : walk.failures())
        std::printf("FAILED: %s\n", qPrintable(failure));
    return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const CommandLine line = parseCommandLine(arguments);
    if (const std::optional<int> status = runWithoutWindow(line, argc, argv))
        return *status;
    if (const QString missing = missingDisplay(arguments); !missing.isEmpty()) {
        print(stderr, missing);
        return 2;
    }
    PlatformStartGuard platformStart(arguments);
    QApplication app(argc, argv);
    platformStart.release();
    QApplication::setApplicationName(QStringLiteral("cvdesigner"));
    QApplication::setOrganizationName(QStringLiteral("Palmo"));

    MainWindow window(QDir::cleanPath(line.package.isEmpty() ? defaultPackage() : line.package));
    std::unique_ptr<PropertyReport> report;
    if (!line.report.isEmpty()) {
        report = std::make_unique<PropertyReport>(window, line.report);
        if (!report->write()) {
            print(stderr, QStringLiteral("Cannot write the report to %1").arg(line.report));
            return 2;
        }
    }
    if (!line.walkthrough.isEmpty())
        return runWalkthrough(window, line);
    window.show();
    const QString file = line.files.value(0);
    QTimer::singleShot(0, &window, [&window, file] {
        // Work a crash or a kill left unsaved comes first; a file that does not open is said in a
        // message, and the designer starts with an empty form.
        if (!window.offerRecovery() && !file.isEmpty())
            window.openForm(file);
    });
    return app.exec();
}
