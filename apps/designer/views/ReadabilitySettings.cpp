#include "views/ReadabilitySettings.h"

#include <QSettings>

namespace {

const QString DeltaEKey = QStringLiteral("readability/minimumDeltaE");
const QString LuminanceRatioKey = QStringLiteral("readability/minimumLuminanceRatio");

double valueIn(const QSettings& settings, const QString& key, double low, double high, double fallback)
{
    bool ok = false;
    const double stored = settings.value(key).toDouble(&ok);
    return ok && stored >= low && stored <= high ? stored : fallback;
}

}  // namespace

ReadabilityThresholds readReadabilityThresholds()
{
    const QSettings settings;
    ReadabilityThresholds thresholds;
    // A ΔE of 0 would pass identical colours, and none is larger than about 100 in sRGB.
    thresholds.minimumDeltaE = valueIn(settings, DeltaEKey, 1, 100, ReadabilityThresholds::DefaultMinimumDeltaE);
    // Luminance ratios run from 1:1 to 21:1.
    thresholds.minimumLuminanceRatio =
        valueIn(settings, LuminanceRatioKey, 1, 21, ReadabilityThresholds::DefaultMinimumLuminanceRatio);
    return thresholds;
}

void writeReadabilityThresholds(const ReadabilityThresholds& thresholds)
{
    QSettings settings;
    settings.setValue(DeltaEKey, thresholds.minimumDeltaE);
    settings.setValue(LuminanceRatioKey, thresholds.minimumLuminanceRatio);
}
