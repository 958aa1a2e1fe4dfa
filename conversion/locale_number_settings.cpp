#include "locale_number_settings.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <langinfo.h>
#include <locale.h>
#endif

namespace pound {

NumberSettings LocaleNumberSettings;

namespace {

constexpr char kDefaultDecimalMark = '.';

#if defined(_WIN32)
char UserDecimalMark() {
    char buffer[2] = {};
    // Fails when the separator does not fit: two or more characters.
    if (GetLocaleInfoA(GetThreadLocale(), LOCALE_SDECIMAL, buffer, 2) > 0 && buffer[0] != 0) {
        return buffer[0];
    }
    return kDefaultDecimalMark;
}
#else
char UserDecimalMark() {
    // The empty name resolves the category from the environment, as setlocale does, but
    // without touching the process's global locale.
    const locale_t locale = newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(nullptr));
    if (locale == static_cast<locale_t>(nullptr))
        return kDefaultDecimalMark;
    const char* separator = nl_langinfo_l(RADIXCHAR, locale);
    const char mark = separator != nullptr && separator[0] != 0 && separator[1] == 0
                          ? separator[0]
                          : kDefaultDecimalMark;
    freelocale(locale);
    return mark;
}
#endif

}  // namespace

void LoadLocaleNumberSettings() {
    LocaleNumberSettings.DecimalMark = UserDecimalMark();
}

}  // namespace pound
