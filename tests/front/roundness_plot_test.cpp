// SPDX-License-Identifier: Apache-2.0
#include "roundness_plot.h"

#include <algorithm>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace vantor::cli {
namespace {

constexpr double pi = 3.14159265358979323846;
// The chart centre and the chart radius of the middle of the deviations' band, in millimetres.
constexpr double cx = 100.0, cy = 98.0, middle = 50.0;

struct vertex {
    double x, y;
    double radius() const { return std::hypot(x - cx, y - cy); }
    double angle() const { return std::atan2(-(y - cy), x - cx); }  // SVG y points down
};

// The value of attribute `name` of the element with id `id`.
std::string attribute(const std::string& svg, const std::string& id, const std::string& name) {
    const std::size_t element = svg.find("id=\"" + id + "\"");
    if (element == std::string::npos) return "";
    const std::size_t start = svg.rfind('<', element);
    const std::size_t end = svg.find('>', element);
    const std::string tag = svg.substr(start, end - start);
    const std::size_t value = tag.find(" " + name + "=\"");
    if (value == std::string::npos) return "";
    const std::size_t first = value + name.size() + 3;
    return tag.substr(first, tag.find('"', first) - first);
}

// The vertices of a path made of M, L and Z commands.
std::vector<vertex> vertices(const std::string& d) {
    std::string numbers = d;
    for (char& c : numbers) {
        if (c == 'M' || c == 'L' || c == 'Z') c = ' ';
    }
    std::istringstream in(numbers);
    std::vector<vertex> out;
    vertex v;
    while (in >> v.x >> v.y) out.push_back(v);
    return out;
}

// Points about the origin in the plane z = 0 with the given radii, at equal angular steps.
vantor::actual profile(const std::vector<double>& radii) {
    vantor::actual set(static_cast<int>(radii.size()));
    for (std::size_t k = 0; k < radii.size(); ++k) {
        const double a = 2 * pi * static_cast<double>(k) / static_cast<double>(radii.size());
        set.append(radii[k] * std::cos(a), radii[k] * std::sin(a), 0.0);
    }
    return set;
}

const spanto::circle reference(spanto::point(0, 0, 0), spanto::vector(0, 0, 1), 10.0);

roundness_chart chart_of(std::vector<chart_circle> circles = {}) {
    return {"ring <1> & co.txt", 0.02, "least-squares circle", reference, std::move(circles)};
}

TEST(RoundnessPlot, MagnifiesTheDeviationsOntoTheBand) {
    // Deviations of +-0.01 about radius 10: a band of 0.02, which 24 mm hold at x1200, so the
    // magnification is x1000 and the deviations land 10 mm either side of the band's middle.
    const vantor::actual points = profile({10.01, 9.99, 10.01, 9.99, 10.01, 9.99, 10.01, 9.99});
    const roundness_svg plot = draw_roundness_plot(points, chart_of());
    EXPECT_EQ(plot.magnification, 1000.0);

    const std::vector<vertex> v = vertices(attribute(plot.text, "profile", "d"));
    ASSERT_EQ(v.size(), 8u);
    for (std::size_t k = 0; k < v.size(); ++k) {
        const bool outer = std::abs(v[k].radius() - (middle + 10)) < 1e-3;
        const bool inner = std::abs(v[k].radius() - (middle - 10)) < 1e-3;
        EXPECT_TRUE(outer || inner) << "vertex " << k << " at " << v[k].radius();
        if (k > 0) {
            // In angular order, counter-clockwise, outer and inner in turn.
            const double step = std::remainder(v[k].angle() - v[k - 1].angle(), 2 * pi);
            EXPECT_NEAR(step, pi / 4, 1e-4);
            EXPECT_NE(outer, std::abs(v[k - 1].radius() - (middle + 10)) < 1e-3);
        }
    }
    EXPECT_NE(plot.text.find("Magnification \u00d71000"), std::string::npos);
    // Rings 5 mm apart: one division is 0.005 at x1000.
    EXPECT_NE(plot.text.find("1 division = 0.005"), std::string::npos);
    EXPECT_NE(plot.text.find("Roundness 0.020000 about the least-squares circle"),
              std::string::npos);
}

TEST(RoundnessPlot, DrawsEachReferenceCircleThroughTheSameMapping) {
    const vantor::actual points = profile({10.01, 9.99, 10.01, 9.99});
    const spanto::vector z(0, 0, 1);
    const roundness_svg plot = draw_roundness_plot(
        points, chart_of({{"LSC", "least squares", reference, 0.02, ""},
                          {"MZC", "minimum zone", spanto::circle({0, 0, 0}, z, 10.005), 0.02, ""},
                          // 5 um off centre along x: 5 mm off the middle on the chart.
                          {"MIC", "maximum inscribed", spanto::circle({0.005, 0, 0}, z, 10), 0.02,
                           "open profile: not the exact optimum"},
                          {"MCC", "minimum circumscribed", spanto::circle({0, 0, 0}, z, 10.01),
                           0.02, ""}}));
    const auto radii = [&](const char* id) {
        std::vector<double> r;
        for (const vertex& v : vertices(attribute(plot.text, id, "d"))) r.push_back(v.radius());
        return r;
    };
    for (const auto& [id, expected] :
         {std::pair{"LSC", middle}, std::pair{"MZC", middle + 5}, std::pair{"MCC", middle + 10}}) {
        const std::vector<double> r = radii(id);
        ASSERT_FALSE(r.empty()) << id;
        for (const double x : r) EXPECT_NEAR(x, expected, 1e-3) << id;
    }
    const std::vector<double> off = radii("MIC");
    ASSERT_FALSE(off.empty());
    EXPECT_NEAR(*std::max_element(off.begin(), off.end()), middle + 5, 1e-3);
    EXPECT_NEAR(*std::min_element(off.begin(), off.end()), middle - 5, 1e-3);

    for (const char* id : {"LSC", "MZC", "MIC", "MCC"}) {
        EXPECT_EQ(attribute(plot.text, id, "class"), "reference-circle") << id;
        EXPECT_NE(plot.text.find(std::string(">") + id + "</text>"), std::string::npos) << id;
    }
    for (const char* legend : {">maximum inscribed<", ">radius 10.005000<", ">roundness 0.020000<",
                               ">open profile: not the exact optimum<"}) {
        EXPECT_NE(plot.text.find(legend), std::string::npos) << legend;
    }
    // One note, for the one circle that has one.
    const std::size_t note = plot.text.find("circle-note");
    EXPECT_EQ(plot.text.find("circle-note", note + 1), std::string::npos);
}

TEST(RoundnessPlot, ThinsALongProfileButKeepsItsExtremes) {
    std::vector<double> radii(100000, 10.0);
    for (std::size_t k = 0; k < radii.size(); ++k) radii[k] += 0.001 * std::sin(0.37 * k);
    radii[777] = 10.02;
    radii[50001] = 9.99;
    const vantor::actual points = profile(radii);
    const roundness_svg plot = draw_roundness_plot(points, chart_of());
    // The band 9.99 .. 10.02 (0.03) fits 24 mm at x800: x500.
    EXPECT_EQ(plot.magnification, 500.0);
    const std::vector<vertex> v = vertices(attribute(plot.text, "profile", "d"));
    EXPECT_LE(v.size(), 7200u);
    EXPECT_GT(v.size(), 3600u);
    double low = 1e9, high = 0;
    for (const vertex& p : v) {
        low = std::min(low, p.radius());
        high = std::max(high, p.radius());
    }
    EXPECT_NEAR(high, middle + 500 * 0.015, 1e-3);
    EXPECT_NEAR(low, middle - 500 * 0.015, 1e-3);
    EXPECT_NE(plot.text.find("100000 points"), std::string::npos);
}

TEST(RoundnessPlot, LooksTheSameWhicheverSenseTheNormalHas) {
    const vantor::actual points = profile({10.01, 9.99, 10.02, 9.98, 10.0});
    roundness_chart down = chart_of();
    down.reference.normal = spanto::vector(0, 0, -1);
    const std::string up_svg = draw_roundness_plot(points, chart_of()).text;
    EXPECT_EQ(draw_roundness_plot(points, down).text, up_svg);
    // The orthogonal of z is y (z ^ x): 0 degrees along y.
    EXPECT_NE(up_svg.find("Viewed with the axis (0, 0, 1) towards the viewer; 0\u00b0 along (0, 1, "
                          "0)"),
              std::string::npos);
}

TEST(RoundnessPlot, EscapesTheFileNameAndSkipsInvalidPoints) {
    vantor::actual points = profile({10.01, 9.99, 10.01});
    points.append(spanto::point());  // invalid
    const roundness_svg plot = draw_roundness_plot(points, chart_of());
    EXPECT_NE(plot.text.find("<title>Roundness of ring &lt;1&gt; &amp; co.txt</title>"),
              std::string::npos);
    EXPECT_EQ(vertices(attribute(plot.text, "profile", "d")).size(), 3u);
}

TEST(RoundnessPlot, APerfectProfileIsDrawnUnmagnifiedOnTheBandsMiddle) {
    const vantor::actual points = profile({10, 10, 10, 10});
    const roundness_svg plot = draw_roundness_plot(points, chart_of());
    EXPECT_EQ(plot.magnification, 1.0);
    for (const vertex& v : vertices(attribute(plot.text, "profile", "d"))) {
        EXPECT_NEAR(v.radius(), middle, 1e-3);
    }
}

TEST(RoundnessPlot, ZeroDegreesStaysPutWhenTheAxisTilts) {
    // Tilts that make a different component of the normal the smallest: 0 degrees stays along
    // y, and a point on the y side is drawn at the top of the chart.
    for (const spanto::vector normal :
         {spanto::vector(1e-6, -1e-7, 1), spanto::vector(-1e-7, 1e-6, 1)}) {
        roundness_chart tilted = chart_of();
        tilted.reference.normal = normal;
        vantor::actual points(4);
        for (const auto& [x, y] :
             {std::pair{0.0, 10.02}, {-10.0, 0.0}, {0.0, -10.0}, {10.0, 0.0}}) {
            points.append(x, y, 0.0);
        }
        const roundness_svg plot = draw_roundness_plot(points, tilted, {"mm", "Filter 50 UPR"});
        EXPECT_NE(plot.text.find("0\u00b0 along (0, 1, 0)"), std::string::npos);
        double top = 0.0;
        for (const vertex& v : vertices(attribute(plot.text, "profile", "d"))) {
            if (v.radius() > middle + 1) top = v.angle();
        }
        EXPECT_NEAR(top, 0.0, 1e-4);
        EXPECT_NE(plot.text.find("Roundness 0.020000 mm about"), std::string::npos);
        EXPECT_NE(plot.text.find(">Filter 50 UPR<"), std::string::npos);
    }
}

}  // namespace
}  // namespace vantor::cli
