// SPDX-License-Identifier: Apache-2.0
#include "spectrum_plot.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace vantor::cli {
namespace {

std::size_t count(const std::string& text, const std::string& part) {
    std::size_t n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++n;
    }
    return n;
}

TEST(SpectrumPlot, ShowsUpToTwiceTheCutoffWhateverItsSize) {
    spectrum_chart chart{"ring.txt", {}, 0.0, "mm"};
    for (int k = 1; k <= 40; ++k) chart.harmonics.push_back({k, 1.0 / k, 0.0});
    // Cutoffs beyond the largest size_t as well: every harmonic is shown.
    const std::pair<double, std::size_t> cases[] = {
        {0.0, 40}, {2.5, 5}, {15.0, 30}, {20.0, 40}, {1e6, 40}, {1e19, 40}, {1e300, 40},
    };
    for (const auto& [cutoff, bars] : cases) {
        chart.cutoff = cutoff;
        const std::string svg = draw_spectrum_plot(chart);
        EXPECT_EQ(count(svg, "class=\"harmonic\""), bars) << cutoff;
        EXPECT_NE(svg.find("UPR 1 to " + std::to_string(bars) + "<"), std::string::npos) << cutoff;
    }
}

}  // namespace
}  // namespace vantor::cli
