// LoadLocaleNumberSettings against the C library's real locales, compiled by the test set-up
// into a directory named by LOCPATH. The machine's own locale never matters.

#include "locale_number_settings.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "parse_decimal.h"

namespace pound {
namespace {

constexpr const char* kVariables[] = {"LC_ALL", "LC_NUMERIC", "LANG"};

class LocaleNumberSettingsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NE(std::getenv("LOCPATH"), nullptr) << "run through CTest, which sets LOCPATH";
        for (const char* name : kVariables) {
            const char* value = std::getenv(name);
            saved_.push_back(value ? std::optional<std::string>(value) : std::nullopt);
            unsetenv(name);
        }
        savedMark_ = LocaleNumberSettings.DecimalMark;
    }

    void TearDown() override {
        for (std::size_t i = 0; i < saved_.size(); ++i) {
            if (saved_[i]) {
                setenv(kVariables[i], saved_[i]->c_str(), 1);
            } else {
                unsetenv(kVariables[i]);
            }
        }
        LocaleNumberSettings.DecimalMark = savedMark_;
    }

    static char Load(const char* lcAll, const char* lcNumeric, const char* lang) {
        const char* values[] = {lcAll, lcNumeric, lang};
        for (int i = 0; i < 3; ++i) {
            if (values[i] != nullptr) {
                setenv(kVariables[i], values[i], 1);
            } else {
                unsetenv(kVariables[i]);
            }
        }
        LocaleNumberSettings.DecimalMark = '?';
        LoadLocaleNumberSettings();
        return LocaleNumberSettings.DecimalMark;
    }

  private:
    std::vector<std::optional<std::string>> saved_;
    char savedMark_ = '.';
};

TEST_F(LocaleNumberSettingsTest, EnvironmentResolvesLikeTheCLibrary) {
    struct Case {
        const char *lcAll, *lcNumeric, *lang;
        char mark;
    };
    const Case cases[] = {
        {"de_DE.UTF-8", nullptr, nullptr, ','},
        {"en_US.UTF-8", nullptr, nullptr, '.'},
        {nullptr, "de_DE.UTF-8", "en_US.UTF-8", ','},  // LC_NUMERIC before LANG
        {"en_US.UTF-8", "de_DE.UTF-8", nullptr, '.'},  // LC_ALL before everything
        {nullptr, nullptr, "de_DE.UTF-8", ','},
        {nullptr, nullptr, nullptr, '.'},        // the C locale
        {"xx_YY.UTF-8", nullptr, nullptr, '.'},  // cannot be loaded
        {"fa_IR.UTF-8", nullptr, nullptr, '.'},  // two-byte separator
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Load(c.lcAll, c.lcNumeric, c.lang), c.mark)
            << (c.lcAll ? c.lcAll : "-") << " " << (c.lcNumeric ? c.lcNumeric : "-") << " "
            << (c.lang ? c.lang : "-");
    }
}

TEST_F(LocaleNumberSettingsTest, EveryCallReadsTheEnvironmentAfresh) {
    EXPECT_EQ(Load("de_DE.UTF-8", nullptr, nullptr), ',');
    EXPECT_EQ(ParseDecimalText("12,5"), 12.5);
    EXPECT_THROW(ParseDecimalText("12.5"), EConvertError);
    EXPECT_EQ(Load("en_US.UTF-8", nullptr, nullptr), '.');
    EXPECT_EQ(ParseDecimalText("12.5"), 12.5);
    EXPECT_THROW(ParseDecimalText("12,5"), EConvertError);
}

}  // namespace
}  // namespace pound
