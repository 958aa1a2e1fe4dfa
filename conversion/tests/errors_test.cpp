#include "errors.h"

#include <gtest/gtest.h>

namespace pound {
namespace {

TEST(WithReportFullStopTest, FullStopOnlyAfterBytesAboveTheFullStop) {
    struct Case {
        std::string message, shown;
    };
    const Case cases[] = {
        {"'abc' is not a valid floating point value", "'abc' is not a valid floating point value."},
        {"Floating point overflow", "Floating point overflow."},
        {"", ""},
        {"Done.", "Done."},
        {"(see above)", "(see above)"},
        {"a-", "a-"},
        {"trailing blank ", "trailing blank "},
        {"line\n", "line\n"},
        {"!\"#$%&'()*+,", "!\"#$%&'()*+,"},
        {"why?", "why?."},
        {"note:", "note:."},
        {"ends in 7", "ends in 7."},
        {"/", "/."},
        {"кг", "кг."},  // the last UTF-8 byte is above 0x2E
    };
    for (const Case& c : cases)
        EXPECT_EQ(WithReportFullStop(c.message), c.shown) << c.message;
}

}  // namespace
}  // namespace pound
