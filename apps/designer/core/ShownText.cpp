#include "core/ShownText.h"

#include <algorithm>
#include <cmath>

QString cutToRoom(const QString& text, qreal width, qreal lines)
{
    // At least one character, so that a cut text still shows that something is there.
    const double fits = std::max(1.0, std::ceil(std::max<qreal>(width, 0) + 1) * std::max<qreal>(std::ceil(lines), 1));
    if (double(text.size()) <= fits)
        return text;
    qsizetype kept = static_cast<qsizetype>(fits);
    if (text.at(kept - 1).isHighSurrogate())
        --kept;
    return text.left(kept) + QChar(0x2026);
}

QString elidedToRoom(const QFontMetricsF& metrics, const QString& text, qreal width)
{
    return metrics.elidedText(cutToRoom(text, width), Qt::ElideRight, width);
}

QString lineToRoom(const QFontMetricsF& metrics, const QString& text, qreal width)
{
    const QString cut = cutToRoom(text, width);
    return cut.size() == text.size() ? text : metrics.elidedText(cut, Qt::ElideRight, width);
}
