#include "parse_decimal.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdio>
#include <optional>
#include <random>
#include <string>
#include <variant>

#include "decimal_mark.h"
#include "x87_reference.h"

namespace pound {
namespace {

std::uint64_t Bits(double d) {
    return std::bit_cast<std::uint64_t>(d);
}

std::string Hex(std::uint64_t bits) {
    char buffer[20];
    std::snprintf(buffer, sizeof buffer, "%016llX", static_cast<unsigned long long>(bits));
    return buffer;
}

std::string NotANumberMessage(std::string_view text) {
    return "'" + std::string(text) + "' is not a valid floating point value";
}

struct NotANumber {};
struct Overflow {};
using Outcome = std::variant<std::uint64_t, NotANumber, Overflow>;

std::string Describe(const Outcome& outcome) {
    if (const auto* bits = std::get_if<std::uint64_t>(&outcome))
        return Hex(*bits);
    return std::holds_alternative<NotANumber>(outcome) ? "EConvertError" : "EOverflow";
}

// Parses and checks the error's class and message; returns what happened.
Outcome ParseChecked(std::string_view text) {
    try {
        return Bits(ParseDecimalText(text));
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), NotANumberMessage(text));
        return NotANumber{};
    } catch (const EOverflow& e) {
        EXPECT_EQ(e.Message(), "Floating point overflow");
        return Overflow{};
    }
}

bool operator==(const Outcome& a, const Outcome& b) {
    if (a.index() != b.index())
        return false;
    if (const auto* bits = std::get_if<std::uint64_t>(&a))
        return *bits == std::get<0>(b);
    return true;
}

Outcome Value(double d) {
    return Bits(d);
}

struct Case {
    std::string text;  // written with "." as the mark
    Outcome expected;
};

std::vector<Case> EdgeCases() {
    const std::string zeros4933(4933, '0'), zeros6000(6000, '0');
    return {
        {"12.5", Value(12.5)},
        {"12,5", NotANumber{}},
        {"1,000", NotANumber{}},
        {"  7  ", Value(7)},
        {"+7", Value(7)},
        {"-7", Value(-7)},
        {".5", Value(0.5)},
        {"5.", Value(5)},
        {".", Value(0)},
        {"-.", Value(-0.0)},
        {"-0", Value(-0.0)},
        {"0.1", Outcome{0x3FB999999999999Aull}},
        {"2.5E-3", Value(0.0025)},
        {"1e3", Value(1000)},
        {"5E", Value(5)},
        {"5e+", Value(5)},
        {"5e-", Value(5)},
        {".E5", Value(0)},
        {"0E4999", Value(0)},
        {"5E3   ", Value(5000)},
        {"1E-400", Value(0.0)},
        {"-1E-400", Value(-0.0)},
        {"4.9406564584124654E-324", Outcome{1ull}},
        {"1.7976931348623157E308", Value(1.7976931348623157E308)},
        {"1.7976931348623159E308", Overflow{}},
        {"1E400", Overflow{}},
        {"1E0500", Overflow{}},
        {"1E4932", Overflow{}},
        {"1E4933", NotANumber{}},
        {"1E4999", NotANumber{}},
        {"1E5000", NotANumber{}},
        {"1E-5000", NotANumber{}},
        {"1." + zeros4933, NotANumber{}},
        {"0." + zeros6000 + "1", Value(0)},
        {"", NotANumber{}},
        {"   ", NotANumber{}},
        {"+", NotANumber{}},
        {"-", NotANumber{}},
        {"E5", NotANumber{}},
        {"5ee", NotANumber{}},
        {"1 000", NotANumber{}},
        {"- 5", NotANumber{}},
        {"+-5", NotANumber{}},
        {"++5", NotANumber{}},
        {"5 E3", NotANumber{}},
        {"5E 3", NotANumber{}},
        {"\t5", NotANumber{}},
        {"1.2.3", NotANumber{}},
        {"0x10", NotANumber{}},
        {"INF", NotANumber{}},
        {"NAN", NotANumber{}},
        {" abc ", NotANumber{}},
        // Beyond the table: exact integers up to 2^64 and the first rounded digit.
        {"18446744073709551615", Value(18446744073709551615.0)},
        {"9007199254740993", Value(9007199254740992.0)},
        {"00000000000000000000000000012", Value(12)},
    };
}

class ParseDecimalTextTest : public ::testing::TestWithParam<char> {};

TEST_P(ParseDecimalTextTest, EdgeCasesWithEitherMark) {
    const char mark = GetParam();
    ScopedDecimalMark scoped(mark);
    for (Case c : EdgeCases()) {
        if (mark == ',') {
            if (c.text.find(',') != std::string::npos)
                continue;  // covered below
            std::replace(c.text.begin(), c.text.end(), '.', ',');
        }
        const Outcome got = ParseChecked(c.text);
        EXPECT_TRUE(got == c.expected) << "'" << c.text.substr(0, 40) << "': got " << Describe(got)
                                       << ", want " << Describe(c.expected);
    }
}

INSTANTIATE_TEST_SUITE_P(Marks, ParseDecimalTextTest, ::testing::Values('.', ','));

TEST(ParseDecimalTextCommaTest, PointIsAnOrdinaryInvalidCharacter) {
    ScopedDecimalMark scoped(',');
    const Case cases[] = {{"12,5", Value(12.5)},   {"1,000", Value(1)},   {"12.5", NotANumber{}},
                          {"1.000", NotANumber{}}, {"1.2", NotANumber{}}, {"-,", Value(-0.0)}};
    for (const Case& c : cases) {
        const Outcome got = ParseChecked(c.text);
        EXPECT_TRUE(got == c.expected) << c.text << ": got " << Describe(got);
    }
}

TEST(ParseDecimalTextErrorTest, MessageQuotesTheWholeTextUnchanged) {
    ScopedDecimalMark scoped('.');
    const std::string texts[] = {"", " abc ", std::string(100000, 'x') + "\xFF\x01",
                                 std::string("5\0"
                                             "5",
                                             3)};
    for (const std::string& text : texts) {
        try {
            ParseDecimalText(text);
            ADD_FAILURE() << "accepted";
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message(), NotANumberMessage(text));
            EXPECT_STREQ(e.what(), e.Message().c_str());
        }
    }
}

TEST(ParseDecimalTextErrorTest, NextCallIsUnaffectedByAFailure) {
    ScopedDecimalMark scoped('.');
    EXPECT_THROW(ParseDecimalText("1E400"), EOverflow);
    EXPECT_EQ(ParseDecimalText("2.5"), 2.5);
    EXPECT_THROW(ParseDecimalText("abc"), EConvertError);
    EXPECT_EQ(ParseDecimalText("-3"), -3.0);
}

TEST(ParseDecimalTextErrorTest, MarkIsReadAtEveryCall) {
    ScopedDecimalMark scoped('.');
    EXPECT_EQ(ParseDecimalText("12.5"), 12.5);
    LocaleNumberSettings.DecimalMark = ',';
    EXPECT_EQ(ParseDecimalText("12,5"), 12.5);
    EXPECT_THROW(ParseDecimalText("12.5"), EConvertError);
}

TEST(ParseDecimalTextHugeTest, MillionDigitTexts) {
    ScopedDecimalMark scoped('.');
    EXPECT_EQ(ParseDecimalText(std::string(1'000'000, ' ') + "7"), 7.0);
    EXPECT_EQ(ParseDecimalText("0." + std::string(1'000'000, '0')), 0.0);
    EXPECT_EQ(ParseDecimalText(std::string(1'000'000, '0') + "5"), 5.0);
    // Fraction zeros after a non-zero digit grow the accumulator beyond the extended range.
    EXPECT_FALSE(
        std::holds_alternative<std::uint64_t>(ParseChecked("5." + std::string(1'000'000, '0'))));
    EXPECT_THROW(ParseDecimalText(std::string(1'000'000, '9')), EConvertError);
}

#if POUND_HAVE_X87

Outcome FromReference(const x87::ParseOutcome& r) {
    switch (r.kind) {
        case x87::ParseOutcome::kNumber:
            return Bits(r.value);
        case x87::ParseOutcome::kNotANumber:
            return NotANumber{};
        default:
            return Overflow{};
    }
}

// Every byte value at every position of short texts: a number or EConvertError as the
// reference says, never a crash.
TEST(ParseDecimalTextBytesTest, EveryByteInEveryPosition) {
    ScopedDecimalMark scoped('.');
    for (const std::string base : {"12.5e3", " -7. ", "1"}) {
        for (std::size_t position = 0; position <= base.size(); ++position) {
            for (int byte = 0; byte < 256; ++byte) {
                for (bool insert : {false, true}) {
                    if (!insert && position == base.size())
                        continue;
                    std::string text = base;
                    if (insert) {
                        text.insert(position, 1, static_cast<char>(byte));
                    } else {
                        text[position] = static_cast<char>(byte);
                    }
                    const Outcome got = ParseChecked(text);
                    const Outcome want = FromReference(x87::Parse(text, '.'));
                    ASSERT_TRUE(got == want) << "byte " << byte << " at " << position;
                }
            }
        }
    }
}

// A random text of the shapes the parser meets, sometimes with one invalid byte.
std::string RandomText(std::mt19937_64& rng, char mark) {
    const auto range = [&](int lo, int hi) {
        return std::uniform_int_distribution<int>(lo, hi)(rng);
    };
    const auto digits = [&](int count) {
        std::string s;
        const int style = range(0, 3);
        for (int i = 0; i < count; ++i) {
            s += style == 0 ? '9' : style == 1 ? (i == 0 ? '1' : '0') : char('0' + range(0, 9));
        }
        return s;
    };
    std::string text(static_cast<std::size_t>(range(0, 3) == 0 ? range(1, 3) : 0), ' ');
    if (range(0, 2) == 0)
        text += range(0, 1) == 0 ? '-' : '+';
    text += digits(range(0, 40));
    if (range(0, 1) == 0)
        text += mark + digits(range(0, 25));
    if (range(0, 1) == 0) {
        text += range(0, 1) == 0 ? 'E' : 'e';
        const int sign = range(0, 2);
        if (sign != 0)
            text += sign == 1 ? '+' : '-';
        const int magnitude = range(0, 3) == 0 ? range(0, 6000) : range(0, 400);
        text += std::string(static_cast<std::size_t>(range(0, 4) == 0 ? range(1, 3) : 0), '0') +
                std::to_string(magnitude);
    }
    if (range(0, 3) == 0)
        text += std::string(static_cast<std::size_t>(range(1, 3)), ' ');
    if (range(0, 9) == 0 && !text.empty()) {
        text[static_cast<std::size_t>(range(0, static_cast<int>(text.size()) - 1))] =
            static_cast<char>(range(0, 255));
    }
    return text;
}

TEST(ParseDecimalTextDifferentialTest, AgreesWithX87Rendition) {
    std::mt19937_64 rng(20261211);
    int failures = 0;
    long numbers = 0;
    for (int i = 0; i < 200'000 && failures < 5; ++i) {
        const char mark = i % 2 == 0 ? '.' : ',';
        ScopedDecimalMark scoped(mark);
        const std::string text = RandomText(rng, mark);
        const Outcome got = ParseChecked(text);
        const Outcome want = FromReference(x87::Parse(text, mark));
        numbers += std::holds_alternative<std::uint64_t>(want);
        if (!(got == want)) {
            ++failures;
            ADD_FAILURE() << "'" << text << "' with mark '" << mark << "': got " << Describe(got)
                          << ", x87 gives " << Describe(want);
        }
    }
    EXPECT_GT(numbers, 100'000) << "too few valid texts to mean much";
}

#endif

}  // namespace
}  // namespace pound
