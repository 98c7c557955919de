#include "app/FormatCommand.h"

#include "core/FileAccess.h"
#include "core/FormFile.h"
#include "core/FormModel.h"

int formatFiles(const QStringList& files, bool checkOnly, const std::function<void(const QString&)>& say)
{
    int status = 0;
    for (const QString& file : files) {
        QByteArray contents;
        const FormReadResult result = FormFile::readFormFile(file, &contents);
        for (const QString& message : result.messages())
            say(message);
        if (!result.form) {
            status = 1;
            continue;
        }
        const QByteArray canonical = FormFile::serialize(*result.form);
        if (canonical == contents)
            continue;
        if (checkOnly) {
            say(QStringLiteral("%1: not formatted as the designer saves it").arg(file));
            status = 1;
            continue;
        }
        // Only over the bytes just read: what another program writes meanwhile is kept.
        WriteRules rules;
        rules.expected = contents;
        if (const QString failure = writeFileAtomically(file, canonical, rules); !failure.isEmpty()) {
            say(QStringLiteral("%1: not formatted: %2").arg(file, failure));
            status = 1;
        }
    }
    return status;
}
