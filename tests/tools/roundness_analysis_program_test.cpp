// SPDX-License-Identifier: Apache-2.0
// The roundness command's analysis options, run through the built program.
#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "tools/support.h"

namespace vantor::cli {
namespace {

using nlohmann::json;
using testing::data_file;
using testing::program_result;
using testing::read_file;
using testing::report_of;
using testing::run_program;
using testing::scratch;

constexpr double pi = 3.14159265358979323846;

void expect_centre(const json& c, double x, double y) {
    EXPECT_NEAR(c[0].get<double>(), x, 1e-9);
    EXPECT_NEAR(c[1].get<double>(), y, 1e-9);
}

double transmission(double upr, double cutoff) {
    return std::exp(-std::log(2.0) * (upr / cutoff) * (upr / cutoff));
}

// 720 points of 8 + 0.002 cos(3 a) + 0.0005 cos(9 a) about (10, 20) at z = 5, a from the y axis
// towards -x (the polar frame of an axis along z). Threefold symmetric: every reference circle is
// centred on (10, 20).
const std::string& lobed_file() {
    static const std::string path = [] {
        std::string text = "x y z\n";
        char line[128];
        for (int i = 0; i < 720; ++i) {
            const double a = 2 * pi * i / 720;
            const double r = 8 + 0.002 * std::cos(3 * a) + 0.0005 * std::cos(9 * a);
            std::snprintf(line, sizeof line, "%.15f %.15f 5\n", 10 - r * std::sin(a),
                          20 + r * std::cos(a));
            text += line;
        }
        const std::string file = scratch("lobed720.txt");
        testing::write_file(file, text);
        return file;
    }();
    return path;
}

TEST(RoundnessAnalysisProgram, FilteredParametersHarmonicsAndVerdict) {
    // ring8: 4.9 and 5.2 in turn about (1, 2, 3), the harmonic 4 of amplitude 0.15 (the highest
    // 8 points hold) about every reference circle, so RONt = 0.3 T(4); the verdict is on RONt.
    json r = report_of({"roundness", data_file("ring8.csv"), "--filter", "15", "--reference",
                        "inscribed", "--upper", "0.29"});
    EXPECT_EQ(r["reference"], "inscribed");
    EXPECT_EQ(r["filter_upr"], 15);
    EXPECT_NEAR(r["ront"].get<double>(), 0.3 * transmission(4, 15), 1e-9);
    EXPECT_EQ(r["value"], r["ront"]);
    EXPECT_NEAR(r["ronp"].get<double>(), r["ront"].get<double>(), 1e-12);
    EXPECT_TRUE(r["tolerance"]["within"].get<bool>());
    expect_centre(r["datum"]["circle"]["centre"], 1, 2);
    EXPECT_FALSE(r.contains("eccentricity"));

    // Unfiltered about the default minimum-zone circle: the value without the analysis options,
    // outside 0.29.
    r = report_of({"roundness", data_file("ring8.csv"), "--filter", "none", "--harmonics", "2",
                   "--unit", "mm", "--upper", "0.29"},
                  1);
    EXPECT_TRUE(r["filter_upr"].is_null());
    EXPECT_EQ(r["reference"], "zone");
    EXPECT_EQ(r["unit"], "mm");
    EXPECT_NEAR(r["value"].get<double>(), 0.3, 1e-9);
    ASSERT_EQ(r["harmonics"].size(), 2u);
    EXPECT_EQ(r["harmonics"][0]["upr"], 4);
    EXPECT_NEAR(r["harmonics"][0]["amplitude"].get<double>(), 0.15, 1e-9);
    // 4.9 on the x axis, 90 degrees from the frame's 0: -cos(4 a).
    EXPECT_NEAR(std::abs(r["harmonics"][0]["phase_deg"].get<double>()), 180, 1e-6);
    EXPECT_LT(r["harmonics"][1]["amplitude"].get<double>(), 1e-9);
}

TEST(RoundnessAnalysisProgram, EccentricityFromTheGivenAxis) {
    // The axis 0.03 off the profile's centre along +x: the reference centres lie 0.03 from it
    // towards -x. About the offset axis the angles are unequal, so the profile is resampled.
    const json r = report_of(
        {"roundness", lobed_file(), "--line", "10.03,20,0,0,0,-1", "--reference", "zone"});
    EXPECT_NEAR(r["eccentricity"]["distance"].get<double>(), 0.03, 1e-9);
    const json& direction = r["eccentricity"]["direction"];
    EXPECT_NEAR(direction[0].get<double>(), -1, 1e-9);
    EXPECT_NEAR(direction[1].get<double>(), 0, 1e-6);
    EXPECT_EQ(r["resampled"]["points"], 720);

    // The line alone keeps its meaning: unfiltered, RONt is today's roundness about the axis,
    // and RONp, RONv are about the profile's mean radius.
    const json plain = report_of({"roundness", lobed_file(), "--line", "10.03,20,0,0,0,1"});
    const json about =
        report_of({"roundness", lobed_file(), "--line", "10.03,20,0,0,0,1", "--filter", "none"});
    EXPECT_EQ(about["reference"], "circle about the given axis");
    EXPECT_FALSE(about.contains("eccentricity"));
    EXPECT_NEAR(about["ront"].get<double>(), plain["value"].get<double>(), 1e-12);
    const double mean = about["datum"]["circle"]["radius"].get<double>();
    EXPECT_NEAR(about["ronp"].get<double>(), plain["max_radius"].get<double>() - mean, 1e-12);
}

TEST(RoundnessAnalysisProgram, WritesTheSpectrumAndTheFilteredPlot) {
    // The charts' content is checked by check_spectrum_svg.py and the plot's unit tests.
    const std::string spectrum = scratch("lobed-spectrum.svg");
    const std::string plot = scratch("lobed-plot.svg");
    const json r = report_of(
        {"roundness", lobed_file(), "--filter", "50", "--spectrum", spectrum, "--plot", plot});
    EXPECT_EQ(r["spectrum"]["file"], spectrum);
    EXPECT_NE(read_file(spectrum).find("id=\"upr-3\""), std::string::npos);
    EXPECT_NE(read_file(plot).find("Filter 50 UPR"), std::string::npos);

    // Neither output replaces a file: each is refused after the report, which stands.
    const std::string spectrum_svg = read_file(spectrum), plot_svg = read_file(plot);
    const program_result again = run_program({"roundness", lobed_file(), "--harmonics", "2",
                                              "--spectrum", spectrum, "--plot", plot, "--json"});
    EXPECT_EQ(again.status, 2);
    const json report = json::parse(again.out);
    EXPECT_EQ(report["harmonics"].size(), 2u);
    EXPECT_FALSE(report.contains("spectrum") || report.contains("plot")) << report;
    EXPECT_EQ(again.err, "vantor: " + plot + ": file exists (use --force to replace it)\nvantor: " +
                             spectrum + ": file exists (use --force to replace it)\n");
    EXPECT_EQ(read_file(spectrum), spectrum_svg);
    EXPECT_EQ(read_file(plot), plot_svg);
}

TEST(RoundnessAnalysisProgram, RejectsBadOptionsAndOpenProfiles) {
    struct bad {
        std::vector<std::string> args;
        const char* message;
    };
    const bad cases[] = {
        {{"--filter", "0"}, "--filter expects a cutoff in UPR"},
        {{"--filter", "-50"}, "--filter expects a cutoff in UPR"},
        {{"--filter", "fifty"}, "--filter expects a cutoff in UPR"},
        {{"--reference", "best"}, "--reference"},
        {{"--harmonics", "0"},
         "--harmonics: expects a whole number from 1 to 2147483647: got '0' (see"},
        {{"--harmonics", "-2"}, "--harmonics: expects a whole number from 1 to 2147483647"},
        {{"--harmonics", "2.5"}, "--harmonics: expects a whole number from 1 to 2147483647"},
        {{"--harmonics", "3000000000"}, "--harmonics: expects a whole number from 1 to 2147483647"},
        {{"--unit", "furlong"}, "--unit"},
        {{"--line", "30,2,0,0,0,1", "--filter", "50"}, "do not surround the datum axis"},
    };
    for (const bad& c : cases) {
        std::vector<std::string> args = {"roundness", data_file("ring8.csv")};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const program_result r = run_program(args);
        EXPECT_EQ(r.status, 2) << c.message;
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    }
    // Without the analysis options the report is the plain roundness report.
    EXPECT_FALSE(report_of({"roundness", data_file("ring8.csv")}).contains("ront"));
}

}  // namespace
}  // namespace vantor::cli
