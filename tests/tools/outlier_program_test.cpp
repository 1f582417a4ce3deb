// SPDX-License-Identifier: Apache-2.0
// The outlier warning of every form report, run through the built program.
#include <cmath>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "tools/support.h"

namespace vantor::cli {
namespace {

using nlohmann::json;
using testing::program_result;
using testing::report_of;
using testing::run_program;
using testing::scratch;

constexpr double pi = 3.14159265358979323846;

struct point3 {
    double x, y, z;
};

// A point of a measured shape with its outward unit normal there.
struct surface_point {
    point3 at;
    point3 normal;
};

// Writes the n points of `shape` moved `form(i)` along their normals, the points 7, n / 3 and
// 2 n / 3 (apart on every shape below) 1 mm further when `spiked`; returns the path.
std::string write_shape(const std::string& name, int n,
                        const std::function<surface_point(int)>& shape, bool spiked) {
    std::string text;
    char line[128];
    for (int i = 0; i < n; ++i) {
        const surface_point s = shape(i);
        const double form = 0.002 * std::cos(0.7 * i) + 0.001 * std::sin(0.13 * i);
        const double spike = spiked && (i == 7 || i == n / 3 || i == 2 * n / 3) ? 1.0 : 0.0;
        const double d = form + spike;
        std::snprintf(line, sizeof line, "%.15g %.15g %.15g\n", s.at.x + d * s.normal.x,
                      s.at.y + d * s.normal.y, s.at.z + d * s.normal.z);
        text += line;
    }
    const std::string path = scratch(name + (spiked ? "_spiked.txt" : "_clean.txt"));
    testing::write_file(path, text);
    return path;
}

// A ring of radius 10 about the z axis, 360 points.
surface_point ring(int i) {
    const double a = 2 * pi * i / 360;
    return {{10 * std::cos(a), 10 * std::sin(a), 0}, {std::cos(a), std::sin(a), 0}};
}
// A face of 20 x 20 points in z = 0.
surface_point face(int i) { return {{i % 20 * 1.0, i / 20 * 1.0, 0}, {0, 0, 1}}; }
// 100 points along the x axis, displaced along y.
surface_point edge(int i) { return {{i * 0.5, 0, 0}, {0, 1, 0}}; }
// 400 points spread over a sphere of radius 10 about the origin.
surface_point ball(int i) {
    const double z = 1 - (2 * i + 1) / 400.0, r = std::sqrt(1 - z * z), a = 2.39996323 * i;
    const point3 u{r * std::cos(a), r * std::sin(a), z};
    return {{10 * u.x, 10 * u.y, 10 * u.z}, u};
}
// 10 rings of 36 points, radius 5 about the z axis, from z = 0 to 9.
surface_point shaft(int i) {
    const double a = 2 * pi * (i % 36) / 36 + 0.1 * (i / 36);
    return {{5 * std::cos(a), 5 * std::sin(a), i / 36 * 1.0}, {std::cos(a), std::sin(a), 0}};
}
// 10 rings of 36 points on the cone of half angle 30 degrees with its apex at the origin, its
// axis along z, from z = 5 to 14.
surface_point cone(int i) {
    const double a = 2 * pi * (i % 36) / 36 + 0.1 * (i / 36), z = 5.0 + i / 36;
    const double t = std::tan(pi / 6), c = std::cos(pi / 6), s = std::sin(pi / 6);
    return {{z * t * std::cos(a), z * t * std::sin(a), z}, {c * std::cos(a), c * std::sin(a), -s}};
}

struct shape_case {
    const char* name;
    int points;
    surface_point (*shape)(int);
    std::vector<std::vector<std::string>> reports;  // the command and its options, file last
};

const std::vector<shape_case>& shape_cases() {
    static const std::vector<shape_case> cases = {
        {"ring",
         360,
         ring,
         {{"roundness"},
          {"roundness", "--circle", "0,0,0,0,0,1,10"},
          {"roundness", "--line", "0,0,0,0,0,1"},
          {"roundness", "--direction", "0,0,1"},
          {"roundness", "--filter", "50"},
          {"roundness", "--reference", "gauss", "--line", "0,0,0,0,0,1"},
          {"roundness", "--sections", "1"}}},
        {"face",
         400,
         face,
         {{"flatness"},
          {"flatness", "--plane", "0,0,0,0,0,1"},
          {"flatness", "--direction", "0,0,1"},
          {"flatness", "--cutoff", "8"}}},
        {"edge",
         100,
         edge,
         {{"straightness"},
          {"straightness", "--line", "0,0,0,1,0,0"},
          {"straightness", "--cutoff", "8"}}},
        {"ball",
         400,
         ball,
         {{"sphericity"},
          {"sphericity", "--sphere", "0,0,0,10"},
          {"sphericity", "--centre", "0,0,0"}}},
        {"shaft", 360, shaft, {{"cylindricity"}, {"cylindricity", "--cylinder", "0,0,0,0,0,1,5"}}},
        {"cone",
         360,
         cone,
         {{"conicity"},
          {"conicity", "--cone", "0,0,5,2.886751345948129,0,0,14,8.082903768654761"},
          {"conicity", "--axis", "0,0,0,0,0,1"}}},
    };
    return cases;
}

TEST(OutlierProgram, EveryFormReportWarnsOfSpikesAndOnlyOfThem) {
    for (const shape_case& c : shape_cases()) {
        for (const bool spiked : {false, true}) {
            const std::string file = write_shape(c.name, c.points, c.shape, spiked);
            for (std::vector<std::string> args : c.reports) {
                args.insert(args.begin() + 1, file);
                std::string shown;
                for (const std::string& a : args) shown += " " + a;
                SCOPED_TRACE(shown + (spiked ? " (spiked)" : " (clean)"));
                const json r = report_of(args);
                const program_result text = run_program(args);
                EXPECT_EQ(text.status, 0) << text.err;
                if (spiked) {
                    EXPECT_EQ(r.value("outliers", 0), 3);
                    EXPECT_NE(r.value("warning", "").find("3 points stand"), std::string::npos);
                    EXPECT_NE(text.out.find("3 points stand"), std::string::npos) << text.out;
                } else {
                    EXPECT_FALSE(r.contains("outliers"));
                    EXPECT_FALSE(r.contains("warning"));
                    EXPECT_EQ(text.out.find("warning"), std::string::npos) << text.out;
                }
            }
        }
    }
}

TEST(OutlierProgram, FittedCirclesWarnOfSpikes) {
    const std::string spiked = write_shape("ring", 360, ring, true);
    for (const std::string c : {"gauss", "zone"}) {
        const json r = report_of({"circle", spiked, "--criterion", c});
        EXPECT_EQ(r["circles"][c].value("outliers", 0), 3) << c;
        EXPECT_TRUE(r["circles"][c].contains("warning")) << c;
    }
}

}  // namespace
}  // namespace vantor::cli
