#include "extended.h"

#include <bit>
#include <cassert>
#include <cstring>
#include <utility>

namespace pound::detail {
namespace {

// Weight of the top bit of a 64-bit rounding remainder: exactly one half unit.
constexpr std::uint64_t kHalf = 1ull << 63;
// Exponent of a value whose integer bit stands for 2^0.
constexpr int kExponentOfOne = kExtendedBias;
// The exponent of the significand's lowest bit is the biased exponent minus this.
constexpr int kLowBitOffset = kExtendedBias + 63;

constexpr int kDoubleBias = 1023;
constexpr int kDoubleMaxExponent = 0x7FF;
constexpr int kDoubleFractionBits = 52;
constexpr std::uint64_t kDoubleFractionMask = (1ull << kDoubleFractionBits) - 1;

struct U128 {
    std::uint64_t hi;
    std::uint64_t lo;
};

// The portable primitives below are exact, so the compiler's wide types and the processor's
// division instruction, where present, give the same bits; POUND_PORTABLE_ARITHMETIC builds
// the portable forms alone, which the sanitizer build tests.
#if !defined(POUND_PORTABLE_ARITHMETIC) && defined(__SIZEOF_INT128__)
#define POUND_WIDE_MULTIPLY 1
#endif
#if !defined(POUND_PORTABLE_ARITHMETIC) && defined(__x86_64__) && defined(__GNUC__)
#define POUND_X86_DIVIDE 1
#endif

// Full 128-bit product of two 64-bit values.
U128 Mul64To128(std::uint64_t a, std::uint64_t b) {
#if POUND_WIDE_MULTIPLY
    __extension__ using Wide = unsigned __int128;
    const Wide product = static_cast<Wide>(a) * b;
    return {static_cast<std::uint64_t>(product >> 64), static_cast<std::uint64_t>(product)};
#else
    const std::uint64_t aLo = a & 0xFFFFFFFFu, aHi = a >> 32;
    const std::uint64_t bLo = b & 0xFFFFFFFFu, bHi = b >> 32;
    const std::uint64_t p0 = aLo * bLo, p1 = aLo * bHi, p2 = aHi * bLo, p3 = aHi * bHi;
    const std::uint64_t mid = (p0 >> 32) + (p1 & 0xFFFFFFFFu) + (p2 & 0xFFFFFFFFu);
    return {p3 + (p1 >> 32) + (p2 >> 32) + (mid >> 32), (mid << 32) | (p0 & 0xFFFFFFFFu)};
#endif
}

// Quotient of (hi:lo) / d with the remainder in `rem`. Requires the top bit of `d` set and
// hi < d, so the quotient fits 64 bits. Two-digit long division in base 2^32.
std::uint64_t Div128By64(std::uint64_t hi, std::uint64_t lo, std::uint64_t d, std::uint64_t& rem) {
    assert((d & kIntegerBit) != 0 && hi < d);
#if POUND_X86_DIVIDE
    std::uint64_t quotient;
    __asm__("divq %[d]" : "=a"(quotient), "=d"(rem) : "a"(lo), "d"(hi), [d] "rm"(d));
    return quotient;
#else
    constexpr std::uint64_t kBase = 1ull << 32;
    const std::uint64_t dHi = d >> 32, dLo = d & 0xFFFFFFFFu;
    const std::uint64_t lo1 = lo >> 32, lo0 = lo & 0xFFFFFFFFu;

    std::uint64_t q1 = hi / dHi;
    std::uint64_t rhat = hi - q1 * dHi;
    while (q1 >= kBase || q1 * dLo > kBase * rhat + lo1) {
        --q1;
        rhat += dHi;
        if (rhat >= kBase)
            break;
    }
    const std::uint64_t mid = hi * kBase + lo1 - q1 * d;  // wraps to the true partial remainder

    std::uint64_t q0 = mid / dHi;
    rhat = mid - q0 * dHi;
    while (q0 >= kBase || q0 * dLo > kBase * rhat + lo0) {
        --q0;
        rhat += dHi;
        if (rhat >= kBase)
            break;
    }
    rem = mid * kBase + lo0 - q0 * d;
    return q1 * kBase + q0;
#endif
}

// (hi:lo) shifted right by `count`; every bit shifted out is ORed into the lowest bit.
U128 ShiftRightJam128(std::uint64_t hi, std::uint64_t lo, int count) {
    if (count == 0)
        return {hi, lo};
    if (count < 64) {
        const bool lost = (lo << (64 - count)) != 0;
        return {hi >> count, (hi << (64 - count)) | (lo >> count) | (lost ? 1u : 0u)};
    }
    if (count == 64)
        return {0, hi | (lo != 0 ? 1u : 0u)};
    if (count < 128) {
        const bool lost = (hi << (128 - count)) != 0 || lo != 0;
        return {0, (hi >> (count - 64)) | (lost ? 1u : 0u)};
    }
    return {0, (hi | lo) != 0 ? 1u : 0u};
}

Extended Zero(bool sign) {
    return {sign, 0, 0};
}

Extended Infinity(bool sign) {
    return {sign, static_cast<std::uint16_t>(kExtendedMaxExponent), kIntegerBit};
}

// Packs sign * (sig + extra * 2^-64) * 2^(exp - kLowBitOffset), rounded to nearest, ties to
// even. `sig` need not be normalised; `extra` holds the bits below it, its top bit weighing
// one half of sig's lowest bit and its lowest bit acting as the sticky bit.
Extended RoundAndPack(bool sign, int exp, std::uint64_t sig, std::uint64_t extra, Flags& flags) {
    if (sig == 0) {
        if (extra == 0)
            return Zero(sign);
        sig = extra;
        extra = 0;
        exp -= 64;
    }
    if (const int lz = std::countl_zero(sig); lz != 0) {
        sig = (sig << lz) | (extra >> (64 - lz));
        extra <<= lz;
        exp -= lz;
    }
    if (exp <= 0) {  // below the normal range: denormalise to the fixed subnormal exponent
        const U128 shifted = ShiftRightJam128(sig, extra, 1 - exp);
        sig = shifted.hi;
        extra = shifted.lo;
        exp = 0;
    }
    if (extra > kHalf || (extra == kHalf && (sig & 1) != 0)) {
        ++sig;
        if (sig == 0) {
            sig = kIntegerBit;
            ++exp;
        } else if (exp == 0 && (sig & kIntegerBit) != 0) {
            exp = 1;  // a subnormal rounded up to the smallest normal
        }
    }
    if (exp >= kExtendedMaxExponent) {
        flags.overflow = true;
        return Infinity(sign);
    }
    if (sig == 0)
        return Zero(sign);
    return {sign, static_cast<std::uint16_t>(exp), sig};
}

// A finite non-zero operand as a normalised significand and the exponent that goes with it;
// subnormals get an exponent below 1.
struct Unpacked {
    int exp;
    std::uint64_t sig;
};

Unpacked Normalise(Extended a) {
    if (a.exponent != 0)
        return {a.exponent, a.significand};
    const int lz = std::countl_zero(a.significand);
    return {1 - lz, a.significand << lz};
}

// Exponent that a subnormal or zero operand is scaled by, without normalising it.
int EffectiveExponent(Extended a) {
    return a.exponent == 0 ? 1 : a.exponent;
}

// The bits below a quotient, from the remainder `rem` of a division by `d`: the half bit
// and the sticky bit are all that rounding needs.
std::uint64_t QuotientExtra(std::uint64_t rem, std::uint64_t d) {
    if (rem == 0)
        return 0;
    const std::uint64_t rest = d - rem;
    if (rem > rest)
        return kHalf | 1;
    if (rem == rest)
        return kHalf;
    return 1;
}

Extended AddMagnitudes(Extended a, Extended b, bool sign, Flags& flags) {
    int expA = EffectiveExponent(a), expB = EffectiveExponent(b);
    std::uint64_t sigA = a.significand, sigB = b.significand;
    if (expA < expB) {
        std::swap(expA, expB);
        std::swap(sigA, sigB);
    }
    const U128 aligned = ShiftRightJam128(sigB, 0, expA - expB);
    std::uint64_t sum = sigA + aligned.hi;
    std::uint64_t extra = aligned.lo;
    if (sum < sigA) {  // carry out of the significand
        extra = ((sum & 1) << 63) | (extra >> 1) | (extra & 1);
        sum = (sum >> 1) | kIntegerBit;
        ++expA;
    }
    return RoundAndPack(sign, expA, sum, extra, flags);
}

// |a| - |b|, with the sign of `a` unless |b| is the larger one.
Extended SubtractMagnitudes(Extended a, Extended b, bool signA, Flags& flags) {
    int expA = EffectiveExponent(a), expB = EffectiveExponent(b);
    std::uint64_t sigA = a.significand, sigB = b.significand;
    bool sign = signA;
    if (expA < expB || (expA == expB && sigA < sigB)) {
        std::swap(expA, expB);
        std::swap(sigA, sigB);
        sign = !signA;
    } else if (expA == expB && sigA == sigB) {
        return Zero(false);  // exact cancellation gives +0 when rounding to nearest
    }
    const U128 aligned = ShiftRightJam128(sigB, 0, expA - expB);
    const std::uint64_t extra = 0 - aligned.lo;
    const std::uint64_t difference = sigA - aligned.hi - (aligned.lo != 0 ? 1u : 0u);
    return RoundAndPack(sign, expA, difference, extra, flags);
}

}  // namespace

bool IsZero(Extended a) {
    return a.exponent == 0 && a.significand == 0;
}

Extended FromUint64(std::uint64_t value) {
    if (value == 0)
        return Zero(false);
    const int lz = std::countl_zero(value);
    return {false, static_cast<std::uint16_t>(kExponentOfOne + 63 - lz), value << lz};
}

Extended FromDouble(double value) {
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    const bool sign = (bits >> 63) != 0;
    const int exp = static_cast<int>((bits >> kDoubleFractionBits) & kDoubleMaxExponent);
    const std::uint64_t fraction = bits & kDoubleFractionMask;
    assert(exp != kDoubleMaxExponent);
    if (exp == 0) {
        if (fraction == 0)
            return Zero(sign);
        // Subnormal double: fraction * 2^-1074, normal in the wider format.
        const int lz = std::countl_zero(fraction);
        const int top = 63 - lz - 1074;  // exponent of the highest set bit
        return {sign, static_cast<std::uint16_t>(kExponentOfOne + top), fraction << lz};
    }
    const std::uint64_t sig = ((fraction | (1ull << kDoubleFractionBits)) << 11);
    return {sign, static_cast<std::uint16_t>(exp - kDoubleBias + kExponentOfOne), sig};
}

Extended Negate(Extended a) {
    a.sign = !a.sign;
    return a;
}

Extended Add(Extended a, Extended b, Flags& flags) {
    if (a.sign == b.sign)
        return AddMagnitudes(a, b, a.sign, flags);
    if (IsZero(a) && IsZero(b))
        return Zero(false);
    return SubtractMagnitudes(a, b, a.sign, flags);
}

Extended Multiply(Extended a, Extended b, Flags& flags) {
    const bool sign = a.sign != b.sign;
    if (IsZero(a) || IsZero(b))
        return Zero(sign);
    const Unpacked ua = Normalise(a), ub = Normalise(b);
    const U128 product = Mul64To128(ua.sig, ub.sig);
    return RoundAndPack(sign, ua.exp + ub.exp - kLowBitOffset + 64, product.hi, product.lo, flags);
}

Extended Divide(Extended a, Extended b, Flags& flags) {
    assert(!IsZero(b));
    const bool sign = a.sign != b.sign;
    if (IsZero(a))
        return Zero(sign);
    const Unpacked ua = Normalise(a), ub = Normalise(b);
    // Divide sigA * 2^64 (or * 2^63 when sigA >= sigB) so the quotient has exactly 64 bits.
    const bool smaller = ua.sig < ub.sig;
    const std::uint64_t hi = smaller ? ua.sig : ua.sig >> 1;
    const std::uint64_t lo = smaller ? 0 : ua.sig << 63;
    std::uint64_t rem;
    const std::uint64_t quotient = Div128By64(hi, lo, ub.sig, rem);
    const int exp = ua.exp - ub.exp + kExtendedBias + (smaller ? -1 : 0);
    return RoundAndPack(sign, exp, quotient, QuotientExtra(rem, ub.sig), flags);
}

Extended RoundToIntegral(Extended a) {
    if (a.exponent >= kExponentOfOne + 63)
        return a;  // no fraction bits
    if (a.exponent < kExponentOfOne - 1)
        return Zero(a.sign);                                    // below one half
    const int fractionBits = kExponentOfOne + 63 - a.exponent;  // 1 to 64
    std::uint64_t whole = fractionBits == 64 ? 0 : a.significand >> fractionBits;
    const std::uint64_t fraction = a.significand << (64 - fractionBits);
    if (fraction > kHalf || (fraction == kHalf && (whole & 1) != 0))
        ++whole;
    Extended result = FromUint64(whole);
    result.sign = a.sign;
    return result;
}

std::uint64_t ToUint64(Extended a) {
    if (IsZero(a))
        return 0;
    assert(!a.sign && a.exponent >= kExponentOfOne && a.exponent < kExponentOfOne + 64);
    return a.significand >> (kExponentOfOne + 63 - a.exponent);
}

int Compare(Extended a, Extended b) {
    if (IsZero(a) && IsZero(b))
        return 0;
    if (a.sign != b.sign)
        return a.sign ? -1 : 1;
    int magnitude = 0;
    if (a.exponent != b.exponent) {
        magnitude = a.exponent < b.exponent ? -1 : 1;
    } else if (a.significand != b.significand) {
        magnitude = a.significand < b.significand ? -1 : 1;
    }
    return a.sign ? -magnitude : magnitude;
}

double ToDouble(Extended a, Flags& flags) {
    const std::uint64_t signBit = a.sign ? 1ull << 63 : 0;
    std::uint64_t bits = signBit;
    // A subnormal extended lies far below half the smallest subnormal double.
    if (a.exponent != 0) {
        int exp = a.exponent - kExponentOfOne + kDoubleBias;
        // Keep 53 bits (normal) or fewer (subnormal); `shift` bits go to rounding.
        const int shift = exp >= 1 ? 11 : 12 - exp;
        if (shift <= 64) {
            std::uint64_t kept = shift == 64 ? 0 : a.significand >> shift;
            const std::uint64_t rest = a.significand << (64 - shift);  // as a 64-bit fraction
            if (rest > kHalf || (rest == kHalf && (kept & 1) != 0))
                ++kept;
            if (exp >= 1) {
                if (kept == (1ull << 53)) {
                    kept >>= 1;
                    ++exp;
                }
                if (exp >= kDoubleMaxExponent) {
                    flags.overflow = true;
                    bits = signBit | (static_cast<std::uint64_t>(kDoubleMaxExponent) << 52);
                } else {
                    bits = signBit | (static_cast<std::uint64_t>(exp) << 52) |
                           (kept & kDoubleFractionMask);
                }
            } else {
                bits = signBit | kept;  // a carry into bit 52 yields the smallest normal
            }
        }
    }
    double result;
    std::memcpy(&result, &bits, sizeof result);
    return result;
}

}  // namespace pound::detail
