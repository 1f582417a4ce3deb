// SPDX-License-Identifier: Apache-2.0
// `vantor demo`: a short tour of the commands on sample measurements.
#ifndef VANTOR_TOOLS_DEMO_H
#define VANTOR_TOOLS_DEMO_H

#include <optional>
#include <ostream>
#include <string>

namespace vantor::cli {

struct demo_options {
    std::string samples;              // the samples' directory; empty: found automatically
    std::optional<std::string> plot;  // where to write the roundness plot
    bool force = false;
    bool json = false;
};

// The directory of the sample measurements: installed beside the program
// (<prefix>/share/vantor/samples for <prefix>/bin/vantor), else the source tree's tools/samples.
// Throws error when neither exists.
std::string find_samples();

// Runs info, circle, roundness (with a plot), fit, the form commands without a datum and two
// with one, and convert on the samples, then inspect on the flanged part's plan (examples/flange,
// installed beside the samples), and prints, for each, the command line that does the same
// and its report (as one JSON array with json). The plot goes to options.plot, or else to
// demo-roundness.svg in the current directory, or, when that exists and force is not given, to
// the first of demo-roundness-2.svg, -3, ... that does not. The converted file goes to a
// temporary directory that is removed afterwards. Returns the exit status.
int demo(const demo_options& options, std::ostream& out);

}  // namespace vantor::cli

#endif  // VANTOR_TOOLS_DEMO_H
