// ConvertPounds: the result begins with the entry exactly and ends with " кг.", or the
// conversion raises one of the errors. The first byte chooses the country (8 and above are
// outside the table).

#include <cstdint>
#include <string>

#include "country_conversion.h"
#include "fuzz_checks.h"
#include "locale_number_settings.h"

using pound::fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const int country = data[0] % 10 - 1;  // -1 to 8
    pound::LocaleNumberSettings.DecimalMark = (data[0] & 0x80) != 0 ? ',' : '.';
    const std::string entry(reinterpret_cast<const char*>(data + 1), size - 1);
    try {
        const std::string result = pound::ConvertPounds(country, entry);
        Require(country >= 0 && country < pound::kCountryCount, "a result for a valid index only",
                entry);
        Require(result.starts_with(entry + " фунт. - "), "the entry is echoed exactly", entry);
        Require(result.ends_with(" кг."), "the kilogram unit ends the result", entry);
    } catch (const pound::EConvertError& e) {
        Require(e.Message() == "'" + entry + "' is not a valid floating point value",
                "EConvertError quotes the entry", entry);
    } catch (const pound::EOverflow&) {
    } catch (const pound::Exception&) {
        Require(country < 0 || country >= pound::kCountryCount, "index errors only for bad indexes",
                entry);
    }
    return 0;
}
