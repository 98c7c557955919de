#include "PackageLoader.h"

#include "host/designide/DesignIntf.h"

#include <dlfcn.h>

namespace {

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
    void* handle = dlopen(path.toLocal8Bit().constData(), RTLD_NOW | RTLD_LOCAL);
    if (!handle)
        throw Exception(QStringLiteral("Cannot load package %1: %2").arg(path, QString::fromLocal8Bit(dlerror())));
    try {
        auto initialize = resolve<void (*)()>(handle, "Initialize", path);
        auto finalize = resolve<void (*)()>(handle, "Finalize", path);
        auto info = resolve<const TPackageInfoTable* (*)()>(handle, "GetPackageInfoTable", path);
        auto reg = resolve<void (*)()>(handle, "Register", path);
        initialize();
        try {
            reg();
        } catch (...) {
            UnregisterModuleClasses(reinterpret_cast<const void*>(reg));
            finalize();
            throw;
        }
        m_info = info();
        m_finalize = finalize;
        m_register = reg;
    } catch (...) {
        dlclose(handle);
        throw;
    }
    m_handle = handle;
    m_path = path;
}

void PackageLoader::unload()
{
    if (!m_handle)
        return;
    if (beforeUnload)
        beforeUnload();
    m_dropped = UnregisterModuleClasses(reinterpret_cast<const void*>(m_register));
    void* handle = m_handle;
    auto finalize = m_finalize;
    m_handle = nullptr;
    m_info = nullptr;
    m_finalize = nullptr;
    m_register = nullptr;
    m_path.clear();
    try {
        finalize();
    } catch (...) {
        dlclose(handle);
        throw;
    }
    dlclose(handle);
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
