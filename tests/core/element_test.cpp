// SPDX-License-Identifier: Apache-2.0
#include "vantor/element.h"

#include <chrono>
#include <cstring>
#include <ctime>
#include <memory>
#include <string>

#include <gtest/gtest.h>

namespace vantor {
namespace {

// The local date and time in the element's encoding, read from the clock the library reads
// (std::time can lag std::chrono::system_clock by a tick, and a stamp would then seem to come
// from the future).
std::pair<int, int> local_now() {
    const std::time_t t = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm tm{};
    localtime_r(&t, &tm);
    return {(tm.tm_year + 1900) * 10000 + (tm.tm_mon + 1) * 100 + tm.tm_mday,
            tm.tm_hour * 10000 + tm.tm_min * 100 + tm.tm_sec};
}

TEST(Element, NewElementHasEmptyNameNoColourAndTheCurrentStamp) {
    const auto before = local_now();
    const element e(element::type_substitute);
    const auto after = local_now();
    EXPECT_STREQ(e.name(), "");
    EXPECT_EQ(e.rgbcolor(), -1);
    EXPECT_EQ(e.type(), element::type_substitute);
    // The stamp lies between two readings of the clock taken around the construction.
    const long long stamp = e.creationdate() * 1000000LL + e.creationtime();
    EXPECT_GE(stamp, before.first * 1000000LL + before.second);
    EXPECT_LE(stamp, after.first * 1000000LL + after.second);
    EXPECT_GE(e.creationdate(), 20000101);
    EXPECT_LT(e.creationtime(), 240000);
}

TEST(Element, IsofHoldsOnlyForItsOwnType) {
    const element e(element::type_feature);
    EXPECT_TRUE(e.isof(element::type_feature));
    EXPECT_FALSE(e.isof(element::type_actual));
    EXPECT_FALSE(e.isof(element::type_substitute));
}

TEST(Element, NameIsCutAfter63Characters) {
    element e(element::type_actual);
    const std::string seventy(70, 'n');
    e.name(seventy.c_str());
    EXPECT_EQ(std::strlen(e.name()), 63u);
    EXPECT_EQ(std::string(e.name()), seventy.substr(0, 63));
    e.name("short");
    EXPECT_STREQ(e.name(), "short");
}

TEST(Element, NullNameGivesAnEmptyName) {
    element e(element::type_actual);
    e.name("something");
    e.name(nullptr);
    EXPECT_STREQ(e.name(), "");
}

TEST(Element, NameMayBeSetFromItsOwnText) {
    element e(element::type_actual);
    e.name("bore 12");
    e.name(e.name());
    EXPECT_STREQ(e.name(), "bore 12");
    e.name(e.name() + 5);
    EXPECT_STREQ(e.name(), "12");
}

TEST(Element, CopyAndAssignmentTakeEveryMemberIncludingTheType) {
    element source(element::type_feature);
    source.name("datum A");
    source.rgbcolor(0x00ff00);
    const element copy(source);
    EXPECT_EQ(copy.type(), element::type_feature);
    EXPECT_STREQ(copy.name(), "datum A");
    EXPECT_EQ(copy.rgbcolor(), 0x00ff00);
    EXPECT_EQ(copy.creationdate(), source.creationdate());
    EXPECT_EQ(copy.creationtime(), source.creationtime());

    element target(element::type_actual);
    target = source;
    EXPECT_EQ(target.type(), element::type_feature);
    EXPECT_STREQ(target.name(), "datum A");
    EXPECT_EQ(target.rgbcolor(), 0x00ff00);
    EXPECT_EQ(target.creationdate(), source.creationdate());
    EXPECT_EQ(target.creationtime(), source.creationtime());
}

TEST(Element, DeletingThroughTheBasePointerRunsTheDerivedDestructor) {
    struct counted : element {
        explicit counted(int* n) : element(type_actual), destroyed(n) {}
        ~counted() override { ++*destroyed; }
        int* destroyed;
    };
    int destroyed = 0;
    std::unique_ptr<element> e(new counted(&destroyed));
    e.reset();
    EXPECT_EQ(destroyed, 1);
}

}  // namespace
}  // namespace vantor
