// SPDX-License-Identifier: Apache-2.0
#include "reference.h"

#include <cmath>

#include <vantor/feature.h>

#include "criteria.h"
#include "error.h"

namespace vantor::cli {
namespace {

// Each form feature and the element it is measured about.
struct feature_element {
    const char* feature;
    element_kind element;
};

constexpr feature_element features[] = {
    {"straightness", element_kind::line},     {"flatness", element_kind::plane},
    {"roundness", element_kind::circle},      {"sphericity", element_kind::sphere},
    {"cylindricity", element_kind::cylinder}, {"conicity", element_kind::cone},
};

}  // namespace

reference_form form_about_reference(const vantor::actual& points, const std::string& feature,
                                    vantor::criterion c,
                                    const std::optional<spanto::vector>& direction,
                                    const vantor::fit_options& options) {
    const feature_element* known = nullptr;
    for (const feature_element& f : features) {
        if (feature == f.feature) known = &f;
    }
    if (known == nullptr) throw error("unknown form feature '" + feature + "'");
    if (direction && known->element != element_kind::circle) {
        throw error(feature + " is not evaluated about an element fitted along a direction");
    }
    const std::string reference = reference_name(c, names_of(known->element).name);
    const fit_outcome fit = fit_element(points, known->element, c, direction, options);
    if (!fit.report.valid()) throw error(reference + ": " + fit.report.error);

    const vantor::fit_report& r = fit.report;
    reference_form form{r.deviation, r.minimum,   r.maximum,   "deviation",
                        reference,   fit.element, proof_of(r), r.outliers};
    if (known->element == element_kind::line) {
        form.minimum *= 2;
        form.maximum *= 2;
        form.extremes = "diameter";
    } else if (known->element == element_kind::circle) {
        const spanto::circle& circle = std::get<spanto::circle>(fit.element);
        const vantor::roundness f(points, circle.axisline());
        if (f.invalid() || !std::isfinite(f.value())) {
            throw error(reference + ": the roundness about its axis could not be evaluated");
        }
        form.value = f.value();
        form.minimum = f.minvalue();
        form.maximum = f.maxvalue();
        form.extremes = "radius";
    }
    return form;
}

}  // namespace vantor::cli
