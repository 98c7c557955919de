#pragma once
// JSON text with positions: a reader that keeps, for every value and every key, where it starts
// in the text, and the order and repetitions of an object's keys (which QJsonObject drops), and
// the pieces of a writer that lays values out in a given order. The text is read in one pass of
// a strict JSON parser; a syntax error is reported at the character that breaks the syntax.

#include <QByteArray>
#include <QString>

#include <optional>
#include <utility>
#include <vector>

struct JsonNode {
    enum Kind { Null, Bool, Number, String, Array, Object };
    struct Member;

    Kind kind = Null;
    qsizetype offset = 0;   // byte offset of the value's first character
    bool boolean = false;
    QByteArray number;      // the number as written
    QString string;
    std::vector<JsonNode> items;     // an array's values
    std::vector<Member> members;     // an object's keys and values, in file order, repeats kept

    // The JSON name of a kind, for messages: "a string", "an object", …
    static QString kindName(Kind kind);
};

struct JsonNode::Member {
    QString key;
    qsizetype keyOffset = 0;  // byte offset of the key's opening quote
    JsonNode value;
};

// Something wrong at a place in a JSON text.
struct JsonProblem {
    qsizetype offset = 0;  // byte offset of the character at fault
    QString message;
};

struct JsonDocument {
    // The value the text holds; none when the text is not JSON up to the end of its value.
    std::optional<JsonNode> root;
    // Why root is none: what is wrong and the offset of the character where the text stops being
    // JSON (an unknown word from its first letter; the end for a text cut short).
    JsonProblem syntaxError;
    // What is wrong although the value reads whole, in text order: an escape of one half of a
    // surrogate pair without the other ("\uDC00" alone, at its backslash; the string holds U+FFFD
    // there), and anything but blanks after the value (at its first character, a NUL byte too).
    // The tree is still whole, so everything in it can be checked too.
    std::vector<JsonProblem> problems;
};

// Reads one JSON value from UTF-8 text (a leading byte-order mark is skipped).
JsonDocument parseJson(const QByteArray& text);

// 1-based line and column of a byte offset: lines end at "\n", columns count characters (a
// UTF-8 sequence is one character, a tab is one).
class JsonPositions {
public:
    explicit JsonPositions(const QByteArray& text);
    std::pair<int, int> lineColumn(qsizetype offset) const;

private:
    const QByteArray& m_text;
    std::vector<qsizetype> m_lineStarts;
};

// A string as a JSON string literal, in quotes: the two characters JSON requires escaped, the
// usual short escapes, other control characters as \u00XX; everything else as UTF-8.
void appendJsonString(QByteArray& out, const QString& text);
