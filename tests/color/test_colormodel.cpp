// The colour model's conversions on every path: the algorithm on long double, on the portable
// Ext80, and the public functions on the real the build selected.

#include "ColorPaths.h"

#include <gtest/gtest.h>

#include <climits>
#include <limits>
#include <vector>

namespace {

struct HsbCase {
    const char* What;
    int Hue, Sat, Bright;   // positions
    TColor Expected;
};

const HsbCase HsbCases[] = {
    {"pure red", 0, 200, 200, 0x000000FF},
    {"cyan", 100, 200, 200, 0x00FFFF00},
    {"last hue position, nearly red", 199, 200, 200, FromChannels(255, 0, 8)},
    {"mid hue, mid saturation", 50, 100, 150, FromChannels(143, 191, 96)},
    {"hue position 200 is hue 1 and wraps to red", 200, 200, 200, 0x000000FF},
    {"grey of the box brightness", 0, 0, 150, 0x00BFBFBF},
    {"black", 0, 0, 0, 0},
    {"white", 0, 0, 200, 0x00FFFFFF},
};

// Hues partway through each sector, where the sector's rising or falling channel (q or t) is
// neither 0 nor the brightness, so that every role of the sector table is seen. The hues are
// binary fractions, so each step below is exact. With h6 = hue position / 200 × 6, f = h6 − sector:
//   position 25: h6 = 0.75, sector 0, f = 0.75      position 50:  h6 = 1.5,  sector 1, f = 0.5
//   position 75: h6 = 2.25, sector 2, f = 0.25      position 125: h6 = 3.75, sector 3, f = 0.75
//   position 150: h6 = 4.5, sector 4, f = 0.5       position 175: h6 = 5.25, sector 5, f = 0.25
// A byte is Trunc(c × 255 + 0.5): 1 → 255, 0.875 → Trunc(223.625) = 223, 0.75 → Trunc(191.75) = 191,
// 0.625 → Trunc(159.875) = 159, 0.5 → Trunc(128) = 128, 0.25 → Trunc(64.25) = 64, 0 → 0.
const HsbCase MidSectorCases[] = {
    // Full saturation and brightness: p = 0, q = 1 − f, t = f.
    {"sector 0 (B, t, p): t = 0.75", 25, 200, 200, FromChannels(255, 191, 0)},
    {"sector 1 (q, B, p): q = 0.5", 50, 200, 200, FromChannels(128, 255, 0)},
    {"sector 2 (p, B, t): t = 0.25", 75, 200, 200, FromChannels(0, 255, 64)},
    {"sector 3 (p, q, B): q = 0.25", 125, 200, 200, FromChannels(0, 64, 255)},
    {"sector 4 (t, p, B): t = 0.5", 150, 200, 200, FromChannels(128, 0, 255)},
    {"sector 5 (B, p, q): q = 0.75", 175, 200, 200, FromChannels(255, 0, 191)},
    // Saturation 0.5, brightness 1: p = 0.5, q = 1 − 0.5 f, t = 1 − 0.5 (1 − f); all three differ
    // from each other and from B, so a swap of any two roles changes the colour.
    {"sector 0, half saturated: t = 1 - 0.5 × 0.25 = 0.875", 25, 100, 200, FromChannels(255, 223, 128)},
    {"sector 1, half saturated: q = 1 - 0.5 × 0.5 = 0.75", 50, 100, 200, FromChannels(191, 255, 128)},
    {"sector 2, half saturated: t = 1 - 0.5 × 0.75 = 0.625", 75, 100, 200, FromChannels(128, 255, 159)},
    {"sector 3, half saturated: q = 1 - 0.5 × 0.75 = 0.625", 125, 100, 200, FromChannels(128, 159, 255)},
    {"sector 4, half saturated: t = 1 - 0.5 × 0.5 = 0.75", 150, 100, 200, FromChannels(191, 128, 255)},
    {"sector 5, half saturated: q = 1 - 0.5 × 0.25 = 0.875", 175, 100, 200, FromChannels(255, 128, 223)},
};

struct RgbCase {
    const char* What;
    int Red, Green, Blue;
    int Hue, Sat, Bright;   // positions
};

const RgbCase RgbCases[] = {
    {"red and blue share the maximum: red branch, h = -1", 255, 0, 255, 167, 200, 200},
    {"green", 0, 255, 0, 67, 200, 200},
    {"blue", 0, 0, 255, 133, 200, 200},
    {"yellow", 255, 255, 0, 33, 200, 200},
    {"brown", 128, 64, 32, 11, 150, 100},
    {"black, no division by zero", 0, 0, 0, 0, 0, 0},
    {"white", 255, 255, 255, 0, 0, 200},
    {"grey 191 back to brightness 150", 191, 191, 191, 0, 0, 150},
    {"saturation 1/16: 12.5 ties to 12", 16, 15, 15, 0, 12, 13},
    {"47/80 lies below 0.5875 in extended precision", 80, 33, 33, 0, 117, 63},
    {"23/80", 80, 57, 57, 0, 58, 63},
    {"49/80", 80, 31, 31, 0, 122, 63},
    {"51/80", 80, 29, 29, 0, 128, 63},
};

template <class Path>
class ColorModelTest : public testing::Test {};

using Paths = testing::Types<AlgorithmOn<long double>, AlgorithmOn<ext::Ext80>, PublicFunctions>;
struct PathNames {
    template <class T>
    static std::string GetName(int) { return T::Name; }
};
TYPED_TEST_SUITE(ColorModelTest, Paths, PathNames);

TYPED_TEST(ColorModelTest, HsbPositionsGiveTheKnownColours)
{
    using P = TypeParam;
    for (const HsbCase& c : HsbCases) {
        const TColor color = P::HSBtoRGB(P::FractionOf(c.Hue, HueSteps), P::FractionOf(c.Sat, SatSteps),
                                         P::FractionOf(c.Bright, BrightSteps));
        EXPECT_EQ(color, c.Expected) << c.What << ": got " << Channels(color) << ", want " << Channels(c.Expected);
    }
}

TYPED_TEST(ColorModelTest, HuesPartwayThroughEachSectorTakeEachChannelFromItsRole)
{
    using P = TypeParam;
    for (const HsbCase& c : MidSectorCases) {
        const TColor color = P::HSBtoRGB(P::FractionOf(c.Hue, HueSteps), P::FractionOf(c.Sat, SatSteps),
                                         P::FractionOf(c.Bright, BrightSteps));
        EXPECT_EQ(color, c.Expected) << c.What << ": got " << Channels(color) << ", want " << Channels(c.Expected);
    }
}

TYPED_TEST(ColorModelTest, RgbGivesTheKnownPositions)
{
    using P = TypeParam;
    for (const RgbCase& c : RgbCases) {
        typename P::R hue, sat, bright;
        P::RGBToHSB(c.Red, c.Green, c.Blue, hue, sat, bright);
        EXPECT_EQ(P::PositionOf(HueSteps, hue), c.Hue) << c.What;
        EXPECT_EQ(P::PositionOf(SatSteps, sat), c.Sat) << c.What;
        EXPECT_EQ(P::PositionOf(BrightSteps, bright), c.Bright) << c.What;
    }
}

TYPED_TEST(ColorModelTest, ExactFractionsFromRgb)
{
    using P = TypeParam;
    using R = typename P::R;
    R hue, sat, bright;
    P::RGBToHSB(255, 0, 255, hue, sat, bright);
    EXPECT_TRUE(hue == R(5) / R(6));               // -1/6 + 1
    P::RGBToHSB(16, 15, 15, hue, sat, bright);
    EXPECT_TRUE(sat == R(0.0625)) << "1/16 is exact, so 200 × 1/16 is the tie 12.5";
    EXPECT_TRUE(R(SatSteps) * sat == R(12.5));
    EXPECT_TRUE(hue == R(0));
    P::RGBToHSB(80, 33, 33, hue, sat, bright);
    EXPECT_TRUE(sat == R(47) / R(80));
    EXPECT_TRUE(R(SatSteps) * sat < R(117.5)) << "rounded 47/80 lies below 0.5875";
    EXPECT_TRUE(bright == R(80) / R(255));
}

TYPED_TEST(ColorModelTest, HueWrapsByWholeTurns)
{
    using P = TypeParam;
    using R = typename P::R;
    const R full(1), half(0.5);
    EXPECT_EQ(P::HSBtoRGB(R(1), full, full), 0x000000FF) << "hue 1 is sector 0";
    EXPECT_EQ(P::HSBtoRGB(R(3), full, full), 0x000000FF);
    EXPECT_EQ(P::HSBtoRGB(R(-0.5), full, full), P::HSBtoRGB(half, full, full)) << "negative hues wrap upwards";
    EXPECT_EQ(P::HSBtoRGB(R(2.25), half, full), P::HSBtoRGB(R(0.25), half, full));
    EXPECT_EQ(P::HSBtoRGB(R(1e30), full, full), 0x000000FF) << "a huge hue is a whole number of turns";
    // -1e-30 - Floor(-1e-30) = 1 - 1e-30 rounds to 1, so h6 = 6, past the sector table: still red.
    EXPECT_EQ(P::HSBtoRGB(R(-1e-30), full, full), 0x000000FF);
    EXPECT_EQ(P::HSBtoRGB(R(-1e-30), half, R(0.75)), P::HSBtoRGB(R(0), half, R(0.75)));
}

TYPED_TEST(ColorModelTest, SixSectorsInOrder)
{
    using P = TypeParam;
    using R = typename P::R;
    const R full(1);
    const TColor expected[] = {FromChannels(255, 0, 0),   FromChannels(255, 255, 0), FromChannels(0, 255, 0),
                               FromChannels(0, 255, 255), FromChannels(0, 0, 255),   FromChannels(255, 0, 255)};
    for (int sector = 0; sector < 6; ++sector)
        EXPECT_EQ(P::HSBtoRGB(R(sector) / R(6), full, full), expected[sector]) << "sector " << sector;
}

TYPED_TEST(ColorModelTest, InputsOutsideTheRangeGiveAColourNotGarbage)
{
    using P = TypeParam;
    using R = typename P::R;
    const R nan(std::numeric_limits<double>::quiet_NaN()), inf(std::numeric_limits<double>::infinity());
    // Bright 1.5: red would be 383 and spill a bit into green; it is held at 255.
    EXPECT_EQ(P::HSBtoRGB(R(0), R(1), R(1.5)), 0x000000FF);
    EXPECT_EQ(P::HSBtoRGB(R(0), R(0), R(2)), 0x00FFFFFF);
    // Negative channels would set every bit above them; they are held at 0.
    EXPECT_EQ(P::HSBtoRGB(R(0), R(0), R(-1)), 0);
    EXPECT_EQ(P::HSBtoRGB(R(0.5), R(1), R(-0.5)), 0);
    EXPECT_EQ(P::HSBtoRGB(R(0), R(2), R(1)), FromChannels(255, 0, 0)) << "saturation 2 makes p negative";
    EXPECT_EQ(P::HSBtoRGB(R(0), R(1), R(1e300)), FromChannels(255, 0, 0));
    EXPECT_EQ(P::HSBtoRGB(R(0), R(1), R(-1e300)), 0);
    // A hue that is not finite has no sector: black.
    EXPECT_EQ(P::HSBtoRGB(nan, R(1), R(1)), 0);
    EXPECT_EQ(P::HSBtoRGB(inf, R(1), R(1)), 0);
    EXPECT_EQ(P::HSBtoRGB(-inf, R(1), R(1)), 0);
    EXPECT_EQ(P::HSBtoRGB(R(0), R(0), nan), 0);
    EXPECT_EQ(P::HSBtoRGB(R(0), R(0), inf), 0x00FFFFFF);
    for (const R& a : {nan, inf, -inf})
        for (const R& b : {nan, inf, -inf, R(0), R(0.5)})
            EXPECT_EQ(P::HSBtoRGB(b, a, a) & 0xFF000000, 0) << "top byte stays clear";
}

TYPED_TEST(ColorModelTest, AnyIntegersConvertWithoutOverflow)
{
    using P = TypeParam;
    using R = typename P::R;
    R hue, sat, bright;
    P::RGBToHSB(INT_MAX, INT_MIN, 0, hue, sat, bright);   // max - min does not fit an int
    EXPECT_TRUE(bright == R(INT_MAX) / R(255));
    EXPECT_TRUE(sat == (R(INT_MAX) - R(INT_MIN)) / R(INT_MAX));
    // Red branch: h = bc - gc with d = 2^32 - 1, bc = max / d, gc = 1; then h / 6 + 1.
    const R d = R(4294967295LL);
    EXPECT_TRUE(hue == (R(INT_MAX) / d - R(1)) / R(6) + R(1));
    P::RGBToHSB(-5, -10, -10, hue, sat, bright);
    EXPECT_TRUE(bright == R(-5) / R(255));
    EXPECT_TRUE(sat == R(-1));
}

TYPED_TEST(ColorModelTest, PositionsRoundTiesToEvenAndSaturate)
{
    using P = TypeParam;
    using R = typename P::R;
    EXPECT_EQ(P::PositionOf(200, R(0.0625)), 12);    // 12.5
    EXPECT_EQ(P::PositionOf(2, R(0.25)), 0);         // 0.5
    EXPECT_EQ(P::PositionOf(2, R(0.75)), 2);         // 1.5
    EXPECT_EQ(P::PositionOf(2, R(-0.75)), -2);
    EXPECT_EQ(P::PositionOf(200, R(1e30)), INT_MAX);
    EXPECT_EQ(P::PositionOf(200, R(-1e30)), INT_MIN);
    EXPECT_EQ(P::PositionOf(200, R(std::numeric_limits<double>::quiet_NaN())), 0);
    EXPECT_EQ(P::PositionOf(200, R(std::numeric_limits<double>::infinity())), INT_MAX);
    for (int position = 0; position <= 200; ++position)
        EXPECT_EQ(P::PositionOf(200, P::FractionOf(position, 200)), position);
}

// The row of a field against HSBtoRGB pixel by pixel, the definition it must match bit for bit.
template <class P>
void ExpectRowMatchesPixels(const std::vector<typename P::R>& Hues, typename P::R Sat, typename P::R Bright,
                            const std::string& What)
{
    std::vector<typename P::Column> columns;
    for (const auto& hue : Hues)
        columns.push_back(P::HueColumnOf(hue));
    std::vector<TColor> row(Hues.size(), 0xDEADBEEF);
    P::HSBtoRGBRow(columns, Sat, Bright, row);
    for (std::size_t i = 0; i < Hues.size(); ++i) {
        const TColor pixel = P::HSBtoRGB(Hues[i], Sat, Bright);
        EXPECT_EQ(row[i], pixel) << What << ", column " << i << ": got " << Channels(row[i]) << ", want "
                                 << Channels(pixel);
    }
}

TYPED_TEST(ColorModelTest, RowGivesTheKnownColours)
{
    using P = TypeParam;
    const auto check = [](const HsbCase& c) {
        const typename P::Column column[] = {P::HueColumnOf(P::FractionOf(c.Hue, HueSteps))};
        TColor color = 0xDEADBEEF;
        P::HSBtoRGBRow(column, P::FractionOf(c.Sat, SatSteps), P::FractionOf(c.Bright, BrightSteps), {&color, 1});
        EXPECT_EQ(color, c.Expected) << c.What << ": got " << Channels(color) << ", want " << Channels(c.Expected);
    };
    for (const HsbCase& c : HsbCases)
        check(c);
    for (const HsbCase& c : MidSectorCases)
        check(c);
}

TYPED_TEST(ColorModelTest, RowsOfTheBoxAreHSBtoRGBPixelByPixel)
{
    using P = TypeParam;
    std::vector<typename P::R> hues;
    for (int hue = 0; hue <= HueSteps; ++hue)   // position 200 too: hue 1, which wraps
        hues.push_back(P::FractionOf(hue, HueSteps));
    const typename P::R bright = P::FractionOf(150, BrightSteps);
    for (int sat = 0; sat <= SatSteps; ++sat)
        ExpectRowMatchesPixels<P>(hues, P::FractionOf(sat, SatSteps), bright, "saturation " + std::to_string(sat));
}

TYPED_TEST(ColorModelTest, RowsOfInputsOutsideTheRangeAreHSBtoRGBPixelByPixel)
{
    using P = TypeParam;
    using R = typename P::R;
    const R nan(std::numeric_limits<double>::quiet_NaN()), inf(std::numeric_limits<double>::infinity());
    const std::vector<R> hues = {nan,   inf,   -inf,   R(-1e-30), R(1e30), R(-0.5), R(-0.0),
                                 R(0),  R(1),  R(3),   R(2.25),   R(5.0 / 6.0), R(0.999999999)};
    const R values[] = {nan, inf, -inf, R(0), R(-0.0), R(0.5), R(0.75), R(1), R(1.5), R(2), R(-1), R(1e300), R(-1e300)};
    for (const R& sat : values)
        for (const R& bright : values)
            ExpectRowMatchesPixels<P>(hues, sat, bright, "odd saturation and brightness");
}

TEST(ColorModelRow, WritesNoMoreColoursThanTheShorterSpanHolds)
{
    const HueColumn columns[] = {HueColumnOf(Real(0)), HueColumnOf(Real(0.5)), HueColumnOf(Real(0.25))};
    TColor out[3] = {1, 2, 3};
    HSBtoRGBRow(columns, Real(1), Real(1), std::span<TColor>(out, 2));
    EXPECT_EQ(out[0], FromChannels(255, 0, 0));
    EXPECT_EQ(out[1], FromChannels(0, 255, 255));
    EXPECT_EQ(out[2], 3u) << "beyond the output span";
    TColor grey[3] = {1, 2, 3};
    HSBtoRGBRow(std::span<const HueColumn>(columns, 1), Real(0), BoxBrightness, grey);
    EXPECT_EQ(grey[0], 0x00BFBFBFu);
    EXPECT_EQ(grey[1], 2u) << "beyond the columns";
}

TEST(ColorModelScales, Constants)
{
    EXPECT_EQ(HueSteps, 200);
    EXPECT_EQ(SatSteps, 200);
    EXPECT_EQ(BrightSteps, 200);
    EXPECT_EQ(RedSteps, 256);
    EXPECT_EQ(GreenSteps, 256);
    EXPECT_EQ(BlueSteps, 256);
    EXPECT_TRUE(BoxBrightness == Real(150) / Real(200));
    EXPECT_TRUE(BoxBrightness == FractionOf(150, BrightSteps));
    EXPECT_EQ(HSBtoRGB(Real(0), Real(0), BoxBrightness), 0x00BFBFBF);
}

TEST(ColorModelScales, DoublePrecisionWouldMissTheSaturationPosition)
{
    // The reason for the extended real: in double, 200 × 47/80 rounds to 117.5 and then to 118.
    const double sat = 47.0 / 80.0;
    EXPECT_EQ(static_cast<int>(std::nearbyint(200 * sat)), 118);
    Real hue, satExt, bright;
    RGBToHSB(80, 33, 33, hue, satExt, bright);
    EXPECT_EQ(PositionOf(SatSteps, satExt), 117);
}

} // namespace
