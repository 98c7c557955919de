#pragma once
// The one QApplication of a fuzz target that drives widgets: on the offscreen platform, with
// Qt's warnings each shown once (the same one for every input would bury libFuzzer's output).
// Include it from the target's one source file only: it defines the leak checker's suppressions.

#include <QApplication>
#include <QSet>
#include <QString>

#include <cstdio>
#include <cstdlib>

namespace fuzz {

inline void QuietRepeats(QtMsgType Type, const QMessageLogContext&, const QString& Message)
{
    static QSet<QString> Seen;
    if (Type == QtFatalMsg) {
        std::fprintf(stderr, "Qt fatal: %s\n", qPrintable(Message));
        std::abort();
    }
    if (Type == QtDebugMsg || Type == QtInfoMsg || Seen.contains(Message))
        return;
    Seen.insert(Message);
    std::fprintf(stderr, "Qt: %s\n", qPrintable(Message));
}

// Creates the application from LLVMFuzzerInitialize's arguments. It is kept to the end of the
// process: destroying it from an exit handler would run after Qt's own globals are gone.
inline void StartApplication(int* argc, char*** argv, const char* Name)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(QuietRepeats);
    static int Argc = 1;
    static char* Argv[] = {(*argc > 0 ? (*argv)[0] : const_cast<char*>(Name)), nullptr};
    new QApplication(Argc, Argv);
}

}  // namespace fuzz

// Font configuration keeps a few allocations of its own to the end of the process, whatever Qt
// does; they are not this program's leaks.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}
