#include "JsonText.h"

#include <QJsonDocument>
#include <QJsonParseError>
#include <QStringDecoder>

#include <algorithm>
#include <string_view>

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

// A recursive reader of text that QJsonDocument has already accepted: it does not check
// syntax again, it only records what is where.
class Scanner {
public:
    explicit Scanner(const QByteArray& text) : m_text(text) {}

    JsonNode value()
    {
        skipBlanks();
        JsonNode node;
        node.offset = m_pos;
        const char c = peek();
        if (c == '{') {
            node.kind = JsonNode::Object;
            ++m_pos;
            skipBlanks();
            if (peek() == '}') {
                ++m_pos;
                return node;
            }
            for (;;) {
                skipBlanks();
                JsonNode::Member member;
                member.keyOffset = m_pos;
                member.key = string();
                skipBlanks();
                ++m_pos;  // ':'
                member.value = value();
                node.members.push_back(std::move(member));
                skipBlanks();
                if (m_text.at(m_pos++) == '}')
                    return node;
            }
        }
        if (c == '[') {
            node.kind = JsonNode::Array;
            ++m_pos;
            skipBlanks();
            if (peek() == ']') {
                ++m_pos;
                return node;
            }
            for (;;) {
                node.items.push_back(value());
                skipBlanks();
                if (m_text.at(m_pos++) == ']')
                    return node;
            }
        }
        if (c == '"') {
            node.kind = JsonNode::String;
            node.string = string();
            return node;
        }
        if (c == 't' || c == 'f') {
            node.kind = JsonNode::Bool;
            node.boolean = c == 't';
            m_pos += node.boolean ? 4 : 5;
            return node;
        }
        if (c == 'n') {
            m_pos += 4;
            return node;
        }
        node.kind = JsonNode::Number;
        const qsizetype start = m_pos;
        while (m_pos < m_text.size() && std::string_view("+-0123456789.eE").find(m_text.at(m_pos)) != std::string_view::npos)
            ++m_pos;
        node.number = m_text.mid(start, m_pos - start);
        return node;
    }

    void skipBlanks()
    {
        while (m_pos < m_text.size()) {
            const char c = m_text.at(m_pos);
            if (c != ' ' && c != '\t' && c != '\n' && c != '\r')
                return;
            ++m_pos;
        }
    }

    void skip(qsizetype count) { m_pos += count; }

private:
    char peek() const { return m_pos < m_text.size() ? m_text.at(m_pos) : '\0'; }

    // A string literal from its opening quote; escapes decoded, UTF-8 decoded.
    QString string()
    {
        ++m_pos;  // opening quote
        QString out;
        qsizetype runStart = m_pos;
        // Each run between escapes is decoded on its own: a U+FEFF that opens a run is a
        // character of the text, not a byte order mark to drop.
        QStringDecoder decoder(QStringConverter::Utf8,
                               QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
        const auto flush = [&] { out += decoder.decode(QByteArrayView(m_text.constData() + runStart, m_pos - runStart)); };
        for (;;) {
            const char c = m_text.at(m_pos);
            if (c == '"') {
                flush();
                ++m_pos;
                return out;
            }
            if (c != '\\') {
                ++m_pos;
                continue;
            }
            flush();
            const char e = m_text.at(m_pos + 1);
            m_pos += 2;
            switch (e) {
            case 'b': out += QChar(u'\b'); break;
            case 'f': out += QChar(u'\f'); break;
            case 'n': out += QChar(u'\n'); break;
            case 'r': out += QChar(u'\r'); break;
            case 't': out += QChar(u'\t'); break;
            case 'u':
                out += QChar(char16_t(m_text.mid(m_pos, 4).toUShort(nullptr, 16)));
                m_pos += 4;
                break;
            default: out += QChar(char16_t(e)); break;  // '"', '\\', '/'
            }
            runStart = m_pos;
        }
    }

    const QByteArray& m_text;
    qsizetype m_pos = 0;
};

}  // namespace

std::optional<JsonNode> ParseJson(const QByteArray& text, JsonSyntaxError& error)
{
    QJsonParseError parseError;
    QJsonDocument::fromJson(text, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        error = {std::clamp<qsizetype>(parseError.offset, 0, text.size()), parseError.errorString()};
        return std::nullopt;
    }
    Scanner scanner(text);
    if (text.startsWith("\xEF\xBB\xBF"))
        scanner.skip(3);
    return scanner.value();
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

void AppendJsonString(QByteArray& out, const QString& text)
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
