#pragma once
// What the fuzz targets share: a check that stops the run with a readable message, which libFuzzer
// then reports as a crash together with the input that caused it, a way to show texts in those
// messages, and the ways the targets read their input.

#include <QString>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>

namespace fuzz {

// A text as a message shows it: printable ASCII as it is, everything else as \uXXXX, in quotes.
inline QString Shown(const QString& S)
{
    QString Out = QStringLiteral("\"");
    for (const QChar C : S) {
        const char16_t U = C.unicode();
        if (U >= 0x20 && U < 0x7F && U != u'\\' && U != u'"')
            Out += C;
        else
            Out += QString::asprintf("\\u%04X", unsigned(U));
    }
    return Out + QStringLiteral("\"");
}

// What a target adds to every failure message, such as the steps taken so far; unset when empty.
inline std::function<QString()> FailureContext;

[[noreturn]] inline void Fail(const char* File, int Line, const char* Condition, const QString& Detail)
{
    std::fprintf(stderr, "\n==== invariant violated at %s:%d\n     %s\n     %s\n", File, Line, Condition,
                 Detail.toLocal8Bit().constData());
    if (FailureContext)
        std::fprintf(stderr, "%s\n", FailureContext().toLocal8Bit().constData());
    std::fflush(stderr);
    __builtin_trap();
}

// The value of an ASCII hexadecimal digit of either case, or -1.
inline int HexDigit(char16_t U)
{
    if (U >= u'0' && U <= u'9')
        return U - u'0';
    if (U >= u'a' && U <= u'f')
        return U - u'a' + 10;
    if (U >= u'A' && U <= u'F')
        return U - u'A' + 10;
    return -1;
}

// The input's bytes read as text three ways: UTF-8 (malformed sequences become replacement
// characters), Latin-1 (every byte one character), and little-endian UTF-16 code units, unpaired
// surrogates included (an odd last byte is left out).
struct InputTexts {
    QString Utf8;
    QString Latin1;
    QString Utf16;
};

inline InputTexts TextsOf(const std::uint8_t* Data, std::size_t Size)
{
    const char* Bytes = reinterpret_cast<const char*>(Data);
    const qsizetype Length = static_cast<qsizetype>(Size);
    InputTexts Texts{QString::fromUtf8(Bytes, Length), QString::fromLatin1(Bytes, Length),
                     QString(Length / 2, Qt::Uninitialized)};
    for (qsizetype I = 0; I < Texts.Utf16.size(); ++I)
        Texts.Utf16[I] = QChar(char16_t(Data[2 * I] | Data[2 * I + 1] << 8));
    return Texts;
}

// The first four bytes as a little-endian 32-bit value, missing bytes read as zero.
inline std::uint32_t FirstWord(const std::uint8_t* Data, std::size_t Size)
{
    std::uint32_t Bits = 0;
    if (Size > 0)
        std::memcpy(&Bits, Data, std::min<std::size_t>(Size, sizeof Bits));
    return Bits;
}

} // namespace fuzz

// Stops the run when Condition is false; Detail (a QString) is evaluated only then.
#define FUZZ_CHECK(Condition, Detail)                                  \
    do {                                                               \
        if (!(Condition))                                              \
            ::fuzz::Fail(__FILE__, __LINE__, #Condition, (Detail));    \
    } while (0)
