// SPDX-License-Identifier: Apache-2.0
// vantor/datum.h: datums established from measured datum features, and datum systems.
//
// A datum is the ideal element a drawing refers to, associated with a measured feature from
// outside its material: a plane touching its face (the constrained minimax plane, ISO 5459's
// default), the axis of the largest cylinder in a bore or the smallest about a shaft (the
// mating envelope), the centre of such a sphere. A datum
// system A|B|C gives a coordinate frame: each later datum is fitted with its orientation
// constrained by the earlier ones.
//
// Units are those of the point coordinates; angles are in degrees. Invalid points (NaN
// coordinates) are left out, as the fits leave them out. A failure never looks like a success:
// its `status` is neither ok nor not_proved, its `error` says why and its element is invalid.
//
// Not provided: a common datum axis fitted to two features at once (see common_datum_axis); a
// datum system with a centre among its datums.
#ifndef VANTOR_DATUM_H
#define VANTOR_DATUM_H

#include <string>

#include <spanto/spanto.h>

#include "vantor/actual.h"
#include "vantor/export.h"
#include "vantor/fit.h"

namespace vantor {

// Which side of a round feature the material is on: a hole (bore, inner sphere) has its material
// outside the surface, a shaft (pin, ball) inside.
enum class feature_side { hole, shaft };

// The largest angle, in degrees, between a caller's outward direction and the normal that a
// datum plane's points determine. Beyond it the direction says nothing of which side the
// material is on, and the datum is refused.
constexpr double datum_max_outward_angle = 60.0;

// A datum with the fit it was associated by. `fit` is the report of the underlying fit
// (fit_plane zone, fit_cylinder/fit_circle/fit_sphere inscribed or circumscribed): its proof,
// contacts and objective (for a round feature the radius of the associated element).
template <class Element>
struct datum_result {
    Element element;  // invalid on failure
    vantor::status status = vantor::status::ok;
    std::string error;  // empty when the datum is valid
    fit_report fit;

    bool valid() const { return error.empty(); }
    explicit operator bool() const { return valid(); }
};

// The datum plane of a face whose material lies on the side opposite `outward` (need not be
// unit). ISO 5459 default: of the planes that have every point on the material side or on them,
// the one whose largest distance from the points is smallest.
//
// Why it is the minimum-zone orientation moved outward: for a fixed unit normal n, a plane
// n.p = d has every point on its material side when d >= max n.p, and its largest distance
// from the points is d - min n.p, smallest at d = max n.p, where it equals the width of the
// points along n. The best normal therefore minimises that width: it is the minimum-zone
// plane's normal (fit_plane, criterion zone), and the datum is the zone's outer plane. Where
// several normals give the narrowest zone, fit_plane's choice is taken.
//
// The returned normal points out of the material (its dot product with `outward` is positive);
// the origin is the centroid projected onto the datum plane. Every point has a signed distance
// from it in [-w, 0], where w, the zone width, is `fit.objective`. Refused (status refused)
// when `outward` is zero or not finite, and when the zone's normal lies more than
// datum_max_outward_angle from `outward` (the face is not facing that way). A failing zone fit
// passes on its status (too_few_points, degenerate, ...).
//
// ASME Y14.5 establishes the datum by a simulator contacting the feature's high points; where
// the face rocks it admits a set of candidate datums, of which the one that minimises the
// largest separation is the plane returned here. This library returns that one plane, not the
// candidate set.
VANTOR_EXPORT datum_result<spanto::plane> datum_plane(const actual& points,
                                                      const spanto::vector& outward,
                                                      const fit_options& options = fit_options());

// The datum axis of a cylindrical feature: the axis of the maximum inscribed cylinder of a hole,
// of the minimum circumscribed cylinder of a shaft (the mating envelope), as fit_cylinder fits
// them (options.axis: an approximate axis; options.max_tilt: how far from it). The line's origin
// is the point of the axis nearest the centroid; its direction's sense follows fit_cylinder.
// `fit.objective` is the cylinder's radius. (The constrained minimax association, as
// datum_plane's, would by the same argument be the minimum-zone cylinder's axis:
// fit_cylinder with criterion zone.)
VANTOR_EXPORT datum_result<spanto::line> datum_axis(const actual& points, feature_side side,
                                                    const fit_options& options = fit_options());

// The datum axis of a short bore or shaft measured as one section: the axis of the maximum
// inscribed (hole) or minimum circumscribed (shaft) circle, through its centre along its normal.
// Without a direction the circle lies in the least-squares plane of the points; with one (need
// not be unit) it is fitted to the points projected along it, so that the axis is parallel to
// it: the axis of the feature constrained to that orientation.
VANTOR_EXPORT datum_result<spanto::line> datum_circle_axis(
    const actual& points, feature_side side, const fit_options& options = fit_options());
VANTOR_EXPORT datum_result<spanto::line> datum_circle_axis(
    const actual& points, const spanto::vector& direction, feature_side side,
    const fit_options& options = fit_options());

// The largest angle, in degrees, between a common datum axis and either feature's own datum
// axis. Beyond it the two features are not coaxial, and the common axis fails.
constexpr double common_datum_max_angle = 30.0;

// A common datum axis A-B through two coaxial features (two bearing seats), each a hole or a
// shaft: the line through the middles of the two features' datum axes, directed from the first
// to the second. A feature's middle is the point of its datum_axis (fitted with `options`)
// halfway between the smallest and largest positions of its valid points along that axis, so
// that each seat counts once, at its own middle, however many points it has. The origin is the
// first feature's middle. `fit` is the first feature's fit report; the status is not_proved when
// either fit is. A feature whose datum axis fails fails the common axis, its message prefixed
// "datum A: " or "datum B: ". Fails (degenerate) when the middles are not more than 1e-9 x the
// larger radius apart, or when the line through them lies more than common_datum_max_angle from
// either feature's axis.
//
// ISO 5459 associates a common datum with both features at once: two coaxial envelopes sharing
// one axis (for a hole the largest inscribed cylinder, for a shaft the smallest circumscribed),
// the axis chosen to minimise the larger of the two features' radial deviations. That
// association is not provided.
VANTOR_EXPORT datum_result<spanto::line> common_datum_axis(
    const actual& first, feature_side first_side, const actual& second, feature_side second_side,
    const fit_options& options = fit_options());

// The datum centre of a spherical feature: the centre of the maximum inscribed (hole) or minimum
// circumscribed (shaft) sphere.
VANTOR_EXPORT datum_result<spanto::point> datum_centre(const actual& points, feature_side side,
                                                       const fit_options& options = fit_options());

// One datum feature of a datum system: its points and how to associate a datum with it. The
// points are referred to, not copied: they must outlive the call that takes the feature.
struct datum_feature {
    enum class kind {
        plane,  // a face: `outward` points out of its material
        axis,   // a bore or shaft (`side`): as the primary datum its datum_axis (a cylinder
                // measured along its length); after a primary plane its circle seen along the
                // plane's normal, so that one section is enough
        none,   // no feature: the default
    };
    kind type = kind::none;
    const actual* points = nullptr;
    spanto::vector outward = spanto::vector(0.0, 0.0, 0.0);
    feature_side side = feature_side::hole;
    fit_options options = fit_options();

    static datum_feature face(const actual& p, const spanto::vector& outward) {
        datum_feature f;
        f.type = kind::plane;
        f.points = &p;
        f.outward = outward;
        return f;
    }
    static datum_feature round(const actual& p, feature_side side) {
        datum_feature f;
        f.type = kind::axis;
        f.points = &p;
        f.side = side;
        return f;
    }
};

// A right-handed orthonormal frame set up by a datum system: x ^ y = z.
struct datum_frame {
    spanto::point origin;
    spanto::vector x, y, z;
    // False when the datums leave the rotation about z free (a plane and an axis): x and y are
    // then z.orthogonal() and z ^ x, which do not follow the part when it is moved.
    bool rotation_fixed = false;
    vantor::status status = vantor::status::ok;
    std::string error;  // empty when the frame is valid; names the datum (A, B, C) that failed

    bool valid() const { return error.empty(); }
    explicit operator bool() const { return valid(); }

    // The point at frame coordinates (u, v, w), e.g. a true position given by theoretically
    // exact dimensions: origin + u x + v y + w z.
    spanto::point at(double u, double v, double w) const { return origin + along(u, v, w); }
    // The direction with frame components (u, v, w): u x + v y + w z.
    spanto::vector along(double u, double v, double w) const { return x * u + y * v + z * w; }
};

// The frame of the datum system A|B (C absent: kind none) or A|B|C.
//
// A primary plane is the datum plane of its face (datum_plane): z is its outward normal and
// the origin lies on it. Each later datum is associated with its orientation constrained by the
// earlier ones, its points seen along z (projected into A's plane):
//   A plane | B plane | C plane (3-2-1): B's normal is constrained perpendicular to z: of those
//     normals, the one of the narrowest strip holding B's projected points, turned to B's
//     outward side (refused beyond datum_max_outward_angle from B's outward direction, as when
//     that direction is near z); B is the strip's outer line, x its outward normal. C's normal is
//     then fixed, +-y by C's outward side, and C is the outer tangent plane along it. The origin
//     is the corner where the three planes meet; y = z ^ x.
//   A plane | B axis: B is the axis of the inscribed (hole) or circumscribed (shaft) circle of
//     its points projected along z (datum_circle_axis with direction z). The origin is where B
//     meets A. Refused when B's projected points are not round (their roundness about the
//     circle exceeds half its radius): B's axis is then far from perpendicular to A.
// A primary axis is the datum axis of its feature (datum_axis); B must then be a face:
//   A axis | B plane: z is A's direction turned to B's outward side (refused beyond
//     datum_max_outward_angle), B the outer tangent plane along z, the origin where A meets B.
// After an axis (A or B) through the origin, C fixes the rotation about z: absent, it stays free
// (rotation_fixed false); a face (C constrained perpendicular to A) gives x as its normal,
// constrained perpendicular to z as B's above; an axis (C's circle seen along z, as B's above)
// gives x towards C's axis from the origin, refused when the two axes meet.
// Any other combination is refused. A datum that fails gives its status, its message prefixed
// by the datum's letter ("datum B: ..."). The status of a valid frame is not_proved when one of
// its fits is.
VANTOR_EXPORT datum_frame datum_system(const datum_feature& a, const datum_feature& b,
                                       const datum_feature& c = datum_feature());

}  // namespace vantor

#endif  // VANTOR_DATUM_H
