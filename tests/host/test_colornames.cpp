// Toolkit colours: the name list, name <-> colour, colour texts and system colours from the palette.
#include "host/vcl/Graphics.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QPalette>
#include <QSet>

#include <vector>

namespace {

std::vector<String> ListedNames()
{
    std::vector<String> Names;
    GetColorValues([&](const String& S) { Names.push_back(S); });
    return Names;
}

TEST(ColorNamesTest, ListHasAtMost54DistinctNamesOfDistinctColours)
{
    const std::vector<String> Names = ListedNames();
    EXPECT_LE(Names.size(), 54u) << "the dialog's system grid has 9 x 6 cells";
    EXPECT_EQ(Names.size(), 52u);
    QSet<QString> Lower;
    QSet<int> Values;
    for (const String& Name : Names) {
        Lower.insert(Name.toLower());
        int Color = 0;
        ASSERT_TRUE(IdentToColor(Name, Color)) << Name.toStdString();
        Values.insert(Color);
    }
    EXPECT_EQ(static_cast<std::size_t>(Lower.size()), Names.size()) << "a name listed twice";
    EXPECT_EQ(static_cast<std::size_t>(Values.size()), Names.size()) << "a colour listed under two names";
}

TEST(ColorNamesTest, ListOrderIsClassicColoursThenSystemColours)
{
    const std::vector<String> Names = ListedNames();
    ASSERT_EQ(Names.size(), 52u);
    EXPECT_EQ(Names[0], QStringLiteral("clBlack"));
    EXPECT_EQ(Names[15], QStringLiteral("clWhite"));
    EXPECT_EQ(Names[19], QStringLiteral("clMedGray"));
    EXPECT_EQ(Names[20], QStringLiteral("clActiveBorder"));
    EXPECT_EQ(Names[51], QStringLiteral("clWindowText"));
    EXPECT_EQ(ListedNames(), Names) << "the order is fixed";
}

TEST(ColorNamesTest, EveryListedNameRoundTripsInAnyCase)
{
    for (const String& Name : ListedNames()) {
        SCOPED_TRACE(Name.toStdString());
        int Color = 0;
        ASSERT_TRUE(IdentToColor(Name, Color));
        String Back;
        ASSERT_TRUE(ColorToIdent(Color, Back));
        EXPECT_EQ(Back, Name);
        int Upper = 0;
        int LowerCase = 0;
        EXPECT_TRUE(IdentToColor(Name.toUpper(), Upper));
        EXPECT_TRUE(IdentToColor(Name.toLower(), LowerCase));
        EXPECT_EQ(Upper, Color);
        EXPECT_EQ(LowerCase, Color);
        EXPECT_EQ(ColorToString(Color), Name);
        EXPECT_EQ(StringToColor(Name), Color);
    }
}

TEST(ColorNamesTest, NamesGiveTheDeclaredValues)
{
    const struct {
        const char* Name;
        TColor Value;
    } Cases[] = {
        {"clRed", clRed}, {"CLRED", 0x0000FF}, {"clNavy", 0x800000}, {"clMoneyGreen", clMoneyGreen},
        {"clWindow", clWindow}, {"clNone", clNone}, {"clDefault", clDefault},
        {"cl3DDkShadow", static_cast<TColor>(0xFF000015u)}, {"clMenuBar", clMenuBar},
    };
    for (const auto& Case : Cases) {
        int Color = 0;
        EXPECT_TRUE(IdentToColor(QString::fromLatin1(Case.Name), Color)) << Case.Name;
        EXPECT_EQ(Color, Case.Value) << Case.Name;
    }
}

TEST(ColorNamesTest, AliasesAreReadButNeverListedOrWritten)
{
    int Color = 0;
    ASSERT_TRUE(IdentToColor(QStringLiteral("clLtGray"), Color));
    EXPECT_EQ(Color, clSilver);
    ASSERT_TRUE(IdentToColor(QStringLiteral("CLDKGRAY"), Color));
    EXPECT_EQ(Color, clGray);
    for (const String& Name : ListedNames()) {
        EXPECT_NE(Name, QStringLiteral("clLtGray"));
        EXPECT_NE(Name, QStringLiteral("clDkGray"));
    }
    String Ident;
    ASSERT_TRUE(ColorToIdent(clLtGray, Ident));
    EXPECT_EQ(Ident, QStringLiteral("clSilver"));
    ASSERT_TRUE(ColorToIdent(clDkGray, Ident));
    EXPECT_EQ(Ident, QStringLiteral("clGray"));
}

TEST(ColorNamesTest, UnknownNamesAreRefusedAndLeaveTheColour)
{
    const char* Unknown[] = {"", "Red", "cl", "clRedd", " clRed", "clRed ", "$FF", "255", "clInfoBkx", "cl Red"};
    for (const char* Name : Unknown) {
        int Color = 0x123456;
        EXPECT_FALSE(IdentToColor(QString::fromLatin1(Name), Color)) << Name;
        EXPECT_EQ(Color, 0x123456) << Name;
    }
    String Ident = QStringLiteral("before");
    EXPECT_FALSE(ColorToIdent(0x123456, Ident));
    EXPECT_FALSE(ColorToIdent(static_cast<TColor>(0xFF000019u), Ident)) << "system index 25 has no name";
    EXPECT_EQ(Ident, QStringLiteral("before"));
}

TEST(ColorTextTest, ColorToStringWritesNameOrEightHexDigits)
{
    EXPECT_EQ(ColorToString(clRed), QStringLiteral("clRed"));
    EXPECT_EQ(ColorToString(clBtnFace), QStringLiteral("clBtnFace"));
    EXPECT_EQ(ColorToString(0x123456), QStringLiteral("$00123456"));
    EXPECT_EQ(ColorToString(static_cast<TColor>(0xFF000019u)), QStringLiteral("$FF000019"));
    EXPECT_EQ(ColorToString(-2), QStringLiteral("$FFFFFFFE"));
}

TEST(ColorTextTest, StringToColorReadsNamesAndIntegerTexts)
{
    EXPECT_EQ(StringToColor(QStringLiteral("clblue")), clBlue);
    EXPECT_EQ(StringToColor(QStringLiteral("$00123456")), 0x123456);
    EXPECT_EQ(StringToColor(QStringLiteral("255")), 255);
    EXPECT_EQ(StringToColor(QStringLiteral("-16777201")), clBtnFace);
    for (TColor Color : {0, 0x123456, static_cast<TColor>(0xFF000019u), clCream, -1})
        EXPECT_EQ(StringToColor(ColorToString(Color)), Color);
    EXPECT_THROW(StringToColor(QStringLiteral("Red")), EConvertError);
    EXPECT_THROW(StringToColor(QString()), EConvertError);
    EXPECT_THROW(StringToColor(QStringLiteral("#FF0000")), EConvertError);
}

TEST(ColorToRGBTest, RGBColoursAndOtherTopBytes)
{
    EXPECT_EQ(ColorToRGB(clRed), clRed);
    EXPECT_EQ(ColorToRGB(0x00ABCDEF), 0x00ABCDEF);
    EXPECT_EQ(ColorToRGB(clNone), clBlack);
    EXPECT_EQ(ColorToRGB(0x12345678), 0x345678) << "an unknown top byte keeps the low 24 bits";
    EXPECT_EQ(ColorToRGB(0x7F00FF00), 0x00FF00);
}

// Sets a palette whose every role in every group has a colour of its own, and restores the
// application's palette afterwards.
class PaletteTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        FSaved = QApplication::palette();
        QPalette P;
        int Index = 1;
        for (QPalette::ColorGroup Group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
            for (int Role = 0; Role < QPalette::NColorRoles; ++Role) {
                if (Role == QPalette::NoRole)
                    continue;
                P.setColor(Group, static_cast<QPalette::ColorRole>(Role), Distinct(Index++));
            }
        }
        QApplication::setPalette(P);
    }
    void TearDown() override { QApplication::setPalette(FSaved); }

    static QColor Distinct(int Index) { return QColor(Index * 3 % 256, Index * 7 % 256, Index * 11 % 256); }

    static TColor Expected(QPalette::ColorGroup Group, QPalette::ColorRole Role)
    {
        const QColor C = QApplication::palette().color(Group, Role);
        return C.blue() << 16 | C.green() << 8 | C.red();
    }

private:
    QPalette FSaved;
};

TEST_F(PaletteTest, SystemColoursFollowThePalette)
{
    const struct {
        TColor Color;
        QPalette::ColorGroup Group;
        QPalette::ColorRole Role;
    } Cases[] = {
        {clWindow, QPalette::Active, QPalette::Base},
        {clWindowText, QPalette::Active, QPalette::Text},
        {clBtnFace, QPalette::Active, QPalette::Button},
        {clBtnText, QPalette::Active, QPalette::ButtonText},
        {clHighlight, QPalette::Active, QPalette::Highlight},
        {clHighlightText, QPalette::Active, QPalette::HighlightedText},
        {clGrayText, QPalette::Disabled, QPalette::Text},
        {clInfoBk, QPalette::Active, QPalette::ToolTipBase},
        {clInfoText, QPalette::Active, QPalette::ToolTipText},
        {clBtnShadow, QPalette::Active, QPalette::Dark},
        {clBtnHighlight, QPalette::Active, QPalette::Light},
        {cl3DDkShadow, QPalette::Active, QPalette::Shadow},
        {cl3DLight, QPalette::Active, QPalette::Midlight},
        {clMenu, QPalette::Active, QPalette::Window},
        {clMenuText, QPalette::Active, QPalette::WindowText},
        {clMenuBar, QPalette::Active, QPalette::Window},
        {clMenuHighlight, QPalette::Active, QPalette::Highlight},
        {clHotLight, QPalette::Active, QPalette::Link},
        {clActiveCaption, QPalette::Active, QPalette::Highlight},
        {clCaptionText, QPalette::Active, QPalette::HighlightedText},
        {clInactiveCaption, QPalette::Active, QPalette::Mid},
        {clInactiveCaptionText, QPalette::Inactive, QPalette::WindowText},
        {clAppWorkSpace, QPalette::Active, QPalette::Mid},
        {clWindowFrame, QPalette::Active, QPalette::Shadow},
        {clScrollBar, QPalette::Active, QPalette::Midlight},
        {clBackground, QPalette::Active, QPalette::Window},
        {clActiveBorder, QPalette::Active, QPalette::Button},
        {clInactiveBorder, QPalette::Active, QPalette::Window},
        {clGradientActiveCaption, QPalette::Active, QPalette::Highlight},
        {clGradientInactiveCaption, QPalette::Active, QPalette::Mid},
        // The window colour is what a control left at its default paints with.
        {clDefault, QPalette::Active, QPalette::Base},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(ColorToString(Case.Color).toStdString());
        const TColor RGB = ColorToRGB(Case.Color);
        EXPECT_EQ(RGB, Expected(Case.Group, Case.Role));
        EXPECT_EQ(static_cast<std::uint32_t>(RGB) >> 24, 0u);
    }
    // The roles above really are told apart by this palette.
    EXPECT_NE(ColorToRGB(clWindow), ColorToRGB(clBtnFace));
    EXPECT_NE(ColorToRGB(clGrayText), ColorToRGB(clWindowText));
}

TEST_F(PaletteTest, EveryListedSystemColourResolvesToAnRGBColour)
{
    for (const String& Name : ListedNames()) {
        int Color = 0;
        ASSERT_TRUE(IdentToColor(Name, Color));
        const TColor RGB = ColorToRGB(Color);
        EXPECT_EQ(static_cast<std::uint32_t>(RGB) >> 24, 0u) << Name.toStdString();
        EXPECT_EQ(ColorToRGB(RGB), RGB) << "an RGB colour resolves to itself";
    }
}

TEST_F(PaletteTest, ResolutionFollowsAPaletteChange)
{
    QPalette P = QApplication::palette();
    P.setColor(QPalette::Active, QPalette::Base, QColor(0x12, 0x34, 0x56));
    QApplication::setPalette(P);
    EXPECT_EQ(ColorToRGB(clWindow), 0x563412);
    P.setColor(QPalette::Active, QPalette::Base, QColor(0xFE, 0xDC, 0xBA));
    QApplication::setPalette(P);
    EXPECT_EQ(ColorToRGB(clWindow), 0xBADCFE);
    EXPECT_EQ(ColorToRGB(clDefault), 0xBADCFE);
}

TEST_F(PaletteTest, UnknownSystemIndicesAreBlack)
{
    for (std::uint32_t Bits : {0xFF000019u, 0xFF00001Fu, 0xFF0000FFu, 0xFF123456u, 0xFFFFFFFFu})
        EXPECT_EQ(ColorToRGB(static_cast<TColor>(Bits)), clBlack) << std::hex << Bits;
}

} // namespace
