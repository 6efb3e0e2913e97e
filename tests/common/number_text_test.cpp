#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "common/number_text.h"

namespace orrimar {
namespace {

TEST(IntegerConversion, StandardForms) {
    struct Case {
        const char* text;
        std::int32_t value;
        bool complete;
    };
    const Case cases[] = {
        {"42", 42, true},        {"   42", 42, true},
        {"+7", 7, true},         {"-5", -5, true},
        {"$1F", 31, true},       {"-$10", -16, true},
        {"$FFFFFFFF", -1, true}, {"-2147483648", INT32_MIN, true},
        {"12a", 12, false},      {"12 ", 12, false},
        {"", 0, false},          {"   ", 0, false},
        {"abc", 0, false},       {"$", 0, false},
        {"-", 0, false},         {"- 5", 0, false},
        {"0x10", 0, false},      {"2147483648", 214748364, false},
        {"$1G", 1, false},
    };
    for (const Case& c : cases) {
        const ConvertedInteger got = convertInteger(c.text);
        EXPECT_EQ(got.value, c.value) << '"' << c.text << '"';
        EXPECT_EQ(got.complete, c.complete) << '"' << c.text << '"';
    }
}

TEST(IntegerConversion, HexDigitsInEitherCaseAndNothingElse) {
    EXPECT_EQ(hexDigitValue('0'), 0);
    EXPECT_EQ(hexDigitValue('9'), 9);
    EXPECT_EQ(hexDigitValue('a'), 10);
    EXPECT_EQ(hexDigitValue('F'), 15);
    for (char c : {'g', 'G', '/', ':', '@', '`', ' ', '$', 'x'}) EXPECT_EQ(hexDigitValue(c), -1) << c;
}

TEST(RealConversion, DecimalFormsOnlyTheWholeText) {
    const std::pair<const char*, double> good[] = {{"0.5", 0.5}, {"3", 3.0},    {" 1.00 ", 1.0}, {".75", 0.75},
                                                   {"2e0", 2.0}, {"+1.5", 1.5}, {"-2", -2.0},    {"1E-1", 0.1},
                                                   {"7.", 7.0},  {"\t4\t", 4.0}};
    for (auto [text, value] : good) {
        const auto got = decimalReal(text);
        ASSERT_TRUE(got) << text;
        EXPECT_DOUBLE_EQ(*got, value) << text;
    }
    for (const char* bad : {"", " ", ".", "-", "+", "1,5", "nan", "inf", "0x1p1", "1e", "1e+", "1.0g", "--1", "+-1",
                            "1 2", "e5", "$10"}) {
        EXPECT_FALSE(decimalReal(bad)) << bad;
    }
}

}  // namespace
}  // namespace orrimar
