#pragma once
// Extended-precision reals for the colour model: every sum, product and quotient rounded to a
// 64-bit significand, round to nearest, ties to even.
//
// Two implementations give bit-identical results:
//   - long double, where the compiler's long double has a 64-bit significand (x86-64);
//   - Ext80, exact integer arithmetic rounded to 64 bits after every operation, for every other
//     target. Its format is the 80-bit extended format: 15-bit exponent, 64-bit significand with
//     an explicit integer bit, gradual underflow, infinities and NaN.
// ExtReal names the one the target uses; both are always compiled so that they can be tested
// against each other.
//
// Floor, Trunc and Round are given for both types, with the runtime's meaning, and need no
// library calls: the colour field calls them tens of thousands of times per paint.

#include <algorithm>
#include <bit>
#include <cfloat>
#include <compare>
#include <concepts>
#include <cstdint>
#include <limits>

namespace ext {

using u128 = unsigned __int128;

class Ext80 {
public:
    static constexpr int Bias = 16383;
    static constexpr int MaxExponent = 0x7FFF;          // the exponent of infinities and NaN
    static constexpr std::uint64_t IntegerBit = std::uint64_t{1} << 63;

    constexpr Ext80() = default;                        // +0

    // Integers convert exactly: every 64-bit integer fits the significand.
    template <std::integral I>
    constexpr Ext80(I Value)
    {
        std::uint64_t magnitude = static_cast<std::uint64_t>(Value);
        if constexpr (std::is_signed_v<I>) {
            m_neg = Value < 0;
            magnitude = m_neg ? std::uint64_t{0} - magnitude : magnitude;
        }
        const int shift = std::countl_zero(magnitude);   // 64 for zero
        m_sig = magnitude << (shift & 63);
        m_exp = magnitude != 0 ? Bias + 63 - shift : 0;
    }

    // A double converts exactly (53 bits fit in 64, and the exponent range is wider).
    explicit constexpr Ext80(double Value);
    // Rounded to nearest even when long double is wider than 64 bits, exact otherwise.
    explicit Ext80(long double Value);

    // Rounded to nearest even when the target type is narrower, exact otherwise.
    explicit operator long double() const;
    explicit operator double() const;

    // The fields of the 80-bit format. FromParts takes them as they are: a normal number needs
    // its integer bit set, a zero or subnormal exponent 0.
    static constexpr Ext80 FromParts(bool Negative, int BiasedExponent, std::uint64_t Significand)
    {
        Ext80 r;
        r.m_neg = Negative;
        r.m_exp = BiasedExponent;
        r.m_sig = Significand;
        return r;
    }
    constexpr bool negative() const { return m_neg; }
    constexpr int biasedExponent() const { return m_exp; }
    constexpr std::uint64_t significand() const { return m_sig; }

    static constexpr Ext80 infinity(bool Negative = false) { return FromParts(Negative, MaxExponent, IntegerBit); }
    static constexpr Ext80 quietNaN(bool Negative = false) { return FromParts(Negative, MaxExponent, IntegerBit | IntegerBit >> 1); }

    constexpr bool isNaN() const { return m_exp == MaxExponent && m_sig != IntegerBit; }
    constexpr bool isInf() const { return m_exp == MaxExponent && m_sig == IntegerBit; }
    constexpr bool isZero() const { return m_exp == 0 && m_sig == 0; }
    constexpr bool isFinite() const { return m_exp != MaxExponent; }

    constexpr Ext80 operator-() const { Ext80 r = *this; r.m_neg = !m_neg; return r; }

    friend Ext80 operator+(Ext80 A, Ext80 B);
    friend Ext80 operator-(Ext80 A, Ext80 B) { return A + -B; }
    friend Ext80 operator*(Ext80 A, Ext80 B);
    friend Ext80 operator/(Ext80 A, Ext80 B);

    // IEEE comparison: NaN is unordered, -0 equals +0.
    friend constexpr bool operator==(Ext80 A, Ext80 B)
    {
        return !A.isNaN() && !B.isNaN() && A.orderKey() == B.orderKey();
    }
    friend constexpr std::partial_ordering operator<=>(Ext80 A, Ext80 B)
    {
        if (A.isNaN() || B.isNaN())
            return std::partial_ordering::unordered;
        return A.orderKey() <=> B.orderKey();
    }

    friend Ext80 Floor(Ext80 X);
    friend std::int64_t Trunc(Ext80 X);
    friend std::int64_t Round(Ext80 X);

private:
    // A finite nonzero value as Significand × 2^Exponent.
    struct Unpacked {
        std::uint64_t Significand;
        int Exponent;
    };
    constexpr Unpacked unpacked() const { return {m_sig, (m_exp == 0 ? 1 : m_exp) - Bias - 63}; }
    constexpr bool isNormal() const { return m_exp != 0 && m_exp != MaxExponent; }
    // Canonical encodings order like (exponent, significand) pairs, infinities included, and
    // both zeros have key 0: the key orders every value but NaN.
    constexpr __int128 orderKey() const
    {
        const auto magnitude = static_cast<__int128>(static_cast<u128>(m_exp) << 64 | m_sig);
        return m_neg ? -magnitude : magnitude;
    }

    static Ext80 RoundToExt(bool Negative, u128 Magnitude, int Exponent);
    static Ext80 RoundNormalized(bool Negative, u128 Magnitude, int BiasedExponent);
    static Ext80 RoundOutOfRange(bool Negative, u128 Magnitude, int BiasedExponent);
    static Ext80 AddSlow(Ext80 A, Ext80 B);
    static Ext80 MulSlow(Ext80 A, Ext80 B);
    static Ext80 DivSlow(Ext80 A, Ext80 B);
    static Ext80 AddMagnitudes(Ext80 A, Ext80 B);
    static Ext80 DivMagnitudes(bool Negative, Unpacked A, Unpacked B);

    std::uint64_t m_sig = 0;   // significand, integer bit explicit (set for normal numbers)
    int m_exp = 0;             // biased exponent: 0 zero or subnormal, MaxExponent inf or NaN
    bool m_neg = false;
};

// Precision helpers shared by the inline fast paths and the out-of-line slow ones.
namespace detail {

constexpr int CountLeadingZeros(u128 X)
{
    const auto hi = static_cast<std::uint64_t>(X >> 64);
    return hi != 0 ? std::countl_zero(hi) : 64 + std::countl_zero(static_cast<std::uint64_t>(X));
}

// X >> N, with every bit shifted out folded into the lowest bit ("sticky"), so that rounding
// still sees that something nonzero lay below.
constexpr u128 ShiftRightSticky(u128 X, int N)   // N >= 0
{
    if (N >= 128)
        return X != 0;
    return (X >> N) | ((X << (127 - N) << 1) != 0);
}

struct QuotientRemainder {
    std::uint64_t Quotient, Remainder;
};

// Dividend / Divisor for a quotient known to fit 64 bits (the dividend's high half is below the
// divisor), in integers only.
constexpr QuotientRemainder DivideWidePortable(u128 Dividend, std::uint64_t Divisor)
{
    const auto quotient = static_cast<std::uint64_t>(Dividend / Divisor);
    return {quotient, static_cast<std::uint64_t>(Dividend) - quotient * Divisor};
}

// The same; x86-64 does it in one instruction, where the generic 128-bit division is a library
// call several times slower.
inline QuotientRemainder DivideWide(u128 Dividend, std::uint64_t Divisor)
{
#if defined(__x86_64__) && defined(__GNUC__)
    std::uint64_t quotient, remainder;
    asm("divq %[divisor]"
        : "=a"(quotient), "=d"(remainder)
        : "a"(static_cast<std::uint64_t>(Dividend)), "d"(static_cast<std::uint64_t>(Dividend >> 64)), [divisor] "r"(Divisor)
        : "cc");
    return {quotient, remainder};
#else
    return DivideWidePortable(Dividend, Divisor);
#endif
}

} // namespace detail

constexpr Ext80::Ext80(double Value)
{
    static_assert(std::numeric_limits<double>::is_iec559, "double must be IEEE binary64");
    const auto bits = std::bit_cast<std::uint64_t>(Value);
    const int exponent = static_cast<int>(bits >> 52 & 0x7FF);
    const std::uint64_t fraction = bits & ((std::uint64_t{1} << 52) - 1);
    m_neg = bits >> 63 != 0;
    if (exponent == 0x7FF) {
        m_exp = MaxExponent;
        m_sig = fraction == 0 ? IntegerBit : IntegerBit | IntegerBit >> 1 | fraction << 11;
    } else if (exponent == 0) {
        if (fraction != 0) {   // a subnormal double is a normal Ext80: fraction × 2^-1074
            const int shift = std::countl_zero(fraction);
            m_sig = fraction << shift;
            m_exp = Bias + 63 - shift - 1074;
        }
    } else {
        m_sig = (fraction | std::uint64_t{1} << 52) << 11;
        m_exp = exponent - 1023 + Bias;
    }
}

// Rounds M × 2^(BiasedExponent - Bias - 127), where M has its top bit set, to the format.
inline Ext80 Ext80::RoundNormalized(bool Negative, u128 M, int BiasedExponent)
{
    if (BiasedExponent <= 0 || BiasedExponent >= MaxExponent)
        return RoundOutOfRange(Negative, M, BiasedExponent);
    const auto keep = static_cast<std::uint64_t>(M >> 64);
    const auto rest = static_cast<std::uint64_t>(M);
    // Up above one half, and at exactly one half when that makes the significand even.
    const std::uint64_t up = static_cast<std::uint64_t>(rest > IntegerBit) | (static_cast<std::uint64_t>(rest == IntegerBit) & keep);
    const std::uint64_t rounded = keep + up;
    if (rounded == 0) [[unlikely]]   // carried out of the significand: the next power of two
        return BiasedExponent + 1 < MaxExponent ? FromParts(Negative, BiasedExponent + 1, IntegerBit) : infinity(Negative);
    return FromParts(Negative, BiasedExponent, rounded);
}

[[gnu::always_inline]] inline Ext80 operator*(Ext80 A, Ext80 B)
{
    if (!A.isNormal() || !B.isNormal())
        return Ext80::MulSlow(A, B);
    u128 m = static_cast<u128>(A.m_sig) * B.m_sig;      // exact, in [2^126, 2^128)
    const int top = static_cast<int>(m >> 127);
    m <<= 1 - top;
    return Ext80::RoundNormalized(A.m_neg != B.m_neg, m, A.m_exp + B.m_exp - Ext80::Bias + top);
}

[[gnu::always_inline]] inline Ext80 operator+(Ext80 A, Ext80 B)
{
    if (!A.isNormal() || !B.isNormal())
        return Ext80::AddSlow(A, B);
    return Ext80::AddMagnitudes(A, B);
}

// Both operands normal.
inline Ext80 Ext80::AddMagnitudes(Ext80 A, Ext80 B)
{
    // The larger magnitude first; selected field by field, so that no branch depends on it.
    const bool swap = A.m_exp < B.m_exp || (A.m_exp == B.m_exp && A.m_sig < B.m_sig);
    const int bigExp = swap ? B.m_exp : A.m_exp;
    const int smallExp = swap ? A.m_exp : B.m_exp;
    const std::uint64_t bigSig = swap ? B.m_sig : A.m_sig;
    const std::uint64_t smallSig = swap ? A.m_sig : B.m_sig;
    const bool negative = swap ? B.m_neg : A.m_neg;
    // The significands at bits 63 … 126 of a 128-bit word: one bit of room above for a carry,
    // 63 below, where the smaller one lands exactly unless it is shifted out further; then the
    // sticky bit still rounds it right.
    const u128 big = static_cast<u128>(bigSig) << 63;
    const int shift = bigExp - smallExp;
    u128 small;
    if (shift <= 63) [[likely]]
        small = static_cast<u128>(smallSig >> 1 >> shift) << 64 | (smallSig << (63 - shift));
    else
        small = detail::ShiftRightSticky(static_cast<u128>(smallSig) << 63, shift);
    if (A.m_neg == B.m_neg) {
        u128 sum = big + small;                         // in [2^126, 2^128)
        const int top = static_cast<int>(sum >> 127);
        sum <<= 1 - top;
        return RoundNormalized(negative, sum, bigExp + top);
    }
    const u128 difference = big - small;
    if (difference == 0)
        return Ext80{};   // x - x is +0 when rounding to nearest
    return RoundToExt(negative, difference, bigExp - Bias - 63 - 63);
}

[[gnu::always_inline]] inline Ext80 operator/(Ext80 A, Ext80 B)
{
    if (!A.isNormal() || !B.isNormal())
        return Ext80::DivSlow(A, B);
    return Ext80::DivMagnitudes(A.m_neg != B.m_neg, A.unpacked(), B.unpacked());
}

// Both significands have the integer bit set.
inline Ext80 Ext80::DivMagnitudes(bool Negative, Unpacked A, Unpacked B)
{
    // Halve the dividend when it is not below the divisor, so that the quotient has exactly 64
    // bits: (A or A / 2) × 2^64 / B.
    const std::uint64_t halve = A.Significand >= B.Significand;
    const u128 dividend = static_cast<u128>(A.Significand >> halve) << 64 | (A.Significand << 63 & (0 - halve));
    const std::uint64_t divisor = B.Significand;
    const auto [quotient, remainder] = detail::DivideWide(dividend, divisor);
    // The remainder against half the divisor: above rounds up. (Exactly half cannot happen: a
    // quotient of two 64-bit significands never lies midway; the tie clause keeps the rule whole.)
    const std::uint64_t otherPart = divisor - remainder;
    const bool up = remainder > otherPart || (remainder == otherPart && (quotient & 1) != 0);
    const std::uint64_t rounded = quotient + up;
    // The value is quotient × 2^(A.Exponent - B.Exponent - 64 + halve).
    const int biased = A.Exponent - B.Exponent + static_cast<int>(halve) - 64 + 63 + Bias;
    if (rounded == 0 || biased <= 0 || biased >= MaxExponent) [[unlikely]]
        return RoundNormalized(Negative, static_cast<u128>(quotient) << 64 | static_cast<u128>(remainder >= otherPart) << 63 |
                                             static_cast<u128>(remainder != 0 && remainder != otherPart), biased);
    return FromParts(Negative, biased, rounded);
}

// Rounds Negative × M × 2^Exponent (M > 0). The lowest bit of M may be a sticky bit standing for
// nonzero bits below it, provided M is then at least 66 bits wide, so that it lies below the
// rounding bit.
inline Ext80 Ext80::RoundToExt(bool Negative, u128 M, int Exponent)
{
    const int shift = detail::CountLeadingZeros(M);
    return RoundNormalized(Negative, M << shift, Exponent - shift + 127 + Bias);
}

// ----- Floor, Trunc, Round -------------------------------------------------------------------
// Floor returns a real: the colour model only subtracts it again (x - Floor(x)), and a real
// floor is exact for every finite value where an integer would overflow. Like the runtime's
// integer Floor it never gives -0. Infinities and NaN come back unchanged.
// Trunc and Round return 64-bit integers as the runtime does; beyond that range they saturate,
// and NaN gives 0, as the runtime's do.

namespace detail {

constexpr std::int64_t SaturatedSigned(bool Negative, std::uint64_t Magnitude)
{
    constexpr std::uint64_t limit = std::uint64_t{1} << 63;
    if (Negative)
        return Magnitude >= limit ? std::numeric_limits<std::int64_t>::min()
                                  : -static_cast<std::int64_t>(Magnitude);
    return Magnitude >= limit ? std::numeric_limits<std::int64_t>::max() : static_cast<std::int64_t>(Magnitude);
}

// Bits of the significand below the binary point when |X| < 2^63: 1 … 127 (more than 63 when
// |X| < 1), held in 128 bits so that no shift needs a special case.
constexpr int FractionBits(int BiasedExponent) { return std::min(63 - (BiasedExponent - Ext80::Bias), 127); }

} // namespace detail

inline Ext80 Floor(Ext80 X)
{
    if (X.m_exp - Ext80::Bias >= 63)
        return X;                                 // integral already, or infinite, or NaN
    const int fractionBits = detail::FractionBits(X.m_exp);
    const u128 significand = X.m_sig;
    const auto whole = static_cast<std::uint64_t>(significand >> fractionBits);                 // < 2^63
    const bool hasFraction = (significand & ((u128{1} << fractionBits) - 1)) != 0;
    // Negative values go down a step when they have a fraction: -(whole + 1), at most 2^63.
    const std::uint64_t down = X.m_neg ? std::uint64_t{0} - (whole + hasFraction) : whole;
    return Ext80(static_cast<std::int64_t>(down));
}

inline std::int64_t Trunc(Ext80 X)
{
    if (X.m_exp - Ext80::Bias >= 63)              // |X| >= 2^63, infinite or NaN
        return X.isNaN() ? 0 : detail::SaturatedSigned(X.m_neg, Ext80::IntegerBit);
    const auto whole = static_cast<std::uint64_t>(u128{X.m_sig} >> detail::FractionBits(X.m_exp));
    return X.m_neg ? -static_cast<std::int64_t>(whole) : static_cast<std::int64_t>(whole);
}

inline std::int64_t Round(Ext80 X)
{
    if (X.m_exp - Ext80::Bias >= 63)
        return X.isNaN() ? 0 : detail::SaturatedSigned(X.m_neg, Ext80::IntegerBit);
    const int fractionBits = detail::FractionBits(X.m_exp);
    const u128 significand = X.m_sig;
    const auto whole = static_cast<std::uint64_t>(significand >> fractionBits);
    const u128 fraction = significand & ((u128{1} << fractionBits) - 1);
    const u128 half = u128{1} << (fractionBits - 1);
    const bool up = fraction > half || (fraction == half && (whole & 1) != 0);
    return detail::SaturatedSigned(X.m_neg, whole + up);   // a tie at 2^63 - 1/2 saturates
}

// ----- The same for long double -------------------------------------------------------------
// Adding and subtracting 1.5 × 2^(p-1), p the significand's width, rounds any |x| < 2^(p-2) to
// the nearest integer, ties to even: the sum lies in [2^(p-1), 2^p), where long doubles are
// exactly 1 apart. That takes no library call, no branch on the value and no change of the
// control word (which every plain cast to an integer costs on x87). Integers below 2^53 then
// convert through double, exactly. Larger magnitudes, infinities and NaN take a slower route.

namespace detail {

inline constexpr long double TwoToP = [] {
    long double x = 1;
    for (int i = 0; i < LDBL_MANT_DIG; ++i)
        x *= 2;
    return x;
}();
inline constexpr long double RoundingShift = TwoToP / 4 * 3;   // 1.5 × 2^(p-1)
inline constexpr long double FastBelow = TwoToP / 4;           // 2^(p-2)
inline constexpr long double ConvertBelow = FastBelow < 0x1p53L ? FastBelow : 0x1p53L;

// Indexed by a comparison: a load instead of a branch that the data would mispredict.
inline constexpr float ZeroOne[2] = {0.0f, 1.0f};

inline long double NearestSmall(long double X)   // |X| < FastBelow
{
    return (X + RoundingShift) - RoundingShift;
}

long double FloorLarge(long double X);
std::int64_t TruncLarge(long double X);
std::int64_t RoundLarge(long double X);

} // namespace detail

inline long double Floor(long double X)
{
    if (X >= 0 && X < 1)
        return 0;                                 // the common case: a fraction of a turn
    if (!(X > -detail::FastBelow && X < detail::FastBelow))
        return detail::FloorLarge(X);
    const long double nearest = detail::NearestSmall(X);
    return nearest - detail::ZeroOne[nearest > X];   // +0 for -0, as an integer floor gives
}

inline std::int64_t Trunc(long double X)
{
    if (X >= 0 && X < detail::ConvertBelow) {
        const long double nearest = detail::NearestSmall(X);
        return static_cast<std::int64_t>(static_cast<double>(nearest)) - (nearest > X);
    }
    if (X < 0 && X > -detail::ConvertBelow) {
        const long double nearest = detail::NearestSmall(X);
        return static_cast<std::int64_t>(static_cast<double>(nearest)) + (nearest < X);
    }
    return detail::TruncLarge(X);
}

inline std::int64_t Round(long double X)
{
    if (X > -detail::ConvertBelow && X < detail::ConvertBelow)
        return static_cast<std::int64_t>(static_cast<double>(detail::NearestSmall(X)));
    return detail::RoundLarge(X);
}

// The extended real of this target.
inline constexpr bool HardwareExtended = LDBL_MANT_DIG == 64;

#if LDBL_MANT_DIG == 64 && !defined(CV_PORTABLE_REAL)
using ExtReal = long double;
#else
using ExtReal = Ext80;
#endif

} // namespace ext
