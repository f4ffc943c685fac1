#include <gtest/gtest.h>

#include <string>

#include "runtime/number.h"

namespace {

struct Parsed {
    int32_t value;
    int32_t position;
};

Parsed Parse(const std::string& text, int32_t size = 4) {
    int32_t position = -99;
    const int32_t value = ParseInteger(size, LengthPrefixedString(text), position);
    return {value, position};
}

void ExpectValue(const std::string& text, int32_t value) {
    const Parsed p = Parse(text);
    EXPECT_EQ(p.position, 0) << text;
    EXPECT_EQ(p.value, value) << text;
}

void ExpectFailure(const std::string& text, int32_t position) {
    const Parsed p = Parse(text);
    EXPECT_EQ(p.position, position) << text;
    EXPECT_EQ(p.value, 0) << text;
}

TEST(ParseInteger, SignsAndBlanks) {
    ExpectValue("12", 12);
    ExpectValue(" \t-5", -5);
    ExpectValue("+7", 7);
    ExpectValue("-0", 0);
    ExpectFailure("--5", 2);
    ExpectFailure("+-5", 2);
}

TEST(ParseInteger, HexadecimalAndBinary) {
    ExpectValue("$1F", 31);
    ExpectValue("$0000001f", 31);
    ExpectValue("$0", 0);
    ExpectValue("$000", 0);
    ExpectValue("%101", 5);
    ExpectValue("$FFFFFFFF", -1);
    ExpectValue("-$1", -1);
    ExpectValue("%11111111111111111111111111111111", -1);
    ExpectFailure("$100000000", 10);
    ExpectFailure("%2", 2);
    ExpectFailure("$G", 2);
}

TEST(ParseInteger, DecimalLimitsAndOverflowPositions) {
    ExpectValue("2147483647", 2147483647);
    ExpectValue("-2147483648", INT32_MIN);
    ExpectFailure("2147483648", 10);
    ExpectFailure("-2147483649", 11);
    ExpectFailure("99999999999", 10);
    // The multiplication wraps to a value that would pass the sum test: caught all the same.
    ExpectFailure("$1FFFFFFFF", 10);
}

TEST(ParseInteger, EmptyTokensAndStrayCharacters) {
    ExpectFailure("", 1);
    ExpectFailure("   ", 4);
    ExpectFailure("-", 2);
    ExpectFailure("+", 2);
    ExpectFailure("$", 2);
    ExpectFailure("%", 2);
    ExpectFailure("12abc", 3);
    ExpectFailure("abc", 1);
    ExpectFailure("1 2", 2);
}

TEST(ParseInteger, SmallSizesSignExtendOnlyUnsignedBases) {
    EXPECT_EQ(Parse("$80", 1).value, -128);
    EXPECT_EQ(Parse("$FF", 1).value, -1);
    EXPECT_EQ(Parse("$7F", 1).value, 127);
    EXPECT_EQ(Parse("$100", 1).value, 256);
    EXPECT_EQ(Parse("$8000", 2).value, -32768);
    EXPECT_EQ(Parse("%1111111111111111", 2).value, -1);
    EXPECT_EQ(Parse("200", 1).value, 200);
    EXPECT_EQ(Parse("$FFFF", 4).value, 65535);
}

}  // namespace
