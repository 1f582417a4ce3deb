// Fit results as Python receives them: the one conversion every fit binding shares.
#ifndef VANTOR_PYTHON_FIT_REPORT_H
#define VANTOR_PYTHON_FIT_REPORT_H

#include <utility>

#include <pybind11/pybind11.h>
#include <vantor/fit.h>

#include "elements.h"

namespace vantor::python {

// A fit's report with its element as kind name and numbers (elements.h), made without the GIL.
struct fit_outcome {
    vantor::fit_report report;
    element_values element;
};

template <typename Element>
fit_outcome outcome_of(vantor::fit_result<Element>&& result) {
    element_values element = values_of(result.element);
    return {std::move(static_cast<vantor::fit_report&>(result)), std::move(element)};
}

// The outcome as vantor._fits.FitResult takes it: a dict of "kind" and "numbers" (the element),
// "points", "deviation", "minimum", "maximum", "rms", "iterations", "converged", "parameters"
// (name -> float64 array of 3, or float, in the report's order), "uncertainty" (the same names
// with the standard uncertainties, or None when the fit gives none) and "contacts" (an int
// array of indices into the point set handed to the fit). Throws ValueError with the library's
// reason for a failed fit. Needs the GIL.
pybind11::dict fit_dict(const fit_outcome& outcome);

}  // namespace vantor::python

#endif  // VANTOR_PYTHON_FIT_REPORT_H
