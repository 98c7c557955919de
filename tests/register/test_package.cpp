// The design-time package, loaded for real with the designer's loader: registration of the
// colour editor, the package's description, and its lifecycle.
#include "packages/PackageLoader.h"

#include "host/designide/VCLEditors.h"
#include "host/palmo/PalmoBase.h"
#include "host/palmo/PalmoSpinner.h"

#include <gtest/gtest.h>

#include <typeinfo>

// Failure messages show texts as texts.
inline void PrintTo(const QString& S, std::ostream* Out)
{
    *Out << '"' << S.toStdString() << '"';
}

namespace {

// A class the package knows nothing about, with a property of the framework's colour type.
class UnrelatedThing : public QObject {
    Q_OBJECT
    Q_PROPERTY(TCVColor Color MEMBER FColor)
public:
    TCVColor FColor;
};

bool IsPackageEditor(TPropertyEditor* Editor)
{
    return Editor && std::string(typeid(*Editor).name()).find("TCVKZLMOBILEColorEditor") != std::string::npos;
}

std::unique_ptr<TPropertyEditor> EditorFor(QObject* Object, const char* Name)
{
    const QMetaObject* Meta = Object->metaObject();
    return CreatePropertyEditor(nullptr, {Object}, Meta->property(Meta->indexOfProperty(Name)));
}

class PackageTest : public ::testing::Test {
protected:
    void SetUp() override { Baseline = RegisteredEditorCount(); }
    void TearDown() override { Loader.unload(); }
    TStringList* CustomColors() { return *static_cast<TStringList**>(Loader.symbol("CustomColorList")); }

    PackageLoader Loader;
    int Baseline = 0;
};

TEST_F(PackageTest, DescribesItself)
{
    Loader.load(CV_PACKAGE_PATH);
    EXPECT_EQ(Loader.description(), "KZL Corvana Palmo Controls design time support");
    const QStringList Units = Loader.units();
    ASSERT_EQ(Units.size(), 5);
    EXPECT_EQ(Units[1], "CVKZLMOBILEDsnColorDialog");
    EXPECT_EQ(Units[2], "SysInit");
    EXPECT_EQ(Units[3], "CVKZLMOBILEDsnColor");
    EXPECT_EQ(Units[4], "CVPalmoRegDE");
    // The required packages in their order: the styled controls' runtime, the framework's colour
    // unit, the toolkit, the runtime library, the internet package and the designer services.
    EXPECT_EQ(Loader.requiredPackages(), (QStringList{"cvhostpalmo", "cvhostcvcolor", "cvhostvcl", "cvhostrtl", "inet",
                                                      "cvhostdesignide"}));
    auto Info = reinterpret_cast<const TPackageInfoTable* (*)()>(Loader.symbol("GetPackageInfoTable"))();
    EXPECT_EQ(Info->Flags & (pfDesignOnly | pfRunOnly), 0u);
    // The dialog's unit frees the box's kept field when the package is unloaded.
    EXPECT_NE(Info->Units[1].Finalization, nullptr);
}

TEST_F(PackageTest, EditsEveryColourPropertyOfTheEightClassesAndNothingElse)
{
    Loader.load(CV_PACKAGE_PATH);
    EXPECT_EQ(RegisteredEditorCount(), Baseline + 8);

    TPalmoButtonAppearance Button;
    TPalmoOnOffButtonAppearance OnOff;
    TPalmoTrackbarAppearance Trackbar;
    TPalmoListItemAppearance ListItem;
    TPalmoIndicator Indicator;
    TPalmoSpinnerSlot Slot;
    TPalmoSpinnerAppearance Spinner;
    TPalmoPopupAppearance Popup;
    int ColourProperties = 0;
    for (QObject* Object : std::initializer_list<QObject*>{&Button, &OnOff, &Trackbar, &ListItem, &Indicator, &Slot,
                                                            &Spinner, &Popup}) {
        const QMetaObject* Meta = Object->metaObject();
        int OfThisClass = 0;
        for (int I = 0; I < Meta->propertyCount(); ++I) {
            const QMetaProperty Prop = Meta->property(I);
            auto Editor = CreatePropertyEditor(nullptr, {Object}, Prop);
            const bool IsColour = Prop.metaType() == QMetaType::fromType<TCVColor>();
            EXPECT_EQ(IsPackageEditor(Editor.get()), IsColour) << Meta->className() << "." << Prop.name();
            OfThisClass += IsColour;
        }
        EXPECT_GE(OfThisClass, 2) << Meta->className();
        ColourProperties += OfThisClass;
    }
    EXPECT_GE(ColourProperties, 16);

    // A plain toolkit colour keeps the designer's colour editor; an unrelated class is not ours.
    auto Shadow = EditorFor(&Button, "ShadowColor");
    EXPECT_FALSE(IsPackageEditor(Shadow.get()));
    EXPECT_NE(dynamic_cast<TColorProperty*>(Shadow.get()), nullptr);
    UnrelatedThing Thing;
    EXPECT_FALSE(IsPackageEditor(EditorFor(&Thing, "Color").get()));
}

TEST_F(PackageTest, UnloadDropsRegistrationsAndTheCustomColours)
{
    Loader.load(CV_PACKAGE_PATH);
    ASSERT_NE(CustomColors(), nullptr);
    EXPECT_EQ(CustomColors()->Count(), 0);
    CustomColors()->Add("$00BFBFBF");

    Loader.unload();
    EXPECT_EQ(Loader.droppedRegistrations(), 8);
    EXPECT_EQ(RegisteredEditorCount(), Baseline);
    TPalmoIndicator Indicator;
    auto Fallback = EditorFor(&Indicator, "ActiveColor");
    EXPECT_FALSE(IsPackageEditor(Fallback.get()));
    EXPECT_NE(Fallback, nullptr) << "an unregistered colour property still gets a plain editor";

    Loader.load(CV_PACKAGE_PATH);
    ASSERT_NE(CustomColors(), nullptr);
    EXPECT_EQ(CustomColors()->Count(), 0) << "a reloaded package starts with no custom colours";
    EXPECT_TRUE(IsPackageEditor(EditorFor(&Indicator, "ActiveColor").get()));
}

TEST_F(PackageTest, UnitInitialisationIsCounted)
{
    Loader.load(CV_PACKAGE_PATH);
    auto Initialize = reinterpret_cast<void (*)()>(Loader.symbol("Initialize"));
    auto Finalize = reinterpret_cast<void (*)()>(Loader.symbol("Finalize"));
    TStringList* First = CustomColors();
    First->Add("$000000FF");
    Initialize();
    EXPECT_EQ(CustomColors(), First) << "a second initialisation keeps the list";
    Finalize();
    EXPECT_EQ(CustomColors(), First) << "only the last finalisation frees it";
    EXPECT_EQ(CustomColors()->Count(), 1);
}

TEST_F(PackageTest, ReportsAMissingPackageAndStaysUsable)
{
    EXPECT_THROW(Loader.load("/nonexistent/package.so"), Exception);
    EXPECT_FALSE(Loader.isLoaded());
    Loader.load(CV_PACKAGE_PATH);
    EXPECT_TRUE(Loader.isLoaded());
    EXPECT_THROW(Loader.load(CV_PACKAGE_PATH), Exception) << "one package at a time";
}

}  // namespace

#include "test_package.moc"
