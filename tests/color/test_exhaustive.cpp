// Every input the dialog can produce, through both real types: all 2^24 RGB triples through
// RGBToHSB and all 201^3 HSB position triples through HSBtoRGB must give identical results on
// the hardware long double and on the portable Ext80; and on each type, HSBtoRGBRowT must give
// HSBtoRGBT's colour for every position triple.

#include "ColorPaths.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <sstream>
#include <thread>
#include <vector>

using ext::Ext80;

namespace {

// Runs Body(i) for i in [0, Count) on a couple of threads; returns the descriptions of the first
// few failures (Body returns an empty string when all is well).
template <class Body>
std::vector<std::string> ForEachInParallel(int Count, Body body)
{
    const unsigned threads = std::clamp(std::thread::hardware_concurrency(), 1u, 2u);
    std::atomic<int> nextIndex{0};
    std::vector<std::vector<std::string>> failures(threads);
    std::vector<std::thread> workers;
    for (unsigned t = 0; t < threads; ++t) {
        workers.emplace_back([&, t] {
            for (int i = nextIndex++; i < Count; i = nextIndex++) {
                std::string failure = body(i);
                if (!failure.empty() && failures[t].size() < 10)
                    failures[t].push_back(std::move(failure));
            }
        });
    }
    for (std::thread& worker : workers)
        worker.join();
    std::vector<std::string> all;
    for (const auto& list : failures)
        all.insert(all.end(), list.begin(), list.end());
    return all;
}

TEST(ExhaustiveAgreement, EveryRgbTripleGivesTheSameHsbOnBothPaths)
{
    // One work item per red value: 65,536 triples each.
    const auto failures = ForEachInParallel(256, [](int red) -> std::string {
        std::ostringstream out;
        for (int green = 0; green < 256; ++green) {
            for (int blue = 0; blue < 256; ++blue) {
                long double hue, sat, bright;
                Ext80 hueX, satX, brightX;
                colormodel::RGBToHSBT(red, green, blue, hue, sat, bright);
                colormodel::RGBToHSBT(red, green, blue, hueX, satX, brightX);
                const bool samePositions =
                    colormodel::PositionOfT(HueSteps, hue) == colormodel::PositionOfT(HueSteps, hueX) &&
                    colormodel::PositionOfT(SatSteps, sat) == colormodel::PositionOfT(SatSteps, satX) &&
                    colormodel::PositionOfT(BrightSteps, bright) == colormodel::PositionOfT(BrightSteps, brightX);
                const bool sameReals = !ext::HardwareExtended ||
                                       (SameReal(hue, hueX) && SameReal(sat, satX) && SameReal(bright, brightX));
                if (!samePositions || !sameReals) {
                    out << "RGB " << red << "," << green << "," << blue << (samePositions ? ": reals" : ": positions")
                        << " differ";
                    return out.str();
                }
            }
        }
        return {};
    });
    EXPECT_TRUE(failures.empty()) << failures.size() << " red values with differences, e.g. " << failures.front();
}

TEST(ExhaustiveAgreement, EveryHsbPositionTripleGivesTheSameColourOnBothPaths)
{
    constexpr int Positions = 201;   // 0 … 200 on each scale
    std::vector<long double> fractions(Positions);
    std::vector<Ext80> fractionsX(Positions);
    for (int p = 0; p < Positions; ++p) {
        fractions[p] = colormodel::FractionOfT<long double>(p, 200);
        fractionsX[p] = colormodel::FractionOfT<Ext80>(p, 200);
        if (ext::HardwareExtended) {
            ASSERT_TRUE(SameReal(fractions[p], fractionsX[p])) << "fraction of position " << p;
        }
    }
    const auto failures = ForEachInParallel(Positions, [&](int hue) -> std::string {
        for (int sat = 0; sat < Positions; ++sat) {
            for (int bright = 0; bright < Positions; ++bright) {
                const TColor hardware = colormodel::HSBtoRGBT(fractions[hue], fractions[sat], fractions[bright]);
                const TColor portable = colormodel::HSBtoRGBT(fractionsX[hue], fractionsX[sat], fractionsX[bright]);
                if (hardware != portable) {
                    std::ostringstream out;
                    out << "positions " << hue << "," << sat << "," << bright << ": " << Channels(hardware)
                        << " against " << Channels(portable);
                    return out.str();
                }
            }
        }
        return {};
    });
    EXPECT_TRUE(failures.empty()) << failures.size() << " hue positions with differences, e.g. " << failures.front();
}

// Rows of hue positions 0 … 200 at every saturation and brightness position, on one real type.
template <class RealT>
void ExpectEveryRowMatchesPixelByPixel()
{
    constexpr int Positions = 201;
    std::vector<RealT> fractions(Positions);
    std::vector<colormodel::HueColumnT<RealT>> columns(Positions);
    for (int p = 0; p < Positions; ++p) {
        fractions[p] = colormodel::FractionOfT<RealT>(p, 200);
        columns[p] = colormodel::HueColumnOfT<RealT>(fractions[p]);
    }
    const auto failures = ForEachInParallel(Positions, [&](int bright) -> std::string {
        std::vector<TColor> row(Positions);
        for (int sat = 0; sat < Positions; ++sat) {
            colormodel::HSBtoRGBRowT<RealT>(columns.data(), Positions, fractions[sat], fractions[bright], row.data());
            for (int hue = 0; hue < Positions; ++hue) {
                const TColor pixel = colormodel::HSBtoRGBT(fractions[hue], fractions[sat], fractions[bright]);
                if (row[hue] != pixel) {
                    std::ostringstream out;
                    out << "positions " << hue << "," << sat << "," << bright << ": row " << Channels(row[hue])
                        << ", pixel " << Channels(pixel);
                    return out.str();
                }
            }
        }
        return {};
    });
    EXPECT_TRUE(failures.empty()) << failures.size() << " brightness positions with differences, e.g. "
                                  << failures.front();
}

TEST(ExhaustiveAgreement, EveryRowEqualsHSBtoRGBPixelByPixelOnLongDouble)
{
    ExpectEveryRowMatchesPixelByPixel<long double>();
}

TEST(ExhaustiveAgreement, EveryRowEqualsHSBtoRGBPixelByPixelOnExt80)
{
    ExpectEveryRowMatchesPixelByPixel<Ext80>();
}

} // namespace
