// SPDX-License-Identifier: Apache-2.0
// The form evaluations against a datum, dispatched by feature name and datum kind.
#ifndef VANTOR_PYTHON_FORMS_H
#define VANTOR_PYTHON_FORMS_H

#include <optional>
#include <string>

#include <vantor/actual.h>

#include "elements.h"

namespace vantor::python {

// What an evaluation found: the value, the smallest and largest of the quantity the evaluation
// keeps (`extremes` names it: "deviation", "diameter" or "radius"; null with no minimum and
// maximum when the evaluation keeps none) and the datum measured against (the feature's own
// when the evaluation sets one, otherwise the one given), with the outliers about that datum
// (vantor::outliers_about).
struct form_outcome {
    double value;
    std::optional<double> minimum;
    std::optional<double> maximum;
    const char* extremes;
    element_values datum;
    int outliers;
};

// Evaluates `feature` ("straightness", "flatness", "roundness", "sphericity", "cylindricity" or
// "conicity") of the points against the datum of `kind` with the numbers `datum` (see
// elements.h; an element made by make_element). The pairs are those of the library's form
// classes:
//   straightness  line
//   flatness      plane, direction (the zone's planes perpendicular to it)
//   roundness     circle, line (the axis)
//   sphericity    sphere, point (the centre)
//   cylindricity  cylinder
//   conicity      cone, line (the axis; a cone is fitted about it)
// Throws ValueError for another pair, a zero direction, and an evaluation that fails or gives a
// value that is not finite, with the reason. Touches no Python object: call it with the GIL
// released.
form_outcome evaluate_form(const std::string& feature, const vantor::actual& points,
                           const std::string& kind, const numbers& datum);

}  // namespace vantor::python

#endif  // VANTOR_PYTHON_FORMS_H
