// The registry of property editor classes.
#include "host/designide/DesignIntf.h"
#include "host/designide/VCLEditors.h"
#include "host/vcl/ColorType.h"

#include <QObject>

#include <dlfcn.h>

namespace {

struct TRegistration {
    PTypeInfo PropertyType;
    const QMetaObject* ComponentClass;
    String PropertyName;
    TPropertyEditorClass EditorClass;
};

std::vector<TRegistration>& Registrations()
{
    static std::vector<TRegistration> List;
    return List;
}

bool Inherits(const QMetaObject* Class, const QMetaObject* Base)
{
    for (; Class; Class = Class->superClass())
        if (Class == Base)
            return true;
    return false;
}

// The editor the designer uses for a type nobody registered an editor for.
TPropertyEditorClass DefaultEditorClass(const QMetaType& Type)
{
    if (Type == QMetaType::fromType<TColorValue>())
        return EditorClassOf<TColorProperty>();
    if (Type == QMetaType::fromType<bool>())
        return EditorClassOf<TBoolProperty>();
    if (Type == QMetaType::fromType<QString>())
        return EditorClassOf<TStringProperty>();
    if (QMetaType::canConvert(Type, QMetaType::fromType<int>()) &&
        QMetaType::canConvert(QMetaType::fromType<int>(), Type))
        return EditorClassOf<TIntegerProperty>();
    return nullptr;
}

const void* ModuleBaseOf(const void* Address)
{
    Dl_info Info{};
    if (dladdr(Address, &Info) == 0)
        return nullptr;
    return Info.dli_fbase;
}

}  // namespace

void RegisterPropertyEditor(PTypeInfo PropertyType, const QMetaObject* ComponentClass,
                            const String& PropertyName, TPropertyEditorClass EditorClass)
{
    if (!PropertyType.isValid() || !EditorClass)
        throw EPropertyError(String("A property editor needs a property type and an editor class"));
    Registrations().push_back({PropertyType, ComponentClass, PropertyName, EditorClass});
}

TPropertyEditorClass GetEditorClass(const QMetaObject* ComponentClass, const QMetaProperty& Prop)
{
    const String Name = String::fromLatin1(Prop.name());
    const auto& List = Registrations();
    for (auto It = List.rbegin(); It != List.rend(); ++It) {
        if (It->PropertyType != Prop.metaType())
            continue;
        if (It->ComponentClass && !Inherits(ComponentClass, It->ComponentClass))
            continue;
        if (!It->PropertyName.isEmpty() && !SameText(It->PropertyName, Name))
            continue;
        return It->EditorClass;
    }
    return DefaultEditorClass(Prop.metaType());
}

std::unique_ptr<TPropertyEditor> CreatePropertyEditor(IDesigner* Designer, std::vector<QObject*> Instances,
                                                      const QMetaProperty& Prop)
{
    if (Instances.empty() || !Instances.front())
        return nullptr;
    TPropertyEditorClass EditorClass = GetEditorClass(Instances.front()->metaObject(), Prop);
    if (!EditorClass)
        return nullptr;
    return std::unique_ptr<TPropertyEditor>(EditorClass(Designer, std::move(Instances), Prop));
}

int UnregisterModuleClasses(const void* Address)
{
    const void* Module = ModuleBaseOf(Address);
    if (!Module)
        return 0;
    auto& List = Registrations();
    const auto Before = List.size();
    std::erase_if(List, [Module](const TRegistration& R) {
        return ModuleBaseOf(reinterpret_cast<const void*>(R.EditorClass)) == Module;
    });
    return static_cast<int>(Before - List.size());
}

int RegisteredEditorCount()
{
    return static_cast<int>(Registrations().size());
}
