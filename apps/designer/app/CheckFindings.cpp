#include "app/CheckFindings.h"

#include "core/FormFile.h"
#include "core/FormModel.h"

const std::vector<CheckRuleInfo>& checkRules()
{
    static const std::vector<CheckRuleInfo> rules = {
        {CheckRule::FormProblem, QStringLiteral("form-problem"),
         QStringLiteral("The form file breaks the form format and does not open."), true},
        {CheckRule::TextContrast, QStringLiteral("text-contrast"),
         QStringLiteral("Text colour below 4.5:1 contrast on the background it is drawn on."), false},
        {CheckRule::StateColours, QStringLiteral("state-colours"),
         QStringLiteral("Two colours that tell a control's states apart look alike to colour-blind eyes."), false},
        {CheckRule::WithoutColour, QStringLiteral("without-colour"),
         QStringLiteral("Two colours that tell a control's states apart differ in hue alone: without colour they look alike."), false},
    };
    return rules;
}

const CheckRuleInfo& checkRule(CheckRule rule)
{
    return checkRules().at(static_cast<std::size_t>(rule));
}

namespace {

CheckRule ruleOf(FindingKind kind)
{
    switch (kind) {
    case FindingKind::TextContrast: return CheckRule::TextContrast;
    case FindingKind::StateDifference: return CheckRule::StateColours;
    case FindingKind::WithoutColour: return CheckRule::WithoutColour;
    }
    return CheckRule::StateColours;
}

}  // namespace

std::vector<CheckFinding> checkFindings(const QString& file, const FormReadResult& result,
                                        const std::optional<ReadabilityThresholds>& contrast)
{
    std::vector<CheckFinding> findings;
    for (const FormProblem& problem : result.problems)
        findings.push_back({CheckRule::FormProblem, file, problem.line, problem.column, problem.message});
    if (!result.form || !contrast)
        return findings;
    for (const Finding& finding : Readability::findings(*result.form, *contrast, result.sources))
        findings.push_back({ruleOf(finding.kind), file, finding.place.line, finding.place.column, Readability::describe(finding)});
    return findings;
}

QString checkFindingText(const CheckFinding& finding)
{
    // One arg() call: a file name with "%2" in it is not a place for the line number.
    return QStringLiteral("%1:%2:%3: %4%5")
        .arg(finding.file, QString::number(finding.line), QString::number(finding.column),
             checkRule(finding.rule).refuses ? QString() : QStringLiteral("warning: "), finding.message);
}
