#include "format_fixed.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <random>
#include <string>

#include "decimal_mark.h"
#include "x87_reference.h"

namespace pound {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

struct Row {
    double number;
    const char* eighteenDigits;  // nullptr: no decimal form (zero and the letter texts)
    int exponent;
    const char* text;
};

// Precision 6, decimals 3, "." as mark.
const Row kRows[] = {
    {2.0295, "202950000000000008", 1, "2.030"},
    {6.0885, "608849999999999980", 1, "6.088"},
    {115.6815, "115681500000000000", 3, "115.682"},
    {0.0195, "195000000000000000", -1, "0.020"},
    {0.4059, "405899999999999983", 0, "0.406"},
    {0.0625, "625000000000000000", -1, "0.063"},
    {-0.0625, "625000000000000000", -1, "-0.063"},
    {0.5, "500000000000000000", 0, "0.500"},
    {453.592, "453591999999999985", 3, "453.592"},
    {1234.5678, "123456780000000003", 4, "1234.570"},
    {55998.653952, "559986539520000006", 5, "55998.700"},
    {123456.7, "123456699999999997", 6, "123457.000"},
    {999999.4, "999999400000000023", 6, "999999.000"},
    {999.9995, "999999500000000012", 3, "1000.000"},
    {999999.5, "999999500000000000", 6, "1E006"},
    {1234567, "123456700000000000", 7, "1.23457E006"},
    {-1234567, "123456700000000000", 7, "-1.23457E006"},
    {1e20, "100000000000000000", 21, "1E020"},
    {std::numeric_limits<double>::max(), "179769313486231571", 309, "1.79769E308"},
    {0.00001, "100000000000000008", -4, "0.000"},
    {-0.0004, "400000000000000019", -3, "0.000"},
    {-0.0005, "500000000000000010", -3, "-0.001"},
    {std::numeric_limits<double>::denorm_min(), "494065645841246544", -323, "0.000"},
    {0.0, nullptr, 0, "0.000"},
    {-0.0, nullptr, 0, "0.000"},
    {kInf, nullptr, 0, "INF"},
    {-kInf, nullptr, 0, "-INF"},
    {std::numeric_limits<double>::quiet_NaN(), nullptr, 0, "NAN"},
    {-std::numeric_limits<double>::quiet_NaN(), nullptr, 0, "NAN"},
};

TEST(FormatFixedTextTest, EighteenDigitFormsOfTheTable) {
    for (const Row& row : kRows) {
        if (row.eighteenDigits == nullptr)
            continue;
        const detail::DecimalForm form = detail::EighteenDigitForm(row.number);
        EXPECT_EQ(std::string(form.digits, 18), row.eighteenDigits) << row.text;
        EXPECT_EQ(form.exponent, row.exponent) << row.text;
        EXPECT_EQ(form.negative, std::signbit(row.number)) << row.text;
    }
}

TEST(FormatFixedTextTest, TextsOfTheTable) {
    ScopedDecimalMark mark('.');
    for (const Row& row : kRows) {
        EXPECT_EQ(FormatFixedText(row.number, 6, 3), row.text)
            << std::hex << std::bit_cast<std::uint64_t>(row.number);
    }
}

TEST(FormatFixedTextTest, CommaMarkInBothShapes) {
    ScopedDecimalMark mark(',');
    EXPECT_EQ(FormatFixedText(2.0295, 6, 3), "2,030");
    EXPECT_EQ(FormatFixedText(0.5, 6, 3), "0,500");
    EXPECT_EQ(FormatFixedText(1234.5678, 6, 3), "1234,570");
    EXPECT_EQ(FormatFixedText(1234567, 6, 3), "1,23457E006");
    LocaleNumberSettings.DecimalMark = '.';
    EXPECT_EQ(FormatFixedText(0.5, 6, 3), "0.500") << "the mark is read at every call";
}

TEST(FormatFixedTextTest, PrecisionAndDecimalsAtTheirBounds) {
    ScopedDecimalMark mark('.');
    struct Case {
        double number;
        int precision, decimals;
        const char* text;
    };
    const Case cases[] = {
        {123.456, 1, 3, "1.2E002"},  // precision below 2 counts as 2
        {12.5, 1, 0, "13"},
        {0.1, 18, 18, "0.100000000000000006"},
        {0.1, 30, 18, "0.100000000000000006"},
        {1e300, 6, 5, "1E300"},  // more than 4 decimals: no exponent padding
        {1e-5, 6, 18, "0.000010000000000000"},
        {1234567, 6, 0, "1.23457E6"},
        {-1e-5, 2, 18, "-0.000010000000000000"},
        {5e-324, 18, 18, "0.000000000000000000"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FormatFixedText(c.number, c.precision, c.decimals), c.text)
            << c.number << " P" << c.precision << " D" << c.decimals;
    }
}

#if POUND_HAVE_X87

class DoubleSource {
  public:
    explicit DoubleSource(std::uint64_t seed) : rng_(seed) {}

    double Next() {
        const int kind = Range(0, 5);
        const double sign = Range(0, 1) == 0 ? 1 : -1;
        switch (kind) {
            case 0:
                return std::bit_cast<double>(rng_());  // any bit pattern
            case 1:
                return sign * Range(0, 9'999'999) / Power(Range(0, 3));  // short decimals
            case 2:  // a small integer scaled by some power of ten
                return sign * Range(1, 999) * std::pow(10.0, Range(-330, 308));
            case 3:
                return sign * (2.0 * Range(0, 2'000'000) + 1) / 2000;  // ties at 3 places
            case 4:
                return sign * (1e6 + Range(-2000, 2000) / 4.0);  // near 10^6
            default:
                return sign * (1000 + Range(-2000, 2000) / 2048.0);  // near 1000
        }
    }

    int Range(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }

  private:
    static double Power(int k) { return std::pow(10.0, k); }
    std::mt19937_64 rng_;
};

TEST(FormatFixedTextDifferentialTest, AgreesWithX87RenditionAtTheConversionsSettings) {
    ScopedDecimalMark mark('.');
    DoubleSource source(6);
    int failures = 0;
    for (int i = 0; i < 300'000 && failures < 5; ++i) {
        const double value = source.Next();
        const std::string got = FormatFixedText(value, 6, 3);
        const std::string want = x87::Format(value, 6, 3, '.');
        if (got != want || got.size() > 12) {
            ++failures;
            ADD_FAILURE() << std::hex << std::bit_cast<std::uint64_t>(value) << ": got " << got
                          << ", x87 gives " << want;
        }
    }
}

TEST(FormatFixedTextDifferentialTest, AgreesWithX87RenditionAtEveryPrecisionAndDecimals) {
    ScopedDecimalMark mark(',');
    DoubleSource source(7);
    int failures = 0;
    for (int i = 0; i < 2'000 && failures < 5; ++i) {
        const double value = source.Next();
        for (int precision = 2; precision <= 18; ++precision) {
            for (int decimals = 0; decimals <= 18; ++decimals) {
                const std::string got = FormatFixedText(value, precision, decimals);
                const std::string want = x87::Format(value, precision, decimals, ',');
                if (got != want && failures++ < 5) {
                    ADD_FAILURE() << std::hex << std::bit_cast<std::uint64_t>(value) << std::dec
                                  << " P" << precision << " D" << decimals << ": got " << got
                                  << ", x87 gives " << want;
                }
            }
        }
    }
}

#endif

}  // namespace
}  // namespace pound
