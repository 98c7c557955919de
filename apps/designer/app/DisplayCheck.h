#pragma once
// Whether the window can start, asked before the toolkit is: Qt's default platform, finding no
// display, prints several lines of its plugin loader and aborts the program. The designer says
// so in one line instead, names what works without a display, and exits 2.

#include <QString>
#include <QStringList>

// The platform the user named: -platform NAME among the arguments, else QT_QPA_PLATFORM; empty
// for the toolkit's default.
QString namedPlatform(const QStringList& arguments);

// The line to print when the window would need a display that is not there: neither DISPLAY nor
// WAYLAND_DISPLAY set, and no platform named or only those that show on a display (xcb,
// wayland). Empty when the window may start: any other platform named (offscreen, vnc, …) is
// the user's choice and is tried.
QString missingDisplay(const QStringList& arguments);

// While one lives, the toolkit's messages are held back. Should the platform fail to start (a
// display that does not answer, a platform that is not there), the program prints one line that
// says why and exits 2 instead of aborting. release(), or the end of the guard, prints what was
// held back as it would have been printed.
class PlatformStartGuard {
public:
    explicit PlatformStartGuard(const QStringList& arguments);
    ~PlatformStartGuard();
    PlatformStartGuard(const PlatformStartGuard&) = delete;
    PlatformStartGuard& operator=(const PlatformStartGuard&) = delete;
    void release();
};
