// SPDX-License-Identifier: Apache-2.0
// vantor/location.h: location tolerances (position, coaxiality, concentricity, symmetry) of
// measured points about a true position or datum.
//
// Definitions follow ISO 1101. A location tolerance zone is fixed in orientation and position
// by the datums and the theoretically exact dimensions: it is centred on the true position
// (for coaxiality, concentricity and symmetry, on the datum). Unlike an orientation zone it does
// not move to fit the feature, so its width or diameter is twice the feature's largest distance
// from the true position: value = 2 x deviation.
//
// A derived feature (a centre, an axis, a median surface) is taken from the least-squares
// element associated with the measured points, ISO's default association of a derived feature.
// The true position or datum is given geometry, e.g. from a datum_frame's at() and along()
// (vantor/datum.h): a point, a line or a plane. One whose point or direction is not finite,
// or whose direction has length 0, is refused; the sense of a direction does not matter.
// Distances are in the units of the point coordinates. Invalid points (NaN coordinates) are left
// out; an infinite coordinate, or a distance too large for a double, fails (invalid_points). A
// failure has a non-empty `error`, a status other than ok and value 0.
//
// ISO and ASME Y14.5 differ in three places. ASME tolerances the position of a round feature
// by the axis (centre) of its actual mating envelope, ISO by the derived median line or the
// centre of the least-squares element, as here. ASME Y14.5 (2009) defines concentricity and
// symmetry by the median points of opposed points, and its 2018 edition no longer has them
// (position, runout or profile instead); ISO keeps them as here. And ASME's coaxiality is a
// position or runout tolerance on coaxial features, not a symbol of its own.
#ifndef VANTOR_LOCATION_H
#define VANTOR_LOCATION_H

#include <string>
#include <vector>

#include <spanto/spanto.h>

#include "vantor/actual.h"
#include "vantor/export.h"
#include "vantor/fit.h"
#include "vantor/sections.h"

namespace vantor {

// A location tolerance: the zone about the true position (or datum) that holds the feature.
struct location_result {
    // The zone's width (two planes) or diameter (a sphere, a circle, a cylinder): 2 x deviation.
    double value = 0.0;
    // ok, or the kind of failure (vantor::status).
    vantor::status status = vantor::status::ok;
    // Why the evaluation failed; empty when it succeeded.
    std::string error;
    // The valid points evaluated (for an axis, those of its sections; for symmetry, of both
    // faces).
    int points = 0;
    // The largest distance of the toleranced feature from its true position or datum.
    double deviation = 0.0;
    // Where that distance is taken: a point or circle, the measured centre; an axis, the centre
    // farthest from the true axis; a plane, the farthest point; symmetry, the farthest median
    // point.
    spanto::point actual;
    // For an axis: its derived median line (the section centres, by increasing height). Empty
    // otherwise.
    std::vector<spanto::point> centres;

    bool valid() const { return error.empty(); }
    explicit operator bool() const { return valid(); }
};

// The largest angle, in degrees, between a symmetry datum plane and the least-squares plane of
// either face. Beyond it the face does not lie across the datum normal, and the median surface
// is not defined.
constexpr double symmetry_max_face_angle = 60.0;

// Position of a sphere's centre: the centre c of the points' least-squares sphere must lie in a
// spherical zone about the true position t; value = 2 |c - t|. 4 or more valid points.
VANTOR_EXPORT location_result point_position(const actual& points,
                                             const spanto::point& true_position);

// Position of a hole or pin measured as one section: the centre c of the least-squares circle
// of the points seen along the true axis (fit_circle with that direction) must lie in a
// cylindrical zone about it; value = 2 x the distance of c from the true axis. 3 or more valid
// points.
VANTOR_EXPORT location_result circle_position(const actual& points, const spanto::line& true_axis);

// Position of an axis: its derived median line (the centres of the least-squares circles of its
// sections about the axis of its least-squares cylinder, as axis_parallelism computes it) must
// lie in a cylindrical zone about the true axis; value = 2 x the largest distance of a centre
// from it. 2 or more sections of 3 or more valid points.
VANTOR_EXPORT location_result axis_position(const actual& points, const spanto::line& true_axis,
                                            const section_request& request);

// Position of a plane surface: every point must lie between two planes symmetric about the true
// plane; value = 2 x the largest |signed distance| of the points from it. 3 or more valid
// points.
VANTOR_EXPORT location_result plane_position(const actual& points, const spanto::plane& true_plane);

// Coaxiality of an axis to a datum axis: axis_position about the datum axis.
VANTOR_EXPORT location_result coaxiality(const actual& points, const spanto::line& datum,
                                         const section_request& request);

// Concentricity of a section's centre to a datum axis: circle_position about the datum axis.
VANTOR_EXPORT location_result concentricity(const actual& points, const spanto::line& datum);

// Symmetry of a slot or tab, its two opposite faces `first` and `second`, to a datum plane with
// unit normal n: the derived median surface must lie between two planes symmetric about the
// datum; value = 2 x the largest |distance| of its points from the datum plane.
//
// The median surface is that of each face's points paired with the other face's least-squares
// plane: a point p of one face, and its projection p' along n onto the other face's plane, give
// the median point (p + p') / 2. Both faces' points are paired, so that the faces may be given in
// either order. Each face needs 3 or more valid points; a face whose plane lies more than
// symmetry_max_face_angle from the datum plane is refused (degenerate). ISO 14660-2's extracted
// median surface pairs opposite points of the two faces, along the normal of the median plane
// of their associated planes; sampled faces seldom hold exactly opposite points, so a point is
// paired here with the other face's plane, along the datum normal.
VANTOR_EXPORT location_result symmetry(const actual& first, const actual& second,
                                       const spanto::plane& datum);

}  // namespace vantor

#endif  // VANTOR_LOCATION_H
