// SPDX-License-Identifier: Apache-2.0
#include "forms.h"

#include <cmath>
#include <utility>

#include <pybind11/pybind11.h>
#include <vantor/feature.h>
#include <vantor/fit.h>

#include "failure.h"

namespace py = pybind11;

namespace vantor::python {
namespace {

using spanto::circle;
using spanto::cone;
using spanto::cylinder;
using spanto::line;
using spanto::plane;
using spanto::point;
using spanto::sphere;

// A direction from three numbers; the evaluations scale it to unit length.
spanto::vector direction_from(const numbers& v) {
    if (v.size() != 3) throw py::value_error("direction: expected 3 numbers");
    const spanto::vector d(v[0], v[1], v[2]);
    if (d.unit().invalid()) {
        throw py::value_error("direction: must have a finite, non-zero length");
    }
    return d;
}

// Throws unless the evaluation succeeded with a finite value. `why` says why the library could
// have failed (the points determine no such datum); null where, with valid points and datum, it
// cannot.
void check(const vantor::feature& f, const char* why) {
    if (f.invalid()) {
        throw failure(why != nullptr ? why : "evaluation failed",
                      why != nullptr ? vantor::status::degenerate : vantor::status::invalid_result);
    }
    if (!std::isfinite(f.value())) {
        throw failure("the value is not finite (coordinates too large?)",
                      vantor::status::invalid_points);
    }
}

// The outcome of an evaluation that keeps its extremes (the feature's minvalue() and
// maxvalue()), or keeps none, with the outliers of the points about the datum.
template <typename Datum>
form_outcome with_extremes(const vantor::formfeature<Datum>& f, const char* extremes,
                           element_values datum, int outliers) {
    return {f.value(), f.minvalue(), f.maxvalue(), extremes, std::move(datum), outliers};
}
form_outcome without_extremes(const vantor::feature& f, element_values datum, int outliers) {
    return {f.value(), std::nullopt, std::nullopt, nullptr, std::move(datum), outliers};
}

using evaluation = form_outcome (*)(const vantor::actual&, const numbers&);

struct form_case {
    const char* feature;
    const char* kind;
    evaluation evaluate;
};

const form_case cases[] = {
    {"straightness", "line",
     [](const vantor::actual& points, const numbers& v) {
         const line datum = element_from<line>(v);
         const vantor::straightness f(points, datum);
         check(f, nullptr);
         return with_extremes(f, "diameter", values_of(f.datum()),
                              vantor::outliers_about(points, datum));
     }},
    {"flatness", "plane",
     [](const vantor::actual& points, const numbers& v) {
         const vantor::flatness f(points, element_from<plane>(v));
         check(f, nullptr);
         return with_extremes(f, "deviation", values_of(f.datum()),
                              vantor::outliers_about(points, f.datum()));
     }},
    {"flatness", "direction",
     [](const vantor::actual& points, const numbers& v) {
         const vantor::flatness f(points, direction_from(v));
         check(f, nullptr);
         return with_extremes(f, "deviation", values_of(f.datum()),
                              vantor::outliers_about(points, f.datum()));
     }},
    {"roundness", "circle",
     [](const vantor::actual& points, const numbers& v) {
         const circle datum = element_from<circle>(v);
         const vantor::roundness f(points, datum);
         check(f, nullptr);
         return without_extremes(f, values_of(f.datum()), vantor::outliers_about(points, datum));
     }},
    {"roundness", "line",
     [](const vantor::actual& points, const numbers& v) {
         const line axis = element_from<line>(v);
         const vantor::roundness f(points, axis);
         check(f, nullptr);
         // Any circle about the axis: the rule weighs the distances about their mean.
         const circle about(axis.origin, axis.direction, 0.0);
         return with_extremes(f, "radius", values_of(axis), vantor::outliers_about(points, about));
     }},
    {"sphericity", "sphere",
     [](const vantor::actual& points, const numbers& v) {
         const sphere datum = element_from<sphere>(v);
         const vantor::sphereicity f(points, datum);
         check(f, nullptr);
         return without_extremes(f, values_of(f.datum()), vantor::outliers_about(points, datum));
     }},
    {"sphericity", "point",
     [](const vantor::actual& points, const numbers& v) {
         const point centre = element_from<point>(v);
         const vantor::sphereicity f(points, centre);
         check(f, nullptr);
         return with_extremes(f, "radius", values_of(centre),
                              vantor::outliers_about(points, sphere(centre, 0.0)));
     }},
    {"cylindricity", "cylinder",
     [](const vantor::actual& points, const numbers& v) {
         const cylinder datum = element_from<cylinder>(v);
         const vantor::cylindricity f(points, datum);
         check(f, nullptr);
         return without_extremes(f, values_of(f.datum()), vantor::outliers_about(points, datum));
     }},
    {"conicity", "cone",
     [](const vantor::actual& points, const numbers& v) {
         const vantor::coneicity f(points, element_from<cone>(v));
         check(f, nullptr);
         return with_extremes(f, "deviation", values_of(f.datum()),
                              vantor::outliers_about(points, f.datum()));
     }},
    {"conicity", "line",
     [](const vantor::actual& points, const numbers& v) {
         const vantor::coneicity f(points, spanto::axis(element_from<line>(v)));
         check(f,
               "no cone could be fitted about the axis (the points need two distinct positions "
               "along it, and the fitted radius must not turn negative between them)");
         return with_extremes(f, "deviation", values_of(f.datum()),
                              vantor::outliers_about(points, f.datum()));
     }},
};

}  // namespace

form_outcome evaluate_form(const std::string& feature, const vantor::actual& points,
                           const std::string& kind, const numbers& datum) {
    bool known = false;
    for (const form_case& c : cases) {
        if (feature != c.feature) continue;
        known = true;
        if (kind == c.kind) return c.evaluate(points, datum);
    }
    if (!known) throw py::value_error("unknown form feature '" + feature + "'");
    throw py::value_error(feature + " is not evaluated against a " + kind);
}

}  // namespace vantor::python
