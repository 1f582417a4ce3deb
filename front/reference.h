// SPDX-License-Identifier: Apache-2.0
// Form values without a given datum: measured about a reference element fitted to the points.
// The program's form commands and the Python package's form functions share this, and with it
// the default reference.
#ifndef VANTOR_FRONT_REFERENCE_H
#define VANTOR_FRONT_REFERENCE_H

#include <optional>
#include <string>

#include <spanto/spanto.h>
#include <vantor/actual.h>
#include <vantor/fit.h>

#include "fits.h"

namespace vantor::cli {

// The criterion of the reference element fitted when a form value is asked for without a datum:
// the minimum zone, by which ISO 1101 defines every form tolerance. (A least-squares reference
// over-states the form: the points' spread about it is never narrower than the zone.)
constexpr vantor::criterion default_reference = vantor::criterion::zone;

// A form value measured about a fitted reference element.
struct reference_form {
    double value;
    double minimum;
    double maximum;
    const char* extremes;   // what minimum and maximum are: "deviation", "diameter" or "radius"
    std::string reference;  // the reference element: "minimum-zone plane"
    fitted_element datum;   // the reference element itself
    std::optional<fit_proof> proof;  // the reference fit's proof; none for least squares
    int outliers = 0;                // fit_report::outliers of the reference fit
};

// The form value of `feature` ("straightness", "flatness", "roundness", "sphericity",
// "cylindricity" or "conicity") of the valid points about the reference element of criterion c
// (a line, plane, circle, sphere, cylinder or cone) fitted to them:
//   - straightness: the fit's deviation, twice the largest distance from the line, with twice
//     the smallest and largest distance (extremes "diameter"), as straightness about a given
//     line reports them;
//   - flatness, sphericity, cylindricity, conicity: the fit's deviation, the largest minus the
//     smallest signed distance from the element, with those two (extremes "deviation"). (About
//     a given cylinder, cylindricity is the largest distance from it instead: about a fitted
//     one, which the points straddle, that would be about half the form.)
//   - roundness: about the axis of the circle fitted along `direction` (without one, in the
//     least-squares plane of the points), measured as roundness about a given line measures
//     it: the largest minus the smallest distance from the axis, with those two (extremes
//     "radius").
// The options steer the fit (vantor::fit_options: an approximate axis and largest tilt for a
// line, cylinder or cone, the time a minimax fit may spend on its proof).
// Throws error "<reference>: <the library's reason>" when the fit fails (options that
// fit_options_refusal refuses among the reasons), and error for another feature name or for a
// direction with any feature but roundness.
reference_form form_about_reference(const vantor::actual& points, const std::string& feature,
                                    vantor::criterion c,
                                    const std::optional<spanto::vector>& direction = std::nullopt,
                                    const vantor::fit_options& options = {});

}  // namespace vantor::cli

#endif  // VANTOR_FRONT_REFERENCE_H
