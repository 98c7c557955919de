#include "core/JsonText.h"

#include <QStringDecoder>

#include <rapidjson/error/en.h>
#include <rapidjson/reader.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <map>

QString JsonNode::kindName(Kind kind)
{
    switch (kind) {
    case Null: return QStringLiteral("null");
    case Bool: return QStringLiteral("a boolean");
    case Number: return QStringLiteral("a number");
    case String: return QStringLiteral("a string");
    case Array: return QStringLiteral("an array");
    case Object: return QStringLiteral("an object");
    }
    return {};
}

namespace {

// Deeper nesting than this is refused: the tree and everything that walks it recurse.
constexpr int MaxDepth = 512;

// The value of the four hexadecimal digits at offset, or -1 when there are not four.
int Hex4At(const QByteArray& text, qsizetype offset)
{
    if (offset < 0 || offset + 4 > text.size())
        return -1;
    int value = 0;
    for (qsizetype i = offset; i < offset + 4; ++i) {
        const char c = text.at(i);
        const int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
        if (digit < 0)
            return -1;
        value = value * 16 + digit;
    }
    return value;
}

// The text as the parser reads it, one character at a time, knowing where the string being
// read (or read last) began: the parser reports a string when it has passed its closing quote.
// An escape of half a surrogate pair without its other half ("\uD800" not followed by a low
// half, "\uDC00" not after a high one) is shown to the parser as "\uFFFD" and noted by the
// offset of its backslash: the parser would stop at a high half alone, and pass a low half alone
// on as bytes that are no UTF-8, which would come out as three U+FFFD.
class TrackingStream {
public:
    using Ch = char;
    TrackingStream(const QByteArray& text, qsizetype start) : m_text(text), m_pos(start) {}
    Ch Peek() const
    {
        if (m_pos >= m_text.size())
            return '\0';
        if (m_shownAsFffd >= 0 && m_pos >= m_shownAsFffd && m_pos < m_shownAsFffd + 4)
            return "FFFD"[m_pos - m_shownAsFffd];
        return m_text.at(m_pos);
    }
    Ch Take()
    {
        const Ch c = Peek();
        if (m_pos < m_text.size()) {
            follow(c);
            ++m_pos;
        }
        return c;
    }
    size_t Tell() const { return static_cast<size_t>(m_pos); }
    qsizetype stringStart() const { return m_stringStart; }
    // The offsets of the backslashes of unpaired surrogate escapes, in text order.
    const std::vector<qsizetype>& unpaired() const { return m_unpaired; }
    // Only reading is done.
    Ch* PutBegin() { return nullptr; }
    void Put(Ch) {}
    void Flush() {}
    size_t PutEnd(Ch*) { return 0; }

private:
    void follow(char c)
    {
        if (!m_inString) {
            if (c == '"') {
                m_inString = true;
                m_stringStart = m_pos;
            }
        } else if (m_escaped) {
            m_escaped = false;
            if (c == 'u')
                unicodeEscape(m_pos - 1);
        } else if (c == '\\') {
            m_escaped = true;
        } else if (c == '"') {
            m_inString = false;
        }
    }

    // Called when the parser takes the "u" of the escape whose backslash is at backslash.
    void unicodeEscape(qsizetype backslash)
    {
        const int unit = Hex4At(m_text, backslash + 2);
        if (unit < 0xD800 || unit > 0xDFFF)
            return;
        if (unit >= 0xDC00) {
            if (backslash == m_pairedLow)
                return;
        } else if (m_text.mid(backslash + 6, 2) == "\\u") {
            const int next = Hex4At(m_text, backslash + 8);
            if (next >= 0xDC00 && next <= 0xDFFF) {
                m_pairedLow = backslash + 6;
                return;
            }
        }
        m_unpaired.push_back(backslash);
        m_shownAsFffd = backslash + 2;
    }

    const QByteArray& m_text;
    qsizetype m_pos;
    qsizetype m_stringStart = 0;
    bool m_inString = false;
    bool m_escaped = false;
    qsizetype m_pairedLow = -1;    // the backslash of the low half that completes the last high half
    qsizetype m_shownAsFffd = -1;  // the first of four hexadecimal digits shown as "FFFD"
    std::vector<qsizetype> m_unpaired;
};

// Builds the tree of nodes from the parser's events, each node at the offset where it starts.
class TreeBuilder : public rapidjson::BaseReaderHandler<rapidjson::UTF8<>, TreeBuilder> {
public:
    // beyondDouble: numbers read as 0 in the text parsed, as written in the file, by offset.
    TreeBuilder(const TrackingStream& stream, const std::map<qsizetype, QByteArray>& beyondDouble)
        : m_stream(stream), m_beyondDouble(beyondDouble)
    {
    }

    bool Null()
    {
        add(JsonNode::Null, 4);
        return true;
    }
    bool Bool(bool value)
    {
        JsonNode& node = add(JsonNode::Bool, value ? 4 : 5);
        node.boolean = value;
        return true;
    }
    bool RawNumber(const char* text, rapidjson::SizeType length, bool)
    {
        JsonNode& node = add(JsonNode::Number, length);
        const auto original = m_beyondDouble.find(node.offset);
        node.number = original != m_beyondDouble.end() ? original->second : QByteArray(text, length);
        return true;
    }
    bool String(const char* text, rapidjson::SizeType length, bool)
    {
        JsonNode& node = add(JsonNode::String, 0, m_stream.stringStart());
        node.string = decoded(text, length);
        return true;
    }
    bool Key(const char* text, rapidjson::SizeType length, bool)
    {
        m_key = decoded(text, length);
        m_keyOffset = m_stream.stringStart();
        return true;
    }
    bool StartObject() { return open(JsonNode::Object); }
    bool StartArray() { return open(JsonNode::Array); }
    bool EndObject(rapidjson::SizeType) { return close(); }
    bool EndArray(rapidjson::SizeType) { return close(); }

    bool tooDeep() const { return m_tooDeep; }
    JsonNode take() { return std::move(m_root); }

private:
    // A node at its place: the root, an array's next item, or the value of the last key. It
    // starts length characters before where the parser is, or at start.
    JsonNode& add(JsonNode::Kind kind, qsizetype length, qsizetype start = -1)
    {
        JsonNode* node = &m_root;
        if (!m_open.empty()) {
            JsonNode& parent = *m_open.back();
            if (parent.kind == JsonNode::Array) {
                node = &parent.items.emplace_back();
            } else {
                JsonNode::Member& member = parent.members.emplace_back();
                member.key = std::move(m_key);
                member.keyOffset = m_keyOffset;
                node = &member.value;
            }
        }
        node->kind = kind;
        node->offset = start >= 0 ? start : static_cast<qsizetype>(m_stream.Tell()) - length;
        return *node;
    }
    bool open(JsonNode::Kind kind)
    {
        if (static_cast<int>(m_open.size()) >= MaxDepth) {
            m_tooDeep = true;
            return false;
        }
        m_open.push_back(&add(kind, 1));
        return true;
    }
    bool close()
    {
        m_open.pop_back();
        return true;
    }
    // Each string is decoded on its own: a U+FEFF that opens it is a character of the text, not a
    // byte order mark to drop.
    static QString decoded(const char* text, rapidjson::SizeType length)
    {
        QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
        return decoder.decode(QByteArrayView(text, length));
    }

    const TrackingStream& m_stream;
    const std::map<qsizetype, QByteArray>& m_beyondDouble;
    JsonNode m_root;
    // The arrays and objects being read, innermost last. Pointers into the tree stay valid: a
    // container only grows while it is innermost, and its parent's vector grew before.
    std::vector<JsonNode*> m_open;
    QString m_key;
    qsizetype m_keyOffset = 0;
    bool m_tooDeep = false;
};

// Where the parser's error is best shown: an unknown word ("tru", "x") from its first letter.
qsizetype ErrorOffset(const QByteArray& text, rapidjson::ParseErrorCode code, qsizetype offset)
{
    if (code == rapidjson::kParseErrorValueInvalid)
        while (offset > 0 && offset <= text.size() && std::isalnum(static_cast<unsigned char>(text.at(offset - 1))))
            --offset;
    return offset;
}

// Where the JSON number that starts at start ends, read as the parser reads it (greedily:
// -? (0 | [1-9][0-9]*) (. [0-9]+)? ([eE] [+-]? [0-9]+)?), or -1 when the parser would stop
// inside it ("1.", "1e+", "-").
qsizetype JsonNumberEnd(const QByteArray& text, qsizetype start)
{
    qsizetype i = start;
    const auto at = [&](qsizetype k) { return k < text.size() ? text.at(k) : '\0'; };
    const auto digits = [&] {
        const qsizetype first = i;
        while (std::isdigit(static_cast<unsigned char>(at(i))))
            ++i;
        return i > first;
    };
    if (at(i) == '-')
        ++i;
    if (at(i) == '0')
        ++i;
    else if (!digits())
        return -1;
    if (at(i) == '.' && (++i, !digits()))
        return -1;
    if (at(i) == 'e' || at(i) == 'E') {
        ++i;
        if (at(i) == '+' || at(i) == '-')
            ++i;
        if (!digits())
            return -1;
    }
    return i;
}

// The parser refuses a number beyond a double as a syntax error ("1e400", also "0e400"), but it
// is valid JSON, and out of range is for the form to say. Every number the parser might refuse
// so (one with an exponent or more than 15 characters), outside strings, is replaced by a 0
// padded with blanks to its length, so that every offset stays; its text as written is kept by
// offset. Only numbers the parser reads whole are replaced, each as far as the parser reads it,
// so no syntax error is hidden and none is made.
QByteArray withoutNumbersBeyondDouble(const QByteArray& text, std::map<qsizetype, QByteArray>& beyondDouble)
{
    const auto inNumber = [](char c) { return c != '\0' && std::strchr("+-.eE0123456789", c); };
    QByteArray parsed = text;
    bool inString = false;
    bool escaped = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text.at(i);
        if (inString) {
            if (escaped)
                escaped = false;
            else if (c == '\\')
                escaped = true;
            else if (c == '"')
                inString = false;
            continue;
        }
        inString = c == '"';
        if (c != '-' && !std::isdigit(static_cast<unsigned char>(c)))
            continue;
        // Glued to a number or a word before it ("1-1E999", "true1"), it starts no number: the
        // parser stops there, and a number made of it would hide that.
        if (const char before = i > 0 ? text.at(i - 1) : ' '; inNumber(before) || std::isalpha(static_cast<unsigned char>(before))) {
            while (i + 1 < text.size() && inNumber(text.at(i + 1)))
                ++i;
            continue;
        }
        qsizetype end = JsonNumberEnd(text, i);
        if (end < 0) {
            // Not a number the parser reads whole: left as it is, past all that could belong to it.
            end = i;
            while (end < text.size() && inNumber(text.at(end)))
                ++end;
        } else if (const QByteArray number = text.mid(i, end - i);
                   number.size() > 15 || number.contains('e') || number.contains('E')) {
            beyondDouble.emplace(i, number);
            parsed.replace(i, end - i, QByteArray("0").leftJustified(end - i, ' '));
        }
        i = end - 1;
    }
    return parsed;
}

bool IsJsonBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// What the parser's error means, in words about the character at offset where that says more.
QString SyntaxMessage(const QByteArray& text, rapidjson::ParseErrorCode code, qsizetype offset)
{
    if (offset < text.size()) {
        const auto c = static_cast<unsigned char>(text.at(offset));
        if (c < 0x20 && !IsJsonBlank(static_cast<char>(c)))
            return QStringLiteral("a control character (U+%1) where JSON allows none; in a string it is written as \\u%1")
                .arg(QStringLiteral("%1").arg(uint{c}, 4, 16, QLatin1Char('0')).toUpper());
    }
    return QString::fromUtf8(rapidjson::GetParseError_En(code));
}

// One pass of the parser over text; on a syntax error, document.syntaxError says what and where.
void parseOnce(const QByteArray& text, const std::map<qsizetype, QByteArray>& beyondDouble, JsonDocument& document,
               rapidjson::ParseErrorCode& code)
{
    TrackingStream stream(text, text.startsWith("\xEF\xBB\xBF") ? 3 : 0);
    TreeBuilder builder(stream, beyondDouble);
    rapidjson::Reader reader;
    // Numbers as written (what they mean is the form's business); UTF-8 checked; the parser stops
    // after the value, and what follows it is checked here (the parser takes a NUL for the end).
    constexpr unsigned Flags =
        rapidjson::kParseNumbersAsStringsFlag | rapidjson::kParseValidateEncodingFlag | rapidjson::kParseStopWhenDoneFlag;
    const rapidjson::ParseResult result = reader.Parse<Flags>(stream, builder);
    code = result.Code();
    if (result) {
        document.root = builder.take();
        document.problems.clear();
        for (const qsizetype backslash : stream.unpaired())
            document.problems.push_back({backslash, QStringLiteral("\"%1\" is half of a surrogate pair without the other "
                                                                   "half: a text holds whole characters")
                                                        .arg(QString::fromLatin1(text.mid(backslash, 6)))});
        qsizetype after = static_cast<qsizetype>(stream.Tell());
        while (after < text.size() && IsJsonBlank(text.at(after)))
            ++after;
        if (after < text.size())
            document.problems.push_back({after, text.at(after) == '\0'
                                                    ? QStringLiteral("a NUL byte after the end of the JSON value: nothing may follow it")
                                                    : QStringLiteral("text after the end of the JSON value: nothing may follow it")});
        return;
    }
    const auto offset = static_cast<qsizetype>(result.Offset());
    if (builder.tooDeep())
        document.syntaxError = {offset - 1, QStringLiteral("nested more than %1 levels deep").arg(MaxDepth)};
    else
        document.syntaxError = {ErrorOffset(text, code, offset), SyntaxMessage(text, code, ErrorOffset(text, code, offset))};
    document.syntaxError.offset = std::clamp<qsizetype>(document.syntaxError.offset, 0, text.size());
}

}  // namespace

JsonDocument parseJson(const QByteArray& text)
{
    JsonDocument document;
    std::map<qsizetype, QByteArray> beyondDouble;
    rapidjson::ParseErrorCode code{};
    parseOnce(text, beyondDouble, document, code);
    // Rare: a second pass, over the text with the numbers beyond a double read as 0.
    if (!document.root && code == rapidjson::kParseErrorNumberTooBig)
        parseOnce(withoutNumbersBeyondDouble(text, beyondDouble), beyondDouble, document, code);
    return document;
}
JsonPositions::JsonPositions(const QByteArray& text) : m_text(text)
{
    m_lineStarts.push_back(0);
    for (qsizetype i = 0; i < text.size(); ++i)
        if (text.at(i) == '\n')
            m_lineStarts.push_back(i + 1);
}

std::pair<int, int> JsonPositions::lineColumn(qsizetype offset) const
{
    const auto after = std::upper_bound(m_lineStarts.begin(), m_lineStarts.end(), offset);
    const qsizetype lineStart = *(after - 1);
    int column = 1;
    for (qsizetype i = lineStart; i < offset && i < m_text.size(); ++i)
        if ((static_cast<unsigned char>(m_text.at(i)) & 0xC0) != 0x80)
            ++column;
    return {static_cast<int>(after - m_lineStarts.begin()), column};
}

void appendJsonString(QByteArray& out, const QString& text)
{
    out += '"';
    const QByteArray utf8 = text.toUtf8();
    for (const char c : utf8) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\b': out += "\\b"; break;
        case '\f': out += "\\f"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
                static const char hex[] = "0123456789ABCDEF";
                out += "\\u00";
                out += hex[(c >> 4) & 0xF];
                out += hex[c & 0xF];
            } else {
                out += c;
            }
        }
    }
    out += '"';
}
