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

// The text as the parser reads it, one character at a time, knowing where the string being
// read (or read last) began: the parser reports a string when it has passed its closing quote.
class TrackingStream {
public:
    using Ch = char;
    TrackingStream(const QByteArray& text, qsizetype start) : m_text(text), m_pos(start) {}
    Ch Peek() const { return m_pos < m_text.size() ? m_text.at(m_pos) : '\0'; }
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
        } else if (c == '\\') {
            m_escaped = true;
        } else if (c == '"') {
            m_inString = false;
        }
    }

    const QByteArray& m_text;
    qsizetype m_pos;
    qsizetype m_stringStart = 0;
    bool m_inString = false;
    bool m_escaped = false;
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

// The parser refuses a number beyond a double as a syntax error, but it is valid JSON, and out of
// range is for the form to say. Each such number (outside strings) is replaced by a 0 padded with
// blanks to its length, so that every offset stays; its text as written is kept by offset.
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
        qsizetype end = i;
        while (end < text.size() && inNumber(text.at(end)))
            ++end;
        const QByteArray number = text.mid(i, end - i);
        bool fits = false;
        number.toDouble(&fits);
        if (!fits) {
            beyondDouble.emplace(i, number);
            parsed.replace(i, end - i, QByteArray("0").leftJustified(end - i, ' '));
        }
        i = end - 1;
    }
    return parsed;
}

// One pass of the parser over text; on a syntax error, error says what and where.
std::optional<JsonNode> parseOnce(const QByteArray& text, const std::map<qsizetype, QByteArray>& beyondDouble,
                                  JsonSyntaxError& error, rapidjson::ParseErrorCode& code)
{
    TrackingStream stream(text, text.startsWith("\xEF\xBB\xBF") ? 3 : 0);
    TreeBuilder builder(stream, beyondDouble);
    rapidjson::Reader reader;
    // Numbers as written (what they mean is the form's business); UTF-8 checked; nothing may
    // follow the value.
    constexpr unsigned Flags = rapidjson::kParseNumbersAsStringsFlag | rapidjson::kParseValidateEncodingFlag;
    const rapidjson::ParseResult result = reader.Parse<Flags>(stream, builder);
    code = result.Code();
    if (result)
        return builder.take();
    const auto offset = static_cast<qsizetype>(result.Offset());
    if (builder.tooDeep())
        error = {offset - 1, QStringLiteral("nested more than %1 levels deep").arg(MaxDepth)};
    else if (code == rapidjson::kParseErrorStringUnicodeSurrogateInvalid)
        error = {stream.stringStart(), QStringLiteral("an unpaired surrogate in a string")};
    else
        error = {ErrorOffset(text, code, offset), QString::fromUtf8(rapidjson::GetParseError_En(code))};
    error.offset = std::clamp<qsizetype>(error.offset, 0, text.size());
    return std::nullopt;
}

}  // namespace

std::optional<JsonNode> parseJson(const QByteArray& text, JsonSyntaxError& error)
{
    std::map<qsizetype, QByteArray> beyondDouble;
    rapidjson::ParseErrorCode code{};
    std::optional<JsonNode> root = parseOnce(text, beyondDouble, error, code);
    // Rare: a second pass, over the text with the numbers beyond a double read as 0.
    if (!root && code == rapidjson::kParseErrorNumberTooBig)
        root = parseOnce(withoutNumbersBeyondDouble(text, beyondDouble), beyondDouble, error, code);
    return root;
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
