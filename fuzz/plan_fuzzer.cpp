// SPDX-License-Identifier: Apache-2.0
// Feeds arbitrary bytes to the inspection-plan runner as a plan beside two small point files
// (a face and a short bore). It must either throw its error, naming the plan or the point file
// the plan names, or report every tolerance with a finite value and a verdict that follows
// from its limits.
#include <unistd.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "error.h"
#include "inspection.h"

namespace {

void check(bool condition) {
    if (!condition) std::abort();
}

// A directory holding face.txt (a 4 x 4 grid at z = 0) and bore.txt (two sections of 8 points
// of radius 5 about the z axis), made once.
const std::string& directory() {
    static const std::string dir = [] {
        std::string pattern = "/tmp/vantor-plan-fuzz-XXXXXX";
        check(::mkdtemp(pattern.data()) != nullptr);
        std::FILE* face = std::fopen((pattern + "/face.txt").c_str(), "w");
        std::FILE* bore = std::fopen((pattern + "/bore.txt").c_str(), "w");
        check(face != nullptr && bore != nullptr);
        for (int i = 0; i < 16; ++i) std::fprintf(face, "%d %d 0\n", 10 * (i % 4), 10 * (i / 4));
        for (int i = 0; i < 16; ++i) {
            const double a = 0.7853981633974483 * (i % 8);
            std::fprintf(bore, "%.9f %.9f %d\n", 5 * std::cos(a), 5 * std::sin(a), 2 + 6 * (i / 8));
        }
        std::fclose(face);
        std::fclose(bore);
        return pattern;
    }();
    return dir;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string& dir = directory();
    const std::string text(reinterpret_cast<const char*>(data), size);
    try {
        const vantor::cli::outcome o =
            vantor::cli::inspect(vantor::cli::parse_json_lines(text, dir + "/plan.json"));
        int out = 0;
        for (const auto& row : o.data.at("tolerances")) {
            const double value = row.at("value").get<double>();
            const double lower = row.at("lower").get<double>(),
                         upper = row.at("upper").get<double>();
            check(std::isfinite(value) && std::isfinite(lower) && std::isfinite(upper));
            const bool within = lower <= value && value <= upper;
            check(row.at("within").get<bool>() == within);
            out += within ? 0 : 1;
        }
        check(o.data.at("out").get<int>() == out && o.within == (out == 0));
    } catch (const vantor::cli::error& e) {
        // Every path the runner names is absolute here: the plan's, and its point files'.
        check(e.what()[0] == '/');
    }
    return 0;
}
