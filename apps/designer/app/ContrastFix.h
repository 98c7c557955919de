#pragma once
// cvdesigner --check --contrast --fix: each form's failing colours changed to the nearest that
// pass (ReadabilityFix.h), the form written back as --format writes it when anything changed,
// and one line per change: "FILE:LINE:COLUMN: fixed: Ok.Appearance.TextColor White -> $00F0F0F0
// (4.51:1)", at the changed value in the file as written. No widget code.

#include "core/Readability.h"

#include <QStringList>

struct FormReadResult;

struct FixedForm {
    QStringList lines;      // one per change, then the warnings no colour could mend
    bool changed = false;   // a colour changed (and the file was written, unless failure says why not)
    QString failure;        // why the fixed form could not be written; "" when it was or need not be
    int remaining = 0;      // how many warnings are left
};

// Fixes the form of a file read with its sources, and writes it to file when a colour changed.
// When the write fails, failure says why and there are no lines: nothing was fixed in the file.
FixedForm fixForm(const QString& file, const FormReadResult& read, const ReadabilityThresholds& thresholds);
