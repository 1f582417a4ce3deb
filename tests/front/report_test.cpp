// SPDX-License-Identifier: Apache-2.0
#include "report.h"

#include <cmath>
#include <cstdlib>
#include <sstream>
#include <string>
#include <utility>

#include <gtest/gtest.h>

namespace vantor::cli {
namespace {

TEST(Report, NumbersHaveSixDecimalsAndNoNegativeZero) {
    EXPECT_EQ(format_fixed(1.5, 6), "1.500000");
    EXPECT_EQ(format_fixed(-0.5, 6), "-0.500000");
    EXPECT_EQ(format_fixed(1234.56789012, 6), "1234.567890");
    EXPECT_EQ(format_fixed(-0.0000004, 6), "0.000000");
    EXPECT_EQ(format_fixed(-0.0, 6), "0.000000");
    EXPECT_EQ(format_fixed(-0.0000005001, 6), "-0.000001");
}

TEST(Report, LengthsShowFiveSignificantDigitsOrANanometre) {
    struct printed {
        double value;
        int decimals;  // of 1 nm: 6 in mm, 3 in um, 9 in m, 8 in in
        const char* text;
    };
    const printed cases[] = {
        // Millimetres: part sizes to 1 nm, as six decimals always printed them; form values
        // with five significant digits.
        {25.0000312, 6, "25.000031"},
        {1234.56789012, 6, "1234.567890"},
        {999.9999999, 6, "1000.000000"},
        {0.3, 6, "0.300000"},
        {0.0079119683, 6, "0.0079120"},
        {-0.0039559, 6, "-0.0039559"},
        {0.00999999, 6, "0.010000"},
        {0.0001, 6, "0.00010000"},
        {5e-5, 6, "5.0000e-05"},
        {1e-15, 6, "1.0000e-15"},
        {0.0, 6, "0.000000"},
        {-0.0, 6, "0.000000"},
        // The same form value in um and m shows the same digits.
        {7.9119683, 3, "7.9120"},
        {7.9119683e-6, 9, "7.9120e-06"},
        {25000.0312, 3, "25000.031"},
        {0.05, 3, "0.050000"},
        {0.025000031, 9, "0.025000031"},
        {1.5, 9, "1.500000000"},
        // 25 mm in inches, to 0.254 nm.
        {25 / 25.4, 8, "0.98425197"},
    };
    for (const printed& c : cases) {
        EXPECT_EQ(format_length(c.value, c.decimals), c.text) << c.value;
    }
}

TEST(Report, LengthsKeepANanometreAndFiveDigitsAtEveryMagnitude) {
    // The text reads back within half a nanometre or half a unit of the fifth digit, whichever
    // is larger, from 1 pm to 1 m in every unit.
    const std::pair<double, int> units[] = {{1.0, 6}, {1e-3, 3}, {1e3, 9}, {25.4, 8}};
    for (const auto& [millimetres, decimals] : units) {
        for (int k = -9; k <= 3; ++k) {
            for (const double mantissa : {1.0, 1.234567891, 3.1415926535, 9.87654321}) {
                const double value = -mantissa * std::pow(10.0, k) / millimetres;
                const std::string text = format_length(value, decimals);
                const double back = std::strtod(text.c_str(), nullptr);
                const double nanometre = 1e-6 / millimetres;
                const double digit = std::pow(10.0, std::floor(std::log10(-value)) - 4);
                EXPECT_LE(std::abs(back - value), 0.5 * std::max(nanometre, digit) * (1 + 1e-9))
                    << text << " for " << value;
            }
        }
    }
}

TEST(Report, TextPrintsEachNumberByItsKind) {
    report r;
    r["unit"] = "um";
    r["value"] = 7.9119683;
    r["datum"] = {{"circle",
                   {{"centre", {10000.0000004, -1e-10, 5000.0}},
                    {"normal", {1e-17, 0.0, 1.0}},
                    {"radius", 25000.0312}}}};
    r["uncertainty"] = {{"centre", {0.00012, 2.5, 0.0}}, {"normal", {3.2e-7, 0.0, 0.00123}}};
    r["harmonics"] =
        report::array({report{{"upr", 3}, {"amplitude", 4.0000001}, {"phase_deg", -90.0}}});
    std::ostringstream out;
    print_text(r, out);
    EXPECT_EQ(out.str(),
              "unit         um\n"
              "value        7.9120\n"
              "datum\n"
              "  circle\n"
              "    centre  10000.000 0.000 5000.000\n"
              "    normal  0.000000 0.000000 1.000000\n"
              "    radius  25000.031\n"
              "uncertainty\n"
              "  centre  0.00012000 2.5000 0.000\n"
              "  normal  3.2000e-07 0 0.0012300\n"
              "harmonics\n"
              "  upr  amplitude  phase deg\n"
              "  3    4.0000     -90.000000\n");
    // Without a unit, as in millimetres.
    std::ostringstream mm;
    print_text({{"value", 0.0079119683}, {"centroid", {1e-10, 25.0, 0.0}}}, mm);
    EXPECT_EQ(mm.str(), "value     0.0079120\ncentroid  0.000000 25.000000 0.000000\n");
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
