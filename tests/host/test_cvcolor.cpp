// The framework's colour unit: the web colour table, name and text conversions, and TCVColor as
// a Qt meta-type usable in properties.
#include "host/cvcolor/CVColor.h"
#include "host/vcl/Graphics.h"

#include <gtest/gtest.h>

#include <QMetaProperty>
#include <QObject>
#include <QSet>
#include <QVariant>

#include <algorithm>
#include <climits>
#include <vector>

namespace {

TEST(CVColorTableTest, HoldsAtLeastTheGridsEntriesUnderDistinctNames)
{
    ASSERT_GE(CVColorCount, WebColorCount);
    EXPECT_EQ(WebColorCount, 143);
    QSet<QString> Names;
    for (int I = 0; I < CVColorCount; ++I) {
        const TCVColorRec& Entry = CVColors[I];
        EXPECT_FALSE(Entry.Name.isEmpty()) << I;
        EXPECT_EQ(static_cast<std::uint32_t>(Entry.Value) >> 24, 0u) << Entry.Name.toStdString() << " is an RGB colour";
        EXPECT_FALSE(Names.contains(Entry.Name.toLower())) << Entry.Name.toStdString() << " twice";
        Names.insert(Entry.Name.toLower());
        EXPECT_FALSE(Entry.Name.contains(QStringLiteral("grey"), Qt::CaseInsensitive)) << "one spelling: Gray";
    }
}

TEST(CVColorTableTest, ValuesAreCssColoursWithRedInTheLowByte)
{
    const struct {
        const char* Name;
        TColor Value;
    } Cases[] = {
        {"Red", 0x0000FF},        {"Lime", 0x00FF00},          {"Blue", 0xFF0000},
        {"AliceBlue", 0xFFF8F0},  {"Orange", 0x00A5FF},        {"RebeccaPurple", 0x993366},
        {"YellowGreen", 0x32CD9A}, {"Aqua", 0xFFFF00},         {"Cyan", 0xFFFF00},
        {"Fuchsia", 0xFF00FF},    {"Magenta", 0xFF00FF},       {"Gray", 0x808080},
        {"Black", 0x000000},      {"White", 0xFFFFFF},         {"Navy", clNavy},
        {"Maroon", clMaroon},     {"LightGoldenrodYellow", 0xD2FAFA},
    };
    for (const auto& Case : Cases) {
        int Color = -1;
        EXPECT_TRUE(IdentToCVColor(QString::fromLatin1(Case.Name), Color)) << Case.Name;
        EXPECT_EQ(Color, Case.Value) << Case.Name;
    }
}

TEST(CVColorTableTest, EveryGridEntryIsAcceptedWithItsOwnValue)
{
    for (int I = 0; I < WebColorCount; ++I) {
        const TCVColorRec& Entry = CVColors[I];
        SCOPED_TRACE(Entry.Name.toStdString());
        int Color = -1;
        ASSERT_TRUE(IdentToCVColor(Entry.Name, Color));
        EXPECT_EQ(Color, Entry.Value);
        int Upper = -1;
        ASSERT_TRUE(IdentToCVColor(Entry.Name.toUpper(), Upper));
        EXPECT_EQ(Upper, Entry.Value);
    }
}

TEST(CVColorTableTest, GridIsGroupedWithNeutralsTogetherAtTheEnd)
{
    // The last row of the grid ends in the greys and black, light to dark.
    EXPECT_EQ(CVColors[WebColorCount - 1].Name, QStringLiteral("Black"));
    int White = -1;
    int Black = -1;
    for (int I = 0; I < WebColorCount; ++I) {
        if (CVColors[I].Name == QStringLiteral("White"))
            White = I;
        if (CVColors[I].Name == QStringLiteral("Black"))
            Black = I;
    }
    ASSERT_GE(White, 0);
    // Every entry between White and Black is a near-neutral colour.
    for (int I = White; I <= Black; ++I) {
        const std::uint32_t V = static_cast<std::uint32_t>(CVColors[I].Value);
        const int R = V & 0xFF, G = V >> 8 & 0xFF, B = V >> 16 & 0xFF;
        EXPECT_LT(std::max({R, G, B}) - std::min({R, G, B}), 0x20) << CVColors[I].Name.toStdString();
    }
}

TEST(CVColorValuesTest, ListsEveryWebNameInTableOrder)
{
    std::vector<String> Names;
    GetCVColorValues([&](const String& S) { Names.push_back(S); });
    ASSERT_EQ(Names.size(), static_cast<std::size_t>(CVColorCount));
    for (int I = 0; I < CVColorCount; ++I)
        EXPECT_EQ(Names[static_cast<std::size_t>(I)], CVColors[I].Name);
}

TEST(IdentToCVColorTest, AcceptsToolkitNames)
{
    GetColorValues([](const String& Name) {
        int Expected = 0;
        ASSERT_TRUE(IdentToColor(Name, Expected));
        int Color = -1;
        EXPECT_TRUE(IdentToCVColor(Name, Color)) << Name.toStdString();
        EXPECT_EQ(Color, Expected) << Name.toStdString();
    });
    int Color = -1;
    EXPECT_TRUE(IdentToCVColor(QStringLiteral("clLtGray"), Color));
    EXPECT_EQ(Color, clSilver);
}

TEST(IdentToCVColorTest, AcceptsCssHexForms)
{
    const struct {
        const char* Text;
        TColor Value;
    } Cases[] = {
        {"#FF0000", 0x0000FF}, {"#00ff00", 0x00FF00}, {"#0000Ff", 0xFF0000}, {"#123456", 0x563412},
        {"#000000", 0},        {"#FFFFFF", 0xFFFFFF}, {"#F00", 0x0000FF},    {"#abc", 0xCCBBAA},
        {"#000", 0},           {"#123", 0x332211},
    };
    for (const auto& Case : Cases) {
        int Color = -1;
        EXPECT_TRUE(IdentToCVColor(QString::fromLatin1(Case.Text), Color)) << Case.Text;
        EXPECT_EQ(Color, Case.Value) << Case.Text;
    }
}

TEST(IdentToCVColorTest, RefusesIntegerTextsAndUnknownTextsLeavingTheColour)
{
    const char* Refused[] = {
        "0", "255", "-1", "$FF", "$000000FF", "$ffffffff", "2147483647",           // integer texts
        "", " ", "Red ", " Red", "Grey", "NoSuchColour", "cl", "clRedd", "#",    // unknown
        "#12", "#1234", "#12345", "#1234567", "#GGGGGG", "#12345G", "##123", "FF0000", "0x123456",
        "# 12345", "#-12345",
    };
    for (const char* Text : Refused) {
        int Color = 0x0BADBAD;
        EXPECT_FALSE(IdentToCVColor(QString::fromLatin1(Text), Color)) << Text;
        EXPECT_EQ(Color, 0x0BADBAD) << Text;
    }
    int Color = 7;
    // A digit other than ASCII is no hexadecimal digit.
    EXPECT_FALSE(IdentToCVColor(QString::fromUtf16(u"#\u0661\u0662\u0663"), Color));
    EXPECT_FALSE(IdentToCVColor(QString::fromUtf16(u"#12\0" "456", 7), Color));
    EXPECT_EQ(Color, 7);
}

TEST(CVColorToStringTest, PrefersWebNamesThenToolkitNamesThenHex)
{
    EXPECT_EQ(CVColorToString(0x0000FF), QStringLiteral("Red"));
    EXPECT_EQ(CVColorToString(clNavy), QStringLiteral("Navy"));
    EXPECT_EQ(CVColorToString(0xFFF8F0), QStringLiteral("AliceBlue"));
    EXPECT_EQ(CVColorToString(clBtnFace), QStringLiteral("clBtnFace"));
    EXPECT_EQ(CVColorToString(clNone), QStringLiteral("clNone"));
    EXPECT_EQ(CVColorToString(clDefault), QStringLiteral("clDefault"));
    EXPECT_EQ(CVColorToString(0x123456), QStringLiteral("$00123456"));
    EXPECT_EQ(CVColorToString(clMedGray), QStringLiteral("clMedGray"));
    EXPECT_EQ(CVColorToString(-1), QStringLiteral("$FFFFFFFF"));
}

TEST(CVColorToStringTest, EveryTextItGivesReadsBackToTheSameColour)
{
    std::vector<TColor> Sample = {0,          0x123456,   0x00FFFFFF, 0x00FFFF00, clMoneyGreen, clCream,
                                  clMedGray,  clSkyBlue,  clNone,     clDefault,  clWindow,     clBtnFace,
                                  -1,         INT_MIN,    INT_MAX,    0x12345678, 0x01000000,   0x7F000000,
                                  static_cast<TColor>(0xFF000019u), static_cast<TColor>(0xFE000000u)};
    for (int I = 0; I < CVColorCount; ++I)
        Sample.push_back(CVColors[I].Value);
    GetColorValues([&](const String& Name) {
        int Color = 0;
        IdentToColor(Name, Color);
        Sample.push_back(Color);
    });
    for (std::uint32_t Step = 0; Step < 4096; ++Step)
        Sample.push_back(static_cast<TColor>(Step * 0x00101011u));
    for (TColor Color : Sample) {
        const String Text = CVColorToString(Color);
        SCOPED_TRACE(Text.toStdString());
        int Back = ~Color;
        if (!IdentToCVColor(Text, Back)) {
            ASSERT_TRUE(TryStrToInt(Text, Back)) << "neither a name nor an integer text";
        }
        EXPECT_EQ(Back, Color);
        EXPECT_EQ(StringToCVColor(Text), Color);
    }
}

TEST(StringToCVColorTest, ReadsNamesNumbersAndFallsBackToBlack)
{
    EXPECT_EQ(StringToCVColor(QStringLiteral("aliceblue")), 0xFFF8F0);
    EXPECT_EQ(StringToCVColor(QStringLiteral("clRed")), clRed);
    EXPECT_EQ(StringToCVColor(QStringLiteral("clBtnFace")), clBtnFace);
    EXPECT_EQ(StringToCVColor(QStringLiteral("#102030")), 0x302010);
    EXPECT_EQ(StringToCVColor(QStringLiteral("$00ABCDEF")), 0xABCDEF);
    EXPECT_EQ(StringToCVColor(QStringLiteral("4210752")), 0x404040);
    EXPECT_EQ(StringToCVColor(QStringLiteral("-16777201")), clBtnFace);
    EXPECT_EQ(StringToCVColor(QStringLiteral("nonsense")), clBlack);
    EXPECT_EQ(StringToCVColor(QString()), clBlack);
    EXPECT_EQ(StringToCVColor(QStringLiteral("$100000000")), clBlack);
}

} // namespace

namespace cvcolortest {

// An object with a framework colour property, as the styled controls' appearance classes have.
class ColorHolder : public QObject {
    Q_OBJECT
    Q_PROPERTY(TCVColor FillColor READ FillColor WRITE SetFillColor)
public:
    TCVColor FillColor() const { return FFill; }
    void SetFillColor(const TCVColor& C) { FFill = C; }

private:
    TCVColor FFill;
};

} // namespace cvcolortest

namespace {

using cvcolortest::ColorHolder;

TEST(CVColorMetaTypeTest, RegistrationIsIdempotent)
{
    RegisterCVColorType();
    RegisterCVColorType();
    RegisterCVColorType();
    const QMetaType Type = QMetaType::fromType<TCVColor>();
    EXPECT_TRUE(Type.isValid());
    EXPECT_NE(Type, QMetaType::fromType<int>()) << "a type of its own, not a plain integer";
    EXPECT_EQ(QMetaType::fromName("TCVColor"), Type);
    EXPECT_TRUE(QMetaType::hasRegisteredConverterFunction(QMetaType::fromType<int>(), Type));
    EXPECT_TRUE(QMetaType::hasRegisteredConverterFunction(Type, QMetaType::fromType<int>()));
}

TEST(CVColorMetaTypeTest, ConvertsToAndFromInt)
{
    RegisterCVColorType();
    QVariant V(static_cast<int>(0xFF00000Fu));
    ASSERT_TRUE(V.convert(QMetaType::fromType<TCVColor>()));
    EXPECT_EQ(V.metaType(), QMetaType::fromType<TCVColor>());
    EXPECT_EQ(V.value<TCVColor>().Value, clBtnFace);
    ASSERT_TRUE(V.convert(QMetaType::fromType<int>()));
    EXPECT_EQ(V.toInt(), clBtnFace);

    const QVariant Color = QVariant::fromValue(TCVColor{0x123456});
    EXPECT_EQ(Color.value<int>(), 0x123456);
}

TEST(CVColorMetaTypeTest, PropertyIsReadAndWrittenThroughTheMetaObject)
{
    RegisterCVColorType();
    ColorHolder Holder;
    const QMetaObject* Meta = Holder.metaObject();
    const int Index = Meta->indexOfProperty("FillColor");
    ASSERT_GE(Index, 0);
    EXPECT_EQ(Meta->property(Index).metaType(), QMetaType::fromType<TCVColor>());

    ASSERT_TRUE(Holder.setProperty("FillColor", QVariant::fromValue(TCVColor{0x00A5FF})));
    EXPECT_EQ(Holder.FillColor().Value, 0x00A5FF);
    const QVariant Read = Holder.property("FillColor");
    EXPECT_EQ(Read.metaType(), QMetaType::fromType<TCVColor>());
    EXPECT_EQ(Read.value<TCVColor>(), TCVColor{0x00A5FF});

    // An integer is converted through the registered converter.
    ASSERT_TRUE(Holder.setProperty("FillColor", QVariant(static_cast<int>(clWindow))));
    EXPECT_EQ(Holder.FillColor().Value, clWindow);
}

} // namespace

#include "test_cvcolor.moc"
