// SPDX-License-Identifier: Apache-2.0
// Units of length: their names, the conversion of points, and the program's --input-unit and
// --unit run through the built program.
#include "units.h"

#include <cmath>
#include <cstdio>
#include <limits>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "error.h"
#include "point_file.h"
#include "tools/support.h"

namespace vantor::cli {
namespace {

using nlohmann::json;
using testing::program_result;
using testing::report_of;
using testing::run_program;
using testing::scratch;

constexpr double pi = 3.14159265358979323846;

TEST(Units, NamesAndRefusals) {
    const std::pair<const char*, const char*> known[] = {
        {"mm", "mm"},     {"um", "um"}, {"\u00b5m", "um"}, {"\u03bcm", "um"},
        {"micron", "um"}, {"m", "m"},   {"in", "in"},      {"inch", "in"},
    };
    for (const auto& [name, canonical] : known) {
        const length_unit* u = unit_named(name);
        ASSERT_NE(u, nullptr) << name;
        EXPECT_STREQ(u->name, canonical) << name;
    }
    for (const char* unknown : {"", "MM", "cm", "nm", "furlong", "mm ", "microns"}) {
        EXPECT_EQ(unit_named(unknown), nullptr) << unknown;
    }
    // 1 nm in each unit: the decimals resolve it, one fewer does not.
    for (const length_unit& u : length_units()) {
        const double nanometre = 1e-6 / u.millimetres;
        EXPECT_LE(std::pow(10.0, -u.decimals), nanometre * (1 + 1e-12)) << u.name;
        EXPECT_GT(std::pow(10.0, 1 - u.decimals), nanometre) << u.name;
    }
    EXPECT_EQ(nanometre_decimals("um"), 3);
    EXPECT_EQ(nanometre_decimals(""), 6);
}

TEST(Units, ConvertPointsScalesEveryCoordinate) {
    struct conversion {
        const char* from;
        const char* to;
        double factor;
    };
    const conversion cases[] = {
        {"mm", "mm", 1.0},  {"mm", "um", 1000.0},   {"um", "mm", 1e-3},  {"m", "um", 1e6},
        {"in", "mm", 25.4}, {"mm", "in", 1 / 25.4}, {"in", "m", 0.0254}, {"m", "in", 1 / 0.0254},
    };
    for (const conversion& c : cases) {
        point_file in{"p.txt", std::make_unique<vantor::actual>(2), false, {}, 0, {}};
        in.points->append(25.4, -1.5, 0.0);
        in.points->append(spanto::point());  // invalid: stays so
        convert_points(in, *unit_named(c.from), *unit_named(c.to));
        EXPECT_EQ(in.unit, unit_named(c.to)->name);
        const spanto::point& p = (*in.points)[0];
        EXPECT_NEAR(p.x, 25.4 * c.factor, 1e-15 * 25.4 * c.factor) << c.from << " " << c.to;
        EXPECT_NEAR(p.y, -1.5 * c.factor, 1e-15 * 1.5 * c.factor) << c.from << " " << c.to;
        EXPECT_EQ(p.z, 0.0);
        EXPECT_TRUE((*in.points)[1].invalid());
    }
    // A coordinate with no finite value in the unit is refused, not turned infinite.
    point_file big{"big.txt", std::make_unique<vantor::actual>(1), false, {}, 0, {}};
    big.points->append(1.0, 0.5 * std::numeric_limits<double>::max(), 0.0);
    EXPECT_THROW(convert_points(big, *unit_named("mm"), *unit_named("um")), error);
}

// A ring of radius 25 mm about (10, -20, 5) with three lobes of 4 um (8 um of roundness about
// its centre, the minimum-zone circle) at 360 points, written in `unit` (mm per unit given).
std::string ring_file(const std::string& unit, double millimetres) {
    std::string text = "x y z\n";
    char line[160];
    for (int i = 0; i < 360; ++i) {
        const double a = 2 * pi * i / 360;
        const double r = 25 + 0.004 * std::cos(3 * a);
        std::snprintf(line, sizeof line, "%.17g %.17g %.17g\n",
                      (10 + r * std::cos(a)) / millimetres, (-20 + r * std::sin(a)) / millimetres,
                      5 / millimetres);
        text += line;
    }
    const std::string file = scratch("ring-" + unit + ".txt");
    testing::write_file(file, text);
    return file;
}

TEST(UnitsProgram, EachUnitPairConvertsTheRing) {
    struct pair {
        const char* input;   // the file's unit, --input-unit when not mm
        const char* output;  // --unit; null: none given
        double millimetres;  // of the report's unit
    };
    const pair cases[] = {
        {"mm", nullptr, 1.0}, {"mm", "um", 1e-3}, {"m", "um", 1e-3},     {"m", nullptr, 1e3},
        {"in", "mm", 1.0},    {"um", "in", 25.4}, {"in", nullptr, 25.4}, {"mm", "m", 1e3},
    };
    for (const pair& c : cases) {
        const std::string input = c.input;
        std::vector<std::string> args = {
            "roundness", ring_file(input, unit_named(input)->millimetres), "--harmonics", "1"};
        if (input != "mm") args.insert(args.end(), {"--input-unit", input});
        if (c.output != nullptr) args.insert(args.end(), {"--unit", c.output});
        const json r = report_of(args);
        const std::string label = input + " to " + (c.output ? c.output : "(input)");
        EXPECT_EQ(r["unit"], c.output ? c.output : input) << label;
        const double s = 1 / c.millimetres;  // report units per mm
        EXPECT_NEAR(r["value"].get<double>(), 0.008 * s, 1e-9 * s) << label;
        EXPECT_NEAR(r["datum"]["circle"]["radius"].get<double>(), 25 * s, 1e-9 * s) << label;
        const json& centre = r["datum"]["circle"]["centre"];
        EXPECT_NEAR(centre[0].get<double>(), 10 * s, 1e-9 * s) << label;
        EXPECT_NEAR(centre[1].get<double>(), -20 * s, 1e-9 * s) << label;
        EXPECT_NEAR(centre[2].get<double>(), 5 * s, 1e-9 * s) << label;
        // Counts, directions and angles do not scale.
        EXPECT_EQ(r["points"], 360) << label;
        EXPECT_NEAR(r["datum"]["circle"]["normal"][2].get<double>(), 1.0, 1e-12) << label;
        EXPECT_EQ(r["harmonics"][0]["upr"], 3) << label;
        EXPECT_NEAR(r["harmonics"][0]["amplitude"].get<double>(), 0.004 * s, 1e-9 * s) << label;
        EXPECT_NEAR(std::abs(r["harmonics"][0]["phase_deg"].get<double>()), 90, 1e-6) << label;
    }
}

TEST(UnitsProgram, LengthsOnTheCommandLineAreInTheReportUnit) {
    const std::string metres = ring_file("m", 1e3);
    struct run {
        std::vector<std::string> args;
        int status;
        const char* key;
        double expected;  // um
    };
    const run runs[] = {
        // The tolerance: 8 um lies outside 0 .. 7.9 um and within 0 .. 8.1 um.
        {{"roundness", metres, "--upper", "7.9"}, 1, "value", 8.0},
        {{"roundness", metres, "--upper", "8.1"}, 0, "value", 8.0},
        // Datums: about the ring's centre, the lobes' 8 um from 24996 um to 25004 um; 1 um above
        // the ring's plane, every point 1 um below it.
        {{"roundness", metres, "--circle", "10000,-20000,5000,0,0,1,25000"}, 0, "value", 8.0},
        {{"roundness", metres, "--line", "10000,-20000,0,0,0,1"}, 0, "min_radius", 24996.0},
        {{"flatness", metres, "--plane", "0,0,5001,0,0,1"}, 0, "min_deviation", -1.0},
        {{"sphericity", metres, "--centre", "10000,-20000,5000"}, 0, "max_radius", 25004.0},
    };
    for (const run& r : runs) {
        std::vector<std::string> args = r.args;
        args.insert(args.end(), {"--input-unit", "m", "--unit", "um"});
        const json j = report_of(args, r.status);
        EXPECT_NEAR(j[r.key].get<double>(), r.expected, 1e-6) << args[0] << " " << args[2];
    }
}

TEST(UnitsProgram, TheChartsMagnifyAlikeInEveryUnit) {
    const std::string file = ring_file("mm-chart", 1.0);
    std::vector<double> magnifications;
    for (const char* unit : {"mm", "um", "m", "in"}) {
        const std::string plot = scratch(std::string("ring-") + unit + ".svg");
        const json r = report_of({"roundness", file, "--unit", unit, "--plot", plot});
        magnifications.push_back(r["plot"]["magnification"].get<double>());
        const std::string svg = testing::read_file(plot);
        EXPECT_NE(svg.find(std::string(" ") + unit_named(unit)->symbol + " about"),
                  std::string::npos)
            << unit;
    }
    // 8 um on a 24 mm band: x2000.
    for (const double m : magnifications) EXPECT_EQ(m, 2000.0);
}

TEST(UnitsProgram, RefusesUnknownUnits) {
    const std::string file = ring_file("mm-refused", 1.0);
    for (const char* option : {"--unit", "--input-unit"}) {
        for (const char* unit : {"furlong", "MM", ""}) {
            const program_result r = run_program({"flatness", file, option, unit});
            EXPECT_EQ(r.status, 2) << option << " " << unit;
            EXPECT_EQ(r.out, "");
            EXPECT_NE(r.err.find(std::string(option) + ": unknown unit '" + unit +
                                 "': give mm, um (\u00b5m, micron), m or in (inch)"),
                      std::string::npos)
                << r.err;
        }
    }
}

}  // namespace
}  // namespace vantor::cli
