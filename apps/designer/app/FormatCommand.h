#pragma once
// cvdesigner --format FILE...: each file that reads is rewritten as the designer saves it, unless
// it is so already (then it is not touched). The rewrite goes through the same replacement as
// Save: the file keeps its mode, owner, group and other names, and a file another program changed
// since it was read is left as it is. With checkOnly nothing is written: each file that would
// change is named. A file that does not read, or cannot be rewritten, is reported and the others
// are still formatted.

#include <QString>
#include <QStringList>

#include <functional>

// Each line to show goes to say; the exit status: 0 when every file is formatted, else 1.
int formatFiles(const QStringList& files, bool checkOnly, const std::function<void(const QString&)>& say);
