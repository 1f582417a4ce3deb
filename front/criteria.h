// SPDX-License-Identifier: Apache-2.0
// The fitting criteria as the program names them: option values, plot labels, the names of
// reference elements.
#ifndef VANTOR_TOOLS_CRITERIA_H
#define VANTOR_TOOLS_CRITERIA_H

#include <array>
#include <string>

#include <vantor/fit.h>
#include <vantor/substitute.h>

namespace vantor::cli {

struct criterion_names {
    vantor::criterion id;
    const char* option;        // as --criterion takes it and JSON keys it: "gauss"
    const char* abbreviation;  // of its circle, on the roundness plot: "LSC"
    const char* title;         // "least squares"
    const char* adjective;     // before an element's name: "least-squares"
};

// gauss, zone, inscribed, circumscribed, in this order.
const std::array<criterion_names, 4>& criteria();

const criterion_names& names_of(vantor::criterion c);

// The name of a reference element: "least-squares plane", "minimum-zone cylinder".
std::string reference_name(vantor::criterion c, const std::string& element);

}  // namespace vantor::cli

#endif  // VANTOR_TOOLS_CRITERIA_H
