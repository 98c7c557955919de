#include "host/rtl/Packages.h"

#include <exception>

void PackageLoad(const TPackageInfoTable* Table)
{
    int Done = 0;
    try {
        for (; Done < Table->UnitCount; ++Done)
            if (Table->Units[Done].Initialization)
                Table->Units[Done].Initialization();
    } catch (...) {
        while (Done-- > 0)
            if (Table->Units[Done].Finalization) {
                try {
                    Table->Units[Done].Finalization();
                } catch (...) {
                }
            }
        throw;
    }
}

void PackageUnload(const TPackageInfoTable* Table)
{
    std::exception_ptr First;
    for (int I = Table->UnitCount - 1; I >= 0; --I) {
        if (!Table->Units[I].Finalization)
            continue;
        try {
            Table->Units[I].Finalization();
        } catch (...) {
            if (!First)
                First = std::current_exception();
        }
    }
    if (First)
        std::rethrow_exception(First);
}
