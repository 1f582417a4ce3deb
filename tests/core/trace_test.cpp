#include "core/trace.h"

#include <string>

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

}  // namespace
}  // namespace vantor
