// SPDX-License-Identifier: Apache-2.0
// vantor/fit.h: reference elements fitted to measured points.
//
// Fits a line, plane, circle, sphere, cylinder or cone to the valid points of a point set under
// one of four criteria, and reports the element with what a metrology report needs beside it:
// the form value of the points about the element, the RMS residual, the iterations, the
// standard uncertainties of a least-squares fit and the contact points of a minimax fit.
//
// This interface stands beside `substitute`, whose element forms keep their own behaviour.
//
// Distances are orthogonal (geometric) distances in the units of the point coordinates. Signed
// distances follow the geometry layer: positive on the side a plane's normal points to, and
// outside (away from the centre or axis) for circles, spheres, cylinders and cones. Invalid
// points (NaN coordinates) are left out of every fit, as the form evaluations leave them out.
//
// A failed fit never looks like a success: its `error` says why, its element is invalid (NaN)
// and `valid()` is false.
//
// Memory: a fit reads the points where the set holds them, centring (or, for a circle,
// projecting) each one as it reads it, and makes no copy of them. Its own arrays take at most
// 9 bytes a point (a minimax fit's residuals and marks) besides the few per cent of the points
// near the extremes that its solver works on, so a fit peaks below 1.4 times the points' own
// 24 bytes each. A fit of 10,000,000 points passes over them 2 to 9 times for a part measured
// all round, up to 14 for a band, a sector or an arc. Exceptions: the valid points of a set
// that has invalid ones are copied, compacted (a peak of up to 2.4 times), and a minimax
// solver's last resort, a round on all points after ten rounds on candidates have not
// settled, holds its linearisation of every point.
#ifndef VANTOR_FIT_H
#define VANTOR_FIT_H

#include <array>
#include <string>
#include <variant>
#include <vector>

#include <spanto/spanto.h>

#include "vantor/actual.h"
#include "vantor/export.h"

namespace vantor {

// The fitting criteria. The values are those of substitute::subtype; the names that
// criterion_name() gives are the ones the command-line tool and the Python package use.
enum class criterion : int {
    gauss = 1,          // "gauss": least squares, the smallest sum of squared distances
    zone = 2,           // "zone": minimum zone, the narrowest zone that holds every point
    inscribed = 3,      // "inscribed": the largest element that has no point inside it
    circumscribed = 4,  // "circumscribed": the smallest element that has no point outside it
};

// A criterion's names, as every report and front end writes them.
struct criterion_info {
    vantor::criterion criterion;
    const char* name;       // "gauss": as the tool's --criterion, its JSON and Python take it
    const char* title;      // "least squares"
    const char* adjective;  // before an element's name: "least-squares plane"
    const char* circle;     // its reference circle's abbreviation (ISO 12181-2): "LSC"
};

// gauss, zone, inscribed, circumscribed, in this order.
VANTOR_EXPORT const std::array<criterion_info, 4>& criteria();

// The names of criterion c; nullptr for a value that names no criterion.
VANTOR_EXPORT const criterion_info* info_of(criterion c);

// "gauss", "zone", "inscribed" or "circumscribed"; nullptr for any other value.
VANTOR_EXPORT const char* criterion_name(criterion c);

// Sets c to the criterion called `name` and returns true; returns false and leaves c as it was
// when no criterion has that name (or `name` is null).
VANTOR_EXPORT bool criterion_named(const char* name, criterion& c);

// One parameter of a fitted element as reports show it: a point or a vector (three values) or a
// scalar (one value), with the standard uncertainty of each value.
//
// Names and meanings, per element, in this order:
//   line:      "origin" (the point of the line nearest the centroid), "direction" (unit)
//   plane:     "origin" (the centroid projected onto the plane), "normal" (unit)
//   circle:    "centre", "normal" (unit), "radius"
//   sphere:    "centre", "radius"
//   cylinder:  "origin" (the point of the axis nearest the centroid), "direction" (unit),
//              "radius"
//   cone:      "apex", "direction" (unit, from the apex towards increasing radius),
//              "half_angle" (in degrees, 0 to 90)
// Lines, planes, circles and cylinders have no orientation: their directions and normals are
// turned to point to positive z, then positive y, then positive x (a circle fitted along a
// given direction keeps that direction).
struct fit_parameter {
    const char* name = "";
    int size = 0;  // 3 or 1
    double value[3] = {0.0, 0.0, 0.0};
    // Standard uncertainties, in the units of the value (see fit_report::has_uncertainty).
    double uncertainty[3] = {0.0, 0.0, 0.0};
};

// What became of a fit or an evaluation, beside its message: one code for each kind of outcome,
// named alike by status_name() in the tool's JSON and in Python. The first two are valid results.
enum class status {
    ok,              // a valid result (a minimax fit's proved)
    not_proved,      // a valid minimax result whose bound did not close in the time budget
    refused,         // the request itself: a criterion the element lacks, an option out of range
    too_few_points,  // fewer valid points than the element or evaluation needs
    invalid_points,  // a coordinate infinite, or too large to compute with
    degenerate,      // the points determine no such element: they coincide, lie on a line or
                     // in a plane, lie on both nappes of a cone, or leave the axis unsurrounded
    not_determined,  // no optimum exists: an inscribed element grows or a zone flattens without
                     // bound, or the least-squares problem is singular
    not_converged,   // the solver stopped before an optimum, or where none is certified
    outside_domain,  // every optimum found has its axis beyond the largest tilt asked for
    invalid_result,  // the element found, or a value of it, is not valid (a last guard)
};

// "ok", "not_proved", "refused", "too_few_points", "invalid_points", "degenerate",
// "not_determined", "not_converged", "outside_domain" or "invalid_result".
VANTOR_EXPORT const char* status_name(status s);

// What a fit reports besides the element itself.
struct fit_report {
    // The criterion fitted.
    vantor::criterion criterion = vantor::criterion::gauss;
    // What became of the fit: ok or not_proved when it succeeded, else the kind of failure.
    vantor::status status = vantor::status::ok;
    // Why the fit failed, for example "too few points: a cylinder needs at least 5 valid
    // points"; empty when it succeeded.
    std::string error;
    // The number of valid points fitted.
    int points = 0;
    // The form value of the points about the element, as the matching form feature measures
    // it: straightness (twice the largest distance from the line) for a line; for every other
    // element the largest minus the smallest signed distance (flatness, roundness about the
    // circle's axis, sphericity, cylindricity, conicity). For a minimum-zone fit this is the
    // zone width.
    double deviation = 0.0;
    // The smallest and largest signed distance of a point from the element; for a line, the
    // smallest and largest distance from it. For a circle these distances, like the deviation,
    // are radial: a point's distance from the circle's axis minus the radius.
    double minimum = 0.0;
    double maximum = 0.0;
    // The root mean square of the same distances.
    double rms = 0.0;
    // The iterations the solver ran: Gauss-Newton steps of a least-squares fit on all the
    // points (its start may have iterated on a sample of at most 1024 points), the steps of a
    // minimax circle's solver, the trust-region steps of the other minimax fits (on the points
    // near the extremes, over all their rounds); 0 for a fit in closed form and for the
    // minimum circumscribed circle and sphere.
    int iterations = 0;
    // True when the solver met its convergence test, and for the minimax fits of lines, planes,
    // spheres, cylinders and cones its optimality check: multipliers on the contacts that
    // certify that no small move of the element improves the criterion (to first order, up to
    // rounding), and a result no worse than the least-squares element. A fit that does not
    // converge fails.
    bool converged = false;
    // For the minimax criteria: the value the criterion optimises at the result (the zone's
    // width, for a line the diameter of the tube; the radius of an inscribed or circumscribed
    // element), a bound on the best value over the search domain that is proved from the
    // points (from below for a zone and a circumscribed element, from above for an inscribed
    // one), the gap |objective - bound| and whether it is within `proof_tolerance`, which is
    // max(1e-9 x the points' extent, 16 units in the last place of the objective). A result
    // that is not proved is still valid and certified locally (`converged`): it is the best
    // the fit found in its time, and the optimum lies within the gap below (above) it. All 0
    // and false for least squares.
    double objective = 0.0;
    double bound = 0.0;
    double gap = 0.0;
    double proof_tolerance = 0.0;
    bool proved = false;
    // The element's parameters, named and ordered as fit_parameter describes; none when the fit
    // failed.
    std::vector<fit_parameter> parameters;
    // True when the parameters carry standard uncertainties: for least-squares fits, from the
    // Jacobian J of the residuals at the solution and the residual variance
    // s^2 = sum of squared residuals / (residuals - free parameters), as covariance
    // s^2 (J^T J)^-1 propagated to the reported values. A point gives one residual, its
    // distance (two for a line: the components of its offset across it). A circle's
    // uncertainties add those of its plane (the mean height along a given direction, or the
    // least-squares plane) to those of the circle in it. False for the minimax criteria and when
    // there are no more residuals than parameters; the uncertainty values are then 0 and mean
    // nothing.
    bool has_uncertainty = false;
    // For the minimax criteria, the indices (into the point set, invalid points counted) of
    // the points on the boundary of the zone or on the fitted surface that decide the result
    // (within 1e-12 of the size of the set), in index order.
    std::vector<int> contacts;
    // The points that stand far outside the rest: among the 10 largest and the 10 smallest
    // distances of the points from the element (the largest only for a line, whose distances
    // are non-negative; for a line's zone, from the least-squares line, since spikes move the
    // zone line to the middle of the tube they span), those more than 8 standard deviations of
    // the other distances from their mean; none for fewer than 30 points. Normal noise of ten
    // million points reaches 8 standard deviations with a chance of about 1e-8, form (lobes,
    // waviness, a crown) stays within about 3, a spike on a smooth surface stands out at once.
    // (An inscribed or circumscribed element touches the spikes on its side: they may not stand
    // out there.) A report with any deserves a warning: its form value measures them rather
    // than the surface.
    int outliers = 0;
    // With fit_options::reject_beyond, the indices (into the point set, invalid points counted)
    // of the points left out as outliers, in index order; `points` then counts the rest.
    std::vector<int> rejected;

    bool valid() const { return error.empty(); }
    explicit operator bool() const { return valid(); }
};

// A fitted element with its report. On failure the element is the type's invalid default.
template <class Element>
struct fit_result : fit_report {
    Element element;
};

// Where a fit searches and how long it may take.
//
// Domains: a least-squares fit is the global least-squares optimum over its domain: every
// element for a plane, circle and sphere; for a line, cylinder and cone every axis direction,
// or, with an approximate `axis`, the directions within `max_tilt` of it. A minimax fit
// (zone, inscribed, circumscribed) searches the axis directions within `max_tilt` of `axis`,
// or without one of the least-squares axis: over every direction the smallest cylinder holding
// a short band or a half shell lies across the part, which no drawing means. `max_tilt` 90
// admits every direction. The minimax fits of a plane search every normal; of a circle,
// sphere, cylinder and cone every centre or axis position within half the least-squares radius
// (for a cone its radius at the narrow end of the points, at least a quarter of that at their
// centroid) of the least-squares element's and within one extent of the points (the root mean
// square distance of the points from their centroid; for a circle, the largest distance of a trace
// from the first point's): there the points surround the centre or axis, and an axis farther
// off is not the feature's. A circumscribed element's lies within its radius (the smallest
// circle holding a sector's arc is centred on its chord). The zone cone's half angle lies
// within 0.25 rad (about 14 degrees) of the least-squares one. Where the optimum is not unique
// (the circumscribed cylinder of two sections may pivot about the section that sets its
// radius), any optimal element may be returned: its value, not the element, is the same for
// every pose of the points. A fit whose local optimum lies outside its domain reports the best
// element of the domain its search found, "not proved" unless the search closes.
struct fit_options {
    // The approximate axis of a line, cylinder or cone (need not be unit; its sense does not
    // matter); the zero vector for none. Ignored by the other elements.
    spanto::vector axis = spanto::vector(0.0, 0.0, 0.0);
    // The largest angle, in degrees, between the fitted axis and `axis` (or the least-squares
    // axis), in (0, 90].
    double max_tilt = 15.0;
    // The time, in seconds, after which a minimax fit stops searching for a proof and reports
    // its element with the gap reached ("not proved"). It is spent as a fixed amount of work
    // (3e7 residual evaluations per second, about what a current core does), so that a result
    // never depends on the machine's speed or load; a hard stop at 30 times the budget guards
    // slow machines. Bounds the proof, not the local optimisation before it.
    double time_budget = 1.0;
    // Outlier rejection, off at 0: otherwise at least 2, the number k of standard deviations.
    // The least-squares element of the points is fitted, the points whose distance from it
    // lies more than k standard deviations (of those distances) from their mean are left out,
    // and the element is fitted again to the rest, until no point is left out (at most 20
    // rounds); the criterion is then fitted to the points kept, and the report lists those left
    // out (`rejected`). A round makes a copy of the points kept.
    double reject_beyond = 0.0;
};

// The outliers, by the rule of fit_report::outliers, of the valid points about an element given
// rather than fitted (a datum): among the distances from a line (the largest only); the signed
// distances from a plane, sphere, cylinder or cone; for a circle, a point's distance from its
// axis less the radius (so a circle of any radius on a line counts the outliers of the points'
// distances from that line, and a sphere of any radius about a centre those of their distances
// from it). 0 for fewer than 30 valid points.
VANTOR_EXPORT int outliers_about(const actual& points, const spanto::line& datum);
VANTOR_EXPORT int outliers_about(const actual& points, const spanto::plane& datum);
VANTOR_EXPORT int outliers_about(const actual& points, const spanto::circle& datum);
VANTOR_EXPORT int outliers_about(const actual& points, const spanto::sphere& datum);
VANTOR_EXPORT int outliers_about(const actual& points, const spanto::cylinder& datum);
VANTOR_EXPORT int outliers_about(const actual& points, const spanto::cone& datum);

// Why the options are refused ("the largest tilt must lie in (0, 90] degrees"), empty when they
// are sound.
VANTOR_EXPORT std::string fit_options_refusal(const fit_options& options);

// The least-squares line (criterion gauss), or the line of the thinnest cylinder that holds
// every point (zone: the deviation, 3-D straightness, is that cylinder's diameter); 2 or more
// distinct valid points.
VANTOR_EXPORT fit_result<spanto::line> fit_line(const actual& points,
                                                criterion c = criterion::gauss,
                                                const fit_options& options = fit_options());

// The plane of the criterion (gauss, or zone: the middle plane of the narrowest slab holding
// every point; 3 or more valid points not all on one line). The normal is chosen to point to
// the side of positive z, then y, then x.
VANTOR_EXPORT fit_result<spanto::plane> fit_plane(const actual& points,
                                                  criterion c = criterion::gauss,
                                                  const fit_options& options = fit_options());

// The circle of the criterion (any of the four; 3 or more valid points) in the least-squares
// plane of the points: its normal is that plane's normal, and the centre is fitted to the
// points' projections into the plane.
VANTOR_EXPORT fit_result<spanto::circle> fit_circle(const actual& points,
                                                    criterion c = criterion::gauss,
                                                    const fit_options& options = fit_options());

// The circle of the criterion about an axis along `direction` (need not be unit): its normal is
// the unit direction, and the centre is fitted to the points' projections into a plane
// perpendicular to it, placed at the points' mean position along the direction. A zero or
// non-finite direction fails.
VANTOR_EXPORT fit_result<spanto::circle> fit_circle(const actual& points,
                                                    const spanto::vector& direction,
                                                    criterion c = criterion::gauss,
                                                    const fit_options& options = fit_options());

// The sphere of the criterion (any of the four; 4 or more valid points not all in one plane).
// The maximum inscribed sphere is determined only when the points surround its centre; for a
// cap that does not, the fit fails ("the points do not surround the centre ...").
VANTOR_EXPORT fit_result<spanto::sphere> fit_sphere(const actual& points,
                                                    criterion c = criterion::gauss,
                                                    const fit_options& options = fit_options());

// The cylinder of the criterion (any of the four; 5 or more valid points, not all on one line
// or in one plane). The maximum inscribed cylinder is determined only when the points surround
// its axis; for a sector that does not, the fit fails. The minimum circumscribed cylinder of a
// sector is the smallest cylinder holding its points, which may be far smaller than the
// surface they were measured on.
VANTOR_EXPORT fit_result<spanto::cylinder> fit_cylinder(const actual& points,
                                                        criterion c = criterion::gauss,
                                                        const fit_options& options = fit_options());

// The cone of the criterion (gauss or zone; 6 or more valid points, not all on one line or in
// one plane). The returned cone's first point is the point of its axis nearest the centroid and
// its second point lies one unit further along the direction of increasing radius, so that
// rotaxis() points that way. A cone whose half angle is 0 to working precision (a cylinder,
// whose apex lies at infinity) and one whose apex lies among the points are failures.
VANTOR_EXPORT fit_result<spanto::cone> fit_cone(const actual& points,
                                                criterion c = criterion::gauss,
                                                const fit_options& options = fit_options());

// The elements fitted, by kind, in the order of elements().
enum class element_kind { line, plane, circle, sphere, cylinder, cone };

// Any fitted element; the alternatives follow element_kind.
using fitted_element = std::variant<spanto::line, spanto::plane, spanto::circle, spanto::sphere,
                                    spanto::cylinder, spanto::cone>;

// One of an element's parameters as fit_report::parameters names them.
struct parameter_info {
    const char* name;  // "direction"
    int size;          // 3 for a point or vector, 1 for a scalar
};

// What vantor knows of an element: one row of the table that the fitting interface, the tool
// (its help, choices, JSON and messages) and the Python package all read.
struct element_info {
    element_kind kind;
    const char* name;  // "cylinder": as `vantor fit` and vantor.fit() take it
    const char* form;  // the form measured about it: "cylindricity"
    // The fewest valid points a fit needs (a fit of fewer fails with status too_few_points).
    int fewest_points;
    // The criteria defined for the element, in the order of criteria(); a fit under another
    // one fails with status refused.
    std::vector<vantor::criterion> criteria;
    // The parameters of its fit, in the order of fit_report::parameters.
    std::vector<parameter_info> parameters;
    // Its fit (fit_line, fit_plane, ...); vantor::fit() calls it.
    fit_result<fitted_element> (*fit)(const actual& points, vantor::criterion c,
                                      const fit_options& options);

    // True when c is one of the element's criteria.
    bool has(vantor::criterion c) const {
        for (const vantor::criterion k : criteria) {
            if (k == c) return true;
        }
        return false;
    }
};

// line, plane, circle, sphere, cylinder, cone.
VANTOR_EXPORT const std::array<element_info, 6>& elements();

// The row of element `kind`.
VANTOR_EXPORT const element_info& info_of(element_kind kind);

// The element called `name` ("cylinder"); nullptr when none is.
VANTOR_EXPORT const element_info* element_named(const std::string& name);

// Fits element `kind` under criterion c, as its own fit does (fit_line, ..., fit_cone; a circle
// in the least-squares plane of the points).
VANTOR_EXPORT fit_result<fitted_element> fit(const actual& points, element_kind kind,
                                             criterion c = criterion::gauss,
                                             const fit_options& options = fit_options());

}  // namespace vantor

#endif  // VANTOR_FIT_H
