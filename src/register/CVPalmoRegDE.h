#pragma once
// The package's entry: registration of the colour editor and the package's exports.

#include "host/rtl/Packages.h"

// Exported by name for the designer's package loader.
extern "C" {
// Run the units' initialisations and finalisations through the runtime's package loader.
void Initialize();
void Finalize();
const TPackageInfoTable* GetPackageInfoTable();
// Registers TCVKZLMOBILEColorEditor for every TCVColor property of the styled controls'
// appearance classes.
void Register();
}
