// ParseDecimalText with either mark: a number, or EConvertError quoting the text whole, or
// EOverflow; and a text that parses gives the same bits with blanks around it.
// The first byte chooses the mark.

#include <bit>
#include <cstdint>
#include <string>

#include "fuzz_checks.h"
#include "locale_number_settings.h"
#include "parse_decimal.h"

using pound::fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    pound::LocaleNumberSettings.DecimalMark = (data[0] & 1) != 0 ? ',' : '.';
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    double value;
    try {
        value = pound::ParseDecimalText(text);
    } catch (const pound::EConvertError& e) {
        Require(e.Message() == "'" + text + "' is not a valid floating point value",
                "EConvertError quotes the text unchanged", text);
        return 0;
    } catch (const pound::EOverflow& e) {
        Require(e.Message() == "Floating point overflow", "EOverflow message", text);
        return 0;
    }
    const double padded = pound::ParseDecimalText("  " + text + " ");
    Require(std::bit_cast<std::uint64_t>(padded) == std::bit_cast<std::uint64_t>(value),
            "blanks around a number change nothing", text);
    return 0;
}
