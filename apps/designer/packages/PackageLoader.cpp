#include "packages/PackageLoader.h"

#include "host/designide/DesignIntf.h"

#include <QFile>

#include <dlfcn.h>
#include <sys/stat.h>

#include <new>

namespace {

// A copy that shares nothing with the original: a text made in the package (a literal, say) must
// stay readable once the package has been unmapped.
QString detached(const QString& text)
{
    return QString(text.constData(), text.size());
}

// The message of the exception being handled, whatever its type, copied out of it. Called inside
// a catch block, so that the exception object (whose type may be defined in the package) is
// destroyed before the package is closed.
QString currentExceptionMessage()
{
    try {
        throw;
    } catch (const Exception& e) {
        return detached(e.Message());
    } catch (const std::bad_alloc&) {
        return QStringLiteral("out of memory");
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    } catch (...) {
        return QStringLiteral("an exception of an unknown type");
    }
}

template <typename T>
T resolve(void* handle, const char* name, const QString& path)
{
    void* address = dlsym(handle, name);
    if (!address)
        throw Exception(QStringLiteral("%1 does not export %2").arg(path, QString::fromLatin1(name)));
    return reinterpret_cast<T>(address);
}

}  // namespace

PackageLoader::~PackageLoader()
{
    try {
        unload();
    } catch (...) {
    }
}

void PackageLoader::load(const QString& path)
{
    if (m_handle)
        throw Exception(QStringLiteral("A package is loaded already: %1").arg(m_path));
    // dlopen of a FIFO would wait for a writer: only a regular file (or a link to one) is tried.
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) == 0 && !S_ISREG(status.st_mode))
        throw Exception(QStringLiteral("Cannot load package %1: it is not a regular file").arg(path));
    void* handle = dlopen(path.toLocal8Bit().constData(), RTLD_NOW | RTLD_LOCAL);
    if (!handle)
        throw Exception(QStringLiteral("Cannot load package %1: %2").arg(path, QString::fromLocal8Bit(dlerror())));
    // Nothing the package raises may leave this function as it is: its message may live in the
    // package, its type too. Each failure is turned into a message first, then the package is
    // closed, then the message is raised as the runtime's own exception.
    QString failure;
    void (*finalize)() = nullptr;
    void (*reg)() = nullptr;
    const TPackageInfoTable* info = nullptr;
    try {
        auto initialize = resolve<void (*)()>(handle, "Initialize", path);
        finalize = resolve<void (*)()>(handle, "Finalize", path);
        auto getInfo = resolve<const TPackageInfoTable* (*)()>(handle, "GetPackageInfoTable", path);
        reg = resolve<void (*)()>(handle, "Register", path);
        try {
            initialize();
        } catch (...) {
            failure = QStringLiteral("Package %1 failed to initialise: %2").arg(path, currentExceptionMessage());
        }
        if (failure.isEmpty()) {
            try {
                reg();
                info = getInfo();
            } catch (...) {
                failure = QStringLiteral("Package %1 failed to register: %2").arg(path, currentExceptionMessage());
            }
            if (!failure.isEmpty()) {
                UnregisterModuleClasses(reinterpret_cast<const void*>(reg));
                try {
                    finalize();
                } catch (...) {
                    failure += QStringLiteral("; finalising it failed too: %1").arg(currentExceptionMessage());
                }
            }
        }
    } catch (...) {
        failure = currentExceptionMessage();
    }
    if (!failure.isEmpty()) {
        if (reg)
            UnregisterModuleClasses(reinterpret_cast<const void*>(reg));
        dlclose(handle);
        throw Exception(failure);
    }
    m_handle = handle;
    m_info = info;
    m_finalize = finalize;
    m_register = reg;
    m_path = path;
}

void PackageLoader::unload()
{
    if (!m_handle)
        return;
    if (whyNotUnload)
        if (const QString reason = whyNotUnload(); !reason.isEmpty())
            throw Exception(QStringLiteral("Cannot unload %1 now. %2").arg(m_path, reason));
    if (beforeUnload)
        beforeUnload();
    m_dropped = UnregisterModuleClasses(reinterpret_cast<const void*>(m_register));
    void* handle = m_handle;
    auto finalize = m_finalize;
    const QString path = m_path;
    m_handle = nullptr;
    m_info = nullptr;
    m_finalize = nullptr;
    m_register = nullptr;
    m_path.clear();
    QString failure;
    try {
        finalize();
    } catch (...) {
        failure = QStringLiteral("Package %1 failed to finalise: %2; it was unloaded all the same")
                      .arg(path, currentExceptionMessage());
    }
    dlclose(handle);
    if (!failure.isEmpty())
        throw Exception(failure);
}

void PackageLoader::abandon()
{
    m_handle = nullptr;
    m_info = nullptr;
    m_finalize = nullptr;
    m_register = nullptr;
    m_path.clear();
}

void* PackageLoader::symbol(const char* name) const
{
    return m_handle ? dlsym(m_handle, name) : nullptr;
}

QString PackageLoader::description() const
{
    return m_info ? QString::fromUtf8(m_info->Description) : QString();
}

QStringList PackageLoader::units() const
{
    QStringList list;
    for (int i = 0; m_info && i < m_info->UnitCount; ++i)
        list << QString::fromLatin1(m_info->Units[i].Name);
    return list;
}

QStringList PackageLoader::requiredPackages() const
{
    QStringList list;
    for (int i = 0; m_info && i < m_info->RequiresCount; ++i)
        list << QString::fromLatin1(m_info->Requires[i]);
    return list;
}
