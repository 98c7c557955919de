#include "host/palmo/PalmoCollection.h"

#include <algorithm>

TPalmoCollection::TPalmoCollection(const QMetaObject& ItemClass, std::function<TPalmoPersistent*(QObject*)> NewItem,
                                   int Count, QObject* Parent)
    : TPalmoPersistent(Parent), FItemClass(ItemClass), FNewItem(std::move(NewItem))
{
    SetCount(Count);
}

void TPalmoCollection::SetCount(int Value)
{
    const int Wanted = std::clamp(Value, 0, MaxCount);
    if (Wanted == Count())
        return;
    while (Count() > Wanted) {
        delete FItems.back();
        FItems.pop_back();
    }
    while (Count() < Wanted) {
        TPalmoPersistent* Item = FNewItem(this);
        connect(Item, &TPalmoPersistent::Changed, this, &TPalmoPersistent::Changed);
        FItems.push_back(Item);
    }
    emit Changed();
}
