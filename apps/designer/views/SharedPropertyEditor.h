#pragma once
// The editor of a row that stands for one property of several objects, found by name: each object
// has a readable property of that name and type, whichever class declares it ("Color" of a
// button's Appearance and of a list item's Appearance). The registry's editors read and write a
// property through the class that declares it, so objects whose properties come from different
// classes get one editor per declaring class (a part), and this editor hands every operation to
// them:
// - the value is the first part's; the visual value is empty unless every object holds the same;
// - a typed text goes to every part, all or nothing: every object is checked before any is
//   written, and when a part refuses the text the values every object had are put back before
//   the error goes on;
// - the dialog is the first part's; what it chooses goes to the other parts as its value text.

#include "host/designide/DesignIntf.h"

#include <QByteArray>
#include <QPointer>
#include <QVariant>

#include <memory>
#include <vector>

class SharedPropertyEditor : public TPropertyEditor {
public:
    // The editor for the property name of the objects: null when one of them has no readable,
    // writable property of that name and of the first one's type, or the registry has no editor
    // for one of them; the registry's own editor when one class declares the property for all.
    static std::shared_ptr<TPropertyEditor> create(IDesigner* designer, const std::vector<QObject*>& objects,
                                                   const QByteArray& name);
    ~SharedPropertyEditor() override;

    TPropertyAttributes GetAttributes() override;
    String GetValue() override;
    void SetValue(const String& Value) override;
    void GetValues(const TGetStrProc& Proc) override;
    void Edit() override;

    // What GetVisualValue gives for an editor of one class: the value text when every object
    // holds the same value, else the empty text.
    String visualValue();
    bool allEqual();
    const std::vector<std::unique_ptr<TPropertyEditor>>& parts() const { return m_parts; }

protected:
    SharedPropertyEditor(IDesigner* designer, const std::vector<QObject*>& objects, const QMetaProperty& property);

private:
    class PartDesigner;
    struct Held {
        TPropertyEditor* part;
        QPointer<QObject> object;
        QVariant value;
    };
    // Every object's value, or an error naming the property when one of them has gone.
    std::vector<Held> hold();
    void putBack(const std::vector<Held>& held);
    // Runs write (which writes through the parts); when it raises, every value held is put back.
    template <typename Write>
    void allOrNothing(const Write& write);

    // The parts tell this designer of their writes; it passes them on to the row's designer.
    // Declared before the parts, which it outlives.
    std::unique_ptr<PartDesigner> m_partDesigner;
    std::vector<std::unique_ptr<TPropertyEditor>> m_parts;
};

// The text a row's editor shows for its objects (blank when a shared row's objects differ), or
// the empty text when it cannot be read (an object has gone).
QString visualValueOf(TPropertyEditor* editor);
