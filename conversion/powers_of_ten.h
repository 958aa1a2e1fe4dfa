#pragma once
// The extended values nearest to the powers of ten that parsing and formatting scale by.
// 10^0 to 10^27 are exact. The table is generated (tools/generate_powers_of_ten.cpp) and
// every entry is proven against exact integer arithmetic by the tests.

#include <cassert>

#include "extended.h"

namespace pound::detail {

#include "powers_of_ten.inc"

// 10^k, k = 0 to 31.
inline Extended SmallPowerOfTen(int k) {
    assert(k >= 0 && k < 32);
    return kSmallPowersOfTen[k];
}

// 10^(32m), m = 1 to 15.
inline Extended MediumPowerOfTen(int m) {
    assert(m >= 1 && m <= 15);
    return kMediumPowersOfTen[m - 1];
}

// 10^(512m), m = 1 to 9.
inline Extended LargePowerOfTen(int m) {
    assert(m >= 1 && m <= 9);
    return kLargePowersOfTen[m - 1];
}

}  // namespace pound::detail
