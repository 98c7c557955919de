#include "app/SarifReport.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUrl>

namespace {

QString level(CheckRule rule)
{
    return checkRule(rule).refuses ? QStringLiteral("error") : QStringLiteral("warning");
}

QJsonObject text(const QString& text)
{
    return {{QStringLiteral("text"), text}};
}

QJsonObject driver(const QString& version)
{
    QJsonArray rules;
    for (const CheckRuleInfo& rule : checkRules())
        rules.append(QJsonObject{
            {QStringLiteral("id"), rule.id},
            {QStringLiteral("shortDescription"), text(rule.description)},
            {QStringLiteral("defaultConfiguration"), QJsonObject{{QStringLiteral("level"), level(rule.rule)}}},
        });
    return {
        {QStringLiteral("name"), QStringLiteral("cvdesigner")},
        {QStringLiteral("version"), version},
        {QStringLiteral("rules"), rules},
    };
}

QJsonObject result(const CheckFinding& finding)
{
    const QJsonObject region{
        {QStringLiteral("startLine"), finding.line},
        {QStringLiteral("startColumn"), finding.column},
    };
    const QJsonObject location{
        {QStringLiteral("physicalLocation"),
         QJsonObject{
             {QStringLiteral("artifactLocation"), QJsonObject{{QStringLiteral("uri"), sarifUri(finding.file)}}},
             {QStringLiteral("region"), region},
         }},
    };
    return {
        {QStringLiteral("ruleId"), checkRule(finding.rule).id},
        {QStringLiteral("ruleIndex"), static_cast<int>(finding.rule)},
        {QStringLiteral("level"), level(finding.rule)},
        {QStringLiteral("message"), text(finding.message)},
        {QStringLiteral("locations"), QJsonArray{location}},
    };
}

}  // namespace

QString sarifUri(const QString& path)
{
    const QString slashed = QDir::fromNativeSeparators(path);
    if (QDir::isAbsolutePath(slashed))
        return QUrl::fromLocalFile(QDir::cleanPath(slashed)).toString(QUrl::FullyEncoded);
    // Everything but the slashes percent-encoded: a ':' in the first segment would otherwise read
    // as a scheme, a '%', '#' or '?' as part of the reference's syntax.
    return QString::fromLatin1(QUrl::toPercentEncoding(slashed, "/"));
}

QByteArray sarifLog(const std::vector<CheckFinding>& findings, const QString& toolVersion)
{
    QJsonArray results;
    for (const CheckFinding& finding : findings)
        results.append(result(finding));
    const QJsonObject run{
        {QStringLiteral("tool"), QJsonObject{{QStringLiteral("driver"), driver(toolVersion)}}},
        // Columns count characters, a UTF-8 sequence as one (see the form format).
        {QStringLiteral("columnKind"), QStringLiteral("unicodeCodePoints")},
        {QStringLiteral("results"), results},
    };
    const QJsonObject log{
        {QStringLiteral("$schema"), QStringLiteral("https://docs.oasis-open.org/sarif/sarif/v2.1.0/errata01/os/schemas/sarif-schema-2.1.0.json")},
        {QStringLiteral("version"), QStringLiteral("2.1.0")},
        {QStringLiteral("runs"), QJsonArray{run}},
    };
    return QJsonDocument(log).toJson(QJsonDocument::Indented);
}
