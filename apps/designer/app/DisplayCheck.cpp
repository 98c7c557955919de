#include "app/DisplayCheck.h"

#include <QtGlobal>

#include <cstdio>
#include <unistd.h>

namespace {

const char* const WorksWithoutDisplay =
    "--check, --dump and --format work without one, and so does the window with -platform offscreen";

bool guarding = false;
QString chosenPlatform;
QtMessageHandler previousHandler = nullptr;
struct HeldMessage {
    QtMsgType type;
    QByteArray category;
    QString text;
};
QList<HeldMessage>* held = nullptr;

void holdMessage(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (type == QtFatalMsg) {
        // The platform did not start. Its own warning says why ("could not connect to display
        // :1"); what the plugin loader and Qt's closing message say (plugin names and folders,
        // "reinstalling the application may fix this problem") is of no help here.
        QString why;
        for (const HeldMessage& message : *held)
            if (message.category.startsWith("qt.qpa.") && message.category != "qt.qpa.plugin") {
                why = QStringLiteral(": ") + message.text.section(QLatin1Char('\n'), 0, 0);
                break;
            }
        const QString on = chosenPlatform.isEmpty() ? QString() : QStringLiteral(" on the platform '%1'").arg(chosenPlatform);
        std::fflush(stdout);
        std::fprintf(stderr, "cvdesigner: the window cannot start%s%s; %s\n", on.toUtf8().constData(), why.toUtf8().constData(),
                     WorksWithoutDisplay);
        std::fflush(stderr);
        // Qt aborts once this handler returns; nothing of the half-made application may run.
        _exit(2);
    }
    held->append({type, QByteArray(context.category ? context.category : ""), text});
}

}  // namespace

QString namedPlatform(const QStringList& arguments)
{
    const qsizetype platform = arguments.lastIndexOf(QStringLiteral("-platform"));
    if (platform >= 0 && platform + 1 < arguments.size())
        return arguments[platform + 1];
    return qEnvironmentVariable("QT_QPA_PLATFORM");
}

QString missingDisplay(const QStringList& arguments)
{
    if (!qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return {};
    // "wayland;xcb" tries each in turn; "xcb:option" gives a platform an option.
    for (const QString& platform : namedPlatform(arguments).split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString name = platform.section(QLatin1Char(':'), 0, 0);
        if (name != QLatin1String("xcb") && !name.startsWith(QLatin1String("wayland")))
            return {};
    }
    return QStringLiteral("cvdesigner: no display (neither DISPLAY nor WAYLAND_DISPLAY is set) for the window; %1")
        .arg(QLatin1String(WorksWithoutDisplay));
}

PlatformStartGuard::PlatformStartGuard(const QStringList& arguments)
{
    Q_ASSERT(!guarding);
    guarding = true;
    chosenPlatform = namedPlatform(arguments);
    held = new QList<HeldMessage>;
    previousHandler = qInstallMessageHandler(holdMessage);
}

PlatformStartGuard::~PlatformStartGuard()
{
    release();
}

void PlatformStartGuard::release()
{
    if (!guarding)
        return;
    guarding = false;
    qInstallMessageHandler(previousHandler);
    const QList<HeldMessage> messages = std::move(*held);
    delete held;
    held = nullptr;
    for (const HeldMessage& message : messages) {
        const QMessageLogContext context(nullptr, 0, nullptr, message.category.constData());
        qt_message_output(message.type, context, message.text);
    }
}
