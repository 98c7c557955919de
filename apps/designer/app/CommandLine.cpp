#include "app/CommandLine.h"

#include <QCommandLineParser>

#include <algorithm>
#include <vector>

const std::vector<OptionLine>& commandLineOptions()
{
    static const std::vector<OptionLine> options = {
        {{"check"}, {}, "Read each FILE and print its problems as FILE:LINE:COLUMN: message; exit 1 if any."},
        {{"contrast"}, {}, "With --check: also warn of text colours below 4.5:1 on their background and of state colours too alike for colour-blind eyes."},
        {{"werror"}, {}, "With --check: exit 1 on warnings too."},
        {{"output-format"}, "FORMAT", "With --check: text (the default), or sarif for SARIF 2.1.0 on standard output, as code scanning services read it."},
        {{"fix"}, {}, "With --check --contrast: change each failing colour to the nearest that passes, write the forms that change as --format would, and print each change."},
        {{"dump"}, {}, "Print every property of every control of one FILE, one line each."},
        {{"format"}, {}, "Rewrite each FILE as the designer saves it; with --check, only list those that differ."},
        {{"package"}, "PATH", "The design-time package to load (default: the one installed beside the designer)."},
        {{"walkthrough"}, "DIR", "Play a typical edit, save a screenshot of each step into DIR, and exit."},
        {{"report"}, "FILE", "Keep FILE up to date with every property's value, one line each."},
        {{"h", "help"}, {}, "Print this help and exit."},
        {{"v", "version"}, {}, "Print the version and exit."},
        {{"help-man"}, {}, "Print the manual page (roff) and exit.", true},
    };
    return options;
}

QString commandLineSummary()
{
    return QStringLiteral(
        "Form designer for the Palmo styled controls: opens FILE (a .cvform) in a window, or\n"
        "checks, lists or formats form files without one.");
}

QString commandLineExitStatus()
{
    return QStringLiteral("0 success, 1 problems found, 2 a wrong command line or no display for the window.");
}

QString commandLineWithoutDisplay()
{
    return QStringLiteral(
        "The window needs a display (DISPLAY or WAYLAND_DISPLAY). Without one, --check, --dump,\n"
        "--format, --help and --version work, and so does the window on -platform offscreen.");
}

namespace {

// The toolkit's own options (-platform offscreen, -style fusion, …), which it takes out of the
// arguments itself once the window's application object exists: left to it.
QStringList withoutToolkitOptions(const QStringList& arguments)
{
    static const QStringList withValue = {"-platform", "-platformpluginpath", "-platformtheme", "-plugin", "-style",
                                          "-stylesheet", "-display", "-geometry", "-qwindowgeometry", "-qwindowicon",
                                          "-qwindowtitle", "-session"};
    static const QStringList alone = {"-reverse", "-widgetcount", "-nograb", "-dograb", "-sync"};
    QStringList kept;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        if (withValue.contains(arguments[i]))
            ++i;
        else if (!alone.contains(arguments[i]))
            kept << arguments[i];
    }
    return kept;
}

// Why the options given do not go together, or ""; takes in the output format.
QString whyNotTogether(const QCommandLineParser& parser, CommandLine& result)
{
    const bool check = parser.isSet(QStringLiteral("check"));
    const bool dump = parser.isSet(QStringLiteral("dump"));
    const bool format = parser.isSet(QStringLiteral("format"));
    const bool windowOptions = !result.package.isEmpty() || !result.walkthrough.isEmpty() || !result.report.isEmpty();
    if (dump + format + (check && !format) > 1)
        return QStringLiteral("choose one of --check, --dump and --format");
    if ((result.contrast || result.werror) && !(check && !format))
        return QStringLiteral("--contrast and --werror go with --check");
    if (parser.isSet(QStringLiteral("output-format"))) {
        const QString output = parser.value(QStringLiteral("output-format"));
        if (!(check && !format))
            return QStringLiteral("--output-format goes with --check");
        if (output == QLatin1String("sarif"))
            result.output = CommandLine::OutputFormat::Sarif;
        else if (output != QLatin1String("text"))
            return QStringLiteral("--output-format takes text or sarif, not '%1'").arg(output);
    }
    if (result.fix && !(check && !format && result.contrast))
        return QStringLiteral("--fix goes with --check --contrast");
    if (result.fix && result.output == CommandLine::OutputFormat::Sarif)
        return QStringLiteral("--fix prints its changes as text, not --output-format=sarif");
    if ((check || dump || format) && windowOptions)
        return QStringLiteral("--package, --walkthrough and --report are for the window");
    return QString();
}

}  // namespace

CommandLine parseCommandLine(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    for (const OptionLine& line : commandLineOptions())
        parser.addOption(QCommandLineOption(line.names, line.description, line.valueName));
    CommandLine result;
    const auto wrong = [&result](const QString& why) {
        result.mode = CommandLine::Mode::Wrong;
        result.error = why.endsWith(QLatin1Char('.')) ? why.chopped(1) : why;
        return result;
    };
    if (!parser.parse(QStringList{QStringLiteral("cvdesigner")} + withoutToolkitOptions(arguments)))
        return wrong(parser.errorText());
    if (parser.isSet(QStringLiteral("help"))) {
        result.mode = CommandLine::Mode::Help;
        return result;
    }
    if (parser.isSet(QStringLiteral("version"))) {
        result.mode = CommandLine::Mode::Version;
        return result;
    }
    if (parser.isSet(QStringLiteral("help-man"))) {
        result.mode = CommandLine::Mode::Manual;
        return result;
    }
    result.files = parser.positionalArguments();
    result.contrast = parser.isSet(QStringLiteral("contrast"));
    result.werror = parser.isSet(QStringLiteral("werror"));
    result.fix = parser.isSet(QStringLiteral("fix"));
    result.package = parser.value(QStringLiteral("package"));
    result.walkthrough = parser.value(QStringLiteral("walkthrough"));
    result.report = parser.value(QStringLiteral("report"));
    if (const QString why = whyNotTogether(parser, result); !why.isEmpty())
        return wrong(why);
    const bool check = parser.isSet(QStringLiteral("check"));
    const bool dump = parser.isSet(QStringLiteral("dump"));
    const bool format = parser.isSet(QStringLiteral("format"));
    if (format) {
        result.mode = CommandLine::Mode::Format;
        result.verify = check;
    } else if (check) {
        result.mode = CommandLine::Mode::Check;
    } else if (dump) {
        result.mode = CommandLine::Mode::Dump;
        if (result.files.size() != 1)
            return wrong(QStringLiteral("--dump takes one file"));
    }
    if (result.mode != CommandLine::Mode::Window && result.files.isEmpty())
        return wrong(QStringLiteral("no file given"));
    if (result.mode == CommandLine::Mode::Window && result.files.size() > 1)
        return wrong(QStringLiteral("the designer opens one form at a time"));
    return result;
}

QString commandLineHelp()
{
    QString help = QStringLiteral("Usage: cvdesigner [OPTION]... [FILE]\n") + commandLineSummary() + QStringLiteral("\n\n");
    int width = 0;
    QStringList heads;
    std::vector<const OptionLine*> shown;
    for (const OptionLine& line : commandLineOptions()) {
        if (line.hidden)
            continue;
        shown.push_back(&line);
        QStringList names;
        for (const QString& name : line.names)
            names << (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
        QString head = names.join(QStringLiteral(", "));
        if (!line.valueName.isEmpty())
            head += QLatin1Char(' ') + line.valueName;
        width = std::max(width, static_cast<int>(head.size()));
        heads << head;
    }
    for (std::size_t i = 0; i < shown.size(); ++i)
        help += QStringLiteral("  %1  %2\n").arg(heads[static_cast<int>(i)], -width).arg(shown[i]->description);
    help += QStringLiteral("\n") + commandLineWithoutDisplay() + QStringLiteral("\n");
    help += QStringLiteral("\nExit status: ") + commandLineExitStatus() + QStringLiteral("\n");
    return help;
}
