#pragma once
// Software 80-bit extended floating point: 1 sign bit, 15-bit biased exponent, 64-bit
// significand with an explicit integer bit. Only integer arithmetic is used, so every
// compiler and processor produces the same bits.
//
// Every operation rounds to nearest, ties to even. A result whose magnitude rounds beyond
// the largest finite value sets `Flags::overflow` and returns an infinity; callers check the
// flag. Operands are always finite: infinities and NaNs are never fed back in.
//
//   Flags f;
//   Extended tenth = Divide(FromUint64(1), FromUint64(10), f);   // 0x3FFB CCCCCCCCCCCCCCCD
//   double d = ToDouble(tenth, f);                               // 0x3FB999999999999A

#include <cstdint>

namespace pound::detail {

inline constexpr int kExtendedBias = 16383;
inline constexpr int kExtendedMaxExponent = 0x7FFF;       // all ones: infinity
inline constexpr std::uint64_t kIntegerBit = 1ull << 63;  // explicit leading significand bit

struct Extended {
    bool sign = false;
    std::uint16_t exponent = 0;  // biased; 0 for zero and subnormals
    std::uint64_t significand = 0;

    friend bool operator==(const Extended&, const Extended&) = default;
};

// Conditions raised by the operations; they accumulate until the caller clears them.
struct Flags {
    bool overflow = false;
};

bool IsZero(Extended a);

// Exact conversions.
Extended FromUint64(std::uint64_t value);
// `value` must be finite.
Extended FromDouble(double value);

Extended Negate(Extended a);

Extended Add(Extended a, Extended b, Flags& flags);
Extended Multiply(Extended a, Extended b, Flags& flags);
// `b` must not be zero.
Extended Divide(Extended a, Extended b, Flags& flags);

// Nearest integral value, ties to even; keeps the sign (-0.3 gives -0).
Extended RoundToIntegral(Extended a);

// The integral value of `a`, which must be integral, non-negative and below 2^64.
std::uint64_t ToUint64(Extended a);

// Numeric order: -1, 0 or 1. Both zeros compare equal.
int Compare(Extended a, Extended b);

// Nearest double, ties to even; subnormal results are exact or rounded like any other.
// A magnitude at or above 2^1024 - 2^970 sets the overflow flag and returns an infinity.
double ToDouble(Extended a, Flags& flags);

}  // namespace pound::detail
