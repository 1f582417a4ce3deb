// SPDX-License-Identifier: Apache-2.0
// vantor/size.h: linear size of a circle, cylinder or sphere (ISO 14405-1).
//
// Global sizes are the diameters of fitted elements (GG least squares, GC minimum zone, GX
// maximum inscribed, GN minimum circumscribed). Local sizes are many values along the feature:
// two-point sizes (LP) and the diameters of its sections' circles; a statistic of them (SX, SN,
// SA, SM, SR) makes one size of them. Lengths are in the units of the point coordinates.
// Invalid points (NaN coordinates) are left out, as the fits leave them out. A failure never
// looks valid: its `error` says why, its value and statistics are 0 and it has no sizes.
#ifndef VANTOR_SIZE_H
#define VANTOR_SIZE_H

#include <string>
#include <vector>

#include "vantor/actual.h"
#include "vantor/export.h"
#include "vantor/fit.h"
#include "vantor/sections.h"

namespace vantor {

// The statistics of local sizes, as ISO 14405-1 names them.
enum class size_statistic {
    maximum,  // SX
    minimum,  // SN
    average,  // SA: the mean
    median,   // SM: the middle size, the mean of the middle two of an even count
    range,    // SR: maximum - minimum
};

// The statistics of a list of sizes; all 0 for none.
struct size_statistics {
    int count = 0;
    double maximum = 0, minimum = 0, average = 0, median = 0, range = 0;
    VANTOR_EXPORT double of(size_statistic s) const;
};

// "maximum", "minimum", "average", "median" or "range"; nullptr for any other value.
VANTOR_EXPORT const char* size_statistic_name(size_statistic s);

// Sets s to the statistic called `name` and returns true; false (s unchanged) for no such name.
VANTOR_EXPORT bool size_statistic_named(const std::string& name, size_statistic& s);

// The statistics of `sizes` (any order).
VANTOR_EXPORT size_statistics statistics_of(std::vector<double> sizes);

struct size_result {
    double value = 0.0;  // global sizes: the diameter; local sizes: 0 (read statistics)
    vantor::status status = vantor::status::ok;
    std::string error;  // empty when valid
    int points = 0;     // valid points evaluated
    // Local sizes: each two-point size, or each section's diameter (sections by height).
    std::vector<double> sizes;
    size_statistics statistics;  // over `sizes`; for a global size count 1, all equal to value
    bool valid() const { return error.empty(); }
    explicit operator bool() const { return valid(); }
};

// Global size: the diameter of the circle, cylinder or sphere of criterion c fitted to the
// points (fit_circle in the least-squares plane, fit_cylinder, fit_sphere, with `options`). For
// the minimum zone, the mean of the zone's inner and outer diameters. A fit that is not proved
// (status not_proved) is a valid size with that status. Other elements are refused.
VANTOR_EXPORT size_result global_size(const actual& points, element_kind element, criterion c,
                                      const fit_options& options = fit_options());

// The rule of opposite points: a point has a two-point size only when measured points lie
// within this angle of the direction opposite it (see two_point_sizes); otherwise (a sector, a
// gap in the measurement) it has none.
constexpr double two_point_tolerance_degrees = 5.0;

// Two-point sizes. Each size is the distance of a point from the centre plus the distance of
// its opposite point from it, along (or, for a sphere, near) one line through the centre:
//   cylinder: the least-squares cylinder's axis splits the points into sections (`request`,
//     split_sections); in each, the centre is the axis point at the section's height and the
//     points are seen across the axis (their projections onto a plane perpendicular to it). The
//     opposite point of a point at angle t lies at angle t + 180 degrees exactly, its distance
//     from the axis interpolated linearly in angle between the two measured points either side
//     of that direction, each of which must lie within two_point_tolerance_degrees of it. The
//     interpolation is exact for a circle about the axis and otherwise errs by at most the
//     profile's change of radius from a straight line between those neighbours.
//   circle: one section about the axis of the least-squares circle (`request` is not used).
//   sphere: the centre is the least-squares sphere's; the opposite point is the measured point
//     whose direction from the centre is nearest the opposite direction, within
//     two_point_tolerance_degrees. Exact for a sphere about that centre; otherwise it errs by
//     the change of radius over the angle between the two directions.
// Each pair of measured points counts once: in a section, a point exactly opposite another
// (to 1e-9 rad) pairs with it; on a sphere, a pair found from both of its points. No size at
// all is a failure (status degenerate); so is a failed least-squares fit or split, with their
// status and reason (too_few_points below the element's fewest points); another element is
// refused.
VANTOR_EXPORT size_result two_point_sizes(const actual& points, element_kind element,
                                          const section_request& request = section_request());

// Section sizes: the diameter of each section's circle of criterion c (fitted along the axis
// of the least-squares cylinder, or of the least-squares circle when the points are one
// profile, as split_sections(points, request) splits them), by increasing height: the
// circumferential or sectional sizes, e.g. the largest of the sections' inscribed diameters.
// For the minimum zone, each the mean of its zone's two diameters. A section of fewer than 3
// points, or one whose fit fails, fails the whole with its reason.
VANTOR_EXPORT size_result section_sizes(const actual& points, criterion c,
                                        const section_request& request);

}  // namespace vantor

#endif  // VANTOR_SIZE_H
