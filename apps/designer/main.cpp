// The form designer: loads the design-time package and edits the styled controls' properties.
// With --walkthrough DIR it plays a typical edit, saves a screenshot of each step into DIR and
// exits (what the run script does when there is no display).

#include "MainWindow.h"
#include "PropertyReport.h"
#include "Walkthrough.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>

#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("cvdesigner"));

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
    parser.process(app);

    MainWindow window(QDir::cleanPath(parser.value(packageOption)));
    if (parser.isSet(reportOption) && !(new PropertyReport(window, parser.value(reportOption)))->write()) {
        std::fprintf(stderr, "Cannot write the report to %s\n", qPrintable(parser.value(reportOption)));
        return 2;
    }
    if (!parser.isSet(walkOption)) {
        window.show();
        return app.exec();
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
