#pragma once
// The designer's command line, read before any application object exists: --help, --version and
// a wrong command line are answered without a display, and so are the modes that only read or
// write files (--check, --dump, --format). No widget code.

#include <QString>
#include <QStringList>

#include <vector>

struct CommandLine {
    enum class Mode { Window, Check, Dump, Format, Help, Manual, Version, Wrong };
    enum class OutputFormat { Text, Sarif };
    Mode mode = Mode::Window;
    QStringList files;
    bool contrast = false;  // --check --contrast
    bool werror = false;    // --check --werror
    bool fix = false;       // --check --contrast --fix: write the fixed forms
    bool verify = false;    // --format --check: report, change nothing
    OutputFormat output = OutputFormat::Text;  // --check --output-format
    QString package;        // --package, empty for the one beside the program
    QString walkthrough;    // --walkthrough DIR
    QString report;         // --report FILE
    QString error;          // Mode::Wrong: why, in one line
};

// One option of the command line, as --help and the manual page both describe it.
struct OptionLine {
    QStringList names;    // a one-letter name takes one dash, the others two
    QString valueName;    // empty for an option without a value
    QString description;  // one sentence or two
    bool hidden = false;  // for the build, not the user: in neither --help nor the manual
};

// Every option, in the order --help lists them.
const std::vector<OptionLine>& commandLineOptions();
// What the program does, what the exit statuses mean and what works without a display: the
// paragraphs --help and the manual page print around the options.
QString commandLineSummary();
QString commandLineExitStatus();
QString commandLineWithoutDisplay();

// Reads the arguments after the program's name.
CommandLine parseCommandLine(const QStringList& arguments);
// Usage and one line per option.
QString commandLineHelp();
