#pragma once
// The designer's command line, read before any application object exists: --help, --version and
// a wrong command line are answered without a display, and so are the modes that only read or
// write files (--check, --dump, --format). No widget code.

#include <QString>
#include <QStringList>

struct CommandLine {
    enum class Mode { Window, Check, Dump, Format, Help, Version, Wrong };
    Mode mode = Mode::Window;
    QStringList files;
    bool contrast = false;  // --check --contrast
    bool werror = false;    // --check --werror
    bool fix = false;       // --check --contrast --fix: write the fixed forms
    bool verify = false;    // --format --check: report, change nothing
    QString package;        // --package, empty for the one beside the program
    QString walkthrough;    // --walkthrough DIR
    QString report;         // --report FILE
    QString error;          // Mode::Wrong: why, in one line
};

// Reads the arguments after the program's name.
CommandLine parseCommandLine(const QStringList& arguments);
// Usage and one line per option.
QString commandLineHelp();
