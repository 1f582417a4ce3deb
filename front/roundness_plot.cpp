// SPDX-License-Identifier: Apache-2.0
#include "roundness_plot.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string_view>

#include <vantor/roundness_analysis.h>

#include "report.h"
#include "svg.h"
#include "units.h"

namespace vantor::cli {
namespace {

constexpr double pi = 3.14159265358979323846;

// Chart geometry, in millimetres (the SVG's user unit).
constexpr double page_width = 200.0;
constexpr double page_height = 238.0;
constexpr double centre_x = 100.0;
constexpr double centre_y = 98.0;
constexpr double band_middle = 50.0;  // chart radius of the middle of the deviations' band
constexpr double band_width = 24.0;   // widest the band may be drawn
constexpr double grid_radius = 75.0;
constexpr double label_radius = 69.0;
constexpr double max_magnification = 1e6;
// A band of deviations narrower than this fraction of the reference radius is no form a
// measurement resolves (a nanometre on a metre), only rounding: it is drawn unmagnified.
constexpr double rounding_band = 1e-9;
// Direction components below this print as 0 in the caption, which shows four digits.
constexpr double shown_zero = 5e-5;

constexpr std::size_t thinning_threshold = 7200;
constexpr int thinning_bins = 3600;
constexpr int circle_samples = 720;

const char* const circle_colours[] = {"#1f5fbf", "#2a9d3a", "#e07b00", "#c62828"};

using svg::document_start;
using svg::escape;
using svg::mm;
using svg::plain;
using svg::with_unit;

// A unit vector for the caption: "0, 0.7071, -0.7071".
std::string direction(const spanto::vector& v) {
    const auto shown = [](double c) { return std::abs(c) < shown_zero ? 0.0 : c; };
    char text[96];
    std::snprintf(text, sizeof text, "%.4g, %.4g, %.4g", shown(v.x), shown(v.y), shown(v.z));
    return text;
}

struct polar {
    double angle;   // radians, -pi to pi, counter-clockwise from u seen against the normal
    double radius;  // distance from the reference axis
};

class chart_mapping {
  public:
    // Seen with the frame's axis towards the viewer, 0 degrees along its zero direction.
    explicit chart_mapping(const spanto::circle& reference)
        : chart_mapping(reference, vantor::polar_frame_about(reference.normal)) {}

    // Towards the viewer.
    const spanto::vector& axis() const { return axis_; }
    // The direction of 0 degrees.
    const spanto::vector& zero() const { return u_; }

    polar project(const spanto::point& p) const {
        const spanto::vector d = p - origin_;
        const double x = dot(d, u_), y = dot(d, w_);
        return {std::atan2(y, x), std::hypot(x, y)};
    }

    double deviation(const polar& p) const { return p.radius - radius_; }

    // Chart millimetres per unit of deviation, about the middle of the band.
    void scale(double middle, double chart_per_unit) {
        middle_ = middle;
        chart_per_unit_ = chart_per_unit;
    }

    // The chart radius of a distance rho from the reference axis.
    double chart_radius(double rho) const {
        return std::max(0.0, band_middle + chart_per_unit_ * (rho - radius_ - middle_));
    }

    // The distance from the reference axis, along the ray at `angle`, of the circle `c`
    // projected into the chart plane (the far intersection; the axis lies inside the circle).
    double ray_distance(const spanto::circle& c, double angle) const {
        const spanto::vector d = c.centre - origin_;
        const double a = dot(d, u_), b = dot(d, w_);
        const double cs = std::cos(angle), sn = std::sin(angle);
        const double across = a * sn - b * cs;
        return a * cs + b * sn + std::sqrt(std::max(0.0, c.radius * c.radius - across * across));
    }

  private:
    chart_mapping(const spanto::circle& reference, const vantor::polar_frame& frame)
        : origin_(reference.centre),
          axis_(frame.axis),
          u_(frame.zero),
          w_(frame.quarter),
          radius_(reference.radius) {}

    spanto::point origin_;
    spanto::vector axis_, u_, w_;
    double radius_;
    double middle_ = 0.0;
    double chart_per_unit_ = 1.0;
};

double chart_x(double angle, double r) { return centre_x + r * std::cos(angle); }
double chart_y(double angle, double r) { return centre_y - r * std::sin(angle); }

std::string chart_point(double angle, double r) {
    return mm(chart_x(angle, r)) + " " + mm(chart_y(angle, r));
}

// Keeps, of each of thinning_bins equal angular sectors, the points of smallest and largest
// radius, in angular order.
std::vector<polar> thin(const std::vector<polar>& profile) {
    std::vector<polar> kept;
    std::size_t i = 0;
    while (i < profile.size()) {
        const auto bin = [](double angle) {
            return std::min(thinning_bins - 1,
                            static_cast<int>((angle + pi) / (2 * pi) * thinning_bins));
        };
        const int current = bin(profile[i].angle);
        std::size_t low = i, high = i;
        std::size_t j = i;
        for (; j < profile.size() && bin(profile[j].angle) == current; ++j) {
            if (profile[j].radius < profile[low].radius) low = j;
            if (profile[j].radius > profile[high].radius) high = j;
        }
        kept.push_back(profile[std::min(low, high)]);
        if (low != high) kept.push_back(profile[std::max(low, high)]);
        i = j;
    }
    return kept;
}

void text(std::string& out, double x, double y, const std::string& attributes,
          const std::string& content) {
    out += svg::text(x, y, attributes, content);
}

}  // namespace

roundness_svg draw_roundness_plot(const vantor::actual& points, const roundness_chart& chart,
                                  const chart_labels& labels) {
    chart_mapping map(chart.reference);

    std::vector<polar> profile;
    profile.reserve(static_cast<std::size_t>(points.numpoints()));
    for (const spanto::point& p : points) {
        if (p.valid()) profile.push_back(map.project(p));
    }
    std::sort(profile.begin(), profile.end(),
              [](const polar& a, const polar& b) { return a.angle < b.angle; });

    double low = 0.0, high = 0.0;
    for (std::size_t i = 0; i < profile.size(); ++i) {
        const double d = map.deviation(profile[i]);
        low = i == 0 ? d : std::min(low, d);
        high = i == 0 ? d : std::max(high, d);
    }
    const double band = high - low;
    // The magnification is the ratio of chart to real length, whatever the unit.
    const length_unit* unit = unit_named(labels.unit);
    const double millimetres = unit != nullptr ? unit->millimetres : 1.0;
    const double magnification =
        band > rounding_band * chart.reference.radius && band > 0.0
            ? std::min(max_magnification, svg::nice_floor(band_width / (band * millimetres)))
            : 1.0;
    const double chart_per_unit = magnification * millimetres;
    const auto length = [&](double v) { return format_length(v, nanometre_decimals(labels.unit)); };
    const double division = svg::nice_ceil(5.0 / chart_per_unit);
    const double ring_spacing = chart_per_unit * division;
    map.scale((low + high) / 2, chart_per_unit);
    const std::size_t measured = profile.size();
    if (measured > thinning_threshold) profile = thin(profile);

    std::string svg =
        document_start(page_width, page_height, "Roundness of " + escape(chart.source));
    text(svg, centre_x, 9.0, "font-size=\"5\" text-anchor=\"middle\"",
         "Roundness profile: " + escape(chart.source));

    // Grid: rings one division apart about the middle of the band, spokes every 30 degrees.
    svg += "<g id=\"grid\" fill=\"none\" stroke=\"#c8c8c8\" stroke-width=\"0.15\">\n";
    for (int k = -20; k <= 20; ++k) {
        const double r = band_middle + k * ring_spacing;
        if (r <= 0.0 || r >= grid_radius) continue;
        svg += "<circle cx=\"" + mm(centre_x) + "\" cy=\"" + mm(centre_y) + "\" r=\"" + mm(r) +
               "\"/>\n";
    }
    svg += "<circle cx=\"" + mm(centre_x) + "\" cy=\"" + mm(centre_y) + "\" r=\"" +
           mm(grid_radius) + "\" stroke=\"#909090\" stroke-width=\"0.3\"/>\n";
    for (int degrees = 0; degrees < 360; degrees += 30) {
        const double a = degrees * pi / 180;
        svg += "<line x1=\"" + mm(centre_x) + "\" y1=\"" + mm(centre_y) + "\" x2=\"" +
               mm(chart_x(a, grid_radius)) + "\" y2=\"" + mm(chart_y(a, grid_radius)) + "\"/>\n";
    }
    svg +=
        "</g>\n<g id=\"angles\" font-size=\"3.2\" fill=\"#606060\" text-anchor=\"middle\" "
        "dominant-baseline=\"middle\">\n";
    for (int degrees = 0; degrees < 360; degrees += 30) {
        const double a = degrees * pi / 180;
        text(svg, chart_x(a, grid_radius + 5), chart_y(a, grid_radius + 5), "",
             std::to_string(degrees) + "\u00b0");
    }
    svg += "</g>\n";

    // The profile.
    svg +=
        "<path id=\"profile\" fill=\"none\" stroke=\"black\" stroke-width=\"0.25\" "
        "stroke-linejoin=\"round\" d=\"";
    for (std::size_t i = 0; i < profile.size(); ++i) {
        svg += (i == 0 ? "M" : " L") +
               chart_point(profile[i].angle, map.chart_radius(profile[i].radius));
    }
    svg += profile.empty() ? "\"/>\n" : " Z\"/>\n";

    // The reference circles, each labelled at its own angle with a leader line.
    for (std::size_t k = 0; k < chart.circles.size(); ++k) {
        const chart_circle& c = chart.circles[k];
        if (c.circle.invalid()) continue;
        const char* colour = circle_colours[k % 4];
        std::string path;
        for (int i = 0; i < circle_samples; ++i) {
            const double a = 2 * pi * i / circle_samples - pi;
            path += (i == 0 ? "M" : " L") +
                    chart_point(a, map.chart_radius(map.ray_distance(c.circle, a)));
        }
        svg += "<path id=\"" + escape(c.abbreviation) + "\" class=\"reference-circle\" " +
               "fill=\"none\" stroke=\"" + colour + "\" stroke-width=\"0.3\" d=\"" + path +
               " Z\"/>\n";
        const double a = (45.0 + 90.0 * static_cast<double>(k)) * pi / 180;
        const double r = map.chart_radius(map.ray_distance(c.circle, a));
        svg += "<line x1=\"" + mm(chart_x(a, r)) + "\" y1=\"" + mm(chart_y(a, r)) + "\" x2=\"" +
               mm(chart_x(a, label_radius - 2.5)) + "\" y2=\"" +
               mm(chart_y(a, label_radius - 2.5)) + "\" stroke=\"" + colour +
               "\" stroke-width=\"0.2\"/>\n";
        text(svg, chart_x(a, label_radius), chart_y(a, label_radius),
             "class=\"circle-label\" font-size=\"3.5\" font-weight=\"bold\" fill=\"" +
                 std::string(colour) + "\" text-anchor=\"middle\" dominant-baseline=\"middle\"",
             escape(c.abbreviation));
    }
    svg += "<path d=\"M" + mm(centre_x - 2) + " " + mm(centre_y) + " h4 M" + mm(centre_x) + " " +
           mm(centre_y - 2) + " v4\" stroke=\"#606060\" stroke-width=\"0.2\"/>\n";

    // Caption and legend.
    double y = centre_y + grid_radius + 16;
    text(svg, 12, y, "id=\"caption\" font-size=\"5\" font-weight=\"bold\"",
         "Roundness " + escape(with_unit(length(chart.roundness), labels.unit)) + " about the " +
             escape(chart.reference_name));
    y += 7;
    text(svg, 12, y, "font-size=\"3.5\"", "Magnification \u00d7" + plain(magnification));
    text(svg, 60, y, "font-size=\"3.5\"",
         "1 division = " + escape(with_unit(plain(division), labels.unit)));
    text(svg, 110, y, "font-size=\"3.5\"", std::to_string(measured) + " points");
    if (!labels.note.empty()) text(svg, 145, y, "font-size=\"3.5\"", escape(labels.note));
    y += 5.5;
    text(svg, 12, y, "font-size=\"3\" fill=\"#606060\"",
         "Viewed with the axis (" + direction(map.axis()) +
             ") towards the viewer; 0\u00b0 along (" + direction(map.zero()) + ")");
    for (std::size_t k = 0; k < chart.circles.size(); ++k) {
        const chart_circle& c = chart.circles[k];
        y += 6;
        svg += "<line x1=\"12\" y1=\"" + mm(y - 1.2) + "\" x2=\"22\" y2=\"" + mm(y - 1.2) +
               "\" stroke=\"" + circle_colours[k % 4] + "\" stroke-width=\"0.8\"/>\n";
        text(svg, 25, y, "font-size=\"3.5\" font-weight=\"bold\"", escape(c.abbreviation));
        text(svg, 37, y, "font-size=\"3.5\"", escape(c.title));
        if (c.circle.valid()) {
            text(svg, 85, y, "font-size=\"3.5\"",
                 "radius " + escape(with_unit(length(c.circle.radius), labels.unit)));
            text(svg, 135, y, "font-size=\"3.5\"",
                 "roundness " + escape(with_unit(length(c.roundness), labels.unit)));
        }
        if (!c.note.empty()) {
            y += 4.5;
            text(svg, 37, y, "class=\"circle-note\" font-size=\"3\" fill=\"#c62828\"",
                 escape(c.note));
        }
    }
    svg += "</svg>\n";
    return {svg, magnification};
}

}  // namespace vantor::cli
