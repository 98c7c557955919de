#pragma once
// Designer services: the property editor protocol, the drawing hooks the property inspector looks
// for, and the registry that maps (property type, object class, property name) to an editor class.

#include "host/rtl/Classes.h"
#include "host/vcl/Graphics.h"

#include <QMetaProperty>
#include <QMetaType>
#include <QPointer>

#include <memory>
#include <vector>

class QObject;

// Raised for a value a property does not take.
class EPropertyError : public Exception {
public:
    using Exception::Exception;
};

enum TPropertyAttribute : unsigned {
    paValueList = 1u << 0,
    paSubProperties = 1u << 1,
    paDialog = 1u << 2,
    paMultiSelect = 1u << 3,
    paAutoUpdate = 1u << 4,
    paSortList = 1u << 5,
    paReadOnly = 1u << 6,
    paRevertable = 1u << 7,
};
using TPropertyAttributes = unsigned;

// What an editor tells the designer that owns it.
class TPropertyEditor;

class IDesigner {
public:
    virtual ~IDesigner() = default;
    // A property of the edited objects has changed.
    virtual void Modified() = 0;
    // Gives a component a new name, or raises EPropertyError saying why the designer refuses it
    // (empty, not an identifier, used by another component). The default refuses every rename.
    virtual void Rename(QObject* Component, const String& NewName);
    // A number that changes whenever a value of the editor's property may have changed on any of
    // its objects, so that the editor need not read them all again before then; 0 when the
    // designer keeps no such count (the values are read every time).
    virtual quint64 ValuesStamp(const TPropertyEditor* Editor) const;
};

// The type information of a property type.
using PTypeInfo = QMetaType;
template <typename T>
PTypeInfo TypeInfo()
{
    return QMetaType::fromType<T>();
}

// Tells whether a property editor still exists. An editor's own code that runs an event loop (a
// modal dialog in Edit) takes one before the loop: anything may happen in the loop, the editor's
// owner freeing it included, and the editor must not be touched afterwards if it is gone.
class TEditorLifeline {
public:
    explicit TEditorLifeline(const TPropertyEditor* Editor);
    explicit operator bool() const { return !FAlive.expired(); }

private:
    std::weak_ptr<const void> FAlive;
};

// Edits one property of one or more objects (the designer's selection).
class TPropertyEditor {
public:
    TPropertyEditor(IDesigner* Designer, std::vector<QObject*> Instances, QMetaProperty Prop);
    virtual ~TPropertyEditor();
    TPropertyEditor(const TPropertyEditor&) = delete;
    TPropertyEditor& operator=(const TPropertyEditor&) = delete;

    virtual TPropertyAttributes GetAttributes();
    virtual String GetValue();
    virtual void SetValue(const String& Value);
    virtual void GetValues(const TGetStrProc& Proc);
    virtual void Edit();

    String GetName() const;
    // The value text when every edited object has the same value, else the empty text.
    String GetVisualValue();
    bool AllEqual();
    QObject* GetComponent(int Index) const;
    int PropCount() const { return static_cast<int>(FInstances.size()); }
    const QMetaProperty& Property() const { return FProp; }

protected:
    IDesigner* Designer() const { return FDesigner; }
    int GetOrdValue();
    int GetOrdValueAt(int Index);
    void SetOrdValue(int Value);
    String GetStrValue();
    void SetStrValue(const String& Value);
    void Modified();

private:
    friend class TEditorLifeline;
    void CheckAlive(int Index) const;
    // Every edited object, or an error naming the property when one of them has gone: a value is
    // written to all of them or to none.
    std::vector<QObject*> AllComponents() const;
    // Writes Value to every edited object, then tells the designer; all or nothing as far as the
    // objects go, and the designer hears of every write made even when a later one fails.
    void WriteAll(const QVariant& Value);

    std::shared_ptr<const void> FAlive = std::make_shared<int>(0);
    IDesigner* FDesigner;
    // AllEqual's answer, and the designer's stamp of the values it was worked out for.
    quint64 FEqualStamp = 0;
    bool FEqual = false;
    std::vector<QPointer<QObject>> FInstances;
    QMetaProperty FProp;
};

class TOrdinalProperty : public TPropertyEditor {
public:
    using TPropertyEditor::TPropertyEditor;
    TPropertyAttributes GetAttributes() override;
};

class TIntegerProperty : public TOrdinalProperty {
public:
    using TOrdinalProperty::TOrdinalProperty;
    String GetValue() override;
    void SetValue(const String& Value) override;
};

class TBoolProperty : public TOrdinalProperty {
public:
    using TOrdinalProperty::TOrdinalProperty;
    TPropertyAttributes GetAttributes() override;
    String GetValue() override;
    void SetValue(const String& Value) override;
    void GetValues(const TGetStrProc& Proc) override;
};

class TStringProperty : public TPropertyEditor {
public:
    using TPropertyEditor::TPropertyEditor;
    String GetValue() override;
    void SetValue(const String& Value) override;
};

// Edits a component's name, which only the designer can change: it alone knows the other names.
// One component at a time.
class TComponentNameProperty : public TStringProperty {
public:
    using TStringProperty::TStringProperty;
    TPropertyAttributes GetAttributes() override;
    void SetValue(const String& Value) override;
};

// Drawing hooks the property inspector looks for on an editor (by dynamic_cast).
class ICustomPropertyDrawing {
public:
    virtual ~ICustomPropertyDrawing() = default;
    virtual void PropDrawName(TCanvas& ACanvas, const TRect& ARect, bool ASelected) = 0;
    virtual void PropDrawValue(TCanvas& ACanvas, const TRect& ARect, bool ASelected) = 0;
};

class ICustomPropertyListDrawing {
public:
    virtual ~ICustomPropertyListDrawing() = default;
    virtual void ListMeasureWidth(const String& Value, TCanvas& ACanvas, int& AWidth) = 0;
    virtual void ListMeasureHeight(const String& Value, TCanvas& ACanvas, int& AHeight) = 0;
    virtual void ListDrawValue(const String& Value, TCanvas& ACanvas, const TRect& ARect, bool ASelected) = 0;
};

// An editor class: creates an editor of its class for the given objects and property.
using TPropertyEditorClass = TPropertyEditor* (*)(IDesigner*, std::vector<QObject*>, QMetaProperty);

template <typename TEditor>
TPropertyEditorClass EditorClassOf()
{
    return [](IDesigner* D, std::vector<QObject*> I, QMetaProperty P) -> TPropertyEditor* {
        return new TEditor(D, std::move(I), P);
    };
}

// Tells the designer to edit properties of PropertyType on objects of ComponentClass (or any class
// when null, including classes derived from it) named PropertyName (any name when empty) with
// EditorClass. A later registration wins over an earlier one.
void RegisterPropertyEditor(PTypeInfo PropertyType, const QMetaObject* ComponentClass,
                            const String& PropertyName, TPropertyEditorClass EditorClass);

// The editor class for a property of an object: the latest matching registration, else the
// designer's default for the property's type (null when the type has none).
TPropertyEditorClass GetEditorClass(const QMetaObject* ComponentClass, const QMetaProperty& Prop);

// Creates the editor for a property of the given objects (all of one class), or null.
std::unique_ptr<TPropertyEditor> CreatePropertyEditor(IDesigner* Designer, std::vector<QObject*> Instances,
                                                      const QMetaProperty& Prop);

// Drops every registration whose editor class lives in the module (shared library) that contains
// Address; the package loader calls it before it unloads a package. Returns the number dropped.
int UnregisterModuleClasses(const void* Address);

// The number of registrations, for the designer's package view and for tests.
int RegisteredEditorCount();
