#include "core/FormFile.h"

#include "core/ControlClasses.h"
#include "core/FileAccess.h"

#include "core/FormModel.h"
#include "core/FormProperties.h"
#include "core/JsonText.h"
#include "core/PropertyDefaults.h"

#include "host/palmo/PalmoCollection.h"
#include "host/palmo/PalmoControl.h"

#include <QFileInfo>
#include <QHash>
#include <QSet>

#include <map>

QString FormProblem::text() const
{
    // One arg() call: a "%2" in a file name or a message is text, not a place for the line.
    return QStringLiteral("%1:%2:%3: %4").arg(file, QString::number(line), QString::number(column), message);
}

QStringList FormReadResult::messages() const
{
    QStringList out;
    for (const FormProblem& problem : problems)
        out << problem.text();
    return out;
}

namespace {

// "TPalmoButton, TPalmoOnOffButton, …": the classes a form file may name.
QString knownClasses()
{
    QStringList names;
    for (const ControlClass* controlClass : controlClasses())
        names << controlClass->name();
    return names.join(QStringLiteral(", "));
}

const QString FormatName = QStringLiteral("cvform");

QString shown(const QString& text)
{
    return QuoteForMessage(text);
}

// Reads one form file's contents into a new form, collecting every problem with its position.
class Reader {
public:
    Reader(const QByteArray& text, const QString& fileName) : m_text(text), m_fileName(fileName), m_positions(text) {}

    FormReadResult run()
    {
        FormReadResult result;
        const JsonDocument json = parseJson(m_text);
        if (!json.root) {
            problem(json.syntaxError.offset, QStringLiteral("not valid JSON: %1").arg(json.syntaxError.message));
        } else {
            // The text's own problems go in among the form's, in the order of the text.
            m_textProblems = json.problems;
            readRoot(*json.root);
            reportTextProblemsBefore(m_text.size() + 1);
        }
        if (m_problems.empty()) {
            result.form = std::move(m_form);
            result.sources = std::move(m_sources);
        }
        result.problems = std::move(m_problems);
        return result;
    }

private:
    FormPosition position(qsizetype offset) const
    {
        const auto [line, column] = m_positions.lineColumn(offset);
        return {line, column};
    }

    void problem(qsizetype offset, const QString& message)
    {
        reportTextProblemsBefore(offset + 1);
        add(offset, message);
    }

    void reportTextProblemsBefore(qsizetype end)
    {
        while (m_nextTextProblem < m_textProblems.size() && m_textProblems[m_nextTextProblem].offset < end) {
            const JsonProblem& text = m_textProblems[m_nextTextProblem++];
            add(text.offset, text.message);
        }
    }

    void add(qsizetype offset, const QString& message)
    {
        if (static_cast<int>(m_problems.size()) > FormFile::MaxProblems)
            return;
        const auto [line, column] = m_positions.lineColumn(offset);
        if (static_cast<int>(m_problems.size()) == FormFile::MaxProblems)
            m_problems.push_back({m_fileName, line, column, QStringLiteral("too many problems; the rest are not reported")});
        else
            m_problems.push_back({m_fileName, line, column, message});
    }

    // The members of an object by key; a key given twice or not among allowed is a problem.
    QHash<QString, const JsonNode*> members(const JsonNode& object, const QStringList& allowed, const QString& where)
    {
        QHash<QString, const JsonNode*> found;
        for (const JsonNode::Member& member : object.members) {
            if (!allowed.contains(member.key)) {
                problem(member.keyOffset, QStringLiteral("unknown key %1 in %2 (expected \"%3\")")
                                              .arg(shown(member.key), where, allowed.join(QStringLiteral("\", \""))));
                continue;
            }
            if (found.contains(member.key)) {
                problem(member.keyOffset, QStringLiteral("\"%1\" is given twice").arg(member.key));
                continue;
            }
            found.insert(member.key, &member.value);
        }
        return found;
    }

    void readRoot(const JsonNode& root)
    {
        if (root.kind != JsonNode::Object) {
            problem(root.offset, QStringLiteral("a form file holds one JSON object, not %1").arg(JsonNode::kindName(root.kind)));
            return;
        }
        const auto keys = members(root, {QStringLiteral("format"), QStringLiteral("version"), QStringLiteral("components")},
                                  QStringLiteral("the form file"));
        const JsonNode* format = keys.value(QStringLiteral("format"));
        if (!format) {
            problem(root.offset, QStringLiteral("missing \"format\": \"cvform\": this is not a form file"));
            return;
        }
        if (format->kind != JsonNode::String || format->string != FormatName) {
            problem(format->offset, QStringLiteral("\"format\" must be \"cvform\": this is not a form file"));
            return;
        }
        const JsonNode* version = keys.value(QStringLiteral("version"));
        if (!version) {
            problem(root.offset, QStringLiteral("missing \"version\""));
            return;
        }
        if (version->kind != JsonNode::Number) {
            problem(version->offset, QStringLiteral("\"version\" needs a number, not %1").arg(JsonNode::kindName(version->kind)));
            return;
        }
        bool whole = false;
        const qlonglong number = version->number.toLongLong(&whole);
        if (!whole || number < 1) {
            problem(version->offset, QStringLiteral("\"version\" must be a whole number from 1 on, not %1")
                                         .arg(QString::fromLatin1(version->number)));
            return;
        }
        if (number > FormFile::Version) {
            problem(version->offset, QStringLiteral("version %1 is newer than this designer reads (up to %2)")
                                         .arg(QString::fromLatin1(version->number)).arg(FormFile::Version));
            return;
        }
        const JsonNode* components = keys.value(QStringLiteral("components"));
        if (!components) {
            problem(root.offset, QStringLiteral("missing \"components\""));
            return;
        }
        if (components->kind != JsonNode::Array) {
            problem(components->offset, QStringLiteral("\"components\" needs an array, not %1").arg(JsonNode::kindName(components->kind)));
            return;
        }
        for (const JsonNode& component : components->items)
            readComponent(component);
    }

    void readComponent(const JsonNode& item)
    {
        if (item.kind != JsonNode::Object) {
            problem(item.offset, QStringLiteral("a component needs an object, not %1").arg(JsonNode::kindName(item.kind)));
            return;
        }
        const auto keys = members(item, {QStringLiteral("class"), QStringLiteral("name"), QStringLiteral("properties")},
                                  QStringLiteral("a component"));
        std::unique_ptr<TPalmoControl> control;
        if (const JsonNode* className = keys.value(QStringLiteral("class")); !className)
            problem(item.offset, QStringLiteral("the component has no \"class\""));
        else if (className->kind != JsonNode::String)
            problem(className->offset, QStringLiteral("\"class\" needs a string, not %1").arg(JsonNode::kindName(className->kind)));
        else if (const ControlClass* controlClass = controlClassNamed(className->string))
            control = controlClass->create();
        else
            problem(className->offset, QStringLiteral("unknown class %1 (known: %2)").arg(shown(className->string), knownClasses()));

        bool named = false;
        if (const JsonNode* name = keys.value(QStringLiteral("name")); !name) {
            problem(item.offset, QStringLiteral("the component has no \"name\""));
        } else if (name->kind != JsonNode::String) {
            problem(name->offset, QStringLiteral("\"name\" needs a string, not %1").arg(JsonNode::kindName(name->kind)));
        } else if (const QString why = m_form->checkName(name->string); !why.isEmpty()) {
            problem(name->offset, why);
        } else if (control) {
            control->SetName(name->string);
            named = true;
        }

        const JsonNode* properties = keys.value(QStringLiteral("properties"));
        if (properties && properties->kind != JsonNode::Object) {
            problem(properties->offset, QStringLiteral("\"properties\" needs an object, not %1").arg(JsonNode::kindName(properties->kind)));
            return;
        }
        if (!control)
            return;
        FormControlSource source{position(item.offset), {}};
        if (properties)
            readProperties(*control, *properties, source);
        if (named) {
            if (m_form->insert(m_form->count(), std::move(control)).isEmpty())
                m_sources.push_back(std::move(source));
        }
    }

    // Stores every property: first those without an index, so that a collection has its count
    // before its items are read, then the items' properties.
    void readProperties(TPalmoControl& control, const JsonNode& properties, FormControlSource& source)
    {
        QSet<QString> seen;
        for (const JsonNode::Member& member : properties.members) {
            if (seen.contains(member.key))
                problem(member.keyOffset, QStringLiteral("property %1 is given twice").arg(shown(member.key)));
            seen.insert(member.key);
        }
        for (const bool indexed : {false, true}) {
            QHash<QString, FormProperty> byPath;
            for (const FormProperty& property : propertiesOf(&control))
                byPath.insert(property.path, property);
            QSet<QString> done;
            for (const JsonNode::Member& member : properties.members) {
                if (member.key.contains(u'[') != indexed || done.contains(member.key))
                    continue;
                done.insert(member.key);
                const auto found = byPath.constFind(member.key);
                if (found == byPath.constEnd() || kindOf(found->property) == ValueKind::Unsupported) {
                    problem(member.keyOffset, unknownProperty(control, member.key, byPath));
                    continue;
                }
                if (!found->property.isWritable()) {
                    problem(member.keyOffset, member.key == QLatin1String("Name")
                                                  ? QStringLiteral("the name is given by the component's \"name\", not as a property")
                                                  : QStringLiteral("property %1 cannot be set").arg(shown(member.key)));
                    continue;
                }
                const QString why = storeJson(found->owner, found->property, member.value);
                if (!why.isEmpty())
                    problem(member.value.offset, QStringLiteral("%1 %2").arg(member.key, why));
                else
                    source.values.insert(member.key, position(member.value.offset));
            }
        }
    }

    QString unknownProperty(const TPalmoControl& control, const QString& path, const QHash<QString, FormProperty>& byPath)
    {
        const qsizetype bracket = path.indexOf(u'[');
        if (bracket > 0) {
            const QString collection = path.left(bracket);
            const auto count = byPath.constFind(collection + QStringLiteral(".Count"));
            if (count != byPath.constEnd() && qobject_cast<const TPalmoCollection*>(count->owner))
                return QStringLiteral("%1 has no property %2: %3 has %4 items (set \"%3.Count\" to have more)")
                    .arg(QLatin1String(control.metaObject()->className()), shown(path), collection)
                    .arg(static_cast<const TPalmoCollection*>(count->owner)->Count());
        }
        return QStringLiteral("%1 has no property %2").arg(QLatin1String(control.metaObject()->className()), shown(path));
    }

    const QByteArray& m_text;
    QString m_fileName;
    JsonPositions m_positions;
    std::vector<FormProblem> m_problems;
    std::vector<JsonProblem> m_textProblems;
    std::size_t m_nextTextProblem = 0;
    std::unique_ptr<FormModel> m_form = std::make_unique<FormModel>();
    std::vector<FormControlSource> m_sources;
};

// Backslash, newline and other control characters escaped, and half of a surrogate pair without
// the other (which UTF-8 cannot hold) as \uXXXX: every value is one line, and two different
// values never print alike.
QString escaped(const QString& text)
{
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\\')
            out += QStringLiteral("\\\\");
        else if (c == u'\n')
            out += QStringLiteral("\\n");
        else if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            out += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        else if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            out += text.mid(i++, 2);
        else if (c.isSurrogate())
            out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        else
            out += c;
    }
    return out;
}

bool savedBytes(const FormProperty& property)
{
    return property.property.isWritable() && kindOf(property.property) != ValueKind::Unsupported;
}

// The properties of a control whose values differ from its class's defaults, as "key": value
// lines in the inspector's order.
QByteArrayList changedProperties(TPalmoControl& control, PropertyDefaults& defaults)
{
    QByteArrayList lines;
    for (const FormProperty& property : propertiesOf(&control)) {
        if (!savedBytes(property))
            continue;
        const std::optional<QVariant> initial = defaults.of(control, property.path);
        if (initial && *initial == property.property.read(property.owner))
            continue;
        const QByteArray value = valueJson(property.owner, property.property);
        QByteArray line = "        ";
        appendJsonString(line, property.path);
        lines << line + ": " + value;
    }
    return lines;
}

QString tooLarge(qint64 size)
{
    return QStringLiteral("the file has %1 bytes; a form file has at most 16 MiB (%2 bytes)").arg(size).arg(FormFile::MaxFileSize);
}

// A file that was within the limit when checked and went beyond it while it was read is refused
// whole, never cut at the limit.
QString grewWhileRead()
{
    return QStringLiteral("the file grew beyond %1 bytes while it was read; a form file has at most 16 MiB, and "
                          "nothing of it was read").arg(FormFile::MaxFileSize);
}

}  // namespace

namespace FormFile {

FormReadResult parse(const QByteArray& contents, const QString& fileName)
{
    if (contents.size() > MaxFileSize)
        return {nullptr, {{fileName, 1, 1, tooLarge(contents.size())}}, {}};
    return Reader(contents, fileName).run();
}

FormReadResult readFormFile(const QString& path, QByteArray* contents)
{
    // A regular file only (a FIFO would block the open, a device never end), and never more
    // than a form file may hold.
    const FileContents file = readRegularFile(path, MaxFileSize);
    if (contents)
        *contents = file.bytes;
    if (file.error.isEmpty())
        return parse(file.bytes, path);
    const QString message = file.grew       ? grewWhileRead()
                            : file.tooLarge ? tooLarge(QFileInfo(path).size())
                                            : file.error;
    return FormReadResult{nullptr, {{path, 1, 1, message}}, {}};
}

QByteArray serialize(const FormModel& form)
{
    return serialize(form.controls());
}

QByteArray serialize(const std::vector<TPalmoControl*>& controls)
{
    QByteArray out = "{\n  \"format\": \"cvform\",\n  \"version\": " + QByteArray::number(Version) + ",\n  \"components\": [";
    PropertyDefaults defaults;
    for (std::size_t i = 0; i < controls.size(); ++i) {
        TPalmoControl* control = controls[i];
        out += i == 0 ? "\n    {\n      \"class\": " : ",\n    {\n      \"class\": ";
        appendJsonString(out, QLatin1String(control->metaObject()->className()));
        out += ",\n      \"name\": ";
        appendJsonString(out, control->Name());
        const QByteArrayList lines = changedProperties(*control, defaults);
        out += lines.isEmpty() ? ",\n      \"properties\": {}\n    }" : ",\n      \"properties\": {\n" + lines.join(",\n") + "\n      }\n    }";
    }
    out += controls.empty() ? "]\n}\n" : "\n  ]\n}\n";
    return out;
}

QString writeFormFile(const FormModel& form, const QString& path)
{
    return writeContents(serialize(form), path);
}

QString writeContents(const QByteArray& contents, const QString& path)
{
    // Whatever stood at path stays as it was; when nothing did, nothing is left there.
    const bool existed = QFileInfo::exists(path);
    const QString failure = writeFileAtomically(path, contents);
    if (failure.isEmpty())
        return {};
    return existed ? QStringLiteral("Cannot save %1: %2; the file is unchanged").arg(path, failure)
                   : QStringLiteral("Cannot save %1: %2; nothing was written").arg(path, failure);
}

QStringList dump(const FormModel& form)
{
    QStringList lines;
    for (TPalmoControl* control : form.controls())
        for (const FormProperty& property : propertiesOf(control))
            lines << QStringLiteral("%1.%2=%3").arg(control->Name(), property.path, escaped(valueText(property.owner, property.property)));
    return lines;
}

}  // namespace FormFile
