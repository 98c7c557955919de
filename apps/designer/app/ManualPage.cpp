#include "app/ManualPage.h"

#include "app/CommandLine.h"

#include <QRegularExpression>
#include <QStringList>

namespace {

// Plain text as roff reads it: a backslash printed as one, the dashes of option names as the
// minus signs a reader types (not hyphens), and no line taken for a request by its first
// character. Line breaks of the help's paragraphs are joined: roff fills the lines itself.
QString roff(const QString& plain)
{
    QString text = plain;
    text.replace(QLatin1Char('\\'), QStringLiteral("\\e"));
    static const QRegularExpression optionDashes(QStringLiteral("(^|[\\s(,])(--?)(?=[a-z])"));
    QString marked;
    qsizetype from = 0;
    for (auto matches = optionDashes.globalMatch(text); matches.hasNext();) {
        const QRegularExpressionMatch match = matches.next();
        marked += text.mid(from, match.capturedStart(2) - from) + QStringLiteral("\\-").repeated(match.capturedLength(2));
        from = match.capturedEnd(2);
    }
    marked += text.mid(from);
    marked.replace(QLatin1Char('\n'), QLatin1Char(' '));
    if (marked.startsWith(QLatin1Char('.')) || marked.startsWith(QLatin1Char('\'')))
        marked.prepend(QStringLiteral("\\&"));
    return marked;
}

}  // namespace

QString manualPage(const QString& version)
{
    QStringList page;
    page << QStringLiteral(".TH CVDESIGNER 1 \"\" \"cvdesigner %1\" \"User Commands\"").arg(version)
         << QStringLiteral(".SH NAME") << QStringLiteral("cvdesigner \\- form designer for the Palmo styled controls")
         << QStringLiteral(".SH SYNOPSIS") << QStringLiteral(".B cvdesigner")
         << QStringLiteral("[\\fIOPTION\\fR]... [\\fIFILE\\fR]") << QStringLiteral(".SH DESCRIPTION")
         << roff(commandLineSummary()) << QStringLiteral(".SH OPTIONS");
    for (const OptionLine& line : commandLineOptions()) {
        if (line.hidden)
            continue;
        QStringList names;
        for (const QString& name : line.names)
            names << QStringLiteral("\\fB%1\\fR").arg(roff((name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name));
        QString head = names.join(QStringLiteral(", "));
        if (!line.valueName.isEmpty())
            head += QStringLiteral(" \\fI%1\\fR").arg(roff(line.valueName));
        page << QStringLiteral(".TP") << head << roff(line.description);
    }
    page << QStringLiteral(".SH ENVIRONMENT") << roff(commandLineWithoutDisplay()) << QStringLiteral(".SH \"EXIT STATUS\"")
         << roff(commandLineExitStatus());
    return page.join(QLatin1Char('\n')) + QLatin1Char('\n');
}
