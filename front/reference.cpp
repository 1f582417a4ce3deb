// SPDX-License-Identifier: Apache-2.0
#include "reference.h"

#include <cmath>

#include <vantor/feature.h>

#include "error.h"
#include "fits.h"

namespace vantor::cli {

reference_form form_about_reference(const vantor::actual& points, const std::string& feature,
                                    vantor::criterion c,
                                    const std::optional<spanto::vector>& direction,
                                    const vantor::fit_options& options) {
    // The element the feature is measured about (vantor::element_info::form).
    const vantor::element_info* known = nullptr;
    for (const vantor::element_info& e : vantor::elements()) {
        if (feature == e.form) known = &e;
    }
    if (known == nullptr) throw error("unknown form feature '" + feature + "'");
    if (direction && known->kind != element_kind::circle) {
        throw error(feature + " is not evaluated about an element fitted along a direction");
    }
    const std::string reference = reference_name(c, known->name);
    const fitted fit = fit_element(points, known->kind, c, direction, options);
    if (!fit.valid()) throw error(reference + ": " + fit.error, fit.status);

    const vantor::fit_report& r = fit;
    reference_form form{r.deviation, r.minimum,   r.maximum,   "deviation",
                        reference,   fit.element, proof_of(r), r.outliers};
    if (known->kind == element_kind::line) {
        form.minimum *= 2;
        form.maximum *= 2;
        form.extremes = "diameter";
    } else if (known->kind == element_kind::circle) {
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
