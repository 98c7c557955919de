#include "core/Snippet.h"

#include "core/Document.h"
#include "core/FormFile.h"
#include "core/FormModel.h"
#include "core/IntRange.h"

#include "host/palmo/PalmoControl.h"

#include <QHash>
#include <QSet>
#include <QVariant>

#include <array>
#include <set>

namespace Snippet {

namespace {

// Names are ASCII identifiers, compared as the form compares them.
QString key(const QString& name)
{
    return name.toLower();
}

Box boxOf(const TPalmoControl& control)
{
    return {control.FLeft, control.FTop, control.FWidth, control.FHeight};
}

}  // namespace

QByteArray snippetOf(const std::vector<TPalmoControl*>& controls)
{
    return FormFile::serialize(controls);
}

QStringList pastedNames(const FormModel& target, const QStringList& names)
{
    // First every name that is free keeps it, so that a renamed one cannot take it away.
    QSet<QString> used;
    std::vector<bool> kept;
    for (const QString& name : names) {
        kept.push_back(!target.find(name) && !used.contains(key(name)));
        if (kept.back())
            used.insert(key(name));
    }
    // Where each stem's search for a free number goes on: every number below it was found taken
    // (on target, or by an earlier name), so renaming thousands of names stays linear.
    QHash<QString, int> nextNumber;
    QStringList out;
    for (qsizetype i = 0; i < names.size(); ++i) {
        const QString& name = names[i];
        if (kept[static_cast<std::size_t>(i)]) {
            out << name;
            continue;
        }
        qsizetype digits = name.size();
        while (digits > 0 && name[digits - 1] >= u'0' && name[digits - 1] <= u'9')
            --digits;
        const QString stem = name.left(digits);
        int& n = nextNumber[key(stem)];
        n = std::max(n, 1);
        for (;; ++n) {
            const QString number = QString::number(n);
            const QString candidate = stem.left(FormModel::MaxNameLength - number.size()) + number;
            if (!target.find(candidate) && !used.contains(key(candidate))) {
                used.insert(key(candidate));
                out << candidate;
                break;
            }
        }
    }
    return out;
}

QPoint pastedOffset(const FormModel& target, const std::vector<Box>& pasted)
{
    std::set<std::array<int, 4>> occupied;
    const auto id = [](const Box& box) { return std::array{box.left, box.top, box.width, box.height}; };
    for (const TPalmoControl* control : target.controls())
        occupied.insert(id(boxOf(*control)));
    // Each occupied place blocks at most one step for each pasted control: the loop ends.
    for (int step = 0;; ++step) {
        const QPoint offset(step * OffsetStep, step * OffsetStep);
        bool covers = false;
        for (const Box& box : pasted)
            covers = covers
                     || occupied.count({saturatingAdd(box.left, offset.x()), saturatingAdd(box.top, offset.y()),
                                        box.width, box.height}) > 0;
        if (!covers)
            return offset;
    }
}

ReadResult readSnippet(const QByteArray& text, const FormModel& target, const QString& sourceName)
{
    ReadResult result;
    FormReadResult parsed = FormFile::parse(text, sourceName);
    if (!parsed.form) {
        result.error = parsed.problems.front().text();
        if (parsed.problems.size() > 1)
            result.error += QStringLiteral(" (and %1 more problems)").arg(parsed.problems.size() - 1);
        return result;
    }
    if (parsed.form->count() == 0) {
        result.error = QStringLiteral("%1:1:1: the text holds no controls to paste").arg(sourceName);
        return result;
    }
    QStringList names;
    std::vector<Box> rects;
    for (const TPalmoControl* control : parsed.form->controls()) {
        names << control->Name();
        rects.push_back(boxOf(*control));
    }
    const QStringList newNames = pastedNames(target, names);
    const QPoint offset = pastedOffset(target, rects);
    // Taken off from the last, which moves none of the others along.
    result.controls.resize(std::size_t(newNames.size()));
    for (qsizetype i = newNames.size(); i-- > 0;)
        result.controls[std::size_t(i)] = parsed.form->take(int(i));
    for (qsizetype i = 0; i < newNames.size(); ++i) {
        TPalmoControl* control = result.controls[std::size_t(i)].get();
        control->SetName(newNames[i]);
        if (!offset.isNull()) {
            control->setProperty("Left", saturatingAdd(control->FLeft, offset.x()));
            control->setProperty("Top", saturatingAdd(control->FTop, offset.y()));
        }
    }
    return result;
}

PasteResult paste(Document& document, const QByteArray& text, const QString& sourceName, const QString& stepText)
{
    ReadResult read = Snippet::readSnippet(text, *document.form(), sourceName);
    if (!read.error.isEmpty())
        return {{}, read.error};
    std::vector<TPalmoControl*> controls;
    for (const std::unique_ptr<TPalmoControl>& control : read.controls)
        controls.push_back(control.get());
    const QString step = stepText.isEmpty() ? QStringLiteral("Paste %1").arg(Document::describe(controls)) : stepText;
    const QString why = document.addControls(std::move(read.controls), step);
    if (!why.isEmpty())
        return {{}, why};
    return {controls, {}};
}

}  // namespace Snippet
