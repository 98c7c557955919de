#include "views/EditorFacts.h"

#include "core/ColorText.h"
#include "core/FormProperties.h"

#include "host/palmo/PalmoCollection.h"
#include "host/palmo/PalmoControl.h"

#include <QCoreApplication>
#include <QMetaProperty>
#include <QSet>


// The controls whose values an editor writes (its objects may be parts or collection items).
std::vector<TPalmoControl*> controlsOf(TPropertyEditor* editor)
{
    std::vector<TPalmoControl*> controls;
    QSet<const TPalmoControl*> seen;
    for (int i = 0; i < editor->PropCount(); ++i) {
        QObject* object = nullptr;
        try {
            object = editor->GetComponent(i);
        } catch (const std::exception&) {
            continue;
        }
        while (object && !qobject_cast<TPalmoControl*>(object))
            object = object->parent();
        auto* control = qobject_cast<TPalmoControl*>(object);
        if (control && !seen.contains(control)) {
            seen.insert(control);
            controls.push_back(control);
        }
    }
    return controls;
}

// What a row accepts, said after a refused text.
QString acceptedValues(TPropertyEditor* editor)
{
    const QMetaProperty& property = editor->Property();
    switch (kindOf(property)) {
    case ValueKind::FrameworkColor:
    case ValueKind::ToolkitColor: return ColorText::accepted(kindOf(property));
    case ValueKind::Integer: {
        QObject* owner = nullptr;
        try {
            owner = editor->GetComponent(0);
        } catch (const std::exception&) {
            return QString();
        }
        const auto [low, high] = integerRange(owner, property);
        return QCoreApplication::translate("PropertyInspector", "It takes a whole number from %1 to %2.").arg(low).arg(high);
    }
    case ValueKind::Boolean:
        return QCoreApplication::translate("PropertyInspector", "It takes True or False.");
    case ValueKind::String:
    case ValueKind::Unsupported:
        break;
    }
    return QString();
}

// Whether a change of the editor's property adds or removes rows: a collection's Count does.
bool changesRows(TPropertyEditor* editor)
{
    try {
        return qobject_cast<TPalmoCollection*>(editor->GetComponent(0)) != nullptr;
    } catch (const std::exception&) {
        return false;
    }
}

