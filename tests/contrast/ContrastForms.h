#pragma once
// A form built to have exactly three pairs of colours below 4.5:1, every colour set explicitly:
//   Button: Black on White (21:1) and Black on DimGray #696969 (3.83:1, fails);
//   List:   Black on White and on Gray #808080 (5.32:1); Gray detail on White (3.95:1, fails) and
//           Gray detail on Gray (1:1, fails);
//   Picker: spinner with one slot, every text White on Black or Black on White (21:1);
//   Note:   popup, White title and text on Black (21:1).

#include "core/FormModel.h"
#include "core/FormProperties.h"

#include "host/cvcolor/CVColor.h"
#include "host/palmo/PalmoControl.h"

#include <QVariant>

// Writes a property by its path, as the inspector's editors write it.
inline bool SetPath(TPalmoControl& Control, const QString& Path, const QVariant& Value)
{
    for (const FormProperty& Property : propertiesOf(&Control))
        if (Property.path == Path)
            return Property.property.write(Property.owner, Value);
    return false;
}

inline bool SetColor(TPalmoControl& Control, const QString& Path, const char* Value)
{
    return SetPath(Control, Path, QVariant::fromValue(TCVColor{StringToCVColor(QLatin1String(Value))}));
}

// Adds a control of the class under Name, with the colours given as path, value pairs.
inline TPalmoControl* AddColored(FormModel& Form, const char* ClassName, const char* Name,
                                 std::initializer_list<std::pair<const char*, const char*>> Colors)
{
    TPalmoControl* Control = Form.add(QLatin1String(ClassName));
    if (!Control || !Form.rename(Control, QLatin1String(Name)).isEmpty())
        return nullptr;
    for (const auto& [Path, Value] : Colors)
        if (!SetColor(*Control, QLatin1String(Path), Value))
            return nullptr;
    return Control;
}

inline bool BuildThreeFailures(FormModel& Form)
{
    if (!AddColored(Form, "TPalmoButton", "Button",
                    {{"Appearance.Color", "White"}, {"Appearance.PressedColor", "DimGray"}, {"Appearance.TextColor", "Black"}})
        || !AddColored(Form, "TPalmoListItem", "List",
                       {{"Appearance.Color", "White"}, {"Appearance.SelectedColor", "Gray"}, {"Appearance.TextColor", "Black"},
                        {"Appearance.DetailTextColor", "Gray"}}))
        return false;
    TPalmoControl* Picker = AddColored(Form, "TPalmoSpinner", "Picker",
                                       {{"Appearance.Color", "Black"}, {"Appearance.SelectionColor", "Black"},
                                        {"Appearance.TextColor", "White"}});
    if (!Picker || !SetPath(*Picker, QStringLiteral("Slots.Count"), 1))
        return false;
    return SetColor(*Picker, QStringLiteral("Slots[0].Color"), "White") && SetColor(*Picker, QStringLiteral("Slots[0].TextColor"), "Black")
        && SetColor(*Picker, QStringLiteral("Slots[0].SelectedTextColor"), "White")
        && AddColored(Form, "TPalmoPopup", "Note",
                      {{"Appearance.Color", "Black"}, {"Appearance.TitleColor", "White"}, {"Appearance.TextColor", "White"}});
}
