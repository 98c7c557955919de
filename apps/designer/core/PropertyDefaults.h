#pragma once
// The one answer to "what is this property's default?", for the inspector's bold and reset and
// for the file writer alike: the value the property has on a freshly created control of the same
// class. An item beyond a fresh control's collection is compared with a fresh item (the fresh
// collection grows to reach it); a collection's own Count keeps the fresh control's count. No
// widget code.

#include <QString>
#include <QVariant>

#include <map>
#include <memory>
#include <optional>

class TPalmoControl;
struct QMetaObject;

class PropertyDefaults {
public:
    PropertyDefaults();
    ~PropertyDefaults();
    PropertyDefaults(const PropertyDefaults&) = delete;
    PropertyDefaults& operator=(const PropertyDefaults&) = delete;

    // The default of the property at path ("Appearance.Color", "Slots[7].Width") of control's
    // class; none for a path the class does not have or a class the palette cannot make.
    std::optional<QVariant> of(const TPalmoControl& control, const QString& path);

private:
    struct Fresh;
    Fresh& freshOf(const QMetaObject* controlClass);

    std::map<const QMetaObject*, std::unique_ptr<Fresh>> m_classes;
};
