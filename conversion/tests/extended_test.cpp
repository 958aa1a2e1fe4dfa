// Properties of the software extended arithmetic, and a differential test against the x87
// unit where the build has one. Failures print operands and results in hex.

#include "extended.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdlib>
#include <limits>
#include <random>

#include "x87_reference.h"

namespace pound::detail {
namespace {

Extended Make(bool sign, int exponent, std::uint64_t significand) {
    return {sign, static_cast<std::uint16_t>(exponent), significand};
}

std::uint64_t DoubleBits(double d) {
    return std::bit_cast<std::uint64_t>(d);
}

constexpr std::uint64_t kAllOnes = ~0ull;
const Extended kOne = Make(false, 0x3FFF, kIntegerBit);
const Extended kTen = Make(false, 0x4002, 0xA000000000000000ull);
const Extended kLargest = Make(false, 0x7FFE, kAllOnes);
const Extended kSmallestSubnormal = Make(false, 0, 1);

TEST(ExtendedTest, OneTenthRoundsUpInTheLastPlace) {
    Flags flags;
    const Extended tenth = Divide(kOne, kTen, flags);
    EXPECT_EQ(tenth, Make(false, 0x3FFB, 0xCCCCCCCCCCCCCCCDull));
    EXPECT_EQ(DoubleBits(ToDouble(tenth, flags)), 0x3FB999999999999Aull);
    EXPECT_FALSE(flags.overflow);
}

TEST(ExtendedTest, TiesGoToTheEvenSignificand) {
    Flags flags;
    // 2^64 + 1 and 2^64 + 3 lie halfway between neighbours 2 apart.
    const Extended two64 = Make(false, 0x3FFF + 64, kIntegerBit);
    EXPECT_EQ(Add(two64, kOne, flags), two64);
    const Extended three = FromUint64(3);
    EXPECT_EQ(Add(two64, three, flags), Make(false, 0x3FFF + 64, kIntegerBit | 2));
    // Halving the smallest subnormal is a tie to zero; three halves round to two.
    const Extended two = FromUint64(2);
    EXPECT_TRUE(IsZero(Divide(kSmallestSubnormal, two, flags)));
    EXPECT_EQ(Divide(Make(false, 0, 3), two, flags), Make(false, 0, 2));
    EXPECT_FALSE(flags.overflow);
}

TEST(ExtendedTest, StickyBitDecidesNearTies) {
    Flags flags;
    // (1 + 2^-63)^2 = 1 + 2^-62 + 2^-126: the rest lies far below half an ulp.
    const Extended a = Make(false, 0x3FFF, kIntegerBit | 1);
    EXPECT_EQ(Multiply(a, a, flags), Make(false, 0x3FFF, kIntegerBit | 2));
    // 1 + 2^-64 + 2^-100 lies just above the tie between 1 and 1 + 2^-63.
    const Extended justAboveHalf = Make(false, 0x3FFF - 64, kIntegerBit | (1ull << 27));
    EXPECT_EQ(Add(kOne, justAboveHalf, flags), Make(false, 0x3FFF, kIntegerBit | 1));
    // 1 - (2^-65 + 2^-129): the subtraction's borrow must not lose the sticky bit.
    const Extended justAboveQuarter = Make(true, 0x3FFF - 65, kIntegerBit | 1);
    EXPECT_EQ(Add(kOne, justAboveQuarter, flags), Make(false, 0x3FFE, kAllOnes));
    EXPECT_FALSE(flags.overflow);
}

TEST(ExtendedTest, OverflowIsReportedNeverSilent) {
    Flags flags;
    EXPECT_EQ(Add(kLargest, Make(false, 0x7FFE - 64, kIntegerBit), flags).exponent, 0x7FFF);
    EXPECT_TRUE(flags.overflow);
    flags = {};
    EXPECT_EQ(Add(kLargest, Make(false, 0x7FFE - 65, kAllOnes), flags), kLargest);
    EXPECT_FALSE(flags.overflow);
    EXPECT_EQ(Multiply(kLargest, kTen, flags).exponent, 0x7FFF);
    EXPECT_TRUE(flags.overflow);
}

TEST(ExtendedTest, NarrowingOverflowsFromHalfwayAboveTheLargestDouble) {
    Flags flags;
    // 2^1024 - 2^970 is the tie between the largest double and 2^1024.
    const Extended tie = Make(false, 0x3FFF + 1023, 0xFFFFFFFFFFFFFC00ull);
    ToDouble(tie, flags);
    EXPECT_TRUE(flags.overflow);
    flags = {};
    const Extended below = Make(false, 0x3FFF + 1023, 0xFFFFFFFFFFFFFBFFull);
    EXPECT_EQ(ToDouble(below, flags), std::numeric_limits<double>::max());
    EXPECT_FALSE(flags.overflow);
}

TEST(ExtendedTest, NarrowingToSubnormalsAndZero) {
    Flags flags;
    struct Case {
        Extended value;
        std::uint64_t bits;
    };
    const Case cases[] = {
        {Make(false, 0x3FFF - 1074, kIntegerBit), 1},                     // 2^-1074
        {Make(false, 0x3FFF - 1075, kIntegerBit), 0},                     // tie to even: 0
        {Make(false, 0x3FFF - 1075, kIntegerBit | 1), 1},                 // above the tie
        {Make(true, 0x3FFF - 1075, kIntegerBit), 0x8000000000000000ull},  // -0
        {Make(false, 0x3FFF - 1074, 0xC000000000000000ull), 2},           // 1.5 ulp: to 2
        {Make(false, 0x3FFF - 1023, kAllOnes), 0x0010000000000000ull},    // up to normal
        {Make(false, 1, kIntegerBit), 0},                                 // far below
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DoubleBits(ToDouble(c.value, flags)), c.bits) << x87::Hex(c.value);
    }
    EXPECT_FALSE(flags.overflow);
}

TEST(ExtendedTest, RoundToIntegralTiesToEvenAndKeepsTheSign) {
    struct Case {
        double in, out;
    };
    const Case cases[] = {{0.5, 0.0},
                          {1.5, 2.0},
                          {2.5, 2.0},
                          {-2.5, -2.0},
                          {-0.3, -0.0},
                          {0.75, 1.0},
                          {4503599627370497.5, 4503599627370498.0}};
    for (const Case& c : cases) {
        const Extended rounded = RoundToIntegral(FromDouble(c.in));
        Flags flags;
        EXPECT_EQ(DoubleBits(ToDouble(rounded, flags)), DoubleBits(c.out)) << c.in;
    }
    EXPECT_EQ(ToUint64(RoundToIntegral(Make(false, 0x3FFF + 63, kAllOnes))), kAllOnes);
}

TEST(ExtendedTest, CompareOrdersAndEquatesZeros) {
    EXPECT_EQ(Compare(Make(true, 0, 0), Make(false, 0, 0)), 0);
    EXPECT_LT(Compare(Make(true, 0x3FFF, kIntegerBit), kSmallestSubnormal), 0);
    EXPECT_GT(Compare(kOne, Make(false, 0, kAllOnes >> 1)), 0);
    EXPECT_LT(Compare(Make(true, 0x4000, kIntegerBit), Make(true, 0x3FFF, kAllOnes)), 0);
}

#if POUND_HAVE_X87

// Random operands that concentrate on the places where rounding goes wrong: boundary
// exponents and significand patterns with ties, lone bits and sticky bits.
class OperandSource {
  public:
    explicit OperandSource(std::uint64_t seed) : rng_(seed) {}

    std::uint64_t Bits() { return rng_(); }
    int Range(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }

    std::uint64_t Significand() {
        switch (Range(0, 9)) {
            case 0:
                return kAllOnes;
            case 1:
                return kIntegerBit;
            case 2:
                return kIntegerBit | (1ull << Range(0, 62));  // a lone bit
            case 3:
                return kIntegerBit | (1ull << Range(0, 10)) | (Bits() << 40);  // near a tie
            case 4:
                return kAllOnes << Range(0, 63);
            case 5:
                return (Bits() | kIntegerBit) & ~((1ull << Range(0, 62)) - 1);  // low zeros
            case 6:
                return kAllOnes >> Range(0, 5) | kIntegerBit;
            default:
                return Bits() | kIntegerBit;
        }
    }

    int Exponent() {
        switch (Range(0, 7)) {
            case 0:
                return 0;  // subnormal
            case 1:
                return Range(1, 3);
            case 2:
                return Range(0x7FFB, 0x7FFE);
            case 3:
                return Range(0x3FFF - 70, 0x3FFF + 70);
            default:
                return Range(0, 0x7FFE);
        }
    }

    Extended Finite(int exponent) {
        exponent = exponent < 0 ? 0 : exponent > 0x7FFE ? 0x7FFE : exponent;
        std::uint64_t sig = Significand();
        if (exponent == 0)
            sig &= ~kIntegerBit;
        if (Range(0, 63) == 0)
            sig = 0, exponent = 0;
        return Make(Range(0, 1) == 1, exponent, sig);
    }

    Extended Finite() { return Finite(Exponent()); }

  private:
    std::mt19937_64 rng_;
};

long long OperationCount() {
    const char* tier = std::getenv("POUND_LONG_TESTS");
    return tier != nullptr && *tier == '1' ? 10'000'000 : 1'000'000;
}

// Compares one binary operation with the hardware; stops after a few reported mismatches.
template <class Ours, class Theirs, class Partner>
void CheckBinary(const char* name, Ours ours, Theirs theirs, Partner partner, std::uint64_t seed) {
    OperandSource source(seed);
    int failures = 0;
    for (long long i = 0; i < OperationCount() && failures < 5; ++i) {
        const Extended a = source.Finite();
        const Extended b = partner(source, a);
        Flags flags;
        const Extended got = ours(a, b, flags);
        const long double want = theirs(x87::ToLongDouble(a), x87::ToLongDouble(b));
        const Extended expected = x87::FromLongDouble(want);
        if (got != expected || flags.overflow != std::isinf(want)) {
            ++failures;
            ADD_FAILURE() << name << " " << x87::Hex(a) << " , " << x87::Hex(b) << ": got "
                          << x87::Hex(got) << (flags.overflow ? " (overflow)" : "")
                          << ", x87 gives " << x87::Hex(expected);
        }
    }
}

TEST(ExtendedDifferentialTest, MultiplyMatchesX87) {
    CheckBinary(
        "multiply", Multiply, [](long double a, long double b) { return a * b; },
        [](OperandSource& s, Extended a) {
            // Half the time aim the product at the subnormal or overflow boundary.
            if (s.Range(0, 1) == 0)
                return s.Finite();
            const int target = s.Range(0, 1) == 0 ? s.Range(-66, 3) : s.Range(0x7FFC, 0x8001);
            return s.Finite(target - a.exponent + 0x3FFF);
        },
        1);
}

TEST(ExtendedDifferentialTest, DivideMatchesX87) {
    CheckBinary(
        "divide", Divide, [](long double a, long double b) { return a / b; },
        [](OperandSource& s, Extended a) {
            Extended b;
            do {
                if (s.Range(0, 1) == 0) {
                    b = s.Finite();
                } else {
                    const int target =
                        s.Range(0, 1) == 0 ? s.Range(-66, 3) : s.Range(0x7FFC, 0x8001);
                    b = s.Finite(a.exponent - target + 0x3FFF);
                }
            } while (IsZero(b));
            return b;
        },
        2);
}

TEST(ExtendedDifferentialTest, AddMatchesX87) {
    CheckBinary(
        "add", Add, [](long double a, long double b) { return a + b; },
        [](OperandSource& s, Extended a) {
            // Close exponents exercise alignment and cancellation.
            if (s.Range(0, 2) == 0)
                return s.Finite();
            Extended b = s.Finite(a.exponent + s.Range(-70, 70));
            if (s.Range(0, 3) == 0)
                b.significand = a.significand ^ (1ull << s.Range(0, 63));
            if (b.exponent == 0)
                b.significand &= ~kIntegerBit;
            if (b.exponent != 0)
                b.significand |= kIntegerBit;
            return b;
        },
        3);
}

TEST(ExtendedDifferentialTest, UnaryOperationsMatchX87) {
    OperandSource source(4);
    int failures = 0;
    for (long long i = 0; i < OperationCount() && failures < 5; ++i) {
        // Round to integral, around the range where fraction bits exist.
        Extended a = source.Finite(source.Range(0, 1) == 0 ? source.Range(0x3FFF - 3, 0x3FFF + 66)
                                                           : source.Exponent());
        const Extended rounded = RoundToIntegral(a);
        const Extended wantRounded = x87::FromLongDouble(std::rint(x87::ToLongDouble(a)));
        // Narrowing, around the double range's edges.
        const int edges[] = {0x3FFF - 1075, 0x3FFF - 1022, 0x3FFF + 1023};
        const Extended n =
            source.Finite(source.Range(0, 1) == 0 ? edges[source.Range(0, 2)] + source.Range(-60, 2)
                                                  : source.Exponent());
        Flags flags;
        const double narrowed = ToDouble(n, flags);
        const double wantNarrowed = static_cast<double>(x87::ToLongDouble(n));
        // Exact widening.
        double d;
        do {
            d = std::bit_cast<double>(source.Bits() >> source.Range(0, 12));
        } while (!std::isfinite(d));
        const std::uint64_t u = source.Bits() >> source.Range(0, 63);
        const Extended b = source.Finite();
        const int order = Compare(a, b);
        const long double la = x87::ToLongDouble(a), lb = x87::ToLongDouble(b);
        const int wantOrder = la < lb ? -1 : la > lb ? 1 : 0;

        const bool ok =
            rounded == wantRounded && DoubleBits(narrowed) == DoubleBits(wantNarrowed) &&
            flags.overflow == std::isinf(wantNarrowed) && FromDouble(d) == x87::FromLongDouble(d) &&
            FromUint64(u) == x87::FromLongDouble(static_cast<long double>(u)) && order == wantOrder;
        if (!ok) {
            ++failures;
            ADD_FAILURE() << "round " << x87::Hex(a) << " -> " << x87::Hex(rounded) << " want "
                          << x87::Hex(wantRounded) << "; narrow " << x87::Hex(n) << " -> "
                          << std::hex << DoubleBits(narrowed) << " want "
                          << DoubleBits(wantNarrowed) << "; widen " << DoubleBits(d) << ", " << u
                          << "; compare " << x87::Hex(a) << " " << x87::Hex(b) << " -> " << std::dec
                          << order << " want " << wantOrder;
        }
    }
}

#endif

}  // namespace
}  // namespace pound::detail
