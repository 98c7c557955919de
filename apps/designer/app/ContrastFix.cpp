#include "app/ContrastFix.h"

#include "core/FormFile.h"
#include "core/FormModel.h"
#include "core/ReadabilityFix.h"

namespace {

QString at(const QString& file, const FormPosition& place)
{
    return QStringLiteral("%1:%2:%3: ").arg(file, QString::number(place.line), QString::number(place.column));
}

}  // namespace

FixedForm fixForm(const QString& file, const FormReadResult& read, const ReadabilityThresholds& thresholds)
{
    FixedForm fixed;
    if (!read.form)
        return fixed;
    std::vector<ColorFix> fixes = ReadabilityFix::fixAll(read.form->controls(), thresholds);
    fixed.changed = !fixes.empty();
    // Places are in the file as written: a value the file left at its default has one now.
    const FormModel* form = read.form.get();
    const std::vector<FormControlSource>* sources = &read.sources;
    FormReadResult written;
    if (fixed.changed) {
        const QByteArray contents = FormFile::serialize(*read.form);
        fixed.failure = FormFile::writeContents(contents, file);
        if (!fixed.failure.isEmpty())
            return fixed;  // nothing was fixed where it matters: in the file
        written = FormFile::parse(contents, file);
        if (written.form) {
            form = written.form.get();
            sources = &written.sources;
        }
    }
    for (const ColorFix& fix : fixes) {
        const int index = read.form->indexOf(fix.control);
        const FormControlSource& source = sources->at(static_cast<std::size_t>(index));
        fixed.lines << at(file, source.values.value(fix.path, source.object))
                           + QStringLiteral("fixed: %1.%2 %3 -> %4 (%5)")
                                 .arg(fix.control->Name(), fix.path, fix.fromText, fix.toText,
                                      Readability::measureValueText(fix.kind, fix.measure));
    }
    for (const Finding& finding : Readability::findings(*form, thresholds, *sources)) {
        fixed.lines << at(file, finding.place) + QStringLiteral("warning: ") + Readability::describe(finding);
        ++fixed.remaining;
    }
    return fixed;
}
