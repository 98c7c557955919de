#include "core/FormProperties.h"

#include "core/ColorText.h"
#include "core/JsonText.h"

#include "host/cvcolor/CVColor.h"
#include "host/palmo/PalmoCollection.h"
#include "host/vcl/ColorType.h"
#include "host/vcl/Graphics.h"

#include <QHash>
#include <QPair>
#include <QVariant>

#include <cmath>
#include <limits>

QObject* subObject(const QObject* owner, const QMetaProperty& property)
{
    if (!(property.metaType().flags() & QMetaType::PointerToQObject))
        return nullptr;
    // The value is a pointer to a QObject's class, which Qt's own conversion takes as a QObject*
    // as it stands; read so, without looking a converter up for each of 10,000 controls.
    const QVariant value = property.read(owner);
    if (!(value.metaType().flags() & QMetaType::PointerToQObject))
        return nullptr;
    return *static_cast<QObject* const*>(value.constData());
}

namespace {

void walk(QObject* object, const QString& prefix, std::vector<FormProperty>& out)
{
    const QMetaObject* meta = object->metaObject();
    const int first = QObject::staticMetaObject.propertyCount();
    for (int i = first; i < meta->propertyCount(); ++i) {
        const QMetaProperty property = meta->property(i);
        if (!(property.metaType().flags() & QMetaType::PointerToQObject))
            out.push_back({prefix + QLatin1String(property.name()), object, property});
    }
    for (int i = first; i < meta->propertyCount(); ++i) {
        const QMetaProperty property = meta->property(i);
        QObject* part = subObject(object, property);
        if (!part)
            continue;
        const QString partPath = prefix + QLatin1String(property.name());
        walk(part, partPath + u'.', out);
        if (const auto* collection = qobject_cast<TPalmoCollection*>(part))
            for (int k = 0; k < collection->Count(); ++k)
                walk(collection->Item(k), partPath + u'[' + QString::number(k) + QStringLiteral("]."), out);
    }
}

bool isCollectionCount(const QObject* owner, const QMetaProperty& property)
{
    return qobject_cast<const TPalmoCollection*>(owner) && qstrcmp(property.name(), "Count") == 0;
}

int integerOf(const QObject* owner, const QMetaProperty& property)
{
    return property.read(owner).toInt();
}

}  // namespace

namespace {

// One step down a path: a property of an object of class meta.
struct Step {
    const QMetaObject* meta;
    QMetaProperty property;
};

// The property at path, found by its names; each step taken is added to route when given.
std::optional<FormProperty> resolve(QObject* control, const QString& path, std::vector<Step>* route)
{
    QObject* owner = control;
    const QStringList parts = path.split(u'.');
    for (qsizetype i = 0; owner && i + 1 < parts.size(); ++i) {
        const QString& part = parts[i];
        const qsizetype bracket = part.indexOf(u'[');
        const QString name = bracket < 0 ? part : part.left(bracket);
        const int index = owner->metaObject()->indexOfProperty(name.toLatin1().constData());
        if (route)
            route->push_back({owner->metaObject(), owner->metaObject()->property(index)});
        owner = index < QObject::staticMetaObject.propertyCount() ? nullptr : subObject(owner, owner->metaObject()->property(index));
        if (owner && bracket >= 0) {
            const auto* collection = qobject_cast<TPalmoCollection*>(owner);
            bool ok = false;
            const int item = part.mid(bracket + 1, part.size() - bracket - 2).toInt(&ok);
            owner = collection && ok && part.endsWith(u']') && item >= 0 && item < collection->Count() ? collection->Item(item)
                                                                                                   : nullptr;
        }
    }
    if (!owner)
        return std::nullopt;
    const int index = owner->metaObject()->indexOfProperty(parts.last().toLatin1().constData());
    if (index < QObject::staticMetaObject.propertyCount())
        return std::nullopt;
    const QMetaProperty property = owner->metaObject()->property(index);
    if (property.metaType().flags() & QMetaType::PointerToQObject)
        return std::nullopt;
    if (route)
        route->push_back({owner->metaObject(), property});
    return FormProperty{path, owner, property};
}

}  // namespace

std::optional<FormProperty> propertyAt(QObject* control, const QString& path)
{
    // A path without items leads through the same properties on every control of a class: its
    // steps are found by name once per class and path (a form's readability report asks for the
    // same few paths of thousands of controls), then followed by index.
    if (!control || path.contains(u'['))
        return resolve(control, path, nullptr);
    thread_local QHash<QPair<const QMetaObject*, QString>, std::vector<Step>> routes;
    const QPair<const QMetaObject*, QString> key(control->metaObject(), path);
    auto found = routes.constFind(key);
    if (found == routes.constEnd()) {
        std::vector<Step> route;
        const std::optional<FormProperty> property = resolve(control, path, &route);
        // Only a path that leads to a value is kept: the others are asked again, found again.
        if (property)
            routes.insert(key, std::move(route));
        return property;
    }
    QObject* owner = control;
    for (std::size_t i = 0; owner && i < found->size(); ++i) {
        const Step& step = (*found)[i];
        // A part of another class than the route was found through: by name after all.
        if (owner->metaObject() != step.meta)
            return resolve(control, path, nullptr);
        if (i + 1 == found->size())
            return FormProperty{path, owner, step.property};
        owner = subObject(owner, step.property);
    }
    return std::nullopt;
}

TColor colorOf(const QObject* owner, const QMetaProperty& property)
{
    const QVariant value = property.read(owner);
    if (value.metaType() == QMetaType::fromType<TCVColor>())
        return value.value<TCVColor>().Value;
    return value.value<TColorValue>().Value;
}

std::vector<FormProperty> propertiesOf(QObject* control)
{
    std::vector<FormProperty> out;
    walk(control, QString(), out);
    return out;
}

ValueKind kindOf(const QMetaProperty& property)
{
    const QMetaType type = property.metaType();
    if (type == QMetaType::fromType<TCVColor>())
        return ValueKind::FrameworkColor;
    if (type == QMetaType::fromType<TColorValue>())
        return ValueKind::ToolkitColor;
    if (type == QMetaType::fromType<int>())
        return ValueKind::Integer;
    if (type == QMetaType::fromType<bool>())
        return ValueKind::Boolean;
    if (type == QMetaType::fromType<QString>())
        return ValueKind::String;
    return ValueKind::Unsupported;
}

QString valueText(const QObject* owner, const QMetaProperty& property)
{
    switch (kindOf(property)) {
    case ValueKind::FrameworkColor:
    case ValueKind::ToolkitColor: return ColorText::colorTextOf(kindOf(property), colorOf(owner, property));
    case ValueKind::Integer: return IntToStr(integerOf(owner, property));
    case ValueKind::Boolean: return property.read(owner).toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case ValueKind::String:
    case ValueKind::Unsupported: break;
    }
    return property.read(owner).toString();
}

QByteArray valueJson(const QObject* owner, const QMetaProperty& property)
{
    switch (kindOf(property)) {
    case ValueKind::Integer: return QByteArray::number(integerOf(owner, property));
    case ValueKind::Boolean: return property.read(owner).toBool() ? "true" : "false";
    case ValueKind::FrameworkColor:
    case ValueKind::ToolkitColor:
    case ValueKind::String:
    case ValueKind::Unsupported: break;
    }
    QByteArray out;
    appendJsonString(out, valueText(owner, property));
    return out;
}

std::pair<qint64, qint64> integerRange(const QObject* owner, const QMetaProperty& property)
{
    if (isCollectionCount(owner, property))
        return {0, TPalmoCollection::MaxCount};
    return {std::numeric_limits<int>::min(), std::numeric_limits<int>::max()};
}

namespace {

QString wrongType(const char* wanted, const JsonNode& value)
{
    return QStringLiteral("needs %1, not %2").arg(QLatin1String(wanted), JsonNode::kindName(value.kind));
}

// The integer a JSON number stands for, or why it is none: a number with a fraction or an
// exponent counts when its value is a whole number.
QString integerOfJson(const JsonNode& value, qint64 low, qint64 high, qint64& result)
{
    const QByteArray& text = value.number;
    bool ok = false;
    const bool plain = !text.contains('.') && !text.contains('e') && !text.contains('E');
    if (plain) {
        result = text.toLongLong(&ok);
        if (!ok)  // more digits than 64 bits hold
            return QStringLiteral("%1 is out of range (%2 to %3)").arg(QString::fromLatin1(text)).arg(low).arg(high);
    } else {
        const double number = text.toDouble(&ok);
        // Beyond a double ("1e400"): too large, unless its exponent is negative (too small).
        const bool beyondDouble = !ok && !text.contains("e-") && !text.contains("E-");
        // The range is checked before the conversion: casting a double beyond 64 bits is undefined.
        if (std::isinf(number) || beyondDouble || (ok && !(std::abs(number) <= 9.0e18)))
            return QStringLiteral("%1 is out of range (%2 to %3)").arg(QString::fromLatin1(text)).arg(low).arg(high);
        if (!ok || number != std::trunc(number))
            return QStringLiteral("needs a whole number, not %1").arg(QString::fromLatin1(text));
        result = static_cast<qint64>(number);
    }
    if (result < low || result > high)
        return QStringLiteral("%1 is out of range (%2 to %3)").arg(QString::fromLatin1(text)).arg(low).arg(high);
    return {};
}

}  // namespace

QString storeJson(QObject* owner, const QMetaProperty& property, const JsonNode& value)
{
    QVariant stored;
    switch (kindOf(property)) {
    case ValueKind::Integer: {
        if (value.kind != JsonNode::Number)
            return wrongType("an integer", value);
        const auto [low, high] = integerRange(owner, property);
        qint64 number = 0;
        const QString problem = integerOfJson(value, low, high, number);
        if (!problem.isEmpty())
            return problem;
        stored = static_cast<int>(number);
        break;
    }
    case ValueKind::Boolean:
        if (value.kind != JsonNode::Bool)
            return wrongType("true or false", value);
        stored = value.boolean;
        break;
    case ValueKind::String:
        if (value.kind != JsonNode::String)
            return wrongType("a string", value);
        // Whole characters only: the JSON reader reports an escaped half of a surrogate pair
        // alone ("\uD800") itself, and hands on U+FFFD in its place.
        stored = value.string;
        break;
    case ValueKind::FrameworkColor:
    case ValueKind::ToolkitColor: {
        if (value.kind != JsonNode::String)
            return wrongType("a colour as a string", value);
        const std::optional<TColor> color = ColorText::parseColorText(kindOf(property), value.string);
        if (!color)
            return ColorText::refusal(kindOf(property), value.string);
        if (kindOf(property) == ValueKind::FrameworkColor)
            stored = QVariant::fromValue(TCVColor{*color});
        else
            stored = QVariant::fromValue(TColorValue{*color});
        break;
    }
    case ValueKind::Unsupported:
        return QStringLiteral("is of a type form files do not hold");
    }
    if (!property.isWritable() || !property.write(owner, stored))
        return QStringLiteral("cannot be written");
    return {};
}
