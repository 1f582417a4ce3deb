// SPDX-License-Identifier: Apache-2.0
// What the orientation and runout evaluations share: a datum's unit direction with two unit
// vectors across it, the valid rows of a point set, and the failure of a result.
#ifndef VANTOR_FORM_ORIENTATION_FRAME_H
#define VANTOR_FORM_ORIENTATION_FRAME_H

#include <string>
#include <vector>

#include <spanto/spanto.h>

#include "vantor/actual.h"
#include "vantor/fit.h"

namespace vantor::detail {

// A datum's origin, its unit direction d and unit vectors u, v across it (u ^ v = d).
struct datum_frame {
    spanto::point origin;
    spanto::vector d, u, v;
};

// The frame of a datum through `origin` along `direction`; an error ("the datum plane has no
// normal") when the origin or direction is not finite or the direction has length 0.
std::string frame_of(const spanto::point& origin, const spanto::vector& direction, const char* what,
                     datum_frame& frame);

// The valid rows of a set, in index order, with the failure: too_few_points when fewer than
// `fewest` ("too few points: <what> needs at least 3 valid points, the set has 2"),
// invalid_points when a coordinate is infinite.
struct valid_set {
    std::vector<int> rows;
    vantor::status status = vantor::status::ok;
    std::string error;
};
valid_set valid_rows_of(const actual& points, int fewest, const char* what);

// A result marked failed: value and extremes 0.
template <class Result>
Result failed(vantor::status status, std::string error) {
    Result r;
    r.status = status;
    r.error = std::move(error);
    return r;
}

}  // namespace vantor::detail

#endif  // VANTOR_FORM_ORIENTATION_FRAME_H
