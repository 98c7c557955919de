#pragma once
// The built designer run as a program, as a user runs it from a shell with no display of any
// kind and no platform chosen, with settings of its own (never the user's: a threshold saved there
// would change what --check --contrast finds), plus the variables given ("NAME=VALUE").

#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

struct ProgramRun {
    int exitCode;
    QString out;
    QString err;
};

inline ProgramRun Designer(const QStringList& arguments, const QStringList& variables = {})
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QLatin1String(name));
    static const QTemporaryDir settings;
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), settings.path());
    for (const QString& variable : variables)
        environment.insert(variable.section(u'=', 0, 0), variable.section(u'=', 1));
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(CV_DESIGNER_PATH), arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return {-1, {}, QStringLiteral("did not finish, or crashed")};
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()), QString::fromUtf8(process.readAllStandardError())};
}
