#pragma once
// Sets the decimal mark for one test and restores the previous one.

#include "locale_number_settings.h"

namespace pound {

class ScopedDecimalMark {
  public:
    explicit ScopedDecimalMark(char mark) : saved_(LocaleNumberSettings.DecimalMark) {
        LocaleNumberSettings.DecimalMark = mark;
    }
    ~ScopedDecimalMark() { LocaleNumberSettings.DecimalMark = saved_; }
    ScopedDecimalMark(const ScopedDecimalMark&) = delete;
    ScopedDecimalMark& operator=(const ScopedDecimalMark&) = delete;

  private:
    char saved_;
};

}  // namespace pound
