// SPDX-License-Identifier: Apache-2.0
#include "spectrum_plot.h"

#include <algorithm>
#include <cmath>

#include "report.h"
#include "svg.h"
#include "units.h"

namespace vantor::cli {
namespace {

using svg::escape;
using svg::mm;
using svg::plain;

// Chart geometry, in millimetres (the SVG's user unit).
constexpr double page_width = 200.0;
constexpr double page_height = 125.0;
constexpr double left = 28.0, right = 190.0;  // the plot area
constexpr double top = 20.0, bottom = 98.0;
constexpr std::size_t most_bars = 500;

std::string line(double x1, double y1, double x2, double y2, const std::string& attributes) {
    return "<line x1=\"" + mm(x1) + "\" y1=\"" + mm(y1) + "\" x2=\"" + mm(x2) + "\" y2=\"" +
           mm(y2) + "\" " + attributes + "/>\n";
}

}  // namespace

std::string draw_spectrum_plot(const spectrum_chart& chart) {
    std::size_t shown = std::min(chart.harmonics.size(), most_bars);
    // Up to twice the cutoff; compared as doubles, since a cutoff may exceed every size_t.
    if (chart.cutoff > 0.0 && 2.0 * chart.cutoff < static_cast<double>(shown)) {
        shown = static_cast<std::size_t>(std::ceil(2.0 * chart.cutoff));
    }
    double largest = 0.0;  // of the form, UPR 2 and up
    for (std::size_t i = 1; i < shown; ++i) {
        largest = std::max(largest, chart.harmonics[i].amplitude);
    }
    if (!(largest > 0.0)) largest = shown > 0 ? chart.harmonics[0].amplitude : 0.0;
    if (!(largest > 0.0)) largest = 1.0;
    const double ceiling = svg::nice_ceil(largest);
    const double tick = svg::nice_ceil(ceiling / 5.0);
    const double slot = (right - left) / static_cast<double>(std::max<std::size_t>(shown, 1));
    const auto x_of = [&](double upr) { return left + (upr - 0.5) * slot; };
    const auto y_of = [&](double amplitude) {
        return bottom - (bottom - top) * std::min(amplitude, ceiling) / ceiling;
    };

    std::string s = svg::document_start(page_width, page_height,
                                        "Harmonic spectrum of " + escape(chart.source));
    s += svg::text(page_width / 2, 10.0, "font-size=\"5\" text-anchor=\"middle\"",
                   "Harmonic spectrum: " + escape(chart.source));

    // Amplitude axis: grid lines and labels every tick.
    s += "<g id=\"amplitude-axis\" font-size=\"3\" fill=\"#404040\" text-anchor=\"end\">\n";
    for (int i = 0; i * tick <= ceiling * (1 + 1e-9); ++i) {
        const double y = y_of(i * tick);
        s += line(left, y, right, y, "stroke=\"#d8d8d8\" stroke-width=\"0.15\"");
        s += svg::text(left - 2, y + 1, "", plain(i * tick));
    }
    s += "</g>\n";
    const std::string amplitude_title =
        chart.unit.empty() ? "Amplitude" : "Amplitude (" + svg::unit_symbol(chart.unit) + ")";
    s += svg::text(8, (top + bottom) / 2,
                   "id=\"amplitude-title\" font-size=\"3.5\" text-anchor=\"middle\" "
                   "transform=\"rotate(-90 8 " +
                       mm((top + bottom) / 2) + ")\"",
                   escape(amplitude_title));

    // UPR axis: a label every 1, 2 or 5 times a power of ten, about ten of them.
    const double upr_step = std::max(1.0, svg::nice_ceil(static_cast<double>(shown) / 10.0));
    s += "<g id=\"upr-axis\" font-size=\"3\" fill=\"#404040\" text-anchor=\"middle\">\n";
    s += line(left, bottom, right, bottom, "stroke=\"#404040\" stroke-width=\"0.3\"");
    for (double upr = upr_step; upr <= static_cast<double>(shown); upr += upr_step) {
        s += line(x_of(upr), bottom, x_of(upr), bottom + 1.5,
                  "stroke=\"#404040\" stroke-width=\"0.2\"");
        s += svg::text(x_of(upr), bottom + 5, "", plain(upr));
    }
    s += "</g>\n";
    s += svg::text((left + right) / 2, bottom + 12,
                   "id=\"upr-title\" font-size=\"3.5\" text-anchor=\"middle\"",
                   "Undulations per revolution (UPR)");

    // The bars.
    s += "<g id=\"harmonics\" fill=\"#1f5fbf\">\n";
    const double width = std::max(0.1, 0.7 * slot);
    for (std::size_t i = 0; i < shown; ++i) {
        const vantor::harmonic& h = chart.harmonics[i];
        const double y = y_of(h.amplitude);
        s += "<rect id=\"upr-" + std::to_string(h.upr) + "\" class=\"harmonic\" x=\"" +
             mm(x_of(h.upr) - width / 2) + "\" y=\"" + mm(y) + "\" width=\"" + mm(width) +
             "\" height=\"" + mm(bottom - y) + "\"/>\n";
        if (h.amplitude > ceiling) {
            s += svg::text(
                x_of(h.upr) + width, top + 3, "class=\"clipped\" font-size=\"3\" fill=\"#404040\"",
                "UPR " + std::to_string(h.upr) + ": " +
                    escape(svg::with_unit(
                        format_length(h.amplitude, nanometre_decimals(chart.unit)), chart.unit)));
        }
    }
    s += "</g>\n";

    if (chart.cutoff > 0.0 && chart.cutoff <= static_cast<double>(shown)) {
        const double x = x_of(chart.cutoff);
        s += line(
            x, top, x, bottom,
            "id=\"cutoff\" stroke=\"#c62828\" stroke-width=\"0.3\" stroke-dasharray=\"1.5 1\"");
        s += svg::text(x - 1, top + 7, "font-size=\"3\" fill=\"#c62828\" text-anchor=\"end\"",
                       "cutoff " + plain(chart.cutoff) + " UPR");
    }
    s += svg::text(left, page_height - 6, "font-size=\"3\" fill=\"#606060\"",
                   "Amplitudes (half peak to valley) of the unfiltered profile, UPR 1 to " +
                       std::to_string(shown));
    s += "</svg>\n";
    return s;
}

}  // namespace vantor::cli
