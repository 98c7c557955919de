#include "app/CheckFindings.h"

#include "core/ContrastCheck.h"
#include "core/FormFile.h"
#include "core/FormModel.h"
#include "core/StateCheck.h"

#include <algorithm>

const std::vector<CheckRuleInfo>& checkRules()
{
    static const std::vector<CheckRuleInfo> rules = {
        {CheckRule::FormProblem, QStringLiteral("form-problem"),
         QStringLiteral("The form file breaks the form format and does not open."), true},
        {CheckRule::TextContrast, QStringLiteral("text-contrast"),
         QStringLiteral("Text colour below 4.5:1 contrast on the background it is drawn on."), false},
        {CheckRule::StateColours, QStringLiteral("state-colours"),
         QStringLiteral("Two colours that tell a control's states apart look alike to colour-blind eyes."), false},
    };
    return rules;
}

const CheckRuleInfo& checkRule(CheckRule rule)
{
    return checkRules().at(static_cast<std::size_t>(rule));
}

std::vector<CheckFinding> checkFindings(const QString& file, const FormReadResult& result, bool contrast)
{
    std::vector<CheckFinding> findings;
    for (const FormProblem& problem : result.problems)
        findings.push_back({CheckRule::FormProblem, file, problem.line, problem.column, problem.message});
    if (!result.form || !contrast)
        return findings;

    const auto add = [&](CheckRule rule, const TPalmoControl* control, const QString& path, const QString& message) {
        const FormControlSource& source = result.sources.at(static_cast<std::size_t>(result.form->indexOf(control)));
        const FormPosition at = source.values.value(path, source.object);
        findings.push_back({rule, file, at.line, at.column, message});
    };
    for (const ContrastPair& pair : ContrastCheck::failing(*result.form))
        add(CheckRule::TextContrast, pair.control, pair.textPath, ContrastCheck::describe(pair));
    const double minimumDeltaE = StateCheck::minimumDeltaE();
    for (const StateWarning& warning : StateCheck::failing(*result.form, minimumDeltaE))
        add(CheckRule::StateColours, warning.pair.control, warning.pair.statePath, StateCheck::describe(warning, minimumDeltaE));
    std::stable_sort(findings.begin(), findings.end(), [](const CheckFinding& a, const CheckFinding& b) {
        return std::pair(a.line, a.column) < std::pair(b.line, b.column);
    });
    return findings;
}

QString checkFindingText(const CheckFinding& finding)
{
    // One arg() call: a file name with "%2" in it is not a place for the line number.
    return QStringLiteral("%1:%2:%3: %4%5")
        .arg(finding.file, QString::number(finding.line), QString::number(finding.column),
             checkRule(finding.rule).refuses ? QString() : QStringLiteral("warning: "), finding.message);
}
