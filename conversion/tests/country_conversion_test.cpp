#include "country_conversion.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "decimal_mark.h"
#include "parse_decimal.h"

namespace pound {
namespace {

struct Case {
    int country;
    std::string entry;   // written with "." as mark
    std::string result;  // "" when the conversion raises
};

const Case kCases[] = {
    {1, "10", "10 фунт. - 4.536 кг."},
    {0, "10", "10 фунт. - 4.095 кг."},
    {3, "3", "3 фунт. - 1.500 кг."},
    {6, "2", "2 фунт. - 0.635 кг."},
    {2, "-2", "-2 фунт. - -1.120 кг."},
    {0, "1000000", "1000000 фунт. - 409512.000 кг."},
    {0, "1", "1 фунт. - 0.410 кг."},
    {0, "5", "5 фунт. - 2.048 кг."},
    {0, "15", "15 фунт. - 6.143 кг."},
    {0, "285", "285 фунт. - 116.711 кг."},
    {3, "2469134", "2469134 фунт. - 1.23457E006 кг."},
    {3, "1e3", "1e3 фунт. - 500.000 кг."},
    {7, " 2.5 ", " 2.5  фунт. - 1.250 кг."},
    {1, "1000", "1000 фунт. - 453.592 кг."},
    {1, "123456", "123456 фунт. - 55998.700 кг."},
    {3, "0.039", "0.039 фунт. - 0.020 кг."},
    {4, "-0", "-0 фунт. - 0.000 кг."},
};

std::string WithMark(std::string text, char mark) {
    std::replace(text.begin(), text.end(), '.', mark);
    return text;
}

class ConvertPoundsTest : public ::testing::TestWithParam<char> {};

TEST_P(ConvertPoundsTest, ResultTextsOfTheTable) {
    const char mark = GetParam();
    ScopedDecimalMark scoped(mark);
    for (const Case& c : kCases) {
        // The unit words keep their full stops whatever the mark.
        std::string want = WithMark(c.result, mark);
        for (const char* unit : {" фунт", " кг"}) {
            const std::string changed = std::string(unit) + mark;
            for (std::size_t at = want.find(changed); at != std::string::npos;
                 at = want.find(changed, at + 1)) {
                want[at + changed.size() - 1] = '.';
            }
        }
        EXPECT_EQ(ConvertPounds(c.country, WithMark(c.entry, mark)), want) << c.entry;
    }
}

INSTANTIATE_TEST_SUITE_P(Marks, ConvertPoundsTest, ::testing::Values('.', ','));

TEST(ConvertPoundsErrorTest, ParserErrorsPassUnchanged) {
    ScopedDecimalMark scoped('.');
    EXPECT_THROW(ConvertPounds(0, "1E400"), EOverflow);
    try {
        ConvertPounds(4, "abc");
        ADD_FAILURE();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "'abc' is not a valid floating point value");
    }
    EXPECT_THROW(ConvertPounds(5, ""), EConvertError);
}

TEST(ConvertPoundsErrorTest, IndexOutsideTheTableRaisesBeforeParsing) {
    for (int index : {-1, 8, 1 << 30}) {
        try {
            ConvertPounds(index, "abc");  // not a number either: the index is checked first
            ADD_FAILURE() << index;
        } catch (const EConvertError&) {
            ADD_FAILURE() << "parsed before checking " << index;
        } catch (const Exception& e) {
            EXPECT_NE(e.Message().find(std::to_string(index)), std::string::npos) << e.Message();
        }
    }
}

TEST(ConvertPoundsTableTest, CountriesWithTheSameFactorGiveTheSameKilograms) {
    ScopedDecimalMark scoped('.');
    for (const char* entry : {"1", "7.25", "2469134", "0.0005"}) {
        const std::string reference = ConvertPounds(3, entry);
        for (int country : {4, 5, 7})
            EXPECT_EQ(ConvertPounds(country, entry), reference);
    }
}

TEST(ConvertPoundsTableTest, FactorsAreTheTablesDoubles) {
    const double factors[] = {0.40951241, 0.453592, 0.56001, 0.5, 0.5, 0.5, 0.31762, 0.5};
    for (int i = 0; i < kCountryCount; ++i)
        EXPECT_EQ(CountryPoundFactor(i), factors[i]);
    EXPECT_EQ(kCountries[6].name, "Италия        ");
}

}  // namespace
}  // namespace pound
