#pragma once
// What the fuzz targets share: a check that stops the run with a readable message, which libFuzzer
// then reports as a crash together with the input that caused it, and a way to show texts in
// those messages.

#include <QString>

#include <cstdio>
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

} // namespace fuzz

// Stops the run when Condition is false; Detail (a QString) is evaluated only then.
#define FUZZ_CHECK(Condition, Detail)                                  \
    do {                                                               \
        if (!(Condition))                                              \
            ::fuzz::Fail(__FILE__, __LINE__, #Condition, (Detail));    \
    } while (0)
