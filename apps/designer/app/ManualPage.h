#pragma once
// The manual page cvdesigner(1), in roff, made from the same option table and paragraphs as
// --help, so the two never disagree. The build writes it with `cvdesigner --help-man`.

#include <QString>

QString manualPage(const QString& version);
