// The property editor base classes.
#include "host/designide/DesignIntf.h"

#include <QObject>
#include <QVariant>

void IDesigner::Rename(QObject*, const String&)
{
    throw EPropertyError(String("This designer cannot rename components"));
}

TPropertyEditor::TPropertyEditor(IDesigner* Designer, std::vector<QObject*> Instances, QMetaProperty Prop)
    : FDesigner(Designer), FProp(Prop)
{
    for (QObject* Instance : Instances)
        FInstances.emplace_back(Instance);
}

TPropertyEditor::~TPropertyEditor() = default;

TEditorLifeline::TEditorLifeline(const TPropertyEditor* Editor) : FAlive(Editor->FAlive)
{
}

TPropertyAttributes TPropertyEditor::GetAttributes()
{
    return paMultiSelect | paRevertable;
}

String TPropertyEditor::GetValue()
{
    return String("(Unknown)");
}

void TPropertyEditor::SetValue(const String&)
{
}

void TPropertyEditor::GetValues(const TGetStrProc&)
{
}

void TPropertyEditor::Edit()
{
}

String TPropertyEditor::GetName() const
{
    return String::fromLatin1(FProp.name());
}

quint64 IDesigner::ValuesStamp(const TPropertyEditor*) const
{
    return 0;
}

bool TPropertyEditor::AllEqual()
{
    const quint64 Stamp = FDesigner ? FDesigner->ValuesStamp(this) : 0;
    if (Stamp != 0 && Stamp == FEqualStamp) {
        for (int I = 0; I < PropCount(); ++I)
            CheckAlive(I);
        return FEqual;
    }
    const QVariant First = FProp.read(GetComponent(0));
    bool Equal = true;
    for (int I = 1; I < PropCount() && Equal; ++I)
        Equal = FProp.read(GetComponent(I)) == First;
    FEqualStamp = Stamp;
    FEqual = Equal;
    return Equal;
}

String TPropertyEditor::GetVisualValue()
{
    return AllEqual() ? GetValue() : String();
}

void TPropertyEditor::CheckAlive(int Index) const
{
    if (Index < 0 || Index >= PropCount() || FInstances[Index].isNull())
        throw EPropertyError(String("The object of property %1 no longer exists").arg(GetName()));
}

QObject* TPropertyEditor::GetComponent(int Index) const
{
    CheckAlive(Index);
    return FInstances[Index].data();
}

int TPropertyEditor::GetOrdValueAt(int Index)
{
    QVariant Value = FProp.read(GetComponent(Index));
    if (!Value.convert(QMetaType::fromType<int>()))
        throw EPropertyError(String("Property %1 has no ordinal value").arg(GetName()));
    return Value.toInt();
}

int TPropertyEditor::GetOrdValue()
{
    return GetOrdValueAt(0);
}

std::vector<QObject*> TPropertyEditor::AllComponents() const
{
    std::vector<QObject*> Components;
    for (int I = 0; I < PropCount(); ++I)
        Components.push_back(GetComponent(I));
    return Components;
}

void TPropertyEditor::WriteAll(const QVariant& Value)
{
    const std::vector<QObject*> Components = AllComponents();
    bool Written = false;
    for (QObject* Component : Components) {
        if (!FProp.write(Component, Value)) {
            if (Written)
                Modified();
            throw EPropertyError(String("Property %1 could not be written").arg(GetName()));
        }
        Written = true;
    }
    Modified();
}

void TPropertyEditor::SetOrdValue(int Value)
{
    QVariant Stored(Value);
    if (!Stored.convert(FProp.metaType()))
        throw EPropertyError(String("Property %1 takes no ordinal value").arg(GetName()));
    WriteAll(Stored);
}

String TPropertyEditor::GetStrValue()
{
    return FProp.read(GetComponent(0)).toString();
}

void TPropertyEditor::SetStrValue(const String& Value)
{
    WriteAll(QVariant(Value));
}

void TPropertyEditor::Modified()
{
    if (FDesigner)
        FDesigner->Modified();
}

TPropertyAttributes TOrdinalProperty::GetAttributes()
{
    return TPropertyEditor::GetAttributes() | paMultiSelect;
}

String TIntegerProperty::GetValue()
{
    return IntToStr(GetOrdValue());
}

void TIntegerProperty::SetValue(const String& Value)
{
    int Parsed = 0;
    if (!TryStrToInt(Value, Parsed))
        throw EPropertyError(String("%1 is not a valid integer value").arg(QuoteForMessage(Value)));
    SetOrdValue(Parsed);
}

TPropertyAttributes TBoolProperty::GetAttributes()
{
    return TOrdinalProperty::GetAttributes() | paValueList | paSortList;
}

String TBoolProperty::GetValue()
{
    return GetOrdValue() ? String("True") : String("False");
}

void TBoolProperty::SetValue(const String& Value)
{
    if (SameText(Value, String("True")))
        SetOrdValue(1);
    else if (SameText(Value, String("False")))
        SetOrdValue(0);
    else
        throw EPropertyError(String("Invalid property value"));
}

void TBoolProperty::GetValues(const TGetStrProc& Proc)
{
    Proc(String("False"));
    Proc(String("True"));
}

String TStringProperty::GetValue()
{
    return GetStrValue();
}

void TStringProperty::SetValue(const String& Value)
{
    SetStrValue(Value);
}

TPropertyAttributes TComponentNameProperty::GetAttributes()
{
    return TStringProperty::GetAttributes() & ~paMultiSelect;
}

void TComponentNameProperty::SetValue(const String& Value)
{
    if (PropCount() != 1)
        throw EPropertyError(String("Only one component at a time can be renamed"));
    if (!Designer())
        throw EPropertyError(String("This component cannot be renamed here"));
    QObject* Component = GetComponent(0);
    Designer()->Rename(Component, Value);
    Modified();
}
