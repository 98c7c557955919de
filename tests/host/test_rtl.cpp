// Runtime library: integer texts, hexadecimal, rounding, the string list and exceptions.
#include "host/rtl/Classes.h"
#include "host/rtl/Math.h"
#include "host/rtl/SysUtils.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <vector>

namespace {

struct AcceptedText {
    const char16_t* Text;
    int Value;
};

const AcceptedText AcceptedTexts[] = {
    {u"0", 0},
    {u"-0", 0},
    {u"7", 7},
    {u"-7", -7},
    {u"00042", 42},
    {u"2147483647", INT_MAX},
    {u"-2147483648", INT_MIN},
    {u"$0", 0},
    {u"$ff", 255},
    {u"$FF", 255},
    {u"$aBcD", 0xABCD},
    {u"$7FFFFFFF", INT_MAX},
    {u"$80000000", INT_MIN},
    {u"$FFFFFFFF", -1},
    {u"$00000000FF", 255},
    {u"$0000000000000000FFFFFFFF", -1},
};

TEST(StrToIntTest, AcceptsDecimalAndDollarHexadecimal)
{
    for (const AcceptedText& Case : AcceptedTexts) {
        const String Text = QString::fromUtf16(Case.Text);
        SCOPED_TRACE(Text.toStdString());
        EXPECT_EQ(StrToInt(Text), Case.Value);
        int Value = 12345;
        EXPECT_TRUE(TryStrToInt(Text, Value));
        EXPECT_EQ(Value, Case.Value);
    }
}

std::vector<String> RefusedTexts()
{
    std::vector<String> Texts = {
        QString(),
        QStringLiteral(""),
        QStringLiteral(" "),
        QStringLiteral(" 5"),
        QStringLiteral("5 "),
        QStringLiteral("5 5"),
        QStringLiteral("+5"),
        QStringLiteral("$"),
        QStringLiteral("$GG"),
        QStringLiteral("$ 1"),
        QStringLiteral("12a"),
        QStringLiteral("1.5"),
        QStringLiteral("99999999999"),
        QStringLiteral("2147483648"),
        QStringLiteral("-2147483649"),
        QStringLiteral("$100000000"),
        QStringLiteral("$123456789"),
        QStringLiteral("0x10"),
        QStringLiteral("#10"),
        QStringLiteral("-$10"),
        QStringLiteral("$-10"),
        QStringLiteral("--5"),
        QStringLiteral("-"),
        QStringLiteral("clRed"),
        QString(10000, u'9'),
        // Arabic-Indic digits one, two, three: digits to Unicode, but not integer texts.
        QString::fromUtf16(u"\u0661\u0662\u0663"),
        // Full-width digit five.
        QString::fromUtf16(u"\uFF15"),
    };
    Texts.push_back(QString::fromUtf16(u"12\0" "3", 4));
    Texts.push_back(QString::fromUtf16(u"$F\0", 3));
    return Texts;
}

TEST(StrToIntTest, RefusesEverythingElseWithAConvertError)
{
    for (const String& Text : RefusedTexts()) {
        SCOPED_TRACE(Text.left(40).toStdString());
        EXPECT_THROW(StrToInt(Text), EConvertError);
        int Value = 12345;
        EXPECT_FALSE(TryStrToInt(Text, Value));
        EXPECT_EQ(Value, 12345) << "a refused text leaves the value alone";
    }
}

String MessageOf(const String& Text)
{
    try {
        StrToInt(Text);
    } catch (const EConvertError& E) {
        return E.Message();
    }
    ADD_FAILURE() << "no EConvertError for " << Text.left(40).toStdString();
    return {};
}

TEST(StrToIntTest, ErrorMessageQuotesTheText)
{
    EXPECT_EQ(MessageOf(QStringLiteral("12a")), QStringLiteral("'12a' is not a valid integer value"));
    EXPECT_EQ(MessageOf(QString()), QStringLiteral("'' is not a valid integer value"));
    EXPECT_EQ(MessageOf(QStringLiteral(" 5")), QStringLiteral("' 5' is not a valid integer value"));
}

TEST(StrToIntTest, ErrorMessageOfALongTextStaysShort)
{
    const String Long = QStringLiteral("1234567890").repeated(1000);
    const String Message = MessageOf(Long);
    EXPECT_LT(Message.size(), 120);
    EXPECT_TRUE(Message.startsWith(QLatin1Char('\'') + Long.left(64) + QChar(0x2026) + QLatin1Char('\'')))
        << Message.toStdString();
    EXPECT_TRUE(Message.endsWith(QStringLiteral(" is not a valid integer value")));
}

TEST(StrToIntTest, ErrorMessageShowsControlCharactersAsEscapes)
{
    const String WithNul = QString::fromUtf16(u"12\0" "3", 4);
    const String Message = MessageOf(WithNul);
    EXPECT_EQ(Message, QStringLiteral("'12\\x003' is not a valid integer value"));
    try {
        StrToInt(WithNul);
        FAIL() << "no exception";
    } catch (const std::exception& E) {
        // what() carries the whole message, not a text cut at the NUL.
        EXPECT_STREQ(E.what(), "'12\\x003' is not a valid integer value");
    }
    EXPECT_EQ(MessageOf(QStringLiteral("a\tb\x7F")), QStringLiteral("'a\\x09b\\x7F' is not a valid integer value"));
}

TEST(StrToIntTest, QuotingNeverSplitsASurrogatePair)
{
    // 63 ASCII characters, then a character outside the basic plane at the cut.
    const String Text = QString(63, u'x') + QString::fromUtf16(u"\U0001F600") + QStringLiteral("tail");
    const String Quoted = QuoteForMessage(Text);
    EXPECT_EQ(Quoted, QLatin1Char('\'') + QString(63, u'x') + QChar(0x2026) + QLatin1Char('\''));
    EXPECT_EQ(QuoteForMessage(QStringLiteral("ok")), QStringLiteral("'ok'"));
    EXPECT_EQ(QuoteForMessage(QString(64, u'y')), QLatin1Char('\'') + QString(64, u'y') + QLatin1Char('\''));
}

TEST(IntToTextTest, IntToStrWritesDecimal)
{
    EXPECT_EQ(IntToStr(0), QStringLiteral("0"));
    EXPECT_EQ(IntToStr(-42), QStringLiteral("-42"));
    EXPECT_EQ(IntToStr(INT_MAX), QStringLiteral("2147483647"));
    EXPECT_EQ(IntToStr(INT_MIN), QStringLiteral("-2147483648"));
}

TEST(IntToTextTest, IntToHexIsUpperCaseZeroFilledThirtyTwoBitPattern)
{
    EXPECT_EQ(IntToHex(255, 8), QStringLiteral("000000FF"));
    EXPECT_EQ(IntToHex(0xABCDEF, 8), QStringLiteral("00ABCDEF"));
    EXPECT_EQ(IntToHex(-1, 8), QStringLiteral("FFFFFFFF"));
    EXPECT_EQ(IntToHex(INT_MIN, 8), QStringLiteral("80000000"));
    EXPECT_EQ(IntToHex(255, 2), QStringLiteral("FF"));
    EXPECT_EQ(IntToHex(0x12345, 2), QStringLiteral("12345")) << "Digits is a minimum";
    EXPECT_EQ(IntToHex(0, 0), QStringLiteral("0"));
    EXPECT_EQ(IntToHex(10, -3), QStringLiteral("A"));
    EXPECT_EQ(IntToHex(1, 10), QStringLiteral("0000000001"));
}

TEST(IntToTextTest, TextsReadBackToTheirValue)
{
    const int Values[] = {0, 1, -1, 255, -255, 0x00C0FFEE, 0x7FFFFFFF, INT_MIN, -123456789, static_cast<int>(0xFF000005u)};
    for (int Value : Values) {
        SCOPED_TRACE(Value);
        EXPECT_EQ(StrToInt(IntToStr(Value)), Value);
        EXPECT_EQ(StrToInt(QLatin1Char('$') + IntToHex(Value, 8)), Value);
        EXPECT_EQ(StrToInt(QLatin1Char('$') + IntToHex(Value, 8).toLower()), Value);
    }
}

TEST(MathTest, RoundHalvesToEven)
{
    EXPECT_EQ(Round(2.5), 2);
    EXPECT_EQ(Round(3.5), 4);
    EXPECT_EQ(Round(-2.5), -2);
    EXPECT_EQ(Round(2.4999), 2);
    EXPECT_EQ(Round(2.5001), 3);
    EXPECT_EQ(Round(0.5L), 0);
    EXPECT_EQ(Round(1.5L), 2);
}

TEST(MathTest, TruncFloorMinMax)
{
    EXPECT_EQ(Trunc(2.9), 2);
    EXPECT_EQ(Trunc(-2.9), -2);
    EXPECT_EQ(Floor(2.9), 2);
    EXPECT_EQ(Floor(-2.1), -3);
    EXPECT_EQ(Min(3, -4), -4);
    EXPECT_EQ(Max(3, -4), 3);
}

TEST(StringListTest, AddReadAndReplaceInPlace)
{
    TStringList List;
    EXPECT_EQ(List.Count(), 0);
    EXPECT_EQ(List.Add(QStringLiteral("clRed")), 0);
    EXPECT_EQ(List.Add(QStringLiteral("clBlue")), 1);
    EXPECT_EQ(List.Add(QStringLiteral("clRed")), 2) << "duplicates are kept";
    ASSERT_EQ(List.Count(), 3);
    EXPECT_EQ(List.Strings(1), QStringLiteral("clBlue"));
    List.Put(1, QStringLiteral("$00FF00FF"));
    EXPECT_EQ(List[1], QStringLiteral("$00FF00FF"));
    EXPECT_EQ(List[0], QStringLiteral("clRed"));
    EXPECT_EQ(List.Count(), 3);
    List.Clear();
    EXPECT_EQ(List.Count(), 0);
}

String ListErrorOf(const std::function<void()>& Action)
{
    try {
        Action();
    } catch (const EListError& E) {
        return E.Message();
    }
    return QStringLiteral("no EListError");
}

TEST(StringListTest, IndexOutsideTheListRaises)
{
    TStringList List;
    EXPECT_EQ(ListErrorOf([&] { List.Strings(0); }), QStringLiteral("List index out of bounds (0)"));
    List.Add(QStringLiteral("a"));
    EXPECT_EQ(ListErrorOf([&] { List.Strings(1); }), QStringLiteral("List index out of bounds (1)"));
    EXPECT_EQ(ListErrorOf([&] { List.Strings(-1); }), QStringLiteral("List index out of bounds (-1)"));
    EXPECT_EQ(ListErrorOf([&] { List.Put(5, QStringLiteral("b")); }), QStringLiteral("List index out of bounds (5)"));
    EXPECT_EQ(ListErrorOf([&] { (void)List[INT_MIN]; }), QStringLiteral("List index out of bounds (-2147483648)"));
    EXPECT_EQ(List[0], QStringLiteral("a")) << "a failed write changes nothing";
}

TEST(StringListTest, FreeAndNilFreesAndClears)
{
    auto* List = new TStringList;
    List->Add(QStringLiteral("x"));
    FreeAndNil(List);
    EXPECT_EQ(List, nullptr);
    FreeAndNil(List); // freeing nothing is harmless
    EXPECT_EQ(List, nullptr);
}

TEST(ExceptionTest, KeepsMessageAndItsUtf8)
{
    const Exception E(QString::fromUtf16(u"Farbe \u00FCberpr\u00FCfen"));
    EXPECT_EQ(E.Message(), QString::fromUtf16(u"Farbe \u00FCberpr\u00FCfen"));
    EXPECT_STREQ(E.what(), "Farbe \xC3\xBC" "berpr\xC3\xBC" "fen");
    const EConvertError Copy = EConvertError(QStringLiteral("bad"));
    const std::exception& Base = Copy;
    EXPECT_STREQ(Base.what(), "bad");
}

} // namespace
