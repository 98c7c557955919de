// Runtime library: the string list.
#include "host/rtl/Classes.h"

int TStringList::Add(const String& S)
{
    FItems.push_back(S);
    return Count() - 1;
}

const String& TStringList::Strings(int Index) const
{
    CheckIndex(Index);
    return FItems[static_cast<std::size_t>(Index)];
}

void TStringList::Put(int Index, const String& S)
{
    CheckIndex(Index);
    FItems[static_cast<std::size_t>(Index)] = S;
}

void TStringList::CheckIndex(int Index) const
{
    if (Index < 0 || Index >= Count())
        throw EListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
}
