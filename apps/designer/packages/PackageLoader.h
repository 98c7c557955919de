#pragma once
// Loads a design-time package with dlopen, runs its initialisation and Register, and unloads it
// again, dropping every registration it made.

#include "host/rtl/Packages.h"

#include <QString>
#include <QStringList>

#include <functional>

class PackageLoader {
public:
    PackageLoader() = default;
    ~PackageLoader();
    PackageLoader(const PackageLoader&) = delete;
    PackageLoader& operator=(const PackageLoader&) = delete;

    // Loads the package at path; throws Exception with a readable message on failure, leaving
    // nothing loaded. Whatever the package raises (the runtime's exceptions, standard ones, any
    // other type, running out of memory) becomes that Exception, its text copied out of the
    // package before the package is closed.
    void load(const QString& path);
    // Finalises and unloads the package; does nothing when none is loaded. Refuses (throws
    // Exception, changing nothing) while whyNotUnload gives a reason; when the finalisation
    // raises, the package is unloaded all the same and the error is raised afterwards.
    void unload();

    // Forgets the loaded package without finalising or closing it: for a designer going away
    // while the package's code is still on the stack (a modal dialog of it open), where running
    // its finalisation or unmapping it would pull the code from under that call.
    void abandon();

    bool isLoaded() const { return m_handle != nullptr; }
    QString path() const { return m_path; }
    QString description() const;
    QStringList units() const;
    QStringList requiredPackages() const;
    // The address of an exported symbol of the loaded package, or null.
    void* symbol(const char* name) const;
    // Registrations dropped by the last unload.
    int droppedRegistrations() const { return m_dropped; }

    // Asked before anything is unloaded: a non-empty answer says why the package cannot go now
    // (one of its editors is at work), and unload refuses with that message.
    std::function<QString()> whyNotUnload;
    // Called before the package is finalised: everything whose code lives in the package
    // (editors, dialogs) must be destroyed here.
    std::function<void()> beforeUnload;

private:
    void* m_handle = nullptr;
    QString m_path;
    const TPackageInfoTable* m_info = nullptr;
    void (*m_finalize)() = nullptr;
    void (*m_register)() = nullptr;
    int m_dropped = 0;
};
