// SPDX-License-Identifier: Apache-2.0
// The harmonic spectrum of a roundness profile: an SVG bar chart of the harmonics' amplitudes.
#ifndef VANTOR_FRONT_SPECTRUM_PLOT_H
#define VANTOR_FRONT_SPECTRUM_PLOT_H

#include <string>
#include <vector>

#include <vantor/roundness_analysis.h>

namespace vantor::cli {

struct spectrum_chart {
    std::string source;                       // the file name shown in the title
    std::vector<vantor::harmonic> harmonics;  // UPR 1, 2, 3, ... in order
    double cutoff = 0.0;                      // the filter's cutoff in UPR, marked; 0: none
    std::string unit;                         // of the amplitudes; empty: none
};

// Draws a bar for each harmonic from UPR 1 to the last one, at most 500 and, with a cutoff, at
// most twice the cutoff, over an axis of undulations per revolution; the amplitude axis reaches
// the largest amplitude of UPR 2 and up (the form). UPR 1, the offset of the profile from its
// axis, may be taller: its bar is then cut at the top and labelled with its amplitude. Bars have
// the id "upr-<k>" and the class "harmonic"; a dashed line marks the cutoff.
std::string draw_spectrum_plot(const spectrum_chart& chart);

}  // namespace vantor::cli

#endif  // VANTOR_FRONT_SPECTRUM_PLOT_H
