#pragma once
// --check's findings as a SARIF 2.1.0 log (OASIS Static Analysis Results Interchange Format), the
// file that code scanning services read to annotate a change: one run of cvdesigner, its rules,
// and one result per finding with its rule, level, message, file and position.

#include "app/CheckFindings.h"

#include <QByteArray>

// The whole log, as UTF-8 JSON ending in a line break. A problem is a result of level "error", a
// warning one of level "warning". Files are named by URI references: a relative path stays
// relative (to the folder the check ran in), an absolute one becomes a file: URI.
QByteArray sarifLog(const std::vector<CheckFinding>& findings, const QString& toolVersion);
// The URI reference that names a file given as path.
QString sarifUri(const QString& path);
