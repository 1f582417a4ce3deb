// SPDX-License-Identifier: Apache-2.0
// The fitting commands: circle and fit.
#ifndef VANTOR_FRONT_FIT_COMMANDS_H
#define VANTOR_FRONT_FIT_COMMANDS_H

#include <optional>
#include <string>
#include <vector>

#include <spanto/spanto.h>
#include <vantor/fit.h>

#include "fits.h"
#include "point_file.h"
#include "report.h"

namespace vantor::cli {

// The circles fitted to the points under the given criteria (vantor::fit_circle): about an axis
// along `direction`, or without one in the least-squares plane of the points, whose normal the
// report gives as the direction. A fit that fails is reported as {"valid": false, "error":
// reason} (failed_fits() lists them); throws error with the first failure when every fit fails.
report circle(const point_file& in, const std::optional<spanto::vector>& direction,
              const std::vector<vantor::criterion>& criteria);

// The fits of `element` under the given criteria, `direction` for a circle (see fit_element):
// {"file", "points", "element", "fits": {criterion: fit_json, ...}}. A failed fit is reported
// as fit_json reports it; failed_fits() lists the failures.
report fit(const point_file& in, element_kind element,
           const std::vector<vantor::criterion>& criteria,
           const std::optional<spanto::vector>& direction,
           const vantor::fit_options& options = vantor::fit_options());

// The failed fits of a fit or circle report, one message each: "<file>: <reference>: <reason>".
std::vector<std::string> failed_fits(const report& r);

}  // namespace vantor::cli

#endif  // VANTOR_FRONT_FIT_COMMANDS_H
