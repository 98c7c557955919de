#pragma once
// An owned list of items of one class, such as a spinner's slots. A control exposes it as a
// CONSTANT pointer property; a walker enumerates the items with Count() and Item(). Its Count
// property resizes the list: new items are freshly constructed (their defaults), items beyond
// the new count are deleted.

#include "host/palmo/PalmoPersistent.h"

#include <functional>
#include <vector>

class TPalmoCollection : public TPalmoPersistent {
    Q_OBJECT
    Q_PROPERTY(int Count READ Count WRITE SetCount NOTIFY Changed)
public:
    // The largest count SetCount takes; a larger one is clamped to it, a negative one to 0.
    static constexpr int MaxCount = 64;

    // NewItem constructs one item with the given parent; the list starts with Count such items.
    TPalmoCollection(const QMetaObject& ItemClass, std::function<TPalmoPersistent*(QObject*)> NewItem,
                     int Count, QObject* Parent = nullptr);

    const QMetaObject& ItemClass() const { return FItemClass; }
    int Count() const { return static_cast<int>(FItems.size()); }
    void SetCount(int Value);
    // The item at Index, 0 <= Index < Count().
    TPalmoPersistent* Item(int Index) const { return FItems.at(static_cast<std::size_t>(Index)); }

private:
    const QMetaObject& FItemClass;
    std::function<TPalmoPersistent*(QObject*)> FNewItem;
    std::vector<TPalmoPersistent*> FItems;
};
