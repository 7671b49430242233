#include "platform/StrToInt.h"

#include <gtest/gtest.h>

namespace krn310 {
namespace {

struct Converts {
    const char* text;
    int32_t value;
};

class StrToIntConverts : public ::testing::TestWithParam<Converts> {};

TEST_P(StrToIntConverts, GivesTheValue)
{
    EXPECT_EQ(StrToInt(GetParam().text), GetParam().value) << '"' << GetParam().text << '"';
}

INSTANTIATE_TEST_SUITE_P(Table, StrToIntConverts,
    ::testing::Values(
        Converts{"0", 0}, Converts{"255", 255}, Converts{"  42", 42}, Converts{"\t7", 7},
        Converts{"+12", 12}, Converts{"-1", -1}, Converts{"007", 7},
        Converts{"2147483647", 2147483647}, Converts{"-2147483648", INT32_MIN},
        Converts{"$FF", 255}, Converts{"$ff", 255}, Converts{"0x1A", 26}, Converts{"0X1a", 26},
        Converts{"$FFFFFFFF", -1}, Converts{"0x80000000", INT32_MIN}, Converts{"-$10", -16},
        Converts{"0xA5", 0xA5}, Converts{"0x7", 7}, Converts{"0x0f", 15}));

class StrToIntRejects : public ::testing::TestWithParam<const char*> {};

TEST_P(StrToIntRejects, RaisesTheConversionError)
{
    const std::string text = GetParam();
    try {
        StrToInt(text);
        FAIL() << "no error for \"" << text << '"';
    } catch (const EConvertError& e) {
        EXPECT_EQ(std::string(e.what()), "''" + text + "'' is not a valid integer value");
    }
}

INSTANTIATE_TEST_SUITE_P(Table, StrToIntRejects,
    ::testing::Values("", " ", "-", "+", "$", "0x", "abc", "12a", "12 ", "1,2", "2147483648",
                      "-2147483649", "$100000000", "0xG", "1e3", "--1", "0x-1"));

TEST(StrToInt, ErrorTextQuotesTheTokenTwice)
{
    EXPECT_EQ(InvalidIntegerMessage("x1"), "''x1'' is not a valid integer value");
}

} // namespace
} // namespace krn310
