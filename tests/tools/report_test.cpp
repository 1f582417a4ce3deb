#include "report.h"

#include <sstream>

#include <gtest/gtest.h>

namespace vantor::cli {
namespace {

TEST(Report, NumbersHaveSixDecimalsAndNoNegativeZero) {
    EXPECT_EQ(format_number(1.5), "1.500000");
    EXPECT_EQ(format_number(-0.5), "-0.500000");
    EXPECT_EQ(format_number(1234.56789012), "1234.567890");
    EXPECT_EQ(format_number(-0.0000004), "0.000000");
    EXPECT_EQ(format_number(-0.0), "0.000000");
    EXPECT_EQ(format_number(-0.0000005001), "-0.000001");
}

TEST(Report, StampIsDateAndTime) {
    EXPECT_EQ(stamp_text(20240607, 90502), "2024-06-07 09:05:02");
    EXPECT_EQ(stamp_text(19991231, 235959), "1999-12-31 23:59:59");
}

TEST(Report, GeometryValuesAreNamedObjects) {
    const spanto::circle c(spanto::point(1, 2, 3), spanto::vector(0, 0, 2), 5);
    EXPECT_EQ(to_report(c).dump(),
              R"({"circle":{"centre":[1.0,2.0,3.0],"normal":[0.0,0.0,1.0],"radius":5.0}})");
    const spanto::cone k(spanto::point(0, 0, 0), 2, spanto::point(0, 0, 1), 2.5);
    EXPECT_EQ(to_report(k).dump(),
              R"({"cone":{"point0":[0.0,0.0,0.0],"radius0":2.0,"point1":[0.0,0.0,1.0],)"
              R"("radius1":2.5}})");
    const spanto::axis a(spanto::point(1, 0, 0), spanto::vector(0, 3, 0));
    EXPECT_EQ(to_report(a).dump(),
              R"({"axis":{"origin":[1.0,0.0,0.0],"direction":[0.0,1.0,0.0]}})");
}

TEST(Report, TextAlignsValuesAndIndentsNestedObjects) {
    report r;
    r["file"] = "a b.txt";
    r["points"] = 8;
    r["value"] = 0.3;
    r["min_radius"] = 4.9;
    r["datum"] = {{"circle", {{"centre", {1.0, 2.0, -0.0}}, {"radius", 5.05}}}};
    r["tolerance"] = {{"upper", 0.25}, {"within", false}};
    r["missing"] = nullptr;
    std::ostringstream out;
    print_text(r, out);
    EXPECT_EQ(out.str(),
              "file        a b.txt\n"
              "points      8\n"
              "value       0.300000\n"
              "min radius  4.900000\n"
              "datum\n"
              "  circle\n"
              "    centre  1.000000 2.000000 0.000000\n"
              "    radius  5.050000\n"
              "tolerance\n"
              "  upper   0.250000\n"
              "  within  no\n"
              "missing     -\n");
}

TEST(Report, ArraysOfLikeObjectsPrintAsTables) {
    report r;
    r["harmonics"] = report::array(
        {report{{"upr", 3}, {"phase_deg", -67.5}}, report{{"upr", 130}, {"phase_deg", 2.25}}});
    r["mixed"] = report::array({report{{"a", 1}}, report{{"b", 2}}});
    r["nested"] = report::array(
        {report{{"k", 1}, {"c", {{"x", 0.5}}}}, report{{"k", 2}, {"c", {{"x", 1.5}}}}});
    std::ostringstream out;
    print_text(r, out);
    EXPECT_EQ(out.str(),
              "harmonics\n"
              "  upr  phase deg\n"
              "  3    -67.500000\n"
              "  130  2.250000\n"
              "mixed      {\"a\":1} {\"b\":2}\n"
              "nested 1\n"
              "  k  1\n"
              "  c\n"
              "    x  0.500000\n"
              "nested 2\n"
              "  k  2\n"
              "  c\n"
              "    x  1.500000\n");
}

}  // namespace
}  // namespace vantor::cli
