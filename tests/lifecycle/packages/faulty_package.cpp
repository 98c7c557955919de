// A design-time package that fails in one way, chosen when it is built (FAULT_...): the loader
// must report each failure and leave the designer running with nothing of the package loaded.
// Messages are literals, so they live in this library and vanish when it is unmapped.
#include "host/designide/DesignIntf.h"
#include "host/rtl/Packages.h"

#include <QObject>

#include <new>
#include <stdexcept>

namespace {

class FaultyEditor : public TPropertyEditor {
public:
    using TPropertyEditor::TPropertyEditor;
};

// The package's own exception type: its type information lives in this library too.
class EFaultyPackage : public Exception {
public:
    using Exception::Exception;
};

const TUnitEntry Units[] = {{"FaultyPackage", nullptr, nullptr}};
const TPackageInfoTable Info = {"A package that fails on purpose", 0, Units, 1, nullptr, 0};

}  // namespace

extern "C" {

void Initialize()
{
#if defined(FAULT_INIT_RUNTIME)
    throw EFaultyPackage(QStringLiteral("the unit's initialisation refused to run"));
#elif defined(FAULT_INIT_STD)
    throw std::runtime_error("a standard error in the unit's initialisation");
#elif defined(FAULT_INIT_UNKNOWN)
    throw 42;
#endif
}

void Finalize()
{
#if defined(FAULT_FINALIZE_RUNTIME)
    throw EFaultyPackage(QStringLiteral("the unit's finalisation refused to run"));
#endif
}

const TPackageInfoTable* GetPackageInfoTable()
{
    return &Info;
}

#if !defined(FAULT_NO_REGISTER)
void Register()
{
    RegisterPropertyEditor(TypeInfo<int>(), &QObject::staticMetaObject, String(), EditorClassOf<FaultyEditor>());
#if defined(FAULT_REGISTER_OOM)
    throw std::bad_alloc();
#endif
}
#endif
}
