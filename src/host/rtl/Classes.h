#pragma once
// Runtime library: the string list and the string callback.

#include "host/rtl/SysUtils.h"

#include <functional>
#include <vector>

using TGetStrProc = std::function<void(const String&)>;

// Raised for an index outside a list.
class EListError : public Exception {
public:
    using Exception::Exception;
};

// An ordered list of strings: created empty, Add appends, an entry is read and replaced in place.
class TStringList {
public:
    int Count() const { return static_cast<int>(FItems.size()); }
    int Add(const String& S);
    const String& Strings(int Index) const;
    void Put(int Index, const String& S);
    void Clear() { FItems.clear(); }
    const String& operator[](int Index) const { return Strings(Index); }

private:
    void CheckIndex(int Index) const;
    std::vector<String> FItems;
};

// Frees the object and clears the reference.
template <typename T>
void FreeAndNil(T*& Obj)
{
    T* Doomed = Obj;
    Obj = nullptr;
    delete Doomed;
}
