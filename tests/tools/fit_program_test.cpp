// SPDX-License-Identifier: Apache-2.0
// `vantor fit`, the form commands without a datum and the circle commands along a direction, run
// through the built program on points whose fitted elements and form values follow from how
// they were made.
#include <cmath>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "fits.h"
#include "reference.h"
#include "tools/support.h"

namespace vantor::cli {
namespace {

using json = nlohmann::ordered_json;  // the reports' key order counts
using testing::data_file;
using testing::program_result;
using testing::run_program;
using testing::scratch;

constexpr double pi = 3.14159265358979323846;

struct xyz {
    double x, y, z;
};

// Writes the points to a file of the scratch directory and returns its path.
std::string point_file(const std::string& name, const std::vector<xyz>& points) {
    std::string text;
    char line[128];
    for (const xyz& p : points) {
        std::snprintf(line, sizeof line, "%.17g %.17g %.17g\n", p.x, p.y, p.z);
        text += line;
    }
    testing::write_file(scratch(name), text);
    return scratch(name);
}

// Runs the program with --json and returns the report; the run must end with `status` (any
// status when it is -1).
json report_of(std::vector<std::string> args, int status = 0) {
    args.push_back("--json");
    const program_result r = run_program(args);
    if (status >= 0) {
        EXPECT_EQ(r.status, status) << r.err;
    }
    if (status == 0) {
        EXPECT_EQ(r.err, "");
    }
    return json::parse(r.out.empty() ? "null" : r.out);
}

void expect_values(const json& value, const std::vector<double>& expected, double tolerance,
                   const std::string& what) {
    if (expected.size() == 1) {
        EXPECT_NEAR(value.get<double>(), expected[0], tolerance) << what;
        return;
    }
    ASSERT_EQ(value.size(), expected.size()) << what;
    for (std::size_t k = 0; k < expected.size(); ++k) {
        EXPECT_NEAR(value[k].get<double>(), expected[k], tolerance) << what << "[" << k << "]";
    }
}

// Points on a cylinder of radius r about the axis through (cx, cy) along z, from z0 to z1, with
// the radial deviation `form(a)` at angle a.
std::vector<xyz> cylinder_points(double cx, double cy, double r, double z0, double z1,
                                 const std::function<double(double)>& form) {
    std::vector<xyz> points;
    for (int j = 0; j < 8; ++j) {
        for (int i = 0; i < 16; ++i) {
            const double a = 2 * pi * i / 16, z = z0 + (z1 - z0) * j / 7;
            const double radius = r + form(a);
            points.push_back({cx + radius * std::cos(a), cy + radius * std::sin(a), z});
        }
    }
    return points;
}

// Points on the cone of radius 2 + z / 2 about the z axis (apex at z = -4, half angle
// atan(1/2)) from z = 0 to 4, moved by `form(a)` along the surface's outward normal at angle a.
// (Moved so, the points leave the least-squares cone in place when the form is balanced at each
// height; moved radially, they would tilt its generatrix by a second-order amount.)
std::vector<xyz> cone_points(const std::function<double(double)>& form) {
    const double sine = 1 / std::sqrt(5.0), cosine = 2 / std::sqrt(5.0);
    std::vector<xyz> points;
    for (int j = 0; j < 5; ++j) {
        for (int i = 0; i < 16; ++i) {
            const double a = 2 * pi * i / 16, d = form(a);
            const double radius = 2 + 0.5 * j + d * cosine, z = j - d * sine;
            points.push_back({radius * std::cos(a), radius * std::sin(a), z});
        }
    }
    return points;
}

// The 6 vertices of an octahedron and the 8 of a cube about (1, 2, 3), at distances r + d and
// r - d from it.
std::vector<xyz> sphere_points(double r, double d) {
    std::vector<xyz> points;
    const double s = (r - d) / std::sqrt(3.0);
    for (int k = 0; k < 3; ++k) {
        for (const double sign : {-1.0, 1.0}) {
            double v[3] = {0, 0, 0};
            v[k] = sign * (r + d);
            points.push_back({1 + v[0], 2 + v[1], 3 + v[2]});
        }
    }
    for (int k = 0; k < 8; ++k) {
        points.push_back({1 + (k & 1 ? s : -s), 2 + (k & 2 ? s : -s), 3 + (k & 4 ? s : -s)});
    }
    return points;
}

const std::function<double(double)> exact = [](double) { return 0.0; };
const std::function<double(double)> four_lobes = [](double a) { return 0.001 * std::cos(4 * a); };

TEST(FitProgram, ReportsEachElementUnderItsParametersNames) {
    struct fit_case {
        const char* element;
        std::vector<xyz> points;
        // Each parameter in the report's order, with its value.
        std::vector<std::pair<const char*, std::vector<double>>> parameters;
    };
    std::vector<xyz> line;
    for (double t = -5; t <= 5; ++t) line.push_back({1 + t, 2 + t, 3});
    std::vector<xyz> plane;
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 3; ++j) plane.push_back({1.0 * i, 1.0 * j, 5 - 0.5 * i});
    }
    const double s = 1 / std::sqrt(2.0);
    const fit_case cases[] = {
        {"line", line, {{"origin", {1, 2, 3}}, {"direction", {s, s, 0}}}},
        // Normals and axis directions are turned towards positive z.
        {"plane",
         plane,
         {{"origin", {1.5, 1, 4.25}}, {"normal", {0.5 / std::sqrt(1.25), 0, 1 / std::sqrt(1.25)}}}},
        {"sphere", sphere_points(4, 0), {{"centre", {1, 2, 3}}, {"radius", {4}}}},
        {"cylinder",
         cylinder_points(1, 2, 3, -7, 7, exact),
         {{"origin", {1, 2, 0}}, {"direction", {0, 0, 1}}, {"radius", {3}}}},
        // The direction points from the apex towards increasing radius; the half angle in degrees.
        {"cone",
         cone_points(exact),
         {{"apex", {0, 0, -4}},
          {"direction", {0, 0, 1}},
          {"half_angle", {std::atan(0.5) * 180 / pi}}}},
    };
    for (const fit_case& c : cases) {
        const std::string file = point_file(std::string(c.element) + ".txt", c.points);
        const json r = report_of({"fit", c.element, file});
        EXPECT_EQ(r["element"], c.element);
        EXPECT_EQ(r["points"], c.points.size());
        ASSERT_EQ(r["fits"].size(), 1u) << c.element;
        const json& fit = r["fits"]["gauss"];
        std::vector<std::string> keys = {"valid", "status"}, uncertain;
        for (const auto& [name, value] : c.parameters) {
            keys.push_back(name);
            uncertain.push_back(name);
            expect_values(fit[name], value, 1e-9, std::string(c.element) + " " + name);
        }
        keys.insert(keys.end(), {"deviation", "rms", "iterations", "uncertainty"});
        std::vector<std::string> reported, reported_uncertain;
        for (const auto& item : fit.items()) reported.push_back(item.key());
        for (const auto& item : fit["uncertainty"].items())
            reported_uncertain.push_back(item.key());
        EXPECT_EQ(reported, keys) << c.element;
        EXPECT_EQ(reported_uncertain, uncertain) << c.element;
        EXPECT_EQ(fit["valid"], true);
        EXPECT_EQ(fit["status"], "ok");
        EXPECT_LT(fit["deviation"].get<double>(), 1e-9) << c.element;
    }
}

TEST(FitProgram, CirclesUnderEveryCriterionWithTheirContacts) {
    // ring8: points 0, 2, 4, 6 at 4.9 from (1, 2, 3), points 1, 3, 5, 7 at 5.2.
    const json r = report_of({"fit", "circle", data_file("ring8.csv"), "--criterion", "all"});
    const struct {
        const char* criterion;
        double radius;
        std::vector<int> contacts;
    } cases[] = {
        {"gauss", 5.05, {}},
        {"zone", 5.05, {0, 1, 2, 3, 4, 5, 6, 7}},
        {"inscribed", 4.9, {0, 2, 4, 6}},
        {"circumscribed", 5.2, {1, 3, 5, 7}},
    };
    ASSERT_EQ(r["fits"].size(), 4u);
    for (const auto& c : cases) {
        const json& fit = r["fits"][c.criterion];
        expect_values(fit["centre"], {1, 2, 3}, 1e-9, c.criterion);
        expect_values(fit["radius"], {c.radius}, 1e-9, c.criterion);
        EXPECT_NEAR(fit["deviation"].get<double>(), 0.3, 1e-9) << c.criterion;
        const bool gauss = c.criterion == std::string("gauss");
        EXPECT_EQ(fit["uncertainty"].is_object(), gauss) << c.criterion;
        EXPECT_EQ(fit.contains("contacts"), !gauss) << c.criterion;
        if (!gauss) {
            EXPECT_EQ(fit["contacts"].get<std::vector<int>>(), c.contacts) << c.criterion;
        }
    }

    // Along a direction, which becomes the normal as given, unit length.
    const json along =
        report_of({"fit", "circle", data_file("ring8.csv"), "--direction", "0,0,-2"});
    expect_values(along["fits"]["gauss"]["normal"], {0, 0, -1}, 0, "normal");
}

TEST(FitProgram, FailuresSayWhyAndExitWithStatus2) {
    std::vector<xyz> collinear;
    for (int t = 0; t < 6; ++t) collinear.push_back({1.0 * t, 2.0 * t, 3.0 * t});
    const std::string on_a_line = point_file("collinear.txt", collinear);
    const std::string one_point = point_file("one-point.txt", {{1, 2, 3}});
    const std::string ring = data_file("ring8.csv");  // in the plane z = 3
    const std::string three = data_file("cylinder3.txt");
    // The reference a form command without a datum fits, as its messages name it.
    const auto fitted = [](const char* element) {
        return reference_name(default_reference, element) + ": ";
    };
    struct failure_case {
        std::vector<std::string> args;
        std::string message;    // after "vantor: <file>: "
        const char* criterion;  // the failed fit of `vantor fit`; null for a form command
        const char* status;     // its status in the report
    };
    const failure_case cases[] = {
        {{"fit", "cylinder", three},
         "least-squares cylinder: too few points: a cylinder needs at least 5 valid points, the "
         "set has 3",
         "gauss",
         "too_few_points"},
        {{"fit", "plane", on_a_line},
         "least-squares plane: the points lie on one line: they determine no plane",
         "gauss",
         "degenerate"},
        {{"fit", "sphere", ring},
         "least-squares sphere: the points lie in one plane: they determine no sphere",
         "gauss",
         "degenerate"},
        {{"fit", "line", ring, "--criterion", "inscribed"},
         "maximum-inscribed line: criterion inscribed is not defined for a line",
         "inscribed",
         "refused"},
        {{"flatness", on_a_line},
         fitted("plane") + "the points lie on one line: they determine no plane",
         nullptr,
         "degenerate"},
        {{"straightness", one_point},
         fitted("line") + "too few points: a line needs at least 2 valid points, the set has 1",
         nullptr,
         "too_few_points"},
        {{"sphericity", ring},
         fitted("sphere") + "the points lie in one plane: they determine no sphere",
         nullptr,
         "degenerate"},
        {{"cylindricity", three},
         fitted("cylinder") + "too few points: a cylinder needs at least 5 valid points, the "
                              "set has 3",
         nullptr,
         "too_few_points"},
        {{"conicity", ring},
         fitted("cone") + "the points lie in one plane: they determine no cone",
         nullptr,
         "degenerate"},
        {{"roundness", on_a_line},
         fitted("circle") + "the points lie on one line: they determine no circle",
         nullptr,
         "degenerate"},
    };
    for (const failure_case& c : cases) {
        const std::string& file = c.args[c.args[0] == "fit" ? 2 : 1];
        std::vector<std::string> args = c.args;
        args.push_back("--json");
        const program_result r = run_program(args);
        EXPECT_EQ(r.status, 2) << c.message;
        EXPECT_EQ(r.err, "vantor: " + file + ": " + c.message + "\n");
        if (c.criterion == nullptr) {  // the failure is the report
            EXPECT_EQ(
                json::parse(r.out),
                json({{"valid", false}, {"status", c.status}, {"error", file + ": " + c.message}}));
            continue;
        }
        const json fit = json::parse(r.out)["fits"][c.criterion];
        EXPECT_EQ(fit, json({{"valid", false},
                             {"status", c.status},
                             {"error", c.message.substr(c.message.find(": ") + 2)}}));
    }
}

TEST(FitProgram, FormCommandsWithoutADatumMeasureAboutTheFittedElement) {
    // Each set's form about its fitted element follows from its symmetry: the least-squares
    // element is the nominal one, and so is the minimum-zone one.
    const double tilt = std::tan(0.05 * pi / 180);  // a face tilted 0.05 degrees
    std::vector<xyz> face, edge;
    for (int i = 0; i < 10; ++i) {
        for (int j = 0; j < 6; ++j) {
            face.push_back({10.0 * i, 10.0 * j, tilt * 10 * i + ((i + j) % 2 ? 0.001 : -0.001)});
        }
    }
    // +, -, -, +, ... : symmetric about the middle, so the least-squares line is y = 10.
    for (int i = 0; i < 20; ++i) {
        edge.push_back({5.0 * i, 10 + (i % 4 == 0 || i % 4 == 3 ? 0.002 : -0.002), 5});
    }
    const struct {
        const char* command;
        const char* element;
        std::string file;
        double value;
        const char* extremes;
    } cases[] = {
        {"flatness", "plane", point_file("face.txt", face), 0.002 * std::cos(std::atan(tilt)),
         "deviation"},
        {"straightness", "line", point_file("edge.txt", edge), 0.004, "diameter"},
        {"sphericity", "sphere", point_file("ball.txt", sphere_points(5, 0.001)), 0.002,
         "deviation"},
        {"cylindricity", "cylinder",
         point_file("shaft.txt", cylinder_points(0, 0, 12, 0, 30, four_lobes)), 0.002, "deviation"},
        {"conicity", "cone", point_file("cone.txt", cone_points(four_lobes)), 0.002, "deviation"},
    };
    for (const auto& c : cases) {
        const json r = report_of({c.command, c.file});
        EXPECT_NEAR(r["value"].get<double>(), c.value, 1e-9) << c.command;
        EXPECT_EQ(r["reference"], reference_name(default_reference, c.element));
        EXPECT_NEAR(r[std::string("max_") + c.extremes].get<double>() -
                        (c.extremes == std::string("diameter")
                             ? 0.0
                             : r[std::string("min_") + c.extremes].get<double>()),
                    c.value, 1e-9)
            << c.command;
        // The value is the fit's deviation, and the datum the fitted element.
        const char* criterion = vantor::criterion_name(default_reference);
        const json fit =
            report_of({"fit", c.element, c.file, "--criterion", criterion})["fits"][criterion];
        EXPECT_EQ(r["value"], fit["deviation"]) << c.command;
        if (std::string(c.element) != "cone") {
            for (const auto& item : r["datum"][c.element].items()) {
                EXPECT_EQ(item.value(), fit[item.key()]) << c.command << " " << item.key();
            }
        }
    }
    // Given datums keep their meaning: the tilted face measured along z, the shaft against a
    // cylinder 0.01 too small (cylindricity about a given cylinder: the largest distance from it).
    EXPECT_NEAR(
        report_of({"flatness", cases[0].file, "--direction", "0,0,1"})["value"].get<double>(),
        90 * tilt + 0.002, 1e-9);
    EXPECT_NEAR(
        report_of({"cylindricity", cases[3].file, "--cylinder", "0,0,0,0,0,1,11.99"})["value"]
            .get<double>(),
        0.011, 1e-9);
}

TEST(FitProgram, RoundnessAndCirclesAlongTheDirectionGiven) {
    // A helical scan: one turn rising 0.2 along z (within a profile's 1 % of the radius),
    // three lobes of 0.004 about the z axis. About that axis the roundness is 0.008; the
    // least-squares plane of the helix is tilted.
    const auto scan = [](const char* name, double rise) {
        std::vector<xyz> helix;
        for (int i = 0; i < 720; ++i) {
            const double a = 2 * pi * i / 720, r = 25 + 0.004 * std::cos(3 * a);
            helix.push_back({10 + r * std::cos(a), 20 + r * std::sin(a), rise * i / 720});
        }
        return point_file(name, helix);
    };
    const std::string file = scan("helix.txt", 0.2);
    const json along = report_of({"roundness", file, "--direction", "0,0,1"});
    EXPECT_NEAR(along["value"].get<double>(), 0.008, 1e-9);
    EXPECT_EQ(along["direction_from"], "--direction");
    expect_values(along["datum"]["circle"]["normal"], {0, 0, 1}, 0, "normal");
    expect_values(along["datum"]["circle"]["centre"], {10, 20, 0.1 - 0.1 / 720}, 1e-9, "centre");
    const char* fitted = vantor::criterion_name(default_reference);
    const json circle = report_of({"circle", file, "--direction", "0,0,1", "--criterion", fitted});
    EXPECT_EQ(circle["circles"][fitted]["centre"], along["datum"]["circle"]["centre"]);
    EXPECT_NEAR(circle["circles"][fitted]["deviation"].get<double>(), 0.008, 1e-9);
    // The analysis about the same axis.
    const json analysed =
        report_of({"roundness", file, "--direction", "0,0,1", "--filter", "none"});
    EXPECT_NEAR(analysed["ront"].get<double>(), 0.008, 1e-9);
    EXPECT_EQ(analysed["direction_from"], "--direction");

    // Without a direction the axis is the normal of the least-squares plane.
    const json plain = report_of({"roundness", file});
    EXPECT_EQ(plain["direction_from"], "least-squares plane");
    const json plane = report_of({"fit", "plane", file})["fits"]["gauss"];
    expect_values(plain["datum"]["circle"]["normal"], plane["normal"].get<std::vector<double>>(),
                  1e-15, "normal");

    // Rising 5 in a turn the scan is no profile: refused about any axis rather than measured.
    const std::string steep = scan("steep_helix.txt", 5.0);
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"roundness", steep},
          std::vector<std::string>{"roundness", steep, "--direction", "0,0,1"}}) {
        const program_result r = run_program(args);
        EXPECT_EQ(r.status, 2);
        EXPECT_NE(r.err.find("more than a profile may"), std::string::npos) << r.err;
    }
}

// A sample measurement of tools/samples.
std::string sample(const char* name) {
    return std::string(VANTOR_TEST_DATA) + "/../../tools/samples/" + name;
}

TEST(FitProgram, FormCommandsMeasureAboutTheReferenceAsked) {
    const struct {
        const char* command;
        element_kind element;
        const char* sample;
    } cases[] = {
        {"straightness", element_kind::line, "edge.txt"},
        {"flatness", element_kind::plane, "face.txt"},
        {"sphericity", element_kind::sphere, "ball.txt"},
        {"cylindricity", element_kind::cylinder, "shaft.txt"},
        {"conicity", element_kind::cone, "cone.txt"},
    };
    for (const auto& c : cases) {
        const std::string file = sample(c.sample), element = vantor::info_of(c.element).name;
        for (const vantor::criterion criterion : vantor::info_of(c.element).criteria) {
            const char* option = vantor::criterion_name(criterion);
            const std::string what = std::string(c.command) + " --reference " + option;
            const json fit =
                report_of({"fit", element, file, "--criterion", option}, -1)["fits"][option];
            const program_result run =
                run_program({c.command, file, "--reference", option, "--json"});
            if (!fit["valid"].get<bool>()) {  // the inscribed sphere of a cap
                EXPECT_EQ(run.status, 2) << what;
                EXPECT_EQ(run.err, "vantor: " + file + ": " + reference_name(criterion, element) +
                                       ": " + fit["error"].get<std::string>() + "\n");
                continue;
            }
            ASSERT_EQ(run.status, 0) << what << run.err;
            const json r = json::parse(run.out);
            EXPECT_EQ(r["reference"], reference_name(criterion, element)) << what;
            EXPECT_EQ(r["value"], fit["deviation"]) << what;
        }
        // By default about the minimum zone, which no other reference narrows (on these
        // measured parts the least-squares element gives strictly more).
        const json plain = report_of({c.command, file});
        EXPECT_EQ(plain["reference"], reference_name(vantor::criterion::zone, element));
        const json gauss = report_of({c.command, file, "--reference", "gauss"});
        EXPECT_LT(plain["value"].get<double>(), gauss["value"].get<double>()) << c.command;
    }
    const program_result refused =
        run_program({"flatness", sample("face.txt"), "--reference", "inscribed"});
    EXPECT_EQ(refused.status, 2);
    EXPECT_EQ(refused.err,
              "vantor: --reference: a plane is fitted by gauss or zone, not by 'inscribed' (see "
              "vantor flatness --help)\n");
}

TEST(FitProgram, FitOptionsSteerTheReferenceOfAFormCommandOnly) {
    // Each form command on a sample; for a line, cylinder or cone the sample's axis and one 45
    // degrees from it; the datums the command takes, with which no reference is fitted.
    const struct {
        const char* command;
        element_kind element;
        const char* sample;
        const char* axis;  // null: the element has none
        const char* far;
        std::vector<std::vector<std::string>> datums;
    } cases[] = {
        {"straightness",
         element_kind::line,
         "edge.txt",
         "1,0,0",
         "1,1,0",
         {{"--line", "0,10,5,1,0,0"}}},
        {"flatness",
         element_kind::plane,
         "face.txt",
         nullptr,
         nullptr,
         {{"--plane", "0,0,0,0,0,1"}, {"--direction", "0,0,1"}}},
        {"roundness",
         element_kind::circle,
         "bore.txt",
         nullptr,
         nullptr,
         {{"--circle", "40,30,-12.5,0,0,1,25"}, {"--line", "40,30,0,0,0,1"}}},
        {"sphericity",
         element_kind::sphere,
         "ball.txt",
         nullptr,
         nullptr,
         {{"--sphere", "150,80,35,12.7"}, {"--centre", "150,80,35"}}},
        {"cylindricity",
         element_kind::cylinder,
         "shaft.txt",
         "0,0,1",
         "1,0,1",
         {{"--cylinder", "0,0,0,0,0,1,12"}}},
        {"conicity",
         element_kind::cone,
         "cone.txt",
         "0,0,1",
         "1,0,1",
         {{"--cone", "0,0,0,20,0,0,30,12"}, {"--axis", "0,0,0,0,0,1"}}},
    };
    const std::vector<std::string> budget = {"--time-budget", "0.1"};
    for (const auto& c : cases) {
        const std::string file = sample(c.sample), element = vantor::info_of(c.element).name;
        const auto command = [&](const std::vector<std::string>& options) {
            std::vector<std::string> args = {c.command, file};
            args.insert(args.end(), options.begin(), options.end());
            return args;
        };
        // The minimax reference's proof is the one `vantor fit` gives for the same fit.
        const json plain = report_of(command(budget));
        ASSERT_TRUE(plain["proof"].is_object()) << c.command;
        EXPECT_TRUE(plain["proof"]["proved"].is_boolean()) << c.command;
        const json fit = report_of(
            {"fit", element, file, "--criterion", "zone", budget[0], budget[1]})["fits"]["zone"];
        EXPECT_EQ(plain["proof"], fit["proof"]) << c.command;
        // A budget too short for any work proves nothing.
        EXPECT_EQ(report_of(command({"--time-budget", "1e-9"}))["proof"]["proved"], false)
            << c.command;
        // A least-squares reference has no proof (roundness's --reference asks for the analysis).
        if (c.element != element_kind::circle) {
            EXPECT_FALSE(report_of(command({"--reference", "gauss"})).contains("proof"))
                << c.command;
        }

        // With a datum nothing is fitted: each option that steers the fit is refused.
        for (const std::vector<std::string>& datum : c.datums) {
            std::vector<std::vector<std::string>> steering = {budget};
            if (c.axis) steering.push_back({"--max-tilt", "1"});
            if (c.axis && datum[0] != "--axis") steering.push_back({"--axis", c.axis});
            for (const std::vector<std::string>& option : steering) {
                std::vector<std::string> args = command(datum);
                args.insert(args.end(), option.begin(), option.end());
                const program_result r = run_program(args);
                const std::string what = c.command + (" " + datum[0]) + " " + option[0];
                EXPECT_EQ(r.status, 2) << what;
                EXPECT_EQ(r.out, "") << what;
                EXPECT_EQ(r.err.rfind("vantor: " + option[0] + " only steers the " + element +
                                          " fitted without a datum: not with ",
                                      0),
                          0u)
                    << r.err;
                EXPECT_NE(r.err.find(datum[0]), std::string::npos) << r.err;
            }
        }

        if (c.axis == nullptr) continue;
        // About the sample's own axis the reference is the one fitted without it; 45 degrees
        // away, no reference lies within the largest tilt.
        const json steered =
            report_of(command({"--axis", c.axis, "--max-tilt", "1", budget[0], budget[1]}));
        EXPECT_NEAR(steered["value"].get<double>(), plain["value"].get<double>(), 1e-12)
            << c.command;
        const program_result far =
            run_program(command({"--axis", c.far, "--max-tilt", "0.01", budget[0], budget[1]}));
        EXPECT_EQ(far.status, 2) << c.command;
        EXPECT_EQ(
            far.err.rfind(
                "vantor: " + file + ": " + reference_name(default_reference, element) + ": ", 0),
            0u)
            << far.err;
        EXPECT_NE(far.err.find("largest tilt"), std::string::npos) << far.err;
    }
}

TEST(FitProgram, RoundnessAboutTheReferenceCircleAsked) {
    // The bore's form differs about each reference circle. Without a datum the roundness is
    // measured about the minimum-zone circle; --reference chooses another and adds the RON
    // parameters, unfiltered about the same circle and axis, so the value agrees to rounding.
    const std::string file = sample("bore.txt");
    for (const std::vector<std::string>& direction :
         {std::vector<std::string>{}, std::vector<std::string>{"--direction", "0,0,1"}}) {
        const auto run = [&](std::vector<std::string> args) {
            args.insert(args.end(), direction.begin(), direction.end());
            return report_of(args);
        };
        const json plain = run({"roundness", file});
        EXPECT_EQ(plain["reference"], "minimum-zone circle");
        for (const vantor::criterion_info& c : vantor::criteria()) {
            const json r = run({"roundness", file, "--reference", c.name});
            const json fit = run({"circle", file, "--criterion", c.name})["circles"][c.name];
            EXPECT_EQ(r["reference"], c.name);
            // The bore was scanned at equal angles about its centre: about its least-squares
            // axis, whatever the reference, the profile is transformed as it was recorded.
            EXPECT_FALSE(r.contains("resampled")) << c.name;
            EXPECT_NEAR(r["value"].get<double>(), fit["deviation"].get<double>(), 1e-12) << c.name;
            expect_values(r["datum"]["circle"]["centre"], fit["centre"].get<std::vector<double>>(),
                          1e-12, c.name);
            EXPECT_NEAR(r["datum"]["circle"]["radius"].get<double>(), fit["radius"].get<double>(),
                        1e-12)
                << c.name;
            if (c.criterion != default_reference) continue;
            EXPECT_NEAR(r["value"].get<double>(), plain["value"].get<double>(), 1e-12);
            EXPECT_EQ(r["datum"]["circle"]["normal"], plain["datum"]["circle"]["normal"]);
            expect_values(r["datum"]["circle"]["centre"],
                          plain["datum"]["circle"]["centre"].get<std::vector<double>>(), 1e-12,
                          "centre");
        }
        EXPECT_LT(plain["value"].get<double>(),
                  run({"roundness", file, "--reference", "gauss"})["value"].get<double>());
    }
}

}  // namespace
}  // namespace vantor::cli
