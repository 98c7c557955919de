#include "views/SharedPropertyEditor.h"

#include <QObject>
#include <QPointer>
#include <QVariant>

#include <algorithm>

// Passes the parts' news on to the row's designer, counting the writes, so that the editor knows
// whether a part's dialog wrote anything.
class SharedPropertyEditor::PartDesigner final : public IDesigner {
public:
    explicit PartDesigner(IDesigner* owner) : m_owner(owner) {}
    void Modified() override
    {
        ++m_writes;
        if (m_owner)
            m_owner->Modified();
    }
    void Rename(QObject* component, const String& newName) override
    {
        if (!m_owner)
            IDesigner::Rename(component, newName);
        else
            m_owner->Rename(component, newName);
    }
    int writes() const { return m_writes; }

private:
    IDesigner* m_owner;
    int m_writes = 0;
};

namespace {

// The same editor with the drawing hooks of its parts (each part has them).
class SharedDrawnPropertyEditor final : public SharedPropertyEditor,
                                        public ICustomPropertyDrawing,
                                        public ICustomPropertyListDrawing {
public:
    SharedDrawnPropertyEditor(IDesigner* designer, const std::vector<QObject*>& objects, const QMetaProperty& property)
        : SharedPropertyEditor(designer, objects, property)
    {
    }

    void PropDrawName(TCanvas& ACanvas, const TRect& ARect, bool ASelected) override
    {
        drawing()->PropDrawName(ACanvas, ARect, ASelected);
    }
    void PropDrawValue(TCanvas& ACanvas, const TRect& ARect, bool ASelected) override
    {
        // The first part draws the value its own objects share; when the others differ, the cell
        // stays blank, as the value text does.
        if (allEqual())
            drawing()->PropDrawValue(ACanvas, ARect, ASelected);
    }
    void ListMeasureWidth(const String& Value, TCanvas& ACanvas, int& AWidth) override
    {
        listDrawing()->ListMeasureWidth(Value, ACanvas, AWidth);
    }
    void ListMeasureHeight(const String& Value, TCanvas& ACanvas, int& AHeight) override
    {
        listDrawing()->ListMeasureHeight(Value, ACanvas, AHeight);
    }
    void ListDrawValue(const String& Value, TCanvas& ACanvas, const TRect& ARect, bool ASelected) override
    {
        listDrawing()->ListDrawValue(Value, ACanvas, ARect, ASelected);
    }

private:
    ICustomPropertyDrawing* drawing() const { return dynamic_cast<ICustomPropertyDrawing*>(parts().front().get()); }
    ICustomPropertyListDrawing* listDrawing() const
    {
        return dynamic_cast<ICustomPropertyListDrawing*>(parts().front().get());
    }
};

}  // namespace

SharedPropertyEditor::SharedPropertyEditor(IDesigner* designer, const std::vector<QObject*>& objects,
                                           const QMetaProperty& property)
    : TPropertyEditor(designer, objects, property)
{
}

SharedPropertyEditor::~SharedPropertyEditor() = default;

std::shared_ptr<TPropertyEditor> SharedPropertyEditor::create(IDesigner* designer, const std::vector<QObject*>& objects,
                                                              const QByteArray& name)
{
    // The objects grouped by the class that declares the property for them, in their order.
    std::vector<std::pair<QMetaProperty, std::vector<QObject*>>> groups;
    // An object of the class before it joins the same group (10,000 selected buttons are one).
    const QMetaObject* lastClass = nullptr;
    std::size_t lastGroup = 0;
    for (QObject* object : objects) {
        if (!object)
            return nullptr;
        if (object->metaObject() == lastClass) {
            groups[lastGroup].second.push_back(object);
            continue;
        }
        const int index = object->metaObject()->indexOfProperty(name.constData());
        if (index < 0)
            return nullptr;
        const QMetaProperty property = object->metaObject()->property(index);
        if (!property.isReadable() || !property.isWritable()
            || (!groups.empty() && property.metaType() != groups.front().first.metaType()))
            return nullptr;
        const auto group = std::find_if(groups.begin(), groups.end(), [&](const auto& g) {
            return g.first.enclosingMetaObject() == property.enclosingMetaObject();
        });
        lastGroup = std::size_t(group - groups.begin());
        if (group == groups.end())
            groups.push_back({property, {object}});
        else
            group->second.push_back(object);
        lastClass = object->metaObject();
    }
    if (groups.empty())
        return nullptr;
    if (groups.size() == 1)
        return CreatePropertyEditor(designer, objects, groups.front().first);

    std::vector<std::unique_ptr<TPropertyEditor>> parts;
    bool drawn = true;
    // The parts are made for a designer that is not there yet: the shared editor's own.
    auto partDesigner = std::make_unique<PartDesigner>(designer);
    for (const auto& [property, members] : groups) {
        std::unique_ptr<TPropertyEditor> part = CreatePropertyEditor(partDesigner.get(), members, property);
        if (!part)
            return nullptr;
        drawn = drawn && dynamic_cast<ICustomPropertyDrawing*>(part.get())
                && dynamic_cast<ICustomPropertyListDrawing*>(part.get());
        parts.push_back(std::move(part));
    }
    const QMetaProperty& first = groups.front().first;
    std::shared_ptr<SharedPropertyEditor> editor = drawn
        ? std::shared_ptr<SharedPropertyEditor>(new SharedDrawnPropertyEditor(designer, objects, first))
        : std::shared_ptr<SharedPropertyEditor>(new SharedPropertyEditor(designer, objects, first));
    editor->m_partDesigner = std::move(partDesigner);
    editor->m_parts = std::move(parts);
    return editor;
}

TPropertyAttributes SharedPropertyEditor::GetAttributes()
{
    // What every part offers; read-only when one part is.
    TPropertyAttributes all = ~0u;
    TPropertyAttributes any = 0;
    for (const auto& part : m_parts) {
        const TPropertyAttributes attributes = part->GetAttributes();
        all &= attributes;
        any |= attributes;
    }
    return (all & ~paReadOnly) | (any & paReadOnly);
}

String SharedPropertyEditor::GetValue()
{
    return m_parts.front()->GetValue();
}

void SharedPropertyEditor::GetValues(const TGetStrProc& Proc)
{
    m_parts.front()->GetValues(Proc);
}

bool SharedPropertyEditor::allEqual()
{
    const std::vector<Held> held = hold();
    return std::all_of(held.begin(), held.end(), [&](const Held& h) { return h.value == held.front().value; });
}

String SharedPropertyEditor::visualValue()
{
    return allEqual() ? GetValue() : String();
}

std::vector<SharedPropertyEditor::Held> SharedPropertyEditor::hold()
{
    std::vector<Held> held;
    for (const auto& part : m_parts)
        for (int i = 0; i < part->PropCount(); ++i) {
            QObject* object = part->GetComponent(i);
            held.push_back({part.get(), object, part->Property().read(object)});
        }
    return held;
}

void SharedPropertyEditor::putBack(const std::vector<Held>& held)
{
    // An object the dialog's loop removed has nothing to put back.
    for (const Held& h : held)
        if (h.object)
            h.part->Property().write(h.object.data(), h.value);
    Modified();
}

template <typename Write>
void SharedPropertyEditor::allOrNothing(const Write& write)
{
    const std::vector<Held> held = hold();
    try {
        write();
    } catch (...) {
        putBack(held);
        throw;
    }
}

void SharedPropertyEditor::SetValue(const String& Value)
{
    allOrNothing([&] {
        for (const auto& part : m_parts)
            part->SetValue(Value);
    });
}

void SharedPropertyEditor::Edit()
{
    // The first part's dialog, whose loop may run anything: this editor is checked afterwards.
    const TEditorLifeline alive(this);
    const std::vector<Held> held = hold();
    const int writes = m_partDesigner->writes();
    m_parts.front()->Edit();
    if (!alive || m_partDesigner->writes() == writes)
        return;
    // The choice went to the first class's objects; the others take it as its value text.
    try {
        const String chosen = m_parts.front()->GetValue();
        for (std::size_t i = 1; i < m_parts.size(); ++i)
            m_parts[i]->SetValue(chosen);
    } catch (...) {
        putBack(held);
        throw;
    }
}

QString visualValueOf(TPropertyEditor* editor)
{
    if (!editor)
        return QString();
    try {
        // A shared row's objects may differ in class: it compares them through its parts.
        if (auto* shared = dynamic_cast<SharedPropertyEditor*>(editor))
            return shared->visualValue();
        return editor->GetVisualValue();
    } catch (const std::exception&) {
        return QString();
    }
}
