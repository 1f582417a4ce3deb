// SPDX-License-Identifier: Apache-2.0
// Runs `vantor straightness --cutoff` and `vantor flatness --cutoff` on files written here.
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "tools/support.h"

namespace vantor::cli {
namespace {

using nlohmann::json;
using testing::run_program;
using testing::scratch;
using testing::write_file;

constexpr double two_pi = 6.283185307179586477;
constexpr double cutoff = 0.8, amplitude = 0.01;

// A long wave (10 cutoffs) and a short one (a tenth of the cutoff) in y over x = -7.5 .. 7.5
// cutoffs, at `per_cutoff` points per cutoff, in `rows` rows along z: even in x, so the
// filtered profile's reference has no tilt and its peak to valley is the long wave's, 2 T a
// (the extremes at x = 0 and +-5 cutoffs lie more than a cutoff inside).
std::string wavy(const std::string& name, int per_cutoff, int rows) {
    std::string text;
    const int k = 15 * per_cutoff / 2;
    char line[128];
    for (int j = 0; j < rows; ++j)
        for (int i = -k; i <= k; ++i) {
            const double x = i * cutoff / per_cutoff, z = j * cutoff / per_cutoff;
            const double y = amplitude * (std::cos(two_pi * x / (10 * cutoff)) +
                                          0.2 * std::cos(two_pi * x * 10 / cutoff));
            std::snprintf(line, sizeof line, "%.15g %.15g %.15g\n", x + 3, y - 1, z);
            text += line;
        }
    const std::string path = scratch(name);
    write_file(path, text);
    return path;
}

json report_of(const std::vector<std::string>& args, int status = 0) {
    std::vector<std::string> with_json = args;
    with_json.push_back("--json");
    const testing::program_result r = run_program(with_json);
    EXPECT_EQ(r.status, status) << r.err;
    return json::parse(r.out);
}

TEST(FilteredFormProgram, ParametersOfTheFilteredProfile) {
    const double peak_to_valley = 2 * amplitude * std::exp(-std::log(2.0) / 100);
    const std::string c = std::to_string(cutoff);
    struct {
        std::vector<std::string> args;
        const char* prefix;
    } const cases[] = {
        {{"straightness", wavy("line.txt", 50, 1), "--cutoff", c}, "str"},
        {{"flatness", wavy("face.txt", 20, 12), "--cutoff", c}, "flt"},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.prefix);
        const json r = report_of(k.args);
        const std::string p = k.prefix;
        EXPECT_NEAR(r[p + "t"].get<double>(), peak_to_valley, 1e-6 * amplitude);
        EXPECT_EQ(r["value"], r[p + "t"]);
        EXPECT_NEAR(r[p + "p"].get<double>() + r[p + "v"].get<double>(), peak_to_valley,
                    1e-6 * amplitude);
        EXPECT_GT(r[p + "q"].get<double>(), 0.0);
        EXPECT_EQ(r["cutoff"].get<double>(), cutoff);
        EXPECT_FALSE(r.contains("warning"));
    }
}

// Below 7 points per cutoff the report warns, in the text form too; a tolerance still decides
// the exit status; a datum does not go with --cutoff.
TEST(FilteredFormProgram, WarningsAndErrors) {
    const std::string sparse = wavy("sparse.txt", 5, 1);
    const json r = report_of({"straightness", sparse, "--cutoff", "0.8", "--upper", "1"});
    EXPECT_NE(r["warning"].get<std::string>().find("too sparse"), std::string::npos);
    EXPECT_TRUE(r["tolerance"]["within"].get<bool>());
    const testing::program_result face =
        run_program({"flatness", wavy("sparse_face.txt", 5, 4), "--cutoff", "0.8"});
    EXPECT_EQ(face.status, 0) << face.err;
    EXPECT_NE(face.out.find("warning"), std::string::npos) << face.out;
    for (const std::string datum : {"--line=0,0,0,1,0,0", "--reference=gauss"}) {
        const testing::program_result e =
            run_program({"straightness", sparse, "--cutoff", "0.8", datum});
        EXPECT_EQ(e.status, 2) << datum;
        EXPECT_NE(e.err.find("--cutoff"), std::string::npos) << e.err;
    }
    EXPECT_EQ(run_program({"straightness", sparse, "--cutoff", "0"}).status, 2);
}

}  // namespace
}  // namespace vantor::cli
