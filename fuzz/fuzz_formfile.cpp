// Form files under arbitrary bytes: the reader either refuses the input, with every problem
// positioned inside the text (line and column of an existing character, or just past the end),
// or builds a form; a form it builds saves, reopens and saves again to the same bytes, and the
// reopened form holds the same values as the first.
#include "FuzzSupport.h"

#include "core/FormFile.h"
#include "core/FormModel.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>

namespace {

// Lines and the number of characters on each, counted the way the reader counts them.
bool PositionInside(const QByteArray& text, int line, int column)
{
    if (line < 1 || column < 1)
        return false;
    const QList<QByteArray> lines = text.split('\n');
    if (line > lines.size())
        return false;
    int characters = 0;
    for (const char c : lines.at(line - 1))
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)
            ++characters;
    return column <= characters + 1;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size)
{
    const QByteArray Text(reinterpret_cast<const char*>(Data), static_cast<qsizetype>(Size));
    const FormReadResult First = FormFile::parse(Text, QStringLiteral("input"));
    if (!First.form) {
        FUZZ_CHECK(!First.problems.empty(), QStringLiteral("refused without a message"));
        FUZZ_CHECK(static_cast<int>(First.problems.size()) <= FormFile::MaxProblems + 1,
                   QStringLiteral("%1 problems reported").arg(First.problems.size()));
        for (const FormProblem& Problem : First.problems) {
            FUZZ_CHECK(!Problem.message.isEmpty(), QStringLiteral("a problem without a message"));
            FUZZ_CHECK(PositionInside(Text, Problem.line, Problem.column),
                       QStringLiteral("position %1:%2 outside the text: ").arg(Problem.line).arg(Problem.column) + fuzz::Shown(Problem.message));
        }
        return 0;
    }
    FUZZ_CHECK(First.problems.empty(), QStringLiteral("a form read with problems"));

    const QByteArray Saved = FormFile::serialize(*First.form);
    const FormReadResult Second = FormFile::parse(Saved, QStringLiteral("saved"));
    FUZZ_CHECK(Second.form, QStringLiteral("the saved form does not open again: ") + fuzz::Shown(Second.messages().join(u'\n')) +
                                QStringLiteral("\nsaved text: ") + fuzz::Shown(QString::fromUtf8(Saved)));
    const QByteArray SavedAgain = FormFile::serialize(*Second.form);
    FUZZ_CHECK(SavedAgain == Saved, QStringLiteral("saving again gives other bytes:\n") + fuzz::Shown(QString::fromUtf8(Saved)) +
                                        QStringLiteral("\n") + fuzz::Shown(QString::fromUtf8(SavedAgain)));
    FUZZ_CHECK(FormFile::dump(*Second.form) == FormFile::dump(*First.form), QStringLiteral("values changed on reopening"));
    return 0;
}
