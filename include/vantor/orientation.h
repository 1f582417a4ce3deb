// SPDX-License-Identifier: Apache-2.0
// vantor/orientation.h: orientation tolerances and runout of measured points about given datums.
//
// Definitions follow ISO 1101. An orientation tolerance is the width (for an axis with a
// cylindrical zone, the diameter) of the smallest zone that holds the feature, the zone's
// orientation being fixed by the datum and its position free: the datum only orients it. A
// runout is the spread of the points' distances from (radial) or positions along (axial) a datum
// axis, the part turned about that axis; here the datum fixes position as well.
//
// Datums are given geometry: a plane (normal pointing out of the material; its sense only sets
// the sign of reported positions) or a line (a datum axis; its sense sets the sign of axial
// positions). A datum whose point or direction is not finite, or whose direction has length 0,
// is refused. Distances are in the units of the point coordinates, angles in degrees. Invalid
// points (NaN coordinates) are left out; an infinite coordinate fails (invalid_points).
//
// ISO and ASME: the zones and runouts are defined alike, with one difference for an axis: ISO
// tolerances the derived median line (section centres, see axis_parallelism), ASME Y14.5 the
// axis of the feature's actual mating envelope; this library follows ISO.
#ifndef VANTOR_ORIENTATION_H
#define VANTOR_ORIENTATION_H

#include <string>
#include <vector>

#include <spanto/spanto.h>

#include "vantor/actual.h"
#include "vantor/export.h"
#include "vantor/fit.h"
#include "vantor/sections.h"

namespace vantor {

// An orientation tolerance: the smallest zone of the orientation the datum fixes that holds the
// feature. A failure has a non-empty `error`, a status other than ok and value 0.
struct orientation_result {
    // The zone's width (two parallel planes) or diameter (a cylinder about an axis).
    double value = 0.0;
    // ok, or the kind of failure (vantor::status).
    vantor::status status = vantor::status::ok;
    // Why the evaluation failed, e.g. "too few points: ... needs at least 3 valid points";
    // empty when it succeeded.
    std::string error;
    // The valid points evaluated (for an axis, those of its sections).
    int points = 0;
    // Two planes: their unit normal. A cylinder: the unit direction of its axis (the datum's).
    spanto::vector direction;
    // Two planes: the zone planes are the points p with (p - datum origin) . direction equal to
    // `minimum` and to `maximum` (value = maximum - minimum). A cylinder: both 0.
    double minimum = 0.0;
    double maximum = 0.0;
    // Two planes: the rows (into the point set, invalid points counted) of a point on the lower
    // and on the upper zone plane; for an axis, indices into `centres`. -1 for a cylinder.
    int lowest = -1;
    int highest = -1;
    // A cylinder: a point of its axis (the centre of the smallest circle holding the centres
    // seen along the datum direction). Two planes: a point of the middle plane.
    spanto::point centre;
    // For an axis: its derived median line, the centres of the least-squares circles of its
    // sections, by increasing height along the axis. Empty otherwise.
    std::vector<spanto::point> centres;

    bool valid() const { return error.empty(); }
    explicit operator bool() const { return valid(); }
};

// Parallelism of a surface (or a line's points) to a datum plane: the zone planes are parallel
// to the datum; value = largest - smallest signed distance from it. 2 or more valid points.
VANTOR_EXPORT orientation_result parallelism(const actual& points, const spanto::plane& datum);

// Perpendicularity of a surface to a datum plane: the zone planes are perpendicular to the datum
// and free to turn about its normal; value = the smallest width, over directions in the datum
// plane, of the points projected onto it (exact: rotating calipers over the convex hull of the
// projections). 3 or more valid points, not all on one line along the datum normal
// (degenerate).
VANTOR_EXPORT orientation_result perpendicularity(const actual& points, const spanto::plane& datum);

// Perpendicularity of a surface to a datum axis: the zone planes are perpendicular to the axis;
// value = largest - smallest position along it. 2 or more valid points.
VANTOR_EXPORT orientation_result perpendicularity(const actual& points, const spanto::line& datum);

// Angularity of a surface to a datum plane at the nominal angle `angle` (degrees, 0 to 90): the
// zone planes make that angle with the datum plane and are free to turn about its normal;
// value = the smallest width over the turn. Angle 0 is parallelism, 90 perpendicularity.
//
// The width as a function of the turn t is max_i f_i(t) - min_i f_i(t) with sinusoids
// f_i(t) = cos(angle) h_i + sin(angle) (x_i cos t + y_i sin t) (x, y in the datum plane, h along
// its normal). Its global minimum is found by branch and bound over t: on an interval of half
// width r about t0 each f_i lies within r sin(angle) |(x_i, y_i)| of f_i(t0), which bounds the
// width from below (the largest lower end of the f_i less the smallest upper end) and leaves as
// candidates only the points that can be extreme somewhere in it; an interval whose bound is
// not below the best width found, less the tolerance, is dropped, the others are halved. Once at
// most 32 candidates remain on each side, the width is minimised exactly on the interval:
// between the turns where two candidates of one side cross, the extremes are fixed and the
// width is one sinusoid. The value is within 1e-12 of the points' extent above the minimum;
// status not_converged when the search exceeds its budget (100 halvings, 2e9 positions).
// 3 or more valid points, not all on one line along the datum normal unless the angle is 0.
VANTOR_EXPORT orientation_result angularity(const actual& points, const spanto::plane& datum,
                                            double angle);

// The derived median line of a cylinder: the points are split into sections along the axis of
// their least-squares cylinder (fit_cylinder, then split_sections along that axis; cut heights
// are measured along it as split_sections says) and each section's centre is that of its
// least-squares circle about that axis (fit_circle along it). 2 or more sections of 3 or more
// valid points; a failed cylinder, split or circle fails with its status.
//
// Parallelism of the axis to a datum axis: a cylindrical zone parallel to the datum; value = the
// diameter of the smallest circle holding the centres seen along the datum direction (exact).
VANTOR_EXPORT orientation_result axis_parallelism(const actual& points, const spanto::line& datum,
                                                  const section_request& request);

// Parallelism of the axis to a datum plane: two planes parallel to the datum; value = largest -
// smallest signed distance of the centres from it.
VANTOR_EXPORT orientation_result axis_parallelism(const actual& points, const spanto::plane& datum,
                                                  const section_request& request);

// Perpendicularity of the axis to a datum plane: a cylindrical zone along the datum normal;
// value = the diameter of the smallest circle holding the centres seen along the normal.
VANTOR_EXPORT orientation_result axis_perpendicularity(const actual& points,
                                                       const spanto::plane& datum,
                                                       const section_request& request);

// One circle of a circular runout: a section across the datum axis (radial) or a band of radii
// about it (axial).
struct runout_circle {
    // Radial: the section's height, as split_sections measures it (so that cuts given in the
    // request and sections reported agree). Axial: the radius of the band.
    double position = 0.0;
    int points = 0;
    // Radial: the smallest and largest distance from the datum axis. Axial: the smallest and
    // largest position along it, (p - datum origin) . unit direction.
    double minimum = 0.0;
    double maximum = 0.0;
    double value = 0.0;  // maximum - minimum
};

// A runout about a datum axis. A failure has a non-empty `error`, a status other than ok and
// value 0.
struct runout_result {
    double value = 0.0;
    vantor::status status = vantor::status::ok;
    std::string error;
    int points = 0;  // the valid points evaluated (for axial circular runout, those in the bands)
    // Total runout: the extremes over all points. Circular: those of the circle with the
    // largest value.
    double minimum = 0.0;
    double maximum = 0.0;
    // Circular runout: each circle, and the index of the one with the largest value (the
    // first such); -1 and none for total runout.
    int worst = -1;
    std::vector<runout_circle> circles;

    bool valid() const { return error.empty(); }
    explicit operator bool() const { return valid(); }
};

// Circular radial runout: the points are cut into sections across the datum axis
// (split_sections(points, datum, request): automatic gaps, a count, or cuts at given heights);
// per section, largest - smallest distance from the axis; value = the largest over sections.
// It holds the section's roundness and twice its centre's offset from the axis. Every section
// needs 3 or more points (too_few_points otherwise); a split that fails fails with its status.
VANTOR_EXPORT runout_result circular_radial_runout(const actual& points, const spanto::line& datum,
                                                   const section_request& request);

// Total radial runout: largest - smallest distance of all points from the datum axis. 3 or more
// valid points.
VANTOR_EXPORT runout_result total_radial_runout(const actual& points, const spanto::line& datum);

// Circular axial runout of a face across the datum axis: for each radius r of `radii`, the band
// of the points whose distance from the axis lies within `half_width` of r (the circle of radius
// r measured with a probe of that tolerance); per band largest - smallest position along the
// axis; value = the largest over bands. Refused: no radii, a radius negative or not finite,
// half_width not positive or not finite. A band with fewer than 3 points: too_few_points.
VANTOR_EXPORT runout_result circular_axial_runout(const actual& points, const spanto::line& datum,
                                                  const std::vector<double>& radii,
                                                  double half_width);

// Total axial runout: largest - smallest position along the datum axis of all points of the
// face. 3 or more valid points.
VANTOR_EXPORT runout_result total_axial_runout(const actual& points, const spanto::line& datum);

}  // namespace vantor

#endif  // VANTOR_ORIENTATION_H
