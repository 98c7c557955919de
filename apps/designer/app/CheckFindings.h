#pragma once
// What --check finds in a form file, as one list that both of its outputs print (the text lines
// and the SARIF log): each problem that refuses the file and, with --contrast, each colour pair
// that reads poorly, with the rule it breaks and its place in the file.

#include "core/Readability.h"

#include <QString>

#include <optional>
#include <vector>

struct FormReadResult;

// The rules --check applies, in this order in every report.
enum class CheckRule { FormProblem, TextContrast, StateColours, WithoutColour };

struct CheckRuleInfo {
    CheckRule rule;
    QString id;           // "text-contrast": stable, for reports and the tools that read them
    QString description;  // one sentence
    bool refuses;         // a finding refuses the file (an error), or only warns
};
const std::vector<CheckRuleInfo>& checkRules();
const CheckRuleInfo& checkRule(CheckRule rule);

struct CheckFinding {
    CheckRule rule;
    QString file;     // as given on the command line
    int line = 1;     // from 1
    int column = 1;   // from 1, in characters
    QString message;  // without the file and position
};

// The findings of one read file: its problems, or, when it was read and contrast thresholds are
// given, the readability report's findings in the order of their places in the file, each at the
// colour value the file sets (Readability::placeOf).
std::vector<CheckFinding> checkFindings(const QString& file, const FormReadResult& result,
                                        const std::optional<ReadabilityThresholds>& contrast);
// "FILE:LINE:COLUMN: message" for a problem, "FILE:LINE:COLUMN: warning: message" for a warning.
QString checkFindingText(const CheckFinding& finding);
