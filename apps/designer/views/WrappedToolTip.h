#pragma once
// A tooltip that wraps at a readable width: Qt shows plain text on one line however long, but
// wraps rich text; each line of text becomes a paragraph.

#include <QString>
#include <QStringList>

inline QString wrappedToolTip(const QStringList& paragraphs)
{
    QString html;
    for (const QString& paragraph : paragraphs)
        html += QStringLiteral("<p>") + paragraph.toHtmlEscaped() + QStringLiteral("</p>");
    return html;
}
