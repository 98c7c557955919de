// Runtime library: exceptions and integer text conversion.
#include "host/rtl/SysUtils.h"

#include <cstdint>
#include <limits>

Exception::Exception(const String& message)
    : FMessage(message)
    , FUtf8(message.toUtf8())
{
}

namespace {

// Longest part of a user's text that a message quotes; the rest is elided.
constexpr int MaxQuotedChars = 64;
constexpr char UpperHexDigits[] = "0123456789ABCDEF";

int AsciiDigitValue(QChar C)
{
    const char16_t U = C.unicode();
    return U >= u'0' && U <= u'9' ? U - u'0' : -1;
}


// "$" then one or more hexadecimal digits; at most eight significant digits, whose 32-bit
// pattern is read as a signed value.
bool ParseHex(const String& S, int& Value)
{
    if (S.size() < 2)
        return false;
    std::uint32_t Result = 0;
    int Significant = 0;
    for (qsizetype I = 1; I < S.size(); ++I) {
        const int Digit = AsciiHexDigitValue(S[I]);
        if (Digit < 0)
            return false;
        if (Significant > 0 || Digit != 0)
            ++Significant;
        if (Significant > 8)
            return false;
        Result = Result << 4 | static_cast<std::uint32_t>(Digit);
    }
    Value = static_cast<int>(Result);
    return true;
}

// Optional "-" then one or more decimal digits, within the signed 32-bit range.
bool ParseDecimal(const String& S, int& Value)
{
    const bool Negative = S.startsWith(u'-');
    const qsizetype First = Negative ? 1 : 0;
    if (S.size() <= First)
        return false;
    // The magnitude of INT_MIN is one more than INT_MAX's.
    const std::int64_t Limit =
        std::int64_t{std::numeric_limits<int>::max()} + (Negative ? 1 : 0);
    std::int64_t Magnitude = 0;
    for (qsizetype I = First; I < S.size(); ++I) {
        const int Digit = AsciiDigitValue(S[I]);
        if (Digit < 0)
            return false;
        Magnitude = Magnitude * 10 + Digit;
        if (Magnitude > Limit)
            return false;
    }
    Value = static_cast<int>(Negative ? -Magnitude : Magnitude);
    return true;
}

} // namespace

String QuoteForMessage(const String& S)
{
    String Shown;
    qsizetype I = 0;
    for (; I < S.size() && I < MaxQuotedChars; ++I) {
        const QChar C = S[I];
        // A surrogate pair is never split at the cut.
        if (C.isHighSurrogate() && I + 1 == MaxQuotedChars)
            break;
        const char16_t U = C.unicode();
        if (U < 0x20 || U == 0x7F)
        {
            // Control characters (a NUL above all) would cut or garble the message: show them
            // as escapes.
            Shown += QStringLiteral("\\x");
            Shown += QLatin1Char(UpperHexDigits[U >> 4]);
            Shown += QLatin1Char(UpperHexDigits[U & 0xF]);
        } else
            Shown += C;
    }
    if (I < S.size())
        Shown += QChar(0x2026);
    return QLatin1Char('\'') + Shown + QLatin1Char('\'');
}

bool TryStrToInt(const String& S, int& Value)
{
    int Result = 0;
    const bool Ok = S.startsWith(u'$') ? ParseHex(S, Result) : ParseDecimal(S, Result);
    if (Ok)
        Value = Result;
    return Ok;
}

int StrToInt(const String& S)
{
    int Value = 0;
    if (!TryStrToInt(S, Value))
        throw EConvertError(QuoteForMessage(S) + QStringLiteral(" is not a valid integer value"));
    return Value;
}

String IntToStr(int Value)
{
    return QString::number(Value);
}

String IntToHex(int Value, int Digits)
{
    const String Hex = QString::number(static_cast<std::uint32_t>(Value), 16).toUpper();
    return Digits > Hex.size() ? Hex.rightJustified(Digits, u'0') : Hex;
}

namespace {

char16_t AsciiLower(char16_t C)
{
    return C >= u'A' && C <= u'Z' ? char16_t(C + (u'a' - u'A')) : C;
}

template <typename Text>
bool SameTextOf(const String& A, const Text& B)
{
    if (A.size() != B.size())
        return false;
    for (qsizetype I = 0; I < A.size(); ++I)
        if (AsciiLower(A[I].unicode()) != AsciiLower(QChar(B[I]).unicode()))
            return false;
    return true;
}

}  // namespace

bool SameText(const String& A, const String& B)
{
    return SameTextOf(A, B);
}

bool SameText(const String& A, QLatin1String B)
{
    return SameTextOf(A, B);
}

int AsciiHexDigitValue(QChar C)
{
    const char16_t U = C.unicode();
    if (U >= u'0' && U <= u'9')
        return U - u'0';
    if (U >= u'a' && U <= u'f')
        return U - u'a' + 10;
    if (U >= u'A' && U <= u'F')
        return U - u'A' + 10;
    return -1;
}
