// SPDX-License-Identifier: Apache-2.0
// Runs the built program on the small files of tests/data/cli and checks reports, JSON, exit
// statuses and messages.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <csignal>
#include <filesystem>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <spanto/spanto.h>
#include <nlohmann/json.hpp>

#include "tools/support.h"

namespace vantor::cli {
namespace {

using nlohmann::json;
using testing::data_file;
using testing::program_result;
using testing::read_file;
using testing::run_program;
using testing::scratch;

// Runs the program with --json and returns the report; the run must succeed with `status`.
json report_of(std::vector<std::string> args, int status = 0) {
    args.push_back("--json");
    const program_result r = run_program(args);
    EXPECT_EQ(r.status, status) << r.err;
    EXPECT_EQ(r.err, "");
    return json::parse(r.out);
}

void expect_triple(const json& v, double x, double y, double z, double tolerance) {
    ASSERT_TRUE(v.is_array()) << v;
    ASSERT_EQ(v.size(), 3u) << v;
    EXPECT_NEAR(v[0].get<double>(), x, tolerance) << v;
    EXPECT_NEAR(v[1].get<double>(), y, tolerance) << v;
    EXPECT_NEAR(v[2].get<double>(), z, tolerance) << v;
}

// --- Reports.

TEST(Program, InfoPrintsCountBoxAndCentroidAsAlignedText) {
    const program_result r = run_program({"info", data_file("plane4.txt")});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, "file          " + data_file("plane4.txt") +
                         "\n"
                         "points        4\n"
                         "unit          mm\n"
                         "format        text\n"
                         "bounding box\n"
                         "  min  0.000000 0.000000 -0.020000\n"
                         "  max  10.000000 10.000000 0.010000\n"
                         "centroid      5.000000 5.000000 -0.001250\n");
}

TEST(Program, FlatnessAgainstAPlane) {
    // Signed distances 0.01, -0.02, 0.005 and 0 from z = 0.
    const json r = report_of({"flatness", data_file("plane4.txt"), "--plane", "0,0,0,0,0,1"});
    EXPECT_EQ(r["feature"], "flatness");
    EXPECT_EQ(r["points"], 4);
    EXPECT_NEAR(r["value"].get<double>(), 0.03, 1e-12);
    EXPECT_NEAR(r["min_deviation"].get<double>(), -0.02, 1e-12);
    EXPECT_NEAR(r["max_deviation"].get<double>(), 0.01, 1e-12);
    expect_triple(r["datum"]["plane"]["normal"], 0, 0, 1, 0);
    EXPECT_FALSE(r.contains("tolerance"));
}

TEST(Program, FlatnessAlongADirectionEndsOnTheMiddlePlane) {
    const json r = report_of({"flatness", data_file("plane4.txt"), "--direction", "0,0,-2"});
    EXPECT_NEAR(r["value"].get<double>(), 0.03, 1e-12);
    EXPECT_NEAR(r["min_deviation"].get<double>(), -0.015, 1e-12);
    EXPECT_NEAR(r["max_deviation"].get<double>(), 0.015, 1e-12);
    // Halfway between z = 0.01 and z = -0.02, whatever its normal's sense.
    EXPECT_NEAR(r["datum"]["plane"]["origin"][2].get<double>(), -0.005, 1e-12);
    EXPECT_NEAR(std::abs(r["datum"]["plane"]["normal"][2].get<double>()), 1.0, 1e-12);
}

TEST(Program, ToleranceVerdictAndExitStatus) {
    const std::string file = data_file("plane4.txt");
    // Value 0.03: outside 0 .. 0.02, within 0 .. 0.031 and within 0.025 +- 0.01.
    json r = report_of({"flatness", file, "--plane", "0,0,0,0,0,1", "--upper", "0.02"}, 1);
    EXPECT_EQ(r["tolerance"],
              json({{"nominal", 0.0}, {"lower", 0.0}, {"upper", 0.02}, {"within", false}}));
    r = report_of({"flatness", file, "--plane", "0,0,0,0,0,1", "--upper", "0.031"}, 0);
    EXPECT_EQ(r["tolerance"]["within"], true);
    r = report_of({"flatness", file, "--plane", "0,0,0,0,0,1", "--nominal", "0.025", "--lower",
                   "-0.01", "--upper", "0.01"},
                  0);
    EXPECT_EQ(r["tolerance"]["within"], true);
    r = report_of({"flatness", file, "--plane", "0,0,0,0,0,1", "--nominal", "0.04", "--lower",
                   "-0.005", "--upper", "0.01"},
                  1);
    EXPECT_EQ(r["tolerance"]["within"], false);

    const program_result text =
        run_program({"flatness", file, "--plane", "0,0,0,0,0,1", "--upper", "0.02"});
    EXPECT_EQ(text.status, 1);
    EXPECT_NE(text.out.find("tolerance\n  nominal  0.000000\n  lower    0.000000\n"
                            "  upper    0.020000\n  within   no\n"),
              std::string::npos)
        << text.out;
}

TEST(Program, RoundnessAboutAGivenCircleAndAxis) {
    // Eight points alternately 4.9 and 5.2 from the axis through (1, 2) along z.
    const std::string file = data_file("ring8.csv");
    json r = report_of({"roundness", file, "--circle", "1,2,3,0,0,1,5"});
    EXPECT_NEAR(r["value"].get<double>(), 0.3, 1e-9);
    EXPECT_EQ(r["reference"], "given circle");
    EXPECT_NEAR(r["datum"]["circle"]["radius"].get<double>(), 5.0, 0);
    EXPECT_FALSE(r.contains("min_radius"));

    r = report_of({"roundness", file, "--line", "1,2,0,0,0,1"});
    EXPECT_NEAR(r["value"].get<double>(), 0.3, 1e-9);
    EXPECT_NEAR(r["min_radius"].get<double>(), 4.9, 1e-9);
    EXPECT_NEAR(r["max_radius"].get<double>(), 5.2, 1e-9);
    expect_triple(r["datum"]["line"]["direction"], 0, 0, 1, 0);
}

TEST(Program, RoundnessAboutTheMinimumZoneCircle) {
    // By symmetry the minimum-zone circle has the centre (1, 2, 3).
    for (const std::vector<std::string>& direction :
         {std::vector<std::string>{}, std::vector<std::string>{"--direction", "0,0,1"}}) {
        std::vector<std::string> args = {"roundness", data_file("ring8.csv")};
        args.insert(args.end(), direction.begin(), direction.end());
        const json r = report_of(args);
        EXPECT_NEAR(r["value"].get<double>(), 0.3, 1e-6);
        EXPECT_NEAR(r["min_radius"].get<double>(), 4.9, 1e-6);
        EXPECT_NEAR(r["max_radius"].get<double>(), 5.2, 1e-6);
        expect_triple(r["datum"]["circle"]["centre"], 1, 2, 3, 1e-6);
        EXPECT_EQ(r["reference"], "minimum-zone circle");
    }
}

TEST(Program, RoundnessOfABoreMeasuredInSections) {
    // Four sections of 72 points at random angles, 20 mm apart over 60 mm, radius 20, on a
    // tilted axis through the origin (heights along it are the section heights): section k has
    // a 3-lobed form of amplitude a_k, so its roundness is at most 2 a_k and, with a point
    // within 5 degrees of each crest and trough (3 x 5 degrees of the lobes), about
    // 2 a_k cos(15 degrees): at least 0.9 x 2 a_k.
    const spanto::vector axis = spanto::vector(0.3, -0.2, 1).unit();
    const spanto::vector u = (axis ^ spanto::vector(1, 0, 0)).unit(), w = axis ^ u;
    const double amplitude[] = {0.001, 0.003, 0.002, 0.0015};
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> within(0, 5);
    std::ostringstream text;
    text.precision(17);
    for (int k = 0; k < 4; ++k) {
        for (int i = 0; i < 72; ++i) {
            // One point at random in every 5 degrees.
            const double t = (i * 5 + within(rng)) * 3.14159265358979323846 / 180;
            const double r = 20 + amplitude[k] * std::cos(3 * t);
            const spanto::point p = spanto::point(0, 0, 0) + 20.0 * k * axis + r * std::cos(t) * u +
                                    r * std::sin(t) * w;
            text << p.x << ' ' << p.y << ' ' << p.z << '\n';
        }
    }
    const std::string file = scratch("long_bore.txt");
    testing::write_file(file, text.str());

    // As one profile it is refused, naming the way to split it.
    const program_result refused = run_program({"roundness", file});
    EXPECT_EQ(refused.status, 2);
    EXPECT_EQ(refused.out, "");
    EXPECT_NE(refused.err.find("more than a profile may"), std::string::npos) << refused.err;
    EXPECT_NE(refused.err.find("--sections auto"), std::string::npos) << refused.err;

    for (const char* how : {"auto", "4", "10,30,50"}) {
        SCOPED_TRACE(how);
        const json r = report_of({"roundness", file, "--sections", how});
        ASSERT_EQ(r["sections"].size(), 4u) << r;
        for (int k = 0; k < 4; ++k) {
            const json& s = r["sections"][k];
            EXPECT_EQ(s["section"], k + 1);
            EXPECT_EQ(s["points"], 72);
            EXPECT_NEAR(s["height"].get<double>(), 20.0 * k, 1e-6);
            EXPECT_LE(s["roundness"].get<double>(), 2 * amplitude[k] + 1e-9);
            EXPECT_GE(s["roundness"].get<double>(), 0.9 * 2 * amplitude[k]);
            EXPECT_EQ(s["reference"], "minimum-zone circle");
        }
        EXPECT_EQ(r["largest_section"], 2);
        EXPECT_EQ(r["value"], r["sections"][1]["roundness"]);
    }
    // A verdict about the largest; a split that merges profiles is refused.
    EXPECT_EQ(run_program({"roundness", file, "--sections", "auto", "--upper", "0.004"}).status, 1);
    const program_result merged = run_program({"roundness", file, "--sections", "2"});
    EXPECT_EQ(merged.status, 2);
    EXPECT_NE(merged.err.find(" of 2 spread "), std::string::npos) << merged.err;
    const program_result filtered =
        run_program({"roundness", file, "--sections", "auto", "--filter", "15"});
    EXPECT_EQ(filtered.status, 0) << filtered.err;
    EXPECT_NE(filtered.out.find("sections 4\n"), std::string::npos) << filtered.out;
}

TEST(Program, CirclesOfAllFourCriteria) {
    // The inner points lie on a square of circumradius 4.9, the outer ones on one of 5.2, both
    // about (1, 2, 3): the inscribed circle has radius 4.9, the circumscribed 5.2, the zone
    // circle lies halfway, and the least-squares radius is the mean 5.05.
    const json r = report_of({"circle", data_file("ring8.csv"), "--criterion", "all"});
    EXPECT_EQ(r["direction_from"], "least-squares plane");
    const std::pair<const char*, double> radii[] = {
        {"gauss", 5.05}, {"zone", 5.05}, {"inscribed", 4.9}, {"circumscribed", 5.2}};
    ASSERT_EQ(r["circles"].size(), 4u);
    for (const auto& [name, radius] : radii) {
        const json& c = r["circles"][name];
        expect_triple(c["centre"], 1, 2, 3, 1e-5);
        EXPECT_NEAR(std::abs(c["normal"][2].get<double>()), 1.0, 1e-12) << name;
        EXPECT_NEAR(c["radius"].get<double>(), radius, 1e-5) << name;
        EXPECT_NEAR(c["deviation"].get<double>(), 0.3, 1e-5) << name;
    }
    const json one = report_of({"circle", data_file("ring8.csv"), "--direction", "0,0,1"});
    EXPECT_EQ(one["direction_from"], "--direction");
    ASSERT_EQ(one["circles"].size(), 1u);
    EXPECT_TRUE(one["circles"].contains("gauss"));
}

TEST(Program, InscribedAndCircumscribedCirclesOfAnOpenProfile) {
    // 120 degrees of a circle of radius 80: the smallest enclosing circle is the one over the
    // chord, of radius 80 sin 60; no largest circle inside is determined.
    const std::string file = data_file("arc120.txt");
    const json r =
        report_of({"circle", file, "--criterion", "circumscribed", "--direction", "0,0,1"});
    EXPECT_NEAR(r["circles"]["circumscribed"]["radius"].get<double>(), 40 * std::sqrt(3.0), 1e-5);
    // With every criterion the valid fits are reported, and the failed one with its reason; at
    // least one fit is valid, so the command succeeds. So does fit circle.
    const std::string why =
        "the points do not surround their centre: the maximum inscribed circle is not determined";
    for (const char* command : {"circle", "fit"}) {
        std::vector<std::string> args = {command, file, "--criterion", "all", "--json"};
        if (args[0] == "fit") args.insert(args.begin() + 1, "circle");
        const program_result all = run_program(args);
        EXPECT_EQ(all.status, 0) << command;
        EXPECT_EQ(all.err, "vantor: " + file + ": maximum-inscribed circle: " + why + "\n");
        const json fits = json::parse(all.out)[args[0] == "fit" ? "fits" : "circles"];
        EXPECT_EQ(fits["inscribed"],
                  json({{"valid", false}, {"status", "not_determined"}, {"error", why}}))
            << command;
        for (const char* valid : {"gauss", "zone", "circumscribed"}) {
            EXPECT_TRUE(fits[valid].contains("radius")) << command << " " << valid;
        }
    }
    // A fit asked for alone that fails fails the command.
    const program_result alone = run_program({"circle", file, "--criterion", "inscribed"});
    EXPECT_EQ(alone.status, 2);
    EXPECT_EQ(alone.err, "vantor: " + file + ": maximum-inscribed circle: " + why + "\n");

    // On the plot about the fitted circle the inscribed circle is listed, not drawn.
    json plotted = report_of({"roundness", file, "--plot", scratch("arc120.svg")});
    EXPECT_EQ(plotted["plot"]["MIC"],
              "not determined: the points do not surround their centre: the maximum inscribed "
              "circle is not determined");
    EXPECT_FALSE(plotted["plot"].contains("MCC"));
    std::string svg = read_file(scratch("arc120.svg"));
    EXPECT_EQ(svg.find("id=\"MIC\""), std::string::npos);
    EXPECT_NE(svg.find("id=\"MCC\""), std::string::npos);

    // About a given circle the existing circle fit draws them, noting where they are not exact.
    plotted = report_of(
        {"roundness", file, "--circle", "0,0,0,0,0,1,80", "--plot", scratch("arc120-given.svg")});
    EXPECT_EQ(plotted["plot"]["MIC"], "open profile: not the exact optimum");
    EXPECT_EQ(plotted["plot"]["MCC"], "open profile: not the exact optimum");
    EXPECT_FALSE(plotted["plot"].contains("LSC"));
    svg = read_file(scratch("arc120-given.svg"));
    EXPECT_NE(svg.find(">open profile: not the exact optimum<"), std::string::npos);
    EXPECT_NE(svg.find("id=\"MIC\""), std::string::npos);
}

TEST(Program, StraightnessSphericityCylindricity) {
    // Distances 0.1, 0.3 and 0.2 from the x axis: diameters 0.2 .. 0.6.
    json r = report_of({"straightness", data_file("line3.txt"), "--line", "0,0,0,1,0,0"});
    EXPECT_NEAR(r["value"].get<double>(), 0.6, 1e-12);
    EXPECT_NEAR(r["min_diameter"].get<double>(), 0.2, 1e-12);
    EXPECT_NEAR(r["max_diameter"].get<double>(), 0.6, 1e-12);

    // Distances 2, 2.1, 1.9, 2, 2.05, 1.95 from (1, 1, 1).
    r = report_of({"sphericity", data_file("sphere6.txt"), "--centre", "1,1,1"});
    EXPECT_NEAR(r["value"].get<double>(), 0.2, 1e-12);
    EXPECT_NEAR(r["min_radius"].get<double>(), 1.9, 1e-12);
    EXPECT_NEAR(r["max_radius"].get<double>(), 2.1, 1e-12);
    expect_triple(r["datum"]["centre"], 1, 1, 1, 0);
    r = report_of({"sphericity", data_file("sphere6.txt"), "--sphere", "1,1,1,2"});
    EXPECT_NEAR(r["value"].get<double>(), 0.2, 1e-12);
    EXPECT_NEAR(r["datum"]["sphere"]["radius"].get<double>(), 2.0, 0);

    // Distances 4.99, 5.02 and 5 from the axis of a cylinder of radius 5.
    r = report_of({"cylindricity", data_file("cylinder3.txt"), "--cylinder", "0,0,0,0,0,1,5"});
    EXPECT_NEAR(r["value"].get<double>(), 0.02, 1e-12);
}

TEST(Program, ConicityAboutAConeAndAboutAnAxis) {
    // Points on the cone of radius 2 + 0.5 z, one of them 0.01 radially outside: 0.01 * cos of
    // the half angle (slope 0.5) from the surface.
    const std::string file = data_file("cone9.txt");
    json r = report_of({"conicity", file, "--cone", "0,0,0,2,0,0,1,2.5"});
    EXPECT_NEAR(r["value"].get<double>(), 0.01 / std::sqrt(1.25), 1e-9);

    // The least-squares line through the profile (z, r): slope 0.5, radius 2 + 0.01/9 at z = 0;
    // residuals -0.01/9 (eight points) and 0.01 - 0.01/9.
    r = report_of({"conicity", file, "--axis", "0,0,0,0,0,1"});
    EXPECT_NEAR(r["value"].get<double>(), 0.01, 1e-9);
    EXPECT_NEAR(r["min_deviation"].get<double>(), -0.01 / 9, 1e-9);
    EXPECT_NEAR(r["max_deviation"].get<double>(), 0.01 - 0.01 / 9, 1e-9);
    EXPECT_NEAR(r["datum"]["cone"]["radius0"].get<double>(), 2 + 0.01 / 9, 1e-9);
    EXPECT_NEAR(r["datum"]["cone"]["radius1"].get<double>(), 2.5 + 0.01 / 9, 1e-9);
}

TEST(Program, ReadsStandardInput) {
    const program_result r = run_program({"info", "-", "--json"}, "x y z\n1 2 3\n3 4 5\n");
    ASSERT_EQ(r.status, 0) << r.err;
    const json info = json::parse(r.out);
    EXPECT_EQ(info["file"], "<stdin>");
    EXPECT_EQ(info["points"], 2);
    expect_triple(info["centroid"], 2, 3, 4, 1e-15);

    const program_result bad = run_program({"info", "-"}, "1 2 3\n4 5\n");
    EXPECT_EQ(bad.status, 2);
    EXPECT_EQ(bad.err, "vantor: <stdin>:2: expected 3 coordinates (x y z), found 2\n");
}

// The same four points of a plane as a scan in several formats and as wider text with chosen
// columns: every command reads them alike, names the format and counts the NaN rows left out.
TEST(Program, ReadsEveryPointFormatAndChosenColumns) {
    const std::string ply =
        "ply\nformat ascii 1.0\nelement vertex 5\nproperty float x\nproperty float y\n"
        "property float z\nproperty uchar red\nend_header\n"
        "0 0 1 9\n1 0 1 9\nnan 0 0 9\n1 1 1 9\n0 1 1 9\n";
    struct input {
        std::string name, content, format;
        std::vector<std::string> options;
        int nan_rows;
    };
    const input inputs[] = {
        {"scan.ply", ply, "ply", {}, 1},
        {"scan.obj", "o plate\nv 0 0 1\nv 1 0 1\nv 1 1 1\nv 0 1 1\nf 1 2 3 4\n", "obj", {}, 0},
        {"cmm.txt",
         "0 0 1 0 0 1\n1 0 1 0 0 1\n1 1 1 0 0 1\nnan nan nan 0 0 1\n0 1 1 0 0 1\n",
         "text",
         {"--columns", "1,2,3"},
         1},
        {"ids.csv",
         "id,Z,X,Y\nP1,1,0,0\nP2,1,1,0\nP3,1,1,1\nP4,1,0,1\n",
         "text",
         {"--columns", "x, y, z"},
         0},
    };
    for (const input& in : inputs) {
        const std::string path = scratch(in.name);
        testing::write_file(path, in.content);
        std::vector<std::string> info = {"info", path};
        info.insert(info.end(), in.options.begin(), in.options.end());
        const json r = report_of(info);
        EXPECT_EQ(r["points"], 4) << in.name;
        EXPECT_EQ(r["format"], in.format) << in.name;
        EXPECT_EQ(r.value("nan_rows_skipped", 0), in.nan_rows) << in.name;
        expect_triple(r["centroid"], 0.5, 0.5, 1.0, 1e-12);
        std::vector<std::string> flatness = {"flatness", path};
        flatness.insert(flatness.end(), in.options.begin(), in.options.end());
        const json f = report_of(flatness);
        EXPECT_NEAR(f["value"].get<double>(), 0.0, 1e-12) << in.name;
        EXPECT_EQ(f.value("nan_rows_skipped", 0), in.nan_rows) << in.name;
    }
    const program_result bad = run_program({"info", scratch("ids.csv"), "--columns", "x,y"});
    EXPECT_EQ(bad.status, 2);
    EXPECT_EQ(bad.err,
              "vantor: --columns expects X,Y,Z: three column numbers from 1 or names of the "
              "header line, separated by commas: got 'x,y'\n");
}

TEST(Program, TraceLinesOfTheLibraryAppearOnRequestOnStandardError) {
    const std::vector<std::string> args = {"flatness", data_file("plane4.txt"), "--plane",
                                           "0,0,0,0,0,1", "--json"};
    EXPECT_EQ(run_program(args).err, "");
    std::vector<std::string> traced = args;
    traced.insert(traced.end(), {"--trace", "3"});
    const program_result r = run_program(traced);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "+flatness::Compute\n-flatness::Compute: result = 0.030 (0.010..-0.020)\n");
    EXPECT_EQ(json::parse(r.out)["feature"], "flatness");  // the report alone
}

// --- Files written.

TEST(Program, ConvertsBothWaysWithoutReplacingFiles) {
    const std::string element = scratch("ring8.elem");
    const std::string text = scratch("ring8-back.txt");
    json r = report_of({"convert", data_file("ring8.csv"), element});
    EXPECT_EQ(r["format"], "element");
    EXPECT_EQ(r["points"], 8);

    const json info = report_of({"info", element});
    EXPECT_EQ(info["format"], "element");
    EXPECT_TRUE(info.contains("created"));
    r = report_of({"convert", element, text});
    EXPECT_EQ(r["format"], "text");

    // The same points: the centroid of the copy equals the original's exactly.
    EXPECT_EQ(report_of({"info", text})["centroid"],
              report_of({"info", data_file("ring8.csv")})["centroid"]);

    const std::string before = read_file(element);
    const program_result again = run_program({"convert", data_file("plane4.txt"), element});
    EXPECT_EQ(again.status, 2);
    EXPECT_EQ(again.err, "vantor: " + element + ": file exists (use --force to replace it)\n");
    EXPECT_EQ(read_file(element), before);
    EXPECT_EQ(run_program({"convert", data_file("plane4.txt"), element, "--force"}).status, 0);
    EXPECT_EQ(report_of({"info", element})["points"], 4);
}

TEST(Program, ConvertChoosesTheFormatByNameOrByOption) {
    const std::string source = data_file("ring8.csv");
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"convert", source, scratch("by-name.TXT")}, "text"},
        {{"convert", source, scratch("by-name.xyz")}, "text"},
        {{"convert", source, scratch("by-name.csv"), "--to", "element"}, "element"},
        {{"convert", source, scratch("by-name.pts")}, "element"},
        {{"convert", source, scratch("by-name.dat"), "--to", "text"}, "text"},
        {{"convert", source, scratch("by-name.PLY")}, "ply"},
        {{"convert", source, scratch("by-name.bin"), "--to", "ply"}, "ply"},
    };
    for (const auto& [args, format] : cases) {
        EXPECT_EQ(report_of(args)["format"], format) << args[2];
        EXPECT_EQ(report_of({"info", args[2]})["format"], format) << args[2];
    }
    // A PLY file holds the same points.
    EXPECT_EQ(report_of({"info", scratch("by-name.PLY")})["centroid"],
              report_of({"info", source})["centroid"]);
    // The formats it only reads are refused by name.
    for (const char* name : {"out.stl", "out.PCD", "out.obj"}) {
        const program_result r = run_program({"convert", source, scratch(name)});
        EXPECT_EQ(r.status, 2) << name;
        EXPECT_NE(r.err.find("convert writes text (.txt, .csv, .xyz), PLY (.ply) or an element "
                             "file (any other name), not ."),
                  std::string::npos)
            << r.err;
        EXPECT_FALSE(std::filesystem::exists(scratch(name))) << name;
    }
}

TEST(Program, ConvertWritesTextToStandardOutput) {
    const program_result r = run_program({"convert", data_file("plane4.txt"), "-"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_FALSE(std::filesystem::exists(scratch("-")));
    // The text alone, which reads back to the same points.
    const program_result back = run_program({"info", "-", "--json"}, r.out);
    EXPECT_EQ(json::parse(back.out)["centroid"],
              report_of({"info", data_file("plane4.txt")})["centroid"]);
    EXPECT_EQ(r.out.substr(0, 6), "x y z\n");
}

TEST(Program, WritesTheRoundnessPlotOnlyWhereNoFileIs) {
    const std::string plot = scratch("ring8.svg");
    json r = report_of({"roundness", data_file("ring8.csv"), "--plot", plot});
    EXPECT_EQ(r["plot"]["file"], plot);
    // Band 0.3: 24 mm hold it at x80, so x50.
    EXPECT_EQ(r["plot"]["magnification"], 50.0);
    const std::string svg = read_file(plot);
    EXPECT_EQ(svg.rfind("<?xml", 0), 0u);

    // An existing file is kept and the command fails, after its report.
    testing::write_file(plot, "mine");
    const program_result again = run_program({"roundness", data_file("ring8.csv"), "--plot", plot});
    EXPECT_EQ(again.status, 2);
    EXPECT_EQ(again.out.rfind("file ", 0), 0u) << again.out;
    EXPECT_NE(again.out.find("\nvalue "), std::string::npos) << again.out;
    EXPECT_EQ(again.out.find("plot"), std::string::npos) << again.out;
    EXPECT_EQ(again.err, "vantor: " + plot + ": file exists (use --force to replace it)\n");
    EXPECT_EQ(read_file(plot), "mine");
    EXPECT_EQ(run_program({"roundness", data_file("ring8.csv"), "--plot", plot, "--force"}).status,
              0);
    EXPECT_EQ(read_file(plot), svg);
}

TEST(Program, DemoRunsOnTheShippedSamplesAndPicksAFreshPlotName) {
    const std::string dir = scratch("demo");
    std::filesystem::create_directory(dir);
    const program_result first = run_program({"demo"}, "", dir);
    ASSERT_EQ(first.status, 0) << first.err;
    EXPECT_EQ(first.err, "");
    for (const char* command : {"$ vantor info bore.txt", "$ vantor circle bore.txt",
                                "$ vantor roundness bore.txt", "$ vantor fit cylinder shaft.txt",
                                "$ vantor flatness face.txt", "$ vantor straightness edge.txt",
                                "$ vantor cylindricity shaft.txt", "$ vantor sphericity ball.txt",
                                "$ vantor conicity cone.txt", "$ vantor convert bore.txt"}) {
        EXPECT_NE(first.out.find(command), std::string::npos) << command;
    }
    EXPECT_NE(read_file(dir + "/demo-roundness.svg").find("</svg>"), std::string::npos);

    const program_result second = run_program({"demo", "--json"}, "", dir);
    ASSERT_EQ(second.status, 0) << second.err;
    const json tour = json::parse(second.out);
    ASSERT_TRUE(tour.is_array());
    EXPECT_EQ(tour[0]["report"]["points"], 360);
    EXPECT_NE(read_file(dir + "/demo-roundness-2.svg").find("</svg>"), std::string::npos);
}

TEST(Program, EachCommandTheDemoShowsGivesTheReportShown) {
    const std::string dir = scratch("demo-commands");
    std::filesystem::create_directory(dir);
    const program_result demo = run_program({"demo", "--json"}, "", dir);
    ASSERT_EQ(demo.status, 0) << demo.err;
    const std::string samples = std::string(VANTOR_TEST_DATA) + "/../../tools/samples";
    int compared = 0;
    for (json step : json::parse(demo.out)) {
        std::vector<std::string> args;
        std::istringstream words(step["command"].get<std::string>());
        for (std::string word; words >> word;) args.push_back(word);
        if (args[0] == "convert" || args[1].find('/') != std::string::npos) continue;
        const auto plot = std::find(args.begin(), args.end(), "--plot");
        if (plot != args.end()) {
            plot[1] = scratch("demo-commands.svg");
            step["report"].erase("plot");
        }
        args.push_back("--json");
        const program_result r = run_program(args, "", samples);
        EXPECT_LE(r.status, 1) << r.err;
        json report = json::parse(r.out);
        report.erase("plot");
        EXPECT_EQ(report, step["report"]) << step["command"];
        ++compared;
    }
    EXPECT_EQ(compared, 12);
}

// --- Bad input and bad arguments: a message naming what is wrong, exit status 2, no report.

TEST(Program, BadInputNamesFileAndLine) {
    const std::pair<std::string, std::string> cases[] = {
        {data_file("bad_number.txt"),
         data_file("bad_number.txt") + ":3: malformed number 'abc' in field 2"},
        {data_file("two_coordinates.txt"),
         data_file("two_coordinates.txt") + ":4: expected 3 coordinates (x y z), found 2"},
        {data_file("no_points.txt"), data_file("no_points.txt") + ": no points"},
        {scratch("nothing-here.txt"),
         scratch("nothing-here.txt") + ": cannot open: No such file or directory"},
    };
    for (const auto& [file, message] : cases) {
        const program_result r = run_program({"info", file});
        EXPECT_EQ(r.status, 2) << file;
        EXPECT_EQ(r.out, "") << file;
        EXPECT_EQ(r.err, "vantor: " + message + "\n");
    }
}

TEST(Program, AFailureWithJsonIsAReportWithItsStatus) {
    const std::string two = scratch("two-points.txt"), line = scratch("three-on-a-line.txt");
    testing::write_file(two, "0 0 0\n1 0 0\n");
    testing::write_file(line, "0 0 0\n1 0 0\n2 0 0\n");
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"flatness", two}, "too_few_points"},
        {{"roundness", line, "--direction", "0,0,1"}, "degenerate"},
        {{"roundness", two, "--filter", "0.8"}, "too_few_points"},
        {{"sphericity", std::string(VANTOR_TEST_DATA) + "/../../tools/samples/ball.txt",
          "--reference", "inscribed"},
         "not_determined"},
        {{"info", scratch("nothing-here.txt")}, "refused"},
    };
    for (const auto& [args, status] : cases) {
        std::vector<std::string> with_json = args;
        with_json.push_back("--json");
        const program_result r = run_program(with_json);
        EXPECT_EQ(r.status, 2) << args[1];
        const nlohmann::json j = nlohmann::json::parse(r.out);
        EXPECT_EQ(j["valid"], false);
        EXPECT_EQ(j["status"], status) << r.err;
        EXPECT_EQ("vantor: " + j["error"].get<std::string>() + "\n", r.err);
        EXPECT_EQ(run_program(args).out, "") << "text output on a failure";
    }
}

TEST(Program, ADamagedElementFileIsReportedOnStandardError) {
    // An element file cut inside its header.
    const std::string file = scratch("damaged-program.elem");
    ASSERT_EQ(run_program({"convert", data_file("plane4.txt"), file}).status, 0);
    testing::write_file(file, read_file(file).substr(0, 24));
    const program_result r = run_program({"info", file});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(
        r.err.find("vantor: " + file + ": damaged element file, or one that holds no point set\n"),
        std::string::npos)
        << r.err;
}

TEST(Program, BadArgumentsAreRefused) {
    const std::string file = data_file("plane4.txt");
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"fit", "line", file, "--direction", "0,0,1"},
         "vantor: --direction: only a circle is fitted along a direction, not a line\n"},
        {{"flatness", file, "--direction", "0,0,0"},
         "vantor: --direction: the direction must not be zero\n"},
        {{"flatness", file, "--plane", "0,0,0,0,0"},
         "vantor: --plane expects PX,PY,PZ,NX,NY,NZ (6 numbers separated by commas): got 5 in "
         "'0,0,0,0,0'\n"},
        {{"roundness", file, "--circle", "0,0,0,0,0,1,-1"},
         "vantor: --circle: the radius must be positive\n"},
        {{"sphericity", file, "--sphere", "0,0,0,0"},
         "vantor: --sphere: the radius must be positive\n"},
        {{"cylindricity", file, "--cylinder", "0,0,0,0,0,1,-2"},
         "vantor: --cylinder: the radius must be positive\n"},
        {{"conicity", file, "--cone", "0,0,0,-1,0,0,1,2"},
         "vantor: --cone: the radius must not be negative\n"},
        {{"flatness", file, "--direction", "0,0,1", "--lower", "0.1", "--upper", "0.05"},
         "vantor: --upper must not be below --lower\n"},
        {{"flatness", file, "--direction", "0,0,1", "--upper", "-0.01"},
         "vantor: --upper must not be below --lower, which is 0 unless given\n"},
        {{"convert", file, "-", "--to", "element"},
         "vantor: an element file is written to a named file, not to standard output\n"},
        {{"conicity", file, "--cone", "0,0,0,1,0,0,0,2"},
         "vantor: --cone: the two points must differ\n"},
        {{"cylindricity", file, "--max-tilt", "0"},
         "vantor: the largest tilt must lie in (0, 90] degrees\n"},
        {{"flatness", file, "--time-budget", "0"},
         "vantor: the time budget must be a positive number of seconds\n"},
        {{"conicity", file, "--axis", "0,0,1,0"},
         "vantor: --axis expects PX,PY,PZ,DX,DY,DZ (a datum axis) or X,Y,Z (an approximate axis "
         "direction): got 4 in '0,0,1,0'\n"},
        {{"conicity", file, "--cone", "0,0,0,1,0,0,1,2", "--axis", "0,0,0,0,0,1"},
         "vantor: --cone and --axis are both datums: give one\n"},
        {{"conicity", file, "--axis", "0,0,0,0,0,1", "--reference", "gauss"},
         "vantor: --reference only steers the cone fitted without a datum: not with a datum axis "
         "(--axis with six numbers)\n"},
        {{"roundness", file, "--filter", "50", "--time-budget", "2"},
         "vantor: --time-budget only steers the circle fitted without the roundness analysis: "
         "not with --filter, --reference, --harmonics or --spectrum\n"},
    };
    for (const auto& [args, message] : cases) {
        const program_result r = run_program(args);
        EXPECT_EQ(r.status, 2) << args[0];
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, message);
    }
}

TEST(Program, UsageErrorsPointToTheHelp) {
    const std::string file = data_file("plane4.txt");
    const std::vector<std::string> cases[] = {
        {"flatness", file, "--direction", "0,0,1", "--frobnicate"},
        {"flatness", file, "--plane", "0,0,0,0,0,1", "--direction", "0,0,1"},
        {"flatness", file, "--plane", "0,0,0,0,0,1", "--reference", "gauss"},
        {"straightness", file, "--reference", "inscribed"},
        {"flatness", file, "--direction", "0,0,1", "--nominal", "0.1"},
        {"circle", file, "--criterion", "best"},
        {"flatness"},
        {"measure", file},
        {},
    };
    for (const std::vector<std::string>& args : cases) {
        const program_result r = run_program(args);
        EXPECT_EQ(r.status, 2) << r.err;
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err.rfind("vantor: ", 0), 0u) << r.err;
        EXPECT_NE(r.err.find("--help)"), std::string::npos) << r.err;
    }
    EXPECT_NE(run_program(cases[0]).err.find("--frobnicate"), std::string::npos);
}

// The exit status and standard error of the program run with `args` and its standard output
// sent to `out`: a file, or with "closed pipe" a pipe whose reader is gone before it starts.
std::pair<int, std::string> run_with_output(const std::vector<std::string>& args,
                                            const std::string& out, const std::string& tmpdir) {
    const std::string err = scratch("output-check.err");
    int fds[2];
    if (::pipe(fds) != 0) return {-1, "no pipe"};
    ::close(fds[0]);
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int to = out == "closed pipe" ? fds[1] : ::open(out.c_str(), O_WRONLY);
        const int to_err = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ::dup2(to, STDOUT_FILENO);
        ::dup2(to_err, STDERR_FILENO);
        std::signal(SIGPIPE, SIG_DFL);
        ::setenv("TMPDIR", tmpdir.c_str(), 1);
        if (::chdir(tmpdir.c_str()) != 0) ::_exit(126);
        std::vector<char*> argv = {const_cast<char*>("vantor")};
        for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        ::execv(VANTOR_CLI_PROGRAM, argv.data());
        ::_exit(127);
    }
    ::close(fds[1]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, read_file(err)};
}

TEST(Program, AFailedReportOutputIsAnErrorWithTheSystemsReason) {
    const std::string dir = scratch("full");
    std::filesystem::create_directory(dir);
    const std::string file = data_file("ring8.csv");
    const std::vector<std::string> cases[] = {
        {"info", file}, {"roundness", file, "--json"}, {"convert", file, "-"}};
    for (const std::vector<std::string>& args : cases) {
        const auto [status, err] = run_with_output(args, "/dev/full", dir);
        EXPECT_EQ(status, 2) << args[0];
        EXPECT_EQ(err, "vantor: standard output: cannot write: No space left on device\n");
    }
}

TEST(Program, DemoIntoAClosedPipeFailsAndLeavesNoTemporaryDirectory) {
    const std::string dir = scratch("closed-pipe");
    std::filesystem::create_directory(dir);
    const auto [status, err] = run_with_output({"demo"}, "closed pipe", dir);
    EXPECT_EQ(status, 2);
    EXPECT_EQ(err, "vantor: standard output: cannot write: Broken pipe\n");
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        EXPECT_EQ(entry.path().filename().string().rfind("vantor-demo-", 0), std::string::npos)
            << entry.path();
    }
}

TEST(Program, NoSubcommandPrintsTheUsageSummary) {
    const program_result r = run_program({});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    // One line each, with its description.
    for (const char* line : {"\n  info          count, format", "\n  roundness     roundness about",
                             "\n  demo          a tour"}) {
        EXPECT_NE(r.err.find(line), std::string::npos) << line << " in\n" << r.err;
    }
}

TEST(Program, AMisspeltSubcommandGetsASuggestionWhenClose) {
    const std::string file = data_file("plane4.txt");
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"roundnes", file}, " (did you mean 'roundness'?)"},
        {{"--json", "cylindricty", file}, " (did you mean 'cylindricity'?)"},
        {{"--trace", "1", "fti", "line", file}, " (did you mean 'fit'?)"},
        {{"measure", file}, ""},
        {{"plot", file}, ""},
    };
    for (const auto& [args, suggestion] : cases) {
        const program_result r = run_program(args);
        EXPECT_EQ(r.status, 2) << r.err;
        EXPECT_EQ(r.err.find("did you mean") != std::string::npos, !suggestion.empty()) << r.err;
        if (!suggestion.empty()) {
            EXPECT_NE(r.err.find(suggestion + " (see vantor --help)\n"), std::string::npos)
                << r.err;
        }
    }
}

TEST(Program, HelpAndVersion) {
    const program_result help = run_program({"--help"});
    EXPECT_EQ(help.status, 0);
    for (const char* command : {"info", "circle", "fit", "roundness", "flatness", "straightness",
                                "sphericity", "cylindricity", "conicity", "convert", "demo"}) {
        EXPECT_NE(help.out.find(command), std::string::npos) << command;
        // Each subcommand's help lists the options of the program too.
        const program_result own = run_program({command, "--help"});
        EXPECT_EQ(own.status, 0) << command;
        for (const char* global : {"--json", "--force", "--trace N"}) {
            EXPECT_NE(own.out.find("  " + std::string(global) + " "), std::string::npos)
                << command << " " << global;
        }
    }
    const program_result version = run_program({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "vantor " VANTOR_PROJECT_VERSION "\n");
}

}  // namespace
}  // namespace vantor::cli
