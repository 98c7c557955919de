#include "register/CVPalmoRegDE.h"

#include "dialog/CVKZLMOBILEDsnColorDialog.h"
#include "editor/CVKZLMOBILEDsnColor.h"
#include "host/cvcolor/CVColor.h"
#include "host/designide/DesignIntf.h"
#include "host/palmo/PalmoBase.h"
#include "host/palmo/PalmoSpinner.h"

#include <iterator>

void Register()
{
    const TPropertyEditorClass Editor = EditorClassOf<TCVKZLMOBILEColorEditor>();
    const PTypeInfo ColorType = TypeInfo<TCVColor>();
    RegisterPropertyEditor(ColorType, &TPalmoButtonAppearance::staticMetaObject, String(), Editor);
    RegisterPropertyEditor(ColorType, &TPalmoOnOffButtonAppearance::staticMetaObject, String(), Editor);
    RegisterPropertyEditor(ColorType, &TPalmoTrackbarAppearance::staticMetaObject, String(), Editor);
    RegisterPropertyEditor(ColorType, &TPalmoListItemAppearance::staticMetaObject, String(), Editor);
    RegisterPropertyEditor(ColorType, &TPalmoIndicator::staticMetaObject, String(), Editor);
    RegisterPropertyEditor(ColorType, &TPalmoSpinnerSlot::staticMetaObject, String(), Editor);
    RegisterPropertyEditor(ColorType, &TPalmoSpinnerAppearance::staticMetaObject, String(), Editor);
    RegisterPropertyEditor(ColorType, &TPalmoPopupAppearance::staticMetaObject, String(), Editor);
}

namespace {

const TUnitEntry PackageUnits[] = {
    {"CVKZLPalmoDsgn", nullptr, nullptr},
    {"CVKZLMOBILEDsnColorDialog", &CVKZLMOBILEDsnColorDialogInitialization, &CVKZLMOBILEDsnColorDialogFinalization},
    {"SysInit", nullptr, nullptr},
    {"CVKZLMOBILEDsnColor", &CVKZLMOBILEDsnColorInitialization, &CVKZLMOBILEDsnColorFinalization},
    {"CVPalmoRegDE", nullptr, nullptr},
};

const char* const RequiredPackages[] = {
    "cvhostpalmo",      // the styled controls' runtime: the appearance classes
    "cvhostcvcolor",    // the framework's colour unit
    "cvhostvcl",        // the toolkit
    "cvhostrtl",        // the runtime library, built into cvhostvcl
    "inet",             // required by the package, nothing is called in it
    "cvhostdesignide",  // the designer services
};

const TPackageInfoTable PackageInfo = {
    "KZL Corvana Palmo Controls design time support",
    0,  // neither design-only nor run-only
    PackageUnits,
    static_cast<int>(std::size(PackageUnits)),
    RequiredPackages,
    static_cast<int>(std::size(RequiredPackages)),
};

}  // namespace

extern "C" {

void Initialize()
{
    PackageLoad(&PackageInfo);
}

void Finalize()
{
    PackageUnload(&PackageInfo);
}

const TPackageInfoTable* GetPackageInfoTable()
{
    return &PackageInfo;
}
}
