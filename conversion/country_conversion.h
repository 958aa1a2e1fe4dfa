#pragma once
// The eight countries and the conversion from an entered number of their pounds to the
// result text shown to the user.
//
//   ConvertPounds(1, "10")   == "10 фунт. - 4.536 кг."
//   ConvertPounds(3, " 1e3") == " 1e3 фунт. - 500.000 кг."   (the entry is echoed as typed)
//   ConvertPounds(4, "abc")  throws EConvertError "'abc' is not a valid floating point value"
//
// Texts are UTF-8; the entry is passed through byte for byte.

#include <array>
#include <string>
#include <string_view>

#include "errors.h"

namespace pound {

struct Country {
    std::string_view name;  // the text of its row in the window's list
    double poundKilograms;  // kilograms per pound
};

inline constexpr int kCountryCount = 8;

// In list order; the position is the country index.
extern const std::array<Country, kCountryCount> kCountries;

// Kilograms per pound of the country at `countryIndex`. Throws Exception for an index
// outside 0 to 7.
double CountryPoundFactor(int countryIndex);

// The entry, " фунт. - ", the kilograms with three decimals (at most six significant
// digits) and " кг.". Throws Exception for a bad index, and lets EConvertError and EOverflow
// of the parser pass.
std::string ConvertPounds(int countryIndex, std::string_view enteredText);

}  // namespace pound
