#include "core/PropertyDefaults.h"

#include "core/ControlClasses.h"
#include "core/FormProperties.h"

#include "host/palmo/PalmoCollection.h"
#include "host/palmo/PalmoControl.h"

#include <QHash>

struct PropertyDefaults::Fresh {
    std::unique_ptr<TPalmoControl> control;
    QHash<QString, FormProperty> properties;
    // Each collection's count on a fresh control, before any growing.
    QHash<QString, QVariant> counts;

    // Takes in the paths the control has now (more after a collection grew).
    void index()
    {
        for (const FormProperty& property : propertiesOf(control.get()))
            if (!properties.contains(property.path))
                properties.insert(property.path, property);
    }
};

PropertyDefaults::PropertyDefaults() = default;
PropertyDefaults::~PropertyDefaults() = default;

PropertyDefaults::Fresh& PropertyDefaults::freshOf(const QMetaObject* controlClass)
{
    std::unique_ptr<Fresh>& fresh = m_classes[controlClass];
    if (!fresh) {
        fresh = std::make_unique<Fresh>();
        if (const ControlClass* known = controlClassNamed(QString::fromLatin1(controlClass->className())))
            fresh->control = known->create();
        if (fresh->control) {
            fresh->index();
            for (const FormProperty& property : std::as_const(fresh->properties))
                if (qobject_cast<const TPalmoCollection*>(property.owner))
                    fresh->counts.insert(property.path, property.property.read(property.owner));
        }
    }
    return *fresh;
}

std::optional<QVariant> PropertyDefaults::of(const TPalmoControl& control, const QString& path)
{
    Fresh& fresh = freshOf(control.metaObject());
    if (!fresh.control)
        return std::nullopt;
    if (const auto count = fresh.counts.constFind(path); count != fresh.counts.constEnd())
        return *count;
    auto found = fresh.properties.constFind(path);
    if (found == fresh.properties.constEnd()) {
        // "Slots[7].Width": the fresh "Slots" grows to eight items, and the path is looked up again.
        const qsizetype open = path.indexOf(QLatin1Char('['));
        const qsizetype close = path.indexOf(QLatin1Char(']'), open);
        bool whole = false;
        const int index = open > 0 && close > open ? path.mid(open + 1, close - open - 1).toInt(&whole) : -1;
        const auto countOf = fresh.properties.constFind(path.left(open) + QStringLiteral(".Count"));
        if (!whole || index < 0 || index >= TPalmoCollection::MaxCount || countOf == fresh.properties.constEnd())
            return std::nullopt;
        auto* collection = qobject_cast<TPalmoCollection*>(countOf->owner);
        if (!collection || index < collection->Count())
            return std::nullopt;
        collection->SetCount(index + 1);
        fresh.index();
        found = fresh.properties.constFind(path);
        if (found == fresh.properties.constEnd())
            return std::nullopt;
    }
    return found->property.read(found->owner);
}
