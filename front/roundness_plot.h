// SPDX-License-Identifier: Apache-2.0
// The roundness plot: an SVG polar chart of a profile's radial deviations, as a roundness tester
// prints it.
#ifndef VANTOR_FRONT_ROUNDNESS_PLOT_H
#define VANTOR_FRONT_ROUNDNESS_PLOT_H

#include <string>
#include <vector>

#include <spanto/spanto.h>
#include <vantor/actual.h>

namespace vantor::cli {

// A reference circle drawn on the chart.
struct chart_circle {
    std::string abbreviation;  // label on the chart and element id, e.g. "LSC"
    std::string title;         // e.g. "least squares"
    spanto::circle circle;     // invalid for a circle that could not be fitted: listed, not drawn
    double roundness;          // the roundness about this circle
    std::string note;          // printed under the circle's legend line when not empty
};

struct roundness_chart {
    std::string source;  // the file name shown in the caption
    double roundness;    // the value shown in the caption
    std::string
        reference_name;  // what the roundness is measured about, e.g. "least-squares circle"
    // The chart's frame: its axis is the chart centre, its radius the zero of the deviations.
    // The chart is drawn in the library's polar frame about the normal (polar_frame_about): seen
    // with the frame's axis towards the viewer, 0 degrees along x projected into the plane (y
    // when the axis lies near x), so that small tilts of the axis leave it in place.
    spanto::circle reference;
    std::vector<chart_circle> circles;
};

// Words the chart adds to its numbers.
struct chart_labels {
    std::string unit;  // of lengths, as units.h names it; empty: numbers without a unit (as mm)
    std::string note;  // on the profile, printed beside the scale (e.g. its filter); may be empty
};

struct roundness_svg {
    std::string text;      // the SVG document
    double magnification;  // chart length per real length of a radial deviation
};

// Draws the chart. Every point is projected into the plane of the reference circle; its radial
// deviation is its distance from the reference axis minus the reference radius. The chart maps a
// deviation d to the chart radius 50 mm + m * (d - middle of the deviations' band), where the
// magnification m is the largest of 1, 2, 5 times a power of ten that keeps the band within
// 24 mm, at most 10^6 (1 for a band narrower than a billionth of the reference radius, which is
// rounding rather than form); m is a ratio of lengths, d taken in millimetres (labels.unit).
// The profile is drawn in angular order (thinned to the smallest and
// largest deviation of each tenth of a degree when it has more than 7200 points). Each reference
// circle goes through the same mapping, ray by ray from the chart centre, so that it meets the
// profile where the circle meets the points. Grid rings, angle marks, the circles' labels, a legend
// (with each circle's note) and a caption with the roundness, the magnification and the ring
// spacing complete the chart.
// Invalid points are left out.
roundness_svg draw_roundness_plot(const vantor::actual& points, const roundness_chart& chart,
                                  const chart_labels& labels = {});

}  // namespace vantor::cli

#endif  // VANTOR_FRONT_ROUNDNESS_PLOT_H
