// poundconv: the pound conversion on the command line.
//
//   poundconv COUNTRY POUNDS   the result text; COUNTRY is an index 0 to 7 or a name
//   poundconv --list           the countries: index, name, kilograms per pound
//   poundconv --batch          COUNTRY<TAB>POUNDS lines from standard input
//
// Numbers use the decimal separator of the user's locale. Exit codes: 0 success,
// 1 a conversion failed, 2 usage error.

#include <charconv>
#include <cstdint>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>

#include "country_conversion.h"
#include "locale_number_settings.h"

namespace {

constexpr int kExitOk = 0;
constexpr int kExitConversionFailed = 1;
constexpr int kExitUsage = 2;

constexpr std::string_view kUsage =
    "usage: poundconv COUNTRY POUNDS\n"
    "       poundconv --list\n"
    "       poundconv --batch\n"
    "\n"
    "Converts POUNDS of the pound of COUNTRY to kilograms. COUNTRY is an index 0 to 7\n"
    "or a name as --list shows it, in any letter case. With --batch, each line of\n"
    "standard input holds COUNTRY, a tab and POUNDS, and each gives one line of output.\n"
    "Numbers use the decimal separator of your locale.\n";

// Decodes one UTF-8 sequence at `at`, advancing it; a malformed byte stands for itself.
char32_t DecodeUtf8(std::string_view text, std::size_t& at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    const int length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : 4;
    if (length == 1 || at + static_cast<std::size_t>(length) > text.size()) {
        ++at;
        return lead;
    }
    char32_t code = lead & (0x7Fu >> length);
    for (int i = 1; i < length; ++i) {
        const unsigned char next = byte(at + static_cast<std::size_t>(i));
        if ((next & 0xC0) != 0x80) {
            ++at;
            return lead;
        }
        code = (code << 6) | (next & 0x3Fu);
    }
    at += static_cast<std::size_t>(length);
    return code;
}

// Lower case for the Latin and Cyrillic letters that country names use.
char32_t ToLower(char32_t c) {
    if (c >= U'A' && c <= U'Z')
        return c + 0x20;
    if (c >= U'\u0410' && c <= U'\u042F')
        return c + 0x20;  // А to Я
    if (c >= U'\u0400' && c <= U'\u040F')
        return c + 0x50;  // Ѐ to Џ
    return c;
}

std::string_view TrimTrailingBlanks(std::string_view text) {
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

bool SameName(std::string_view a, std::string_view b) {
    a = TrimTrailingBlanks(a);
    b = TrimTrailingBlanks(b);
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (ToLower(DecodeUtf8(a, i)) != ToLower(DecodeUtf8(b, j)))
            return false;
    }
    return i == a.size() && j == b.size();
}

std::optional<int> FindCountry(std::string_view argument) {
    int index = 0;
    const char* end = argument.data() + argument.size();
    if (const auto [ptr, ec] = std::from_chars(argument.data(), end, index);
        ec == std::errc{} && ptr == end && !argument.empty() && argument[0] != '-') {
        if (index < pound::kCountryCount)
            return index;
        return std::nullopt;
    }
    for (int i = 0; i < pound::kCountryCount; ++i) {
        if (SameName(argument, pound::kCountries[static_cast<std::size_t>(i)].name))
            return i;
    }
    return std::nullopt;
}

int Usage(std::ostream& out, int code) {
    out << kUsage;
    return code;
}

int List() {
    for (int i = 0; i < pound::kCountryCount; ++i) {
        const pound::Country& country = pound::kCountries[static_cast<std::size_t>(i)];
        char factor[32];
        const auto result = std::to_chars(factor, factor + sizeof factor, country.poundKilograms);
        std::cout << i << '\t' << TrimTrailingBlanks(country.name) << '\t'
                  << std::string_view(factor, static_cast<std::size_t>(result.ptr - factor))
                  << '\n';
    }
    return kExitOk;
}

int ConvertOne(std::string_view countryArgument, std::string_view pounds) {
    const std::optional<int> country = FindCountry(countryArgument);
    if (!country) {
        std::cerr << "poundconv: unknown country '" << countryArgument
                  << "' (see poundconv --list)\n";
        return kExitUsage;
    }
    try {
        std::cout << pound::ConvertPounds(*country, pounds) << '\n';
        return kExitOk;
    } catch (const pound::Exception& e) {
        std::cerr << pound::WithReportFullStop(e.Message()) << '\n';
        return kExitConversionFailed;
    }
}

int Batch() {
    bool anyFailed = false;
    std::string line;
    for (long number = 1; std::getline(std::cin, line); ++number) {
        std::string_view view = line;
        if (!view.empty() && view.back() == '\r')
            view.remove_suffix(1);
        const std::size_t tab = view.find('\t');
        std::string output;
        if (tab == std::string_view::npos) {
            output =
                "error: line " + std::to_string(number) + " has no tab between country and pounds";
        } else if (const std::optional<int> country = FindCountry(view.substr(0, tab)); !country) {
            output = "error: unknown country '" + std::string(view.substr(0, tab)) + "'";
        } else {
            try {
                output = pound::ConvertPounds(*country, view.substr(tab + 1));
            } catch (const pound::Exception& e) {
                output = "error: " + e.Message();
            }
        }
        anyFailed = anyFailed || output.starts_with("error: ");
        std::cout << output << '\n';
    }
    return anyFailed ? kExitConversionFailed : kExitOk;
}

}  // namespace

int main(int argc, char** argv) {
    pound::LoadLocaleNumberSettings();
    const std::string_view first = argc > 1 ? argv[1] : "";
    if (argc == 2 && first == "--help")
        return Usage(std::cout, kExitOk);
    if (argc == 2 && first == "--list")
        return List();
    if (argc == 2 && first == "--batch")
        return Batch();
    if (argc == 3 && !first.starts_with("--"))
        return ConvertOne(argv[1], argv[2]);
    return Usage(std::cerr, kExitUsage);
}
