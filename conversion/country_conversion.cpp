#include "country_conversion.h"

#include "extended.h"
#include "format_fixed.h"
#include "locale_number_settings.h"
#include "parse_decimal.h"

namespace pound {

// The Russian funt is 409.51241 g: a pood of 16.3804964 kg makes 40 funt.
const std::array<Country, kCountryCount> kCountries = {{
    {"Россия", 0.40951241},
    {"Англия", 0.453592},
    {"Австрия", 0.56001},
    {"Германия", 0.5},
    {"Дания", 0.5},
    {"Исландия", 0.5},
    {"Италия        ", 0.31762},
    {"Нидерланды", 0.5},
}};

namespace {

constexpr std::string_view kPoundUnit = " фунт. - ";
constexpr std::string_view kKilogramUnit = " кг.";
constexpr int kResultPrecision = 6;
constexpr int kResultDecimals = 3;

}  // namespace

double CountryPoundFactor(int countryIndex) {
    if (countryIndex < 0 || countryIndex >= kCountryCount) {
        throw Exception("Country index " + std::to_string(countryIndex) +
                        " is not in the list of countries (0 to 7)");
    }
    return kCountries[static_cast<std::size_t>(countryIndex)].poundKilograms;
}

std::string ConvertPounds(int countryIndex, std::string_view enteredText) {
    const double factor = CountryPoundFactor(countryIndex);
    const double pounds = detail::ParseOrRaise(enteredText, LocaleNumberSettings.DecimalMark);
    detail::Flags flags;  // every factor is below 1: the product stays finite
    const double kilograms = detail::ToDouble(
        detail::Multiply(detail::FromDouble(factor), detail::FromDouble(pounds), flags), flags);
    const std::string number = FormatFixedText(kilograms, kResultPrecision, kResultDecimals);

    std::string result;
    result.reserve(enteredText.size() + kPoundUnit.size() + number.size() + kKilogramUnit.size());
    result += enteredText;
    result += kPoundUnit;
    result += number;
    result += kKilogramUnit;
    return result;
}

}  // namespace pound
