// Proves every power-of-ten factor against exact integer arithmetic: each is the extended
// value nearest to its power, ties to even, and those up to 10^27 are exact.

#include "powers_of_ten.h"

#include <gtest/gtest.h>

#include "big_integer.h"

namespace pound::detail {
namespace {

using tools::BigInteger;

// Whether sig * 2^(exponent - 16446) is the nearest 64-bit-significand value to 10^k:
// |2 * sig * 2^t - 2 * 10^k| <= 2^t (scaled to integers), and even on a tie.
::testing::AssertionResult IsNearest(Extended e, int k) {
    if (e.sign || (e.significand & kIntegerBit) == 0) {
        return ::testing::AssertionFailure() << "1e" << k << " not positive and normalised";
    }
    const int t = e.exponent - (kExtendedBias + 63);
    BigInteger twiceValue = BigInteger(e.significand).ShiftedLeft(1);
    BigInteger twicePower = BigInteger::PowerOfTen(k).ShiftedLeft(1);
    BigInteger ulp(1);
    if (t >= 0) {
        twiceValue = twiceValue.ShiftedLeft(t);
        ulp = ulp.ShiftedLeft(t);
    } else {
        twicePower = twicePower.ShiftedLeft(-t);
    }
    const int order = Compare(twiceValue, twicePower);
    const BigInteger error =
        order >= 0 ? Difference(twiceValue, twicePower) : Difference(twicePower, twiceValue);
    const int bound = Compare(error, ulp);
    if (bound > 0 || (bound == 0 && (e.significand & 1) != 0)) {
        return ::testing::AssertionFailure() << "1e" << k << " is not the nearest value";
    }
    if (k <= 27 && order != 0)
        return ::testing::AssertionFailure() << "1e" << k << " inexact";
    return ::testing::AssertionSuccess();
}

TEST(PowersOfTenTest, EveryFactorIsTheNearestExtendedValue) {
    for (int k = 0; k < 32; ++k)
        EXPECT_TRUE(IsNearest(SmallPowerOfTen(k), k));
    for (int m = 1; m <= 15; ++m)
        EXPECT_TRUE(IsNearest(MediumPowerOfTen(m), 32 * m));
    for (int m = 1; m <= 9; ++m)
        EXPECT_TRUE(IsNearest(LargePowerOfTen(m), 512 * m));
}

TEST(PowersOfTenTest, ProofRejectsANeighbour) {
    Extended off = MediumPowerOfTen(10);
    ++off.significand;
    EXPECT_FALSE(IsNearest(off, 320));
    Extended inexact = SmallPowerOfTen(27);
    --inexact.significand;
    EXPECT_FALSE(IsNearest(inexact, 27));
}

}  // namespace
}  // namespace pound::detail
