// The portable extended real against the hardware's: every operation, conversion and integer
// rounding must give the same bits. The comparisons need a long double with a 64-bit
// significand; elsewhere they are skipped and the colour tests carry the weight.

#include "ColorPaths.h"
#include "host/rtl/Math.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>

using ext::Ext80;

namespace {

constexpr std::int64_t Int64Min = std::numeric_limits<std::int64_t>::min();
constexpr std::int64_t Int64Max = std::numeric_limits<std::int64_t>::max();
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double Inf = std::numeric_limits<double>::infinity();

#define REQUIRE_HARDWARE_EXTENDED()                                                                                    \
    if (!ext::HardwareExtended)                                                                                        \
    GTEST_SKIP() << "long double has no 64-bit significand here: nothing to compare with"

std::string Describe(long double X)
{
    char text[64];
    std::snprintf(text, sizeof text, "%La", X);
    return text;
}

// Values from every corner of the format: specials, subnormals, the overflow edge, numbers with
// few bits (exact results and ties), numbers near 1, and ordinary quotients.
class RealSource {
public:
    explicit RealSource(unsigned Seed) : m_rng(Seed) {}

    long double next() { return (m_rng() & 1) != 0 ? -magnitude() : magnitude(); }

    // Often close to X, so that sums cancel.
    long double partner(long double X)
    {
        switch (m_rng() % 4) {
        case 0: return std::nextafter(X, (m_rng() & 1) != 0 ? LDBL_MAX : -LDBL_MAX);
        case 1: return -X * (1 + std::ldexp(static_cast<long double>(m_rng() % 64), -64));
        default: return next();
        }
    }

private:
    long double magnitude()
    {
        const auto significand = static_cast<long double>(m_rng() | std::uint64_t{1} << 63);
        const long double specials[] = {0, 1, 0.5L, LDBL_MIN, LDBL_MAX, LDBL_TRUE_MIN, 3 * LDBL_TRUE_MIN,
                                        LDBL_MIN - LDBL_TRUE_MIN, 0x1p63L, Inf, NaN};
        switch (m_rng() % 8) {
        case 0: return specials[m_rng() % std::size(specials)];
        case 1: return std::ldexp(significand, uniform(-16445 - 70, 16383 - 63 + 2));        // anywhere
        case 2: return std::ldexp(significand, uniform(-16445 - 66, -16382 - 63 + 66));      // subnormal edge
        case 3: return std::ldexp(significand, uniform(16383 - 63 - 66, 16383 - 63));        // overflow edge
        case 4: return std::ldexp(significand, uniform(-140, 40));
        case 5: return std::ldexp(static_cast<long double>((m_rng() & 0xFF) | 1), uniform(-80, 80));
        case 6: return 1 + std::ldexp(static_cast<long double>(m_rng() % 16), -64);
        default: return static_cast<long double>(m_rng() % 1000) / static_cast<long double>(m_rng() % 1000 + 1);
        }
    }

    int uniform(int Low, int High) { return std::uniform_int_distribution<int>(Low, High)(m_rng); }

    std::mt19937_64 m_rng;
};

TEST(Ext80Conversion, FieldsMatchTheHardwareLayoutAndRoundTrip)
{
    REQUIRE_HARDWARE_EXTENDED();
    RealSource source(1);
    for (int i = 0; i < 200000; ++i) {
        const long double x = source.next();
        const Ext80 e(x);
        ASSERT_TRUE(SameReal(x, e)) << Describe(x);
#if defined(__x86_64__) || defined(__i386__)
        if (!std::isnan(x)) {   // x87 layout: significand, then sign and exponent
            unsigned char bytes[sizeof(long double)];
            std::memcpy(bytes, &x, sizeof x);
            std::uint64_t significand;
            std::memcpy(&significand, bytes, 8);
            ASSERT_EQ(e.significand(), significand) << Describe(x);
            ASSERT_EQ(e.biasedExponent() | (e.negative() ? 0x8000 : 0), bytes[8] | bytes[9] << 8) << Describe(x);
        }
#endif
        const double narrowed = static_cast<double>(e), expected = static_cast<double>(x);
        ASSERT_TRUE(std::isnan(expected) ? std::isnan(narrowed)
                                         : narrowed == expected && std::signbit(narrowed) == std::signbit(expected))
            << Describe(x);
        ASSERT_TRUE(SameReal(static_cast<long double>(expected), Ext80(expected))) << Describe(x);
    }
}

TEST(Ext80Conversion, IntegersAndDoublesAreExact)
{
    EXPECT_TRUE(Ext80(0).isZero() && !Ext80(0).negative());
    EXPECT_TRUE(Ext80(-3) == Ext80(-3.0));
    EXPECT_TRUE(Ext80(Int64Min) == Ext80(-0x1p63));
    EXPECT_EQ(Ext80(Int64Max).significand(), ~std::uint64_t{0} << 1);
    EXPECT_EQ(Ext80(~std::uint64_t{0}).significand(), ~std::uint64_t{0});
    EXPECT_TRUE(Ext80(-0.0).isZero() && Ext80(-0.0).negative());
    EXPECT_TRUE(Ext80(Inf).isInf() && Ext80(NaN).isNaN());
    EXPECT_TRUE(Ext80(std::numeric_limits<double>::denorm_min()) == Ext80(0x1p-1000) * Ext80(0x1p-74));
    static_assert(Ext80(0.75).significand() == 0xC000000000000000u, "a double constant folds");
}

TEST(Ext80Arithmetic, RandomOperandsMatchTheHardware)
{
    REQUIRE_HARDWARE_EXTENDED();
    RealSource source(3);
    for (int i = 0; i < 400000; ++i) {
        const long double a = source.next(), b = source.partner(a);
        const Ext80 x(a), y(b);
        const std::string operands = Describe(a) + ", " + Describe(b);
        ASSERT_TRUE(SameReal(a + b, x + y)) << "+ " << operands;
        ASSERT_TRUE(SameReal(a - b, x - y)) << "- " << operands;
        ASSERT_TRUE(SameReal(a * b, x * y)) << "* " << operands;
        ASSERT_TRUE(SameReal(a / b, x / y)) << "/ " << operands;
        ASSERT_TRUE((a < b) == (x < y) && (a <= b) == (x <= y) && (a > b) == (x > y) && (a >= b) == (x >= y) &&
                    (a == b) == (x == y) && (a != b) == (x != y))
            << "comparison " << operands;
    }
}

TEST(Ext80Arithmetic, CornerCases)
{
    const Ext80 inf = Ext80::infinity();
    const Ext80 tiny = Ext80::FromParts(false, 0, 1);   // smallest subnormal
    const Ext80 largest = Ext80::FromParts(false, Ext80::MaxExponent - 1, ~std::uint64_t{0});
    EXPECT_TRUE((Ext80(-0.0) + Ext80(-0.0)).negative()) << "-0 + -0 = -0";
    EXPECT_FALSE((Ext80(1) - Ext80(1)).negative()) << "x - x = +0";
    EXPECT_TRUE((inf - inf).isNaN() && (inf * Ext80(0)).isNaN() && (Ext80(0) / Ext80(0)).isNaN());
    EXPECT_TRUE(Ext80(1) / Ext80(0) == inf && Ext80(-1) / Ext80(0) == -inf);
    EXPECT_TRUE((tiny / Ext80(2)).isZero()) << "half the smallest subnormal ties to even: 0";
    EXPECT_TRUE(Ext80(3) * tiny / Ext80(2) == Ext80(2) * tiny) << "1.5 units ties to 2";
    EXPECT_TRUE(largest * Ext80(2) == inf && largest + largest == inf);
    EXPECT_TRUE(Ext80(1) + Ext80(0x1p-64) == Ext80(1)) << "a tie between 1 and 1 + 2^-63: even";
    EXPECT_TRUE(Ext80(1) + Ext80(0x1.8p-64) == Ext80(1) + Ext80(0x1p-63));
    EXPECT_TRUE(Ext80(~std::uint64_t{0}) + Ext80(0.5) == Ext80(0x1p64)) << "the tie carries into 2^64";
    // 1/3 = 0.0101…: significand 0xAAAA…AAAB, rounded up; 1/5 and 1/10 likewise end in D.
    EXPECT_EQ((Ext80(1) / Ext80(3)).significand(), 0xAAAAAAAAAAAAAAABu);
    EXPECT_EQ((Ext80(1) / Ext80(3)).biasedExponent(), Ext80::Bias - 2);
    EXPECT_EQ((Ext80(1) / Ext80(10)).significand(), 0xCCCCCCCCCCCCCCCDu);
    EXPECT_TRUE(Ext80(1) / Ext80(3) * Ext80(3) == Ext80(1));
}

TEST(Ext80Arithmetic, WideDivisionAgreesWithTheGenericOne)
{
    std::mt19937_64 rng(5);
    for (int i = 0; i < 100000; ++i) {
        const std::uint64_t divisor = rng() | (i % 2 == 0 ? std::uint64_t{1} << 63 : 1);
        const ext::u128 dividend = static_cast<ext::u128>(rng() % divisor) << 64 | rng();   // quotient fits 64 bits
        const auto fast = ext::detail::DivideWide(dividend, divisor);
        const auto generic = ext::detail::DivideWidePortable(dividend, divisor);
        ASSERT_TRUE(fast.Quotient == generic.Quotient && fast.Remainder == generic.Remainder);
        ASSERT_TRUE(generic.Remainder < divisor &&
                    static_cast<ext::u128>(generic.Quotient) * divisor + generic.Remainder == dividend);
    }
}

// ----- Floor, Trunc, Round ---------------------------------------------------------------------

template <class RealT>
class RoundingTest : public testing::Test {};
using RealTypes = testing::Types<long double, Ext80>;
TYPED_TEST_SUITE(RoundingTest, RealTypes);

TYPED_TEST(RoundingTest, KnownValues)
{
    using R = TypeParam;
    const struct {
        double X;
        std::int64_t Round, Trunc;
        double Floor;
    } cases[] = {
        {2.5, 2, 2, 2},     {3.5, 4, 3, 3},      {0.5, 0, 0, 0},      {1.5, 2, 1, 1},      {-2.5, -2, -2, -3},
        {-3.5, -4, -3, -4}, {-2.7, -3, -2, -3},  {-2.2, -2, -2, -3},  {-0.5, 0, 0, -1},    {-0.4, 0, 0, -1},
        {-3, -3, -3, -3},   {255.5, 256, 255, 255}, {149.8, 150, 149, 149}, {-1e-300, 0, 0, -1}, {0.999, 1, 0, 0},
        {1e30, Int64Max, Int64Max, 1e30}, {-1e30, Int64Min, Int64Min, -1e30}, {0x1p63, Int64Max, Int64Max, 0x1p63},
        {-0x1p63, Int64Min, Int64Min, -0x1p63}, {Inf, Int64Max, Int64Max, Inf}, {-Inf, Int64Min, Int64Min, -Inf},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ext::Round(R(c.X)), c.Round) << c.X;
        EXPECT_EQ(ext::Trunc(R(c.X)), c.Trunc) << c.X;
        EXPECT_TRUE(ext::Floor(R(c.X)) == R(c.Floor)) << c.X;
    }
    EXPECT_EQ(ext::Round(R(NaN)), 0);
    EXPECT_EQ(ext::Trunc(R(NaN)), 0);
    EXPECT_FALSE(std::signbit(static_cast<long double>(ext::Floor(R(-0.0))))) << "an integer floor has no -0";
    const R below = R(0x1p63) - R(0.5);   // rounds to 2^63, which saturates
    EXPECT_EQ(ext::Round(below), Int64Max);
    EXPECT_EQ(ext::Round(-below), Int64Min);
    EXPECT_EQ(ext::Trunc(below), Int64Max);   // 2^63 - 1, exactly
}

std::int64_t Saturated(long double Integral)
{
    if (std::isnan(Integral))
        return 0;
    return Integral >= 0x1p63L ? Int64Max : Integral <= -0x1p63L ? Int64Min : static_cast<std::int64_t>(Integral);
}

TEST(Rounding, BothTypesAgreeWithTheRuntimeOnRandomValues)
{
    REQUIRE_HARDWARE_EXTENDED();
    RealSource source(4);
    for (int i = 0; i < 200000; ++i) {
        long double x = source.next();
        if (i % 3 == 0)
            x = std::ldexp(std::trunc(std::ldexp(x, -40)), 40) / 1024;   // integers and easy fractions
        const Ext80 e(x);
        const long double floored = std::floor(x) == 0 ? 0 : std::floor(x);   // the integer floor has no -0
        ASSERT_TRUE(SameReal(floored, ext::Floor(e)) && SameReal(ext::Floor(x), Ext80(floored))) << Describe(x);
        ASSERT_TRUE(ext::Trunc(x) == Saturated(std::trunc(x)) && ext::Trunc(e) == ext::Trunc(x)) << Describe(x);
        ASSERT_TRUE(ext::Round(x) == Saturated(std::nearbyint(x)) && ext::Round(e) == ext::Round(x)) << Describe(x);
        if (std::fabs(x) < 0x1p62L) {   // the runtime's own functions, where they are defined
            ASSERT_TRUE(ext::Round(x) == ::Round(x) && ext::Trunc(x) == ::Trunc(x) &&
                        ext::Floor(x) == static_cast<long double>(::Floor(x)))
                << Describe(x);
        }
    }
}

} // namespace
