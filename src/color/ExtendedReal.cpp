// The rare cases of Ext80 arithmetic (zeros, subnormals, infinities, NaN) and the conversions
// to and from the compiler's binary types.

#include "color/ExtendedReal.h"

#include <algorithm>
#include <cmath>

namespace ext {

namespace {

// Moves the integer bit of a subnormal significand to the top.
void Normalize(std::uint64_t& Significand, int& Exponent)
{
    const int shift = std::countl_zero(Significand);
    Significand <<= shift;
    Exponent -= shift;
}

// Rounds X to the binary type F (nearest, ties to even), with F's own gradual underflow and
// overflow to infinity.
template <class F>
F ToBinary(bool Negative, std::uint64_t Significand, int Exponent)
{
    constexpr int precision = std::numeric_limits<F>::digits;
    constexpr int minExponent = std::numeric_limits<F>::min_exponent;   // smallest normal: 2^(minExponent-1)
    Normalize(Significand, Exponent);
    const int top = Exponent + 63;                                      // weight of the leading bit
    const int lastPlace = std::max(top - (precision - 1), minExponent - precision);
    const int dropped = lastPlace - Exponent;
    std::uint64_t kept;
    int scale = lastPlace;
    if (dropped <= 0) {
        kept = Significand;                                              // fits as it is
        scale = Exponent;
    } else if (dropped > 64) {
        kept = 0;                                                        // below half the last place
    } else {
        kept = dropped == 64 ? 0 : Significand >> dropped;
        const std::uint64_t rest = dropped == 64 ? Significand : Significand & ((std::uint64_t{1} << dropped) - 1);
        const std::uint64_t half = std::uint64_t{1} << (dropped - 1);
        if (rest > half || (rest == half && (kept & 1) != 0))
            ++kept;
    }
    // kept has at most `precision` bits (or is exactly 2^precision): exact in F, and ldexp is
    // exact too unless the value overflows, which gives infinity as rounding to nearest does.
    const F magnitude = std::ldexp(static_cast<F>(kept), scale);
    return Negative ? -magnitude : magnitude;
}

template <class F>
F SpecialToBinary(const Ext80& X)
{
    F r = X.isNaN() ? std::numeric_limits<F>::quiet_NaN() : X.isInf() ? std::numeric_limits<F>::infinity() : F(0);
    return X.negative() ? -r : r;
}

} // namespace

Ext80::Ext80(long double Value)
{
    m_neg = std::signbit(Value);
    if (std::isnan(Value)) {
        *this = quietNaN(m_neg);
        return;
    }
    if (std::isinf(Value)) {
        *this = infinity(m_neg);
        return;
    }
    if (Value == 0)
        return;
    int exponent = 0;
    const long double scaled = std::ldexp(std::frexp(std::fabs(Value), &exponent), 64);   // [2^63, 2^64)
    const auto high = static_cast<std::uint64_t>(scaled);
    // Only a long double wider than 64 bits leaves anything below.
    const long double below = std::ldexp(scaled - static_cast<long double>(high), 64);
    const auto low = static_cast<std::uint64_t>(below);
    const bool sticky = below != static_cast<long double>(low);
    *this = RoundToExt(m_neg, static_cast<u128>(high) << 64 | low | sticky, exponent - 128);
}

Ext80::operator long double() const
{
    if (!isFinite() || isZero())
        return SpecialToBinary<long double>(*this);
    const Unpacked u = unpacked();
    return ToBinary<long double>(m_neg, u.Significand, u.Exponent);
}

Ext80::operator double() const
{
    if (!isFinite() || isZero())
        return SpecialToBinary<double>(*this);
    const Unpacked u = unpacked();
    return ToBinary<double>(m_neg, u.Significand, u.Exponent);
}

// M has its top bit set; the biased exponent is beyond the normal range.
Ext80 Ext80::RoundOutOfRange(bool Negative, u128 M, int BiasedExponent)
{
    if (BiasedExponent >= MaxExponent)
        return infinity(Negative);
    // Gradual underflow: the significand's lowest bit is worth 2^(1 - Bias - 63).
    M = detail::ShiftRightSticky(M, 1 - BiasedExponent);
    auto keep = static_cast<std::uint64_t>(M >> 64);
    const auto rest = static_cast<std::uint64_t>(M);
    if (rest > IntegerBit || (rest == IntegerBit && (keep & 1) != 0))
        ++keep;   // cannot overflow: the shift above emptied the top bit
    return FromParts(Negative, (keep & IntegerBit) != 0 ? 1 : 0, keep);   // rounded up to the smallest normal
}

Ext80 Ext80::AddSlow(Ext80 A, Ext80 B)
{
    if (A.isNaN() || B.isNaN())
        return quietNaN(A.isNaN() ? A.m_neg : B.m_neg);
    if (A.isInf()) {
        if (B.isInf() && A.m_neg != B.m_neg)
            return quietNaN(true);                    // inf - inf
        return A;
    }
    if (B.isInf())
        return B;
    if (A.isZero())
        return B.isZero() ? Ext80::FromParts(A.m_neg && B.m_neg, 0, 0) : B;   // -0 only from -0 + -0
    if (B.isZero())
        return A;
    // Subnormal operands: align both on their exponents and let the rounding normalize.
    const Unpacked a = A.unpacked();
    const Unpacked b = B.unpacked();
    const bool aFirst = a.Exponent > b.Exponent || (a.Exponent == b.Exponent && a.Significand >= b.Significand);
    const Unpacked& big = aFirst ? a : b;
    const Unpacked& small = aFirst ? b : a;
    const bool negative = aFirst ? A.m_neg : B.m_neg;
    const u128 m1 = static_cast<u128>(big.Significand) << 62;
    const u128 m2 = detail::ShiftRightSticky(static_cast<u128>(small.Significand) << 62, big.Exponent - small.Exponent);
    if (A.m_neg == B.m_neg)
        return RoundToExt(negative, m1 + m2, big.Exponent - 62);
    if (m1 == m2)
        return Ext80{};
    return RoundToExt(negative, m1 - m2, big.Exponent - 62);
}

Ext80 Ext80::MulSlow(Ext80 A, Ext80 B)
{
    const bool negative = A.m_neg != B.m_neg;
    if (A.isNaN() || B.isNaN())
        return quietNaN(A.isNaN() ? A.m_neg : B.m_neg);
    if (A.isInf() || B.isInf()) {
        if (A.isZero() || B.isZero())
            return quietNaN(true);                    // inf × 0
        return infinity(negative);
    }
    if (A.isZero() || B.isZero())
        return FromParts(negative, 0, 0);
    const Unpacked a = A.unpacked();
    const Unpacked b = B.unpacked();
    return RoundToExt(negative, static_cast<u128>(a.Significand) * b.Significand, a.Exponent + b.Exponent);
}

Ext80 Ext80::DivSlow(Ext80 A, Ext80 B)
{
    const bool negative = A.m_neg != B.m_neg;
    if (A.isNaN() || B.isNaN())
        return quietNaN(A.isNaN() ? A.m_neg : B.m_neg);
    if (A.isInf())
        return B.isInf() ? quietNaN(true) : infinity(negative);
    if (B.isInf())
        return FromParts(negative, 0, 0);
    if (B.isZero())
        return A.isZero() ? quietNaN(true) : infinity(negative);
    if (A.isZero())
        return FromParts(negative, 0, 0);
    Unpacked a = A.unpacked();
    Unpacked b = B.unpacked();
    Normalize(a.Significand, a.Exponent);
    Normalize(b.Significand, b.Exponent);
    return DivMagnitudes(negative, a, b);
}

// ----- long double beyond the fast range ------------------------------------------------------

namespace detail {

namespace {

// 2^(p-1): from here on every long double is an integer.
constexpr long double IntegralFrom = TwoToP / 2;

// |X| < IntegralFrom; the sign decides which side of the shift the sum lands on.
long double NearestInteger(long double X)
{
    return X >= 0 ? (X + IntegralFrom) - IntegralFrom : (X - IntegralFrom) + IntegralFrom;
}

std::int64_t Saturated(long double Integral)
{
    if (Integral >= 0x1p63L)
        return std::numeric_limits<std::int64_t>::max();
    if (Integral <= -0x1p63L)
        return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(Integral);
}

} // namespace

long double FloorLarge(long double X)
{
    if (!(X > -IntegralFrom && X < IntegralFrom))
        return X;                                 // integral already, or infinite, or NaN
    const long double nearest = NearestInteger(X);
    return nearest > X ? nearest - 1 : nearest;
}

std::int64_t TruncLarge(long double X)
{
    if (std::isnan(X))
        return 0;
    if (!(X > -IntegralFrom && X < IntegralFrom))
        return Saturated(X);
    long double nearest = NearestInteger(X);
    if (X >= 0 ? nearest > X : nearest < X)
        nearest += X >= 0 ? -1 : 1;               // rounded away from zero: step back
    return Saturated(nearest);
}

std::int64_t RoundLarge(long double X)
{
    if (std::isnan(X))
        return 0;
    if (!(X > -IntegralFrom && X < IntegralFrom))
        return Saturated(X);
    return Saturated(NearestInteger(X));
}

} // namespace detail

} // namespace ext
