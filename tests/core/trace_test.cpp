// SPDX-License-Identifier: Apache-2.0
#include "core/trace.h"

#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "support/capture.h"

namespace vantor {
namespace {

using testing::printed;

TEST(Trace, PrintsLinesUpToTheThresholdOnly) {
    EXPECT_EQ(printed(0, [] { detail::trace(0, "*level zero %d\n", 7); }), "*level zero 7\n");
    EXPECT_EQ(printed(0, [] { detail::trace(1, "*level one\n"); }), "");
    EXPECT_EQ(printed(3, [] { detail::trace(3, "+entry\n"); }), "+entry\n");
    EXPECT_EQ(printed(3, [] { detail::trace(4, " detail\n"); }), "");
}

TEST(Trace, CutsLongLinesAfter159Characters) {
    const std::string long_text(200, 'x');
    const std::string out = printed(0, [&] { detail::trace(0, "%s", long_text.c_str()); });
    EXPECT_EQ(out, std::string(159, 'x'));
}

TEST(Trace, PrintsAPercentSignInAnArgumentLiterally) {
    EXPECT_EQ(printed(0, [] { detail::trace(0, "name=%s\n", "a%db%s"); }), "name=a%db%s\n");
}

TEST(Trace, SuppressedLineDoesNotEvaluateItsArguments) {
    int evaluated = 0;
    const auto costly = [&] {
        ++evaluated;
        return "text";
    };
    printed(1, [&] { VANTOR_TRACE(2, "%s\n", costly()); });
    EXPECT_EQ(evaluated, 0);
    const std::string out = printed(2, [&] { VANTOR_TRACE(2, "%s\n", costly()); });
    EXPECT_EQ(evaluated, 1);
    EXPECT_EQ(out, "text\n");
}

// A sink that collects lines without a lock of its own: the library hands it one line at a
// time.
void collect(const char* line, void* context) { *static_cast<std::string*>(context) += line; }

TEST(Trace, ASinkReceivesTheLinesUntilStandardOutputIsRestored) {
    std::string lines;
    tracesink(collect, &lines);
    const std::string out = printed(3, [] {
        detail::trace(3, "+entry %d\n", 1);
        detail::trace(4, " suppressed\n");
    });
    EXPECT_EQ(out, "");
    EXPECT_EQ(lines, "+entry 1\n");
    tracesink(nullptr, nullptr);
    EXPECT_EQ(printed(3, [] { detail::trace(3, "+again\n"); }), "+again\n");
    EXPECT_EQ(lines, "+entry 1\n");
}

TEST(Trace, LinesFromManyThreadsReachTheSinkWhole) {
    std::string lines;
    tracesink(collect, &lines);
    const int saved = tracelevel();
    tracelevel(2);
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t) {
        threads.emplace_back([t] {
            for (int i = 0; i < 200; ++i) detail::trace(2, "thread %d line %03d\n", t, i);
        });
    }
    for (std::thread& t : threads) t.join();
    tracelevel(saved);
    tracesink(nullptr, nullptr);
    // Every line intact: 8 x 200 lines of 18 characters.
    ASSERT_EQ(lines.size(), 8u * 200u * 18u);
    for (std::size_t at = 0; at < lines.size(); at += 18) {
        EXPECT_EQ(lines.compare(at, 7, "thread "), 0) << lines.substr(at, 18);
        EXPECT_EQ(lines[at + 17], '\n');
    }
}

}  // namespace
}  // namespace vantor
