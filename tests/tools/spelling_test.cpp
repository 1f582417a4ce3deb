// SPDX-License-Identifier: Apache-2.0
#include "spelling.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace vantor::cli {
namespace {

TEST(Spelling, SuggestsTheClosestNameOnlyWhenClose) {
    const std::vector<std::string> names = {"info", "fit", "roundness", "flatness", "convert"};
    const std::pair<const char*, const char*> cases[] = {
        {"roundnes", "roundness"},    // a letter left out
        {"rounddness", "roundness"},  // one too many
        {"flatmess", "flatness"},     // a wrong one
        {"ifno", "info"},             // two swapped
        {"cnovret", "convert"},       // two edits in seven letters
        {"fir", "fit"},               // one edit in three letters
        {"fr", ""},                   // two edits in two letters
        {"roundtrip", ""},            // four edits
        {"cvt", ""},
        {"", ""},
    };
    for (const auto& [word, expected] : cases) {
        EXPECT_EQ(closest_name(word, names), expected) << word;
    }
}

}  // namespace
}  // namespace vantor::cli
