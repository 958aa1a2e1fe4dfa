// FormatFixedText on raw bit patterns. At the conversion's precision 6 and decimals 3: at
// most 12 characters from the allowed alphabet, and for a finite number its text read back
// lies within 0.5000001 units of its last significant digit. Any precision and decimals:
// the alphabet. Input: 8 bytes of the double, then precision and decimals bytes.

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

#include "format_fixed.h"
#include "fuzz_checks.h"
#include "locale_number_settings.h"
#include "parse_decimal.h"

using pound::fuzz::Require;

namespace {

bool InAlphabet(const std::string& text) {
    return text.find_first_not_of("-0123456789.EINFA") == std::string::npos;
}

// The weight of the last significant digit the text shows, at precision 6 and decimals 3.
long double LastDigitUnit(const std::string& text) {
    const std::size_t e = text.find('E');
    if (e != std::string::npos) {
        const std::size_t mark = text.find('.');
        const long fraction = mark == std::string::npos ? 0 : static_cast<long>(e - mark - 1);
        return std::pow(10.0L, std::stol(text.substr(e + 1)) - fraction);
    }
    const std::size_t start = text[0] == '-' ? 1 : 0;
    const std::size_t integerDigits = text.find('.') - start;
    const long digits =
        text.compare(start, integerDigits, "0") == 0 ? 0 : static_cast<long>(integerDigits);
    return std::pow(10.0L, std::max(-3L, digits - 6));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 8)
        return 0;
    double value;
    std::memcpy(&value, data, 8);
    pound::LocaleNumberSettings.DecimalMark = '.';
    const std::string identity(reinterpret_cast<const char*>(data), size);

    const std::string text = pound::FormatFixedText(value, 6, 3);
    Require(text.size() <= 12, "at most 12 characters", identity);
    Require(InAlphabet(text), "allowed characters only", identity);
    if (std::isfinite(value)) {
        const double back = pound::ParseDecimalText(text);
        const long double error = std::fabs(static_cast<long double>(back) - value);
        Require(error <= 0.5000001L * LastDigitUnit(text), "read back within half a digit",
                identity);
    }

    if (size >= 10) {
        const std::string any = pound::FormatFixedText(value, data[8] % 24 - 2, data[9] % 19);
        Require(InAlphabet(any) && !any.empty(), "allowed characters at any settings", identity);
    }
    return 0;
}
