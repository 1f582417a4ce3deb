// SPDX-License-Identifier: Apache-2.0
// The derived median line of a cylinder, which the orientation and location of an axis share.
#ifndef VANTOR_FORM_MEDIAN_LINE_H
#define VANTOR_FORM_MEDIAN_LINE_H

#include <string>
#include <vector>

#include <spanto/spanto.h>

#include "vantor/actual.h"
#include "vantor/fit.h"
#include "vantor/sections.h"

namespace vantor::detail {

// The centres of the sections' least-squares circles, by increasing height, and the valid
// points of the sections; on failure `error` says why.
struct median_line {
    std::vector<spanto::point> centres;
    int points = 0;
    vantor::status status = vantor::status::ok;
    std::string error;

    bool valid() const { return error.empty(); }
};

// The points split into sections along the axis of their least-squares cylinder (fit_cylinder,
// then split_sections along that axis), each section's centre that of its least-squares circle
// about that axis (fit_circle along it). 6 or more valid points in 2 or more sections; a failed
// cylinder, split or circle fails with its status.
median_line median_line_of(const actual& points, const section_request& request);

}  // namespace vantor::detail

#endif  // VANTOR_FORM_MEDIAN_LINE_H
