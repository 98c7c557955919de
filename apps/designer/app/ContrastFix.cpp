#include "app/ContrastFix.h"

#include "core/FormFile.h"
#include "core/FormModel.h"
#include "core/ReadabilityFix.h"

namespace {

QString at(const QString& file, const FormPosition& place)
{
    return QStringLiteral("%1:%2:%3: ").arg(file).arg(place.line).arg(place.column);
}

}  // namespace

FixedForm fixForm(const QString& file, const FormReadResult& read, const ReadabilityThresholds& thresholds)
{
    FixedForm fixed;
    if (!read.form)
        return fixed;
    for (const ColorFix& fix : ReadabilityFix::fixAll(read.form->controls(), thresholds)) {
        const FormControlSource& source = read.sources.at(static_cast<std::size_t>(read.form->indexOf(fix.control)));
        fixed.lines << at(file, source.values.value(fix.path, source.object))
                           + QStringLiteral("fixed: %1.%2 %3 -> %4 (%5)")
                                 .arg(fix.control->Name(), fix.path, fix.fromText, fix.toText,
                                      Readability::measureValueText(fix.kind, fix.measure));
        fixed.changed = true;
    }
    if (fixed.changed)
        fixed.failure = FormFile::writeContents(FormFile::serialize(*read.form), file);
    for (const Finding& finding : Readability::findings(*read.form, thresholds, read.sources)) {
        fixed.lines << at(file, finding.place) + QStringLiteral("warning: ") + Readability::describe(finding);
        ++fixed.remaining;
    }
    return fixed;
}
