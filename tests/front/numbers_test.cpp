// SPDX-License-Identifier: Apache-2.0
#include "numbers.h"

#include <gtest/gtest.h>

#include "error.h"

namespace vantor::cli {
namespace {

TEST(ParseNumber, AcceptsTheDecimalForms) {
    const std::pair<const char*, double> cases[] = {
        {"0", 0.0},         {"-1.5", -1.5}, {"+2", 2.0},          {".5", 0.5},
        {"3.", 3.0},        {"3e-4", 3e-4}, {"-1.25E+2", -125.0}, {"123456.789", 123456.789},
        {"-0.0001", -1e-4},
    };
    for (const auto& [text, expected] : cases) {
        double value = 99.0;
        EXPECT_TRUE(parse_number(text, value)) << text;
        EXPECT_DOUBLE_EQ(value, expected) << text;
    }
}

TEST(ParseNumber, RejectsAnythingElseAndLeavesTheValue) {
    for (const char* text : {"", "+", "-", "abc", "1.2.3", "1,5", "1e", "nan", "inf", "-inf",
                             "0x10", "1e999", "+-1", "--1", " 1", "1 ", "1x"}) {
        double value = 99.0;
        EXPECT_FALSE(parse_number(text, value)) << "'" << text << "'";
        EXPECT_EQ(value, 99.0) << text;
    }
}

TEST(ParseNumbers, ReadsCommaSeparatedValuesWithOptionalSpaces) {
    EXPECT_EQ(parse_numbers("0,0,1", "--direction", {"X", "Y", "Z"}),
              (std::vector<double>{0, 0, 1}));
    EXPECT_EQ(parse_numbers(" -1 , 2.5,3e1 ", "--direction", {"X", "Y", "Z"}),
              (std::vector<double>{-1, 2.5, 30}));
}

// The message of the error parse_numbers throws for `text` (names X,Y,Z by default).
std::string failure(const std::string& text,
                    const std::vector<std::string>& names = {"X", "Y", "Z"}) {
    try {
        parse_numbers(text, "--centre", names);
    } catch (const error& e) {
        return e.what();
    }
    return "no error";
}

TEST(ParseNumbers, NamesTheOptionTheFormAndTheFault) {
    EXPECT_EQ(failure("1,2"),
              "--centre expects X,Y,Z (3 numbers separated by commas): got 2 in '1,2'");
    EXPECT_EQ(failure("1,2,3,4"),
              "--centre expects X,Y,Z (3 numbers separated by commas): got 4 in '1,2,3,4'");
    EXPECT_EQ(failure("1,y,3"),
              "--centre expects X,Y,Z (3 numbers separated by commas): 'y' is not a number");
    EXPECT_EQ(failure("1,,3"),
              "--centre expects X,Y,Z (3 numbers separated by commas): empty field 2");
    EXPECT_EQ(failure(""), "--centre expects X,Y,Z (3 numbers separated by commas): empty field 1");
    // One number is named as such, not as a list of one.
    EXPECT_EQ(failure("abc", {"U"}), "--centre expects a number: 'abc' is not a number");
    EXPECT_EQ(failure("1,2", {"U"}), "--centre expects a number: got 2 in '1,2'");
}

TEST(Printable, ReplacesControlCharactersAndCutsLongText) {
    EXPECT_EQ(printable("a\tb\x01"), "a?b?");
    EXPECT_EQ(printable(std::string(45, 'x')), std::string(40, 'x') + "...");
    EXPECT_EQ(printable(std::string(40, 'x')), std::string(40, 'x'));
}

}  // namespace
}  // namespace vantor::cli
