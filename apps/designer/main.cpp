// The form designer: loads the design-time package and edits the styled controls' properties.
// With --walkthrough DIR it plays a typical edit, saves a screenshot of each step into DIR and
// exits (what the run script does when there is no display). With --check FILE... or --dump FILE
// it reads form files without opening a window (no display needed) and exits.

#include "ContrastCheck.h"
#include "FormFile.h"
#include "Document.h"
#include "FormModel.h"
#include "MainWindow.h"
#include "PropertyReport.h"
#include "Walkthrough.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QTimer>

#include <cstdio>
#include <memory>
#include <cstring>

namespace {

// "FILE:LINE:COLUMN: warning: …" for each pair of colours below 4.5:1, at the text colour's value
// in the file, or at the control's object when the file leaves that colour at its default.
QStringList ContrastWarnings(const QString& file, const FormReadResult& result)
{
    QStringList warnings;
    for (const ContrastPair& pair : ContrastCheck::failing(*result.form)) {
        const FormControlSource& source = result.sources.at(static_cast<std::size_t>(result.form->indexOf(pair.control)));
        const FormPosition at = source.values.value(pair.textPath, source.object);
        warnings << QStringLiteral("%1:%2:%3: warning: %4").arg(file).arg(at.line).arg(at.column).arg(ContrastCheck::describe(pair));
    }
    return warnings;
}

// --check FILE...: every problem of every file on standard output, exit 0 when all load. With
// --contrast also a warning for each text colour that reads poorly on its background; warnings
// fail the check (exit 1) only with --werror.
// --dump FILE: every property of every control on standard output, or the problems on standard
// error and exit 1. Both run on a QCoreApplication: no display, no window, no package.
int runWithoutWindow(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("cvdesigner"));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Checks or lists form files"));
    parser.addHelpOption();
    QCommandLineOption checkOption(QStringLiteral("check"), QStringLiteral("Read each file and print its problems."));
    QCommandLineOption dumpOption(QStringLiteral("dump"), QStringLiteral("Print every property of every control of the file."));
    QCommandLineOption contrastOption(QStringLiteral("contrast"),
                                      QStringLiteral("With --check: also warn of text colours below 4.5:1 on their background."));
    QCommandLineOption werrorOption(QStringLiteral("werror"), QStringLiteral("With --check: fail (exit 1) on warnings too."));
    parser.addOption(checkOption);
    parser.addOption(dumpOption);
    parser.addOption(contrastOption);
    parser.addOption(werrorOption);
    parser.addPositionalArgument(QStringLiteral("files"), QStringLiteral("Form files (.cvform)."), QStringLiteral("FILE..."));
    parser.process(app);
    const QStringList files = parser.positionalArguments();
    const bool checkOnly = parser.isSet(contrastOption) || parser.isSet(werrorOption);
    if (parser.isSet(checkOption) == parser.isSet(dumpOption) || files.isEmpty() || (parser.isSet(dumpOption) && files.size() != 1)
        || (checkOnly && !parser.isSet(checkOption))) {
        std::fprintf(stderr, "usage: cvdesigner --check [--contrast] [--werror] FILE... | --dump FILE\n");
        return 2;
    }
    if (parser.isSet(checkOption)) {
        bool allRead = true;
        bool warned = false;
        for (const QString& file : files) {
            const FormReadResult result = FormFile::read(file);
            allRead = allRead && result.form;
            for (const QString& message : result.messages())
                std::printf("%s\n", message.toUtf8().constData());
            if (result.form && parser.isSet(contrastOption))
                for (const QString& warning : ContrastWarnings(file, result)) {
                    std::printf("%s\n", warning.toUtf8().constData());
                    warned = true;
                }
        }
        return allRead && !(warned && parser.isSet(werrorOption)) ? 0 : 1;
    }
    const FormReadResult result = FormFile::read(files.front());
    for (const QString& message : result.messages())
        std::fprintf(stderr, "%s\n", message.toUtf8().constData());
    if (!result.form)
        return 1;
    for (const QString& line : FormFile::dump(*result.form))
        std::printf("%s\n", line.toUtf8().constData());
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--check") == 0 || std::strcmp(argv[i], "--dump") == 0 || std::strcmp(argv[i], "--contrast") == 0
            || std::strcmp(argv[i], "--werror") == 0)
            return runWithoutWindow(argc, argv);

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("cvdesigner"));
    QApplication::setOrganizationName(QStringLiteral("Palmo"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Form designer for the Palmo styled controls"));
    parser.addHelpOption();
    QCommandLineOption packageOption(QStringLiteral("package"), QStringLiteral("Design-time package to load."),
                                     QStringLiteral("path"),
                                     QDir(QApplication::applicationDirPath()).filePath(QStringLiteral("../lib/" CV_PACKAGE_FILE)));
    QCommandLineOption walkOption(QStringLiteral("walkthrough"),
                                  QStringLiteral("Play a typical edit, save screenshots into dir, and exit."),
                                  QStringLiteral("dir"));
    QCommandLineOption reportOption(QStringLiteral("report"),
                                    QStringLiteral("Keep file up to date with every property's value, one line each."),
                                    QStringLiteral("file"));
    parser.addOption(packageOption);
    parser.addOption(walkOption);
    parser.addOption(reportOption);
    parser.addPositionalArgument(QStringLiteral("file"), QStringLiteral("Form file to open (.cvform)."), QStringLiteral("[FILE]"));
    parser.process(app);
    if (parser.positionalArguments().size() > 1) {
        std::fprintf(stderr, "cvdesigner opens one form at a time\n");
        return 2;
    }

    MainWindow window(QDir::cleanPath(parser.value(packageOption)));
    const QString file = parser.positionalArguments().value(0);
    std::unique_ptr<PropertyReport> report;
    if (parser.isSet(reportOption)) {
        report = std::make_unique<PropertyReport>(window, parser.value(reportOption));
        if (!report->write()) {
            std::fprintf(stderr, "Cannot write the report to %s\n", qPrintable(parser.value(reportOption)));
            return 2;
        }
    }
    if (!parser.isSet(walkOption)) {
        window.show();
        QTimer::singleShot(0, &window, [&window, file] {
            // Work a crash or a kill left unsaved comes first; a file that does not open is said
            // in a message, and the designer starts with an empty form.
            if (!window.offerRecovery() && !file.isEmpty())
                window.openForm(file);
        });
        return app.exec();
    }

    if (!file.isEmpty()) {
        const QStringList problems = window.document()->open(file);
        for (const QString& problem : problems)
            std::fprintf(stderr, "%s\n", problem.toUtf8().constData());
        if (!problems.isEmpty())
            return 1;
    }
    const QString directory = QDir(parser.value(walkOption)).absolutePath();
    Walkthrough walk(window, directory);
    const bool ok = walk.run();
    std::printf("Screenshots of the walk-through are in %s\n", qPrintable(directory));
    for (const QString& shot : walk.screenshots())
        std::printf("  %s\n", qPrintable(QDir(directory).relativeFilePath(shot)));
    for (const QString& failure : walk.failures())
        std::printf("FAILED: %s\n", qPrintable(failure));
    return ok ? 0 : 1;
}
