#pragma once
// Runtime package loader: a package describes its units in a table; loading runs the units'
// initialisations in table order, unloading their finalisations in reverse order.

#include <cstdint>

struct TUnitEntry {
    const char* Name;
    void (*Initialization)();  // may be null
    void (*Finalization)();    // may be null
};

// Package flags.
constexpr std::uint32_t pfDesignOnly = 0x0002;
constexpr std::uint32_t pfRunOnly = 0x0001;

struct TPackageInfoTable {
    const char* Description;
    std::uint32_t Flags;
    const TUnitEntry* Units;
    int UnitCount;
    const char* const* Requires;
    int RequiresCount;
};

// Runs every unit's initialisation in order. If one raises, the units already initialised are
// finalised in reverse order and the error propagates, so a failed load leaves nothing behind.
void PackageLoad(const TPackageInfoTable* Table);
// Runs every unit's finalisation in reverse order; an error in one does not stop the others,
// and the first one is raised after all have run.
void PackageUnload(const TPackageInfoTable* Table);
