// Form files under arbitrary bytes, held against a second, independent reading of JSON:
// - text that is no JSON value is refused with exactly one "not valid JSON" problem, and a JSON
//   value is never called that;
// - every other problem stands where a value or a key starts, or at an escape of half a surrogate
//   pair alone, or where text follows the value, as the second reading finds them in the input
//   (so a column after "\"" or "\\" or "\u0022" that is off shows); each of the last two is
//   reported;
// - a form it reads saves, opens again to the same --dump text and saves again to the same bytes;
// - every --dump line reads back, escapes undone, to exactly the value it prints.
#include "FuzzSupport.h"

#include "core/FormFile.h"
#include "core/FormModel.h"
#include "core/FormProperties.h"

#include "host/palmo/PalmoControl.h"

#include <QByteArray>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <set>
#include <vector>

namespace {

// RFC 8259 read by hand: whether the text (after a byte-order mark) is one value, where each
// value and key starts, where an escape of half a surrogate pair stands alone, and where text
// follows the value. Containers nest at most MaxDepth deep, as the reader allows.
class JsonCheck {
public:
    static constexpr int MaxDepth = 512;

    explicit JsonCheck(const QByteArray& Text) : T(Text), Pos(Text.startsWith("\xEF\xBB\xBF") ? 3 : 0)
    {
        Blanks();
        Valid = Value(0);
        if (Valid) {
            Blanks();
            if (Pos < T.size())
                Trailing = Pos;
        }
    }

    bool Valid = false;
    qsizetype Trailing = -1;
    std::set<qsizetype> Starts;
    std::vector<qsizetype> Unpaired;

private:
    int Peek() const { return Pos < T.size() ? static_cast<unsigned char>(T[Pos]) : -1; }
    bool Eat(char C)
    {
        if (Peek() != static_cast<unsigned char>(C))
            return false;
        ++Pos;
        return true;
    }
    void Blanks()
    {
        while (Peek() == ' ' || Peek() == '\t' || Peek() == '\n' || Peek() == '\r')
            ++Pos;
    }
    bool Digits()
    {
        const qsizetype First = Pos;
        while (Peek() >= '0' && Peek() <= '9')
            ++Pos;
        return Pos > First;
    }
    bool Word(const char* W)
    {
        const qsizetype Length = static_cast<qsizetype>(std::strlen(W));
        if (T.mid(Pos, Length) != W)
            return false;
        Pos += Length;
        return true;
    }
    int Hex4At(qsizetype At) const
    {
        if (At + 4 > T.size())
            return -1;
        int Unit = 0;
        for (qsizetype I = At; I < At + 4; ++I) {
            const int Digit = fuzz::HexDigit(static_cast<unsigned char>(T[I]));
            if (Digit < 0)
                return -1;
            Unit = Unit * 16 + Digit;
        }
        return Unit;
    }
    bool Value(int Depth)
    {
        Starts.insert(Pos);
        const int C = Peek();
        if (C == '{' || C == '[')
            return Depth < MaxDepth && Container(Depth + 1, C == '{');
        if (C == '"')
            return String();
        if (C == '-' || (C >= '0' && C <= '9'))
            return Number();
        return Word("true") || Word("false") || Word("null");
    }
    bool Container(int Depth, bool IsObject)
    {
        ++Pos;
        Blanks();
        if (Eat(IsObject ? '}' : ']'))
            return true;
        for (;;) {
            if (IsObject) {
                Starts.insert(Pos);
                if (Peek() != '"' || !String())
                    return false;
                Blanks();
                if (!Eat(':'))
                    return false;
                Blanks();
            }
            if (!Value(Depth))
                return false;
            Blanks();
            if (Eat(IsObject ? '}' : ']'))
                return true;
            if (!Eat(','))
                return false;
            Blanks();
        }
    }
    bool Number()
    {
        Eat('-');
        if (!Eat('0') && !Digits())
            return false;
        if (Eat('.') && !Digits())
            return false;
        if (Eat('e') || Eat('E')) {
            if (!Eat('+'))
                Eat('-');
            if (!Digits())
                return false;
        }
        return true;
    }
    bool String()
    {
        ++Pos;
        for (;;) {
            const int C = Peek();
            if (C < 0x20)  // the end, or a raw control character
                return false;
            if (C == '"') {
                ++Pos;
                return true;
            }
            if (C == '\\') {
                if (!Escape())
                    return false;
            } else if (C >= 0x80) {
                if (!Utf8Sequence())
                    return false;
            } else {
                ++Pos;
            }
        }
    }
    bool Escape()
    {
        const qsizetype Backslash = Pos;
        ++Pos;
        const int E = Peek();
        if (E > 0 && std::strchr("\"\\/bfnrt", E)) {
            ++Pos;
            return true;
        }
        if (E != 'u')
            return false;
        const int Unit = Hex4At(Pos + 1);
        if (Unit < 0)
            return false;
        Pos += 5;
        if (Unit >= 0xD800 && Unit <= 0xDBFF && T.mid(Pos, 2) == "\\u") {
            const int Low = Hex4At(Pos + 2);
            if (Low >= 0xDC00 && Low <= 0xDFFF) {
                Pos += 6;
                return true;
            }
        }
        if (Unit >= 0xD800 && Unit <= 0xDFFF)
            Unpaired.push_back(Backslash);
        return true;
    }
    // One well-formed UTF-8 sequence of two to four bytes: no overlong form, no surrogate, nothing
    // beyond U+10FFFF.
    bool Utf8Sequence()
    {
        const int Lead = Peek();
        int Length = 0;
        std::uint32_t Code = 0;
        if (Lead >= 0xC2 && Lead <= 0xDF) {
            Length = 2;
            Code = Lead & 0x1F;
        } else if (Lead >= 0xE0 && Lead <= 0xEF) {
            Length = 3;
            Code = Lead & 0x0F;
        } else if (Lead >= 0xF0 && Lead <= 0xF4) {
            Length = 4;
            Code = Lead & 0x07;
        } else {
            return false;
        }
        for (int I = 1; I < Length; ++I) {
            if (Pos + I >= T.size() || (static_cast<unsigned char>(T[Pos + I]) & 0xC0) != 0x80)
                return false;
            Code = Code << 6 | (static_cast<unsigned char>(T[Pos + I]) & 0x3F);
        }
        const std::uint32_t Least[] = {0, 0, 0x80, 0x800, 0x10000};
        if (Code < Least[Length] || (Code >= 0xD800 && Code <= 0xDFFF) || Code > 0x10FFFF)
            return false;
        Pos += Length;
        return true;
    }

    const QByteArray& T;
    qsizetype Pos;
};

// Line and column of every byte offset, as the format counts them: lines end at "\n", a UTF-8
// sequence is one column.
std::vector<std::pair<int, int>> Positions(const QByteArray& Text)
{
    std::vector<std::pair<int, int>> Out(static_cast<std::size_t>(Text.size()) + 1);
    int Line = 1;
    int CharactersBefore = 0;  // on this line, counting the bytes that start a character
    for (qsizetype I = 0; I <= Text.size(); ++I) {
        Out[static_cast<std::size_t>(I)] = {Line, CharactersBefore + 1};
        if (I == Text.size())
            break;
        if (Text[I] == '\n') {
            ++Line;
            CharactersBefore = 0;
        } else if ((static_cast<unsigned char>(Text[I]) & 0xC0) != 0x80) {
            ++CharactersBefore;
        }
    }
    return Out;
}

// A --dump value with its escapes undone: "\\\\", "\\n", "\\xHH", "\\uHHHH"; false for any other
// backslash, or a raw control character, which a dump line never holds.
bool Unescaped(const QString& Shown, QString& Value)
{
    Value.clear();
    for (qsizetype I = 0; I < Shown.size(); ++I) {
        const char16_t C = Shown[I].unicode();
        if (C < 0x20 || C == 0x7F)
            return false;
        if (C != u'\\') {
            Value += Shown[I];
            continue;
        }
        const char16_t E = I + 1 < Shown.size() ? Shown[I + 1].unicode() : 0;
        const int Digits = E == u'x' ? 2 : E == u'u' ? 4 : 0;
        if (E == u'\\' || E == u'n') {
            Value += E == u'n' ? QChar(u'\n') : QChar(u'\\');
            ++I;
            continue;
        }
        if (Digits == 0 || I + 2 + Digits > Shown.size())
            return false;
        char16_t Unit = 0;
        for (int K = 0; K < Digits; ++K) {
            const int Digit = fuzz::HexDigit(Shown[I + 2 + K].unicode());
            if (Digit < 0)
                return false;
            Unit = static_cast<char16_t>(Unit * 16 + Digit);
        }
        Value += QChar(Unit);
        I += 1 + Digits;
    }
    return true;
}

void CheckRefusal(const QByteArray& Text, const FormReadResult& Read, const JsonCheck& Json)
{
    FUZZ_CHECK(!Read.problems.empty(), QStringLiteral("refused without a message"));
    FUZZ_CHECK(static_cast<int>(Read.problems.size()) <= FormFile::MaxProblems + 1,
               QStringLiteral("%1 problems reported").arg(Read.problems.size()));
    const bool Syntax = Read.problems.front().message.startsWith(QStringLiteral("not valid JSON"));
    FUZZ_CHECK(Syntax == !Json.Valid, (Json.Valid ? QStringLiteral("a JSON value called not valid: ")
                                                  : QStringLiteral("text that is no JSON value read as JSON: ")) +
                                          fuzz::Shown(Read.messages().join(u'\n')));
    const std::vector<std::pair<int, int>> At = Positions(Text);
    if (Syntax) {
        FUZZ_CHECK(Read.problems.size() == 1, QStringLiteral("more than the syntax error: ") + fuzz::Shown(Read.messages().join(u'\n')));
        const FormProblem& Problem = Read.problems.front();
        FUZZ_CHECK(std::find(At.begin(), At.end(), std::pair{Problem.line, Problem.column}) != At.end(),
                   QStringLiteral("syntax error outside the text: ") + fuzz::Shown(Problem.text()));
        return;
    }
    std::set<std::pair<int, int>> Allowed;
    for (const qsizetype Offset : Json.Starts)
        Allowed.insert(At[static_cast<std::size_t>(Offset)]);
    std::vector<qsizetype> Expected = Json.Unpaired;
    if (Json.Trailing >= 0)
        Expected.push_back(Json.Trailing);
    std::set<std::pair<int, int>> Reported;
    for (const FormProblem& Problem : Read.problems) {
        FUZZ_CHECK(!Problem.message.isEmpty(), QStringLiteral("a problem without a message"));
        Reported.insert({Problem.line, Problem.column});
    }
    for (const qsizetype Offset : Expected) {
        Allowed.insert(At[static_cast<std::size_t>(Offset)]);
        if (static_cast<int>(Read.problems.size()) <= FormFile::MaxProblems)
            FUZZ_CHECK(Reported.count(At[static_cast<std::size_t>(Offset)]),
                       QStringLiteral("nothing reported at %1:%2 (half a surrogate pair alone, or text after the value): ")
                               .arg(At[static_cast<std::size_t>(Offset)].first)
                               .arg(At[static_cast<std::size_t>(Offset)].second) +
                           fuzz::Shown(Read.messages().join(u'\n')));
    }
    for (const FormProblem& Problem : Read.problems)
        FUZZ_CHECK(Allowed.count({Problem.line, Problem.column}),
                   QStringLiteral("a problem where no value or key starts: ") + fuzz::Shown(Problem.text()));
}

// Every line of the dump, escapes undone, is the value it names.
void CheckDump(const FormModel& Form)
{
    const QStringList Lines = FormFile::dump(Form);
    qsizetype Index = 0;
    for (TPalmoControl* Control : Form.controls())
        for (const FormProperty& Property : propertiesOf(Control)) {
            FUZZ_CHECK(Index < Lines.size(), QStringLiteral("the dump is short"));
            const QString Prefix = Control->Name() + u'.' + Property.path + u'=';
            const QString& Line = Lines[Index++];
            FUZZ_CHECK(Line.startsWith(Prefix), fuzz::Shown(Line));
            QString Value;
            FUZZ_CHECK(Unescaped(Line.mid(Prefix.size()), Value) && Value == valueText(Property.owner, Property.property),
                       QStringLiteral("the dump line does not read back to its value: ") + fuzz::Shown(Line));
        }
    FUZZ_CHECK(Index == Lines.size(), QStringLiteral("the dump is long"));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size)
{
    const QByteArray Text(reinterpret_cast<const char*>(Data), static_cast<qsizetype>(Size));
    const FormReadResult First = FormFile::parse(Text, QStringLiteral("input"));
    const JsonCheck Json(Text);
    if (!First.form) {
        CheckRefusal(Text, First, Json);
        return 0;
    }
    FUZZ_CHECK(First.problems.empty(), QStringLiteral("a form read with problems"));
    FUZZ_CHECK(Json.Valid && Json.Unpaired.empty() && Json.Trailing < 0,
               QStringLiteral("a form read from text that is not one JSON value of whole characters"));
    CheckDump(*First.form);

    const QByteArray Saved = FormFile::serialize(*First.form);
    const FormReadResult Second = FormFile::parse(Saved, QStringLiteral("saved"));
    FUZZ_CHECK(Second.form, QStringLiteral("the saved form does not open again: ") + fuzz::Shown(Second.messages().join(u'\n')) +
                                QStringLiteral("\nsaved text: ") + fuzz::Shown(QString::fromUtf8(Saved)));
    FUZZ_CHECK(FormFile::dump(*Second.form) == FormFile::dump(*First.form),
               QStringLiteral("values changed on reopening:\n") + fuzz::Shown(FormFile::dump(*First.form).join(u'\n')) +
                   QStringLiteral("\n") + fuzz::Shown(FormFile::dump(*Second.form).join(u'\n')));
    const QByteArray SavedAgain = FormFile::serialize(*Second.form);
    FUZZ_CHECK(SavedAgain == Saved, QStringLiteral("saving again gives other bytes:\n") + fuzz::Shown(QString::fromUtf8(Saved)) +
                                        QStringLiteral("\n") + fuzz::Shown(QString::fromUtf8(SavedAgain)));
    return 0;
}
