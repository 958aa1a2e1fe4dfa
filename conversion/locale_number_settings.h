#pragma once
// The user's number settings, as the parser and the formatter read them at every call.

namespace pound {

struct NumberSettings {
    // Separates integer from fraction digits in entered texts and in results. Always one
    // byte, never NUL.
    char DecimalMark = '.';
};

// The process-wide record. Written only by LoadLocaleNumberSettings.
extern NumberSettings LocaleNumberSettings;

// Reads the decimal separator of the user's numeric locale afresh from the environment
// (LC_ALL, then LC_NUMERIC, then LANG). A separator that is not exactly one byte, or a
// locale that cannot be loaded, gives ".". Never fails.
void LoadLocaleNumberSettings();

}  // namespace pound
