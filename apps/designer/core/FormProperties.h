#pragma once
// Every property of a control, as a property inspector lists them, and the text and JSON forms
// of their values that form files and reports use.
//
// The walk: the control's own value properties in declaration order (base class first), then
// each sub-object (a CONSTANT property of pointer-to-QObject type) in declaration order, walked
// the same way with its property name and a dot in front ("Appearance.Color"). A sub-object that
// is a TPalmoCollection gives its own properties ("Slots.Count"), then each item as
// "Slots[0].", "Slots[1]." and so on. Properties of QObject itself (objectName) are left out.

#include "core/ValueKind.h"
#include "host/vcl/Types.h"

#include <QMetaProperty>
#include <QString>

#include <optional>
#include <vector>

struct JsonNode;

struct FormProperty {
    QString path;          // "Left", "Appearance.Color", "Slots[2].TextColor"
    QObject* owner;        // the object that holds the property: the control or a sub-object
    QMetaProperty property;
};

std::vector<FormProperty> propertiesOf(QObject* control);
// The one value property at path ("Appearance.Color", "Slots[2].TextColor"), as propertiesOf
// lists it; none for a path it does not list.
std::optional<FormProperty> propertyAt(QObject* control, const QString& path);

// How a property's value is written: a JSON number, boolean or string, or a colour as text.
ValueKind kindOf(const QMetaProperty& property);

// The value as the designer shows it: a colour as CVColorToString (TCVColor) or ColorToString
// (a toolkit colour) gives it, an integer in decimal, a boolean as True or False, a string as it is.
QString valueText(const QObject* owner, const QMetaProperty& property);
// The value as a JSON value: colours as a JSON string of the value text, integers as numbers,
// booleans as true or false, strings as strings.
QByteArray valueJson(const QObject* owner, const QMetaProperty& property);
// Stores a JSON value into the property. Returns "" on success; otherwise why the value does not
// fit (the property is then unchanged).
QString storeJson(QObject* owner, const QMetaProperty& property, const JsonNode& value);
// The stored colour of a colour property (FrameworkColor or ToolkitColor), a system colour unresolved.
TColor colorOf(const QObject* owner, const QMetaProperty& property);
// The part a property of a part's type holds (a control's Appearance); null for another property.
QObject* subObject(const QObject* owner, const QMetaProperty& property);
// The inclusive range an integer property takes.
std::pair<qint64, qint64> integerRange(const QObject* owner, const QMetaProperty& property);
