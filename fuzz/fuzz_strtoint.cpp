// The runtime's integer text conversion under arbitrary texts.
//
// The input's bytes are read three ways (UTF-8, Latin-1, and little-endian UTF-16 code units,
// unpaired surrogates included), and each text must be:
// - accepted by TryStrToInt and StrToInt exactly when the acceptor below, written from the rules
//   alone, accepts it, with the same value; refused without touching the caller's variable and
//   with an EConvertError whose message quotes the text legibly;
// - when accepted, printed back by IntToStr and "$" + IntToHex(v, 8) as texts that parse to the
//   same value.
// The first four bytes, read as a 32-bit value, also go through the printers and back.
#include "FuzzSupport.h"

#include "host/rtl/SysUtils.h"

#include <QString>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>

namespace {

using fuzz::HexDigit;
using fuzz::Shown;

// The rules: optional "-" and one or more ASCII decimal digits whose value lies in
// [-2^31, 2^31 - 1]; or "$" and one or more ASCII hexadecimal digits of either case whose value
// fits in 32 bits unsigned (leading zeros do not count), read as the signed 32-bit pattern.
// Nothing else.
std::optional<int> ReferenceValue(const QString& S)
{
    if (S.isEmpty())
        return std::nullopt;
    if (S.front() == u'$') {
        if (S.size() == 1)
            return std::nullopt;
        std::uint64_t Value = 0;
        for (qsizetype I = 1; I < S.size(); ++I) {
            const int Digit = HexDigit(S[I].unicode());
            if (Digit < 0)
                return std::nullopt;
            Value = Value * 16 + std::uint64_t(Digit);
            if (Value > 0xFFFFFFFFu)
                return std::nullopt;
        }
        return static_cast<int>(static_cast<std::uint32_t>(Value));
    }
    const bool Negative = S.front() == u'-';
    const qsizetype First = Negative ? 1 : 0;
    if (S.size() == First)
        return std::nullopt;
    constexpr std::int64_t Beyond = std::int64_t{1} << 32;
    std::int64_t Magnitude = 0;
    for (qsizetype I = First; I < S.size(); ++I) {
        const char16_t U = S[I].unicode();
        if (U < u'0' || U > u'9')
            return std::nullopt;
        // Capped, so that long texts of digits cannot overflow; the range test below refuses them.
        Magnitude = std::min(Magnitude * 10 + (U - u'0'), Beyond);
    }
    const std::int64_t Value = Negative ? -Magnitude : Magnitude;
    if (Value < std::numeric_limits<int>::min() || Value > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(Value);
}

bool HasControlCharacter(const QString& S)
{
    for (const QChar C : S)
        if (C.unicode() < 0x20 || C.unicode() == 0x7F)
            return true;
    return false;
}

bool IsWellFormedUtf16(const QString& S)
{
    for (qsizetype I = 0; I < S.size(); ++I) {
        if (S[I].isHighSurrogate()) {
            if (I + 1 == S.size() || !S[I + 1].isLowSurrogate())
                return false;
            ++I;
        } else if (S[I].isLowSurrogate()) {
            return false;
        }
    }
    return true;
}

// The message of a refused text: the text in single quotes, control characters escaped, cut
// after 64 characters with an ellipsis, then the reason.
void CheckRefusalMessage(const QString& S, const EConvertError& E)
{
    const QString Suffix = QStringLiteral(" is not a valid integer value");
    const QString& M = E.Message();
    FUZZ_CHECK(M.startsWith(u'\'') && M.endsWith(QLatin1Char('\'') + Suffix), QStringLiteral("message ") + Shown(M));
    FUZZ_CHECK(QByteArray(E.what()) == M.toUtf8(), QStringLiteral("what() differs from the message ") + Shown(M));
    const QString Quoted = M.mid(1, M.size() - 2 - Suffix.size());
    FUZZ_CHECK(!HasControlCharacter(Quoted), QStringLiteral("control character in ") + Shown(M));
    // At most 64 characters, each shown as itself or as a four-character escape, and the ellipsis.
    FUZZ_CHECK(Quoted.size() <= 64 * 4 + 1, QStringLiteral("message of %1 characters").arg(M.size()));
    FUZZ_CHECK(!IsWellFormedUtf16(S) || IsWellFormedUtf16(Quoted),
               QStringLiteral("the quote splits a character of ") + Shown(S) + QStringLiteral(": ") + Shown(M));
    if (HasControlCharacter(S.left(64)))
        return;
    // A high surrogate in the 64th place is cut off with what follows it, so that a pair is never
    // split; the quote does not look ahead, so a lone one there is cut off too, ending the text.
    const bool CutAt63 = S.size() >= 64 && S[63].isHighSurrogate();
    const QString Cut = Quoted.endsWith(QChar(0x2026)) ? Quoted.chopped(1) : QString();
    if (S.size() <= 64 && !CutAt63)
        FUZZ_CHECK(Quoted == S, QStringLiteral("quote of ") + Shown(S) + QStringLiteral(" is ") + Shown(M));
    else
        FUZZ_CHECK(Cut == S.left(CutAt63 ? 63 : 64),
                   QStringLiteral("quote of a long text ") + Shown(S.left(80)) + QStringLiteral(" is ") + Shown(M));
}

// A value's printed forms parse back to it.
void CheckPrintedForms(int V, int Digits)
{
    const QString Decimal = IntToStr(V);
    FUZZ_CHECK(Decimal == QString::fromStdString(std::to_string(V)), QStringLiteral("IntToStr(%1) = ").arg(V) + Shown(Decimal));
    const QString Hex = IntToHex(V, 8);
    FUZZ_CHECK(Hex == QString::asprintf("%08X", static_cast<unsigned>(V)), QStringLiteral("IntToHex(%1, 8) = ").arg(V) + Shown(Hex));
    const QString Padded = IntToHex(V, Digits);
    FUZZ_CHECK(Padded == QString::asprintf("%0*X", Digits, static_cast<unsigned>(V)),
               QStringLiteral("IntToHex(%1, %2) = ").arg(V).arg(Digits) + Shown(Padded));
    for (const QString& Text : {Decimal, QLatin1Char('$') + Hex, QLatin1Char('$') + Padded}) {
        int Parsed = ~V;
        FUZZ_CHECK(TryStrToInt(Text, Parsed) && Parsed == V,
                   Shown(Text) + QStringLiteral(" does not read back as %1").arg(V));
        FUZZ_CHECK(StrToInt(Text) == V, Shown(Text) + QStringLiteral(" does not read back as %1").arg(V));
    }
}

void CheckText(const QString& S, int Digits)
{
    const std::optional<int> Expected = ReferenceValue(S);

    // TryStrToInt leaves the variable alone when it refuses.
    const int Untouched = static_cast<int>(0x5EEDF00Du ^ static_cast<std::uint32_t>(S.size()));
    int Value = Untouched;
    const bool Ok = TryStrToInt(S, Value);
    FUZZ_CHECK(Ok == Expected.has_value(),
               Shown(S) + (Ok ? QStringLiteral(" accepted as %1 but the rules refuse it").arg(Value)
                              : QStringLiteral(" refused but the rules give %1").arg(Expected.value_or(0))));
    FUZZ_CHECK(Ok ? Value == *Expected : Value == Untouched,
               Shown(S) + QStringLiteral(" gave %1, expected %2").arg(Value).arg(Ok ? *Expected : Untouched));

    try {
        const int Raised = StrToInt(S);
        FUZZ_CHECK(Expected && Raised == *Expected, QStringLiteral("StrToInt(") + Shown(S) + QStringLiteral(") = %1").arg(Raised));
    } catch (const EConvertError& E) {
        FUZZ_CHECK(!Expected, QStringLiteral("StrToInt refused ") + Shown(S));
        CheckRefusalMessage(S, E);
    }

    if (Expected)
        CheckPrintedForms(*Expected, Digits);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size)
{
    // The width IntToHex is asked for: 0 to 16 digits, from the input so that it varies.
    const int Digits = Size > 0 ? Data[Size - 1] % 17 : 8;

    const fuzz::InputTexts Texts = fuzz::TextsOf(Data, Size);
    CheckText(Texts.Utf8, Digits);
    CheckText(Texts.Latin1, Digits);
    CheckText(Texts.Utf16, Digits);
    CheckPrintedForms(static_cast<int>(fuzz::FirstWord(Data, Size)), Digits);
    return 0;
}
