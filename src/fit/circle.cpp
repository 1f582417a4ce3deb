// SPDX-License-Identifier: Apache-2.0
// Circle fitting under the four criteria.
//
// The fit starts from the circle through three extremum points of the set and lets the bounded
// minimiser move the centre within the plane perpendicular to the given direction (and, for
// least squares, change the radius). The criteria differ only in the objective the minimiser
// sees. The minimiser stops after a few sweeps, far from the optimum on partial arcs, so an
// exact planar solver of the same criterion then refines its result (see refine()). The
// normal of the result is always the start circle's normal.
#include <algorithm>
#include <cmath>
#include <vector>

#include "actual/axis_range.h"
#include "actual/evaluation_trace.h"
#include "core/trace.h"
#include "fit/circle_fit.h"
#include "fit/planar_frame.h"
#include "numeric/circumscribed_circle.h"
#include "numeric/inscribed_circle.h"
#include "numeric/least_squares_circle.h"
#include "numeric/minimiser.h"
#include "numeric/planar.h"
#include "numeric/zone_circle.h"
#include "vantor/substitute.h"

namespace vantor {

namespace {

thread_local int evaluations_of_last_fit = 0;
thread_local bool refinement_enabled = true;

// The refinement maps the solver's planar centre back to the minimiser's parameters by dividing
// by the cosine between the fit direction and the start normal. Below this cosine (a direction
// within a nanoradian of the fitting plane) a rounding error in the centre would grow a
// billionfold in the parameters, so the minimiser's result is kept.
constexpr double smallest_direction_cosine = 1e-9;

// Near the optimum the criterion is flat to rounding: its value over a few thousand points
// carries rounding errors of some thousand units in the last place (2.2e-16 each). The
// solver's circle is taken unless it is worse by more than this fraction of the minimiser's
// value, which is above that noise and below any difference a measurement can show.
constexpr double objective_rounding = 1e-12;

// What every objective evaluation needs.
struct fit_context {
    const actual* points;
    spanto::circle start;
    spanto::vector u;  // first direction in which the centre moves
    spanto::vector w;  // second direction in which the centre moves
    int evaluations;
};

// The minimiser's result record: the fitted circle and its deviation.
struct fit_record {
    double centre[3];
    double normal[3];
    double radius;
    double deviation;
};
static_assert(sizeof(fit_record) == 64, "the record is eight doubles");

void store(fit_record& r, const spanto::point& centre, const spanto::vector& normal, double radius,
           double deviation) {
    r.centre[0] = centre.x;
    r.centre[1] = centre.y;
    r.centre[2] = centre.z;
    r.normal[0] = normal.x;
    r.normal[1] = normal.y;
    r.normal[2] = normal.z;
    r.radius = radius;
    r.deviation = deviation;
}

// The start circle's centre moved by p[0] along u and p[1] along w.
spanto::point trial_centre(const double* p, const fit_context& c) {
    spanto::point m = c.start.centre;
    m += p[0] * c.u;
    m += p[1] * c.w;
    return m;
}

// Least squares: the sum of squared signed distances from the cylinder about the trial axis,
// of radius start radius + p[2]; the deviation is their spread.
double gauss_objective(const double* p, void* context, void* record) {
    fit_context& c = *static_cast<fit_context*>(context);
    ++c.evaluations;
    const spanto::cylinder z(trial_centre(p, c), c.start.normal, c.start.radius + p[2]);
    double spread = 0.0;
    const double sum = c.points->gaussdistance(z, spread);
    store(*static_cast<fit_record*>(record), z.origin, z.direction, z.radius, spread);
    return sum;
}

// Roundness about the trial axis: the smallest and largest distance of a point from it,
// measured and traced as roundness about an axis line is. The fit has checked that the set
// holds points, so the measurement cannot fail.
detail::extremes about_trial_axis(const double* p, fit_context& c, spanto::point& centre) {
    ++c.evaluations;
    centre = trial_centre(p, c);
    detail::trace_entry(detail::roundness_operation);
    detail::extremes range{spanto::nan, spanto::nan};
    detail::axis_distance_range(*c.points, spanto::line(centre, c.start.normal), range);
    return range;
}

double zone_objective(const double* p, void* context, void* record) {
    fit_context& c = *static_cast<fit_context*>(context);
    spanto::point m;
    const detail::extremes r = about_trial_axis(p, c, m);
    const double width = r.high - r.low;
    store(*static_cast<fit_record*>(record), m, c.start.normal, (r.low + r.high) * 0.5, width);
    return width;
}

double inscribed_objective(const double* p, void* context, void* record) {
    fit_context& c = *static_cast<fit_context*>(context);
    spanto::point m;
    const detail::extremes r = about_trial_axis(p, c, m);
    store(*static_cast<fit_record*>(record), m, c.start.normal, r.low, r.high - r.low);
    return -r.low;
}

double circumscribed_objective(const double* p, void* context, void* record) {
    fit_context& c = *static_cast<fit_context*>(context);
    spanto::point m;
    const detail::extremes r = about_trial_axis(p, c, m);
    store(*static_cast<fit_record*>(record), m, c.start.normal, r.high, r.high - r.low);
    return r.high;
}

// The minimiser parameters (p0, p1) of the trial axis whose trace is `centre`: solves
// p0 * trace(u) + p1 * trace(w) = centre. False when the direction is (nearly) parallel to
// the fitting plane, so that moving the centre within it hardly moves the trace.
bool parameters_of(const detail::point2& centre, const fit_context& c,
                   const detail::planar_frame& f, double* p) {
    const detail::point2 tu{spanto::dot(c.u, f.a), spanto::dot(c.u, f.b)};
    const detail::point2 tw{spanto::dot(c.w, f.a), spanto::dot(c.w, f.b)};
    const double det = detail::cross(tu, tw);
    if (!(std::fabs(det) > smallest_direction_cosine)) return false;
    p[0] = detail::cross(centre, tw) / det;
    p[1] = detail::cross(tu, centre) / det;
    return true;
}

// The criterion's objective in the plane: the same measure as the minimiser's objectives, but
// free of the rounding that the 3-D evaluation adds, so that two nearly optimal circles
// compare by their true merit. `radius` is used by least squares only.
double planar_objective(substitute::subtype s, const std::vector<detail::point2>& points,
                        detail::point2 centre, double radius) {
    double sum = 0.0;
    double low = 0.0;
    double high = 0.0;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const double d = detail::distance(points[i], centre);
        sum += (d - radius) * (d - radius);
        low = i == 0 ? d : std::min(low, d);
        high = i == 0 ? d : std::max(high, d);
    }
    switch (s) {
        case substitute::gauss:
            return sum;
        case substitute::zone:
            return high - low;
        case substitute::inscribed:
            return -low;
        default:
            return high;
    }
}

// Moves the minimiser's result to the exact optimum of the criterion, measured the same way:
// distances of the points from the axis along the start normal. The refined circle replaces
// the record only when the criterion rates it no worse than the minimiser's result (within
// rounding: objective_rounding). Maximum inscribed and minimum circumscribed circles are
// refined only on a closed profile (the points surround the minimiser's centre, every angular
// gap below 180 degrees): on an open one the circumscribed circle jumps to a circle over the
// chord and the inscribed circle grows without bound, so the minimiser's bounded result is
// kept.
void refine(substitute::subtype s, detail::objective_fn objective, fit_context& c,
            fit_record& record) {
    // The frame about the start centre: the solvers work near the data.
    const detail::planar_frame frame(c.start.centre, c.start.normal);
    const std::vector<detail::point2> planar = detail::traces_of(*c.points, frame);
    const detail::point2 centre =
        frame.trace(spanto::point(record.centre[0], record.centre[1], record.centre[2]));
    if (planar.size() < 3 || !std::isfinite(centre.x) || !std::isfinite(centre.y)) return;

    detail::point2 refined;
    double refined_radius = 0.0;
    double parameters[3] = {0.0, 0.0, 0.0};
    switch (s) {
        case substitute::gauss: {
            const detail::circle2 fit =
                detail::least_squares_circle(planar, {centre, record.radius});
            refined = fit.centre;
            refined_radius = fit.radius;
            parameters[2] = fit.radius - c.start.radius;
            break;
        }
        case substitute::zone:
            refined = detail::minimum_zone_circle(planar, centre).centre;
            break;
        case substitute::inscribed:
        case substitute::circumscribed:
            if (!detail::surrounded(planar, centre)) return;
            refined = s == substitute::inscribed
                          ? detail::maximum_inscribed_circle(planar, centre).centre
                          : detail::minimum_circumscribed_circle(planar).centre;
            break;
        default:
            return;
    }
    if (!parameters_of(refined, c, frame, parameters)) return;
    // A NaN on either side keeps the minimiser's result.
    const double coarse = planar_objective(s, planar, centre, record.radius);
    const double fine = planar_objective(s, planar, refined, refined_radius);
    if (!(fine <= coarse + objective_rounding * std::fabs(coarse))) return;
    objective(parameters, &c, &record);
}

// The criteria that can be fitted: their trace name, objective and number of parameters.
struct fit_criterion {
    substitute::subtype type;
    const char* name;
    detail::objective_fn objective;
    int parameters;
};

const fit_criterion* find_criterion(substitute::subtype s) {
    static const fit_criterion criteria[] = {
        {substitute::gauss, "gauss", gauss_objective, 3},
        {substitute::zone, "zone", zone_objective, 2},
        {substitute::inscribed, "inscribed", inscribed_objective, 2},
        {substitute::circumscribed, "circumscribed", circumscribed_objective, 2},
    };
    for (const fit_criterion& c : criteria) {
        if (c.type == s) return &c;
    }
    return nullptr;
}

}  // namespace

namespace detail {

int last_fit_evaluations() { return evaluations_of_last_fit; }

void circle_refinement(bool on) { refinement_enabled = on; }

}  // namespace detail

spanto::circle substitute::circle(const actual& points, const spanto::vector& direction,
                                  subtype s) {
    const spanto::vector u = direction.orthogonal();
    const spanto::vector w = direction ^ u;
    if (u.invalid() || w.invalid()) {
        // A zero or non-finite direction spans no plane to move the centre in.
        VANTOR_TRACE(1, "*compute::circle: invalid direction\n");
        return spanto::circle();
    }

    spanto::point e1, e2, e3;
    if (!points.ExtremumPoints(e1, e2, e3)) {
        VANTOR_TRACE(1, "*compute::circle: failed to compute extremum points\n");
        return spanto::circle();
    }
    const spanto::circle start(e1, e2, e3);
    VANTOR_TRACE(5, " compute::circle: start=%s\n", spanto::toa(start).c_str());
    if (start.invalid()) {
        // Collinear extremum points: there is no circle to start from.
        VANTOR_TRACE(1, "*compute::circle: invalid start circle\n");
        return spanto::circle();
    }

    fit_context context{&points, start, u, w, 0};
    // The start circle's roundness, measured and traced as roundness about a circle is.
    detail::trace_entry(detail::roundness_operation);
    detail::extremes start_range{spanto::nan, spanto::nan};
    detail::radial_deviation_range(points, start, start_range);
    const double d0 = start_range.high - start_range.low;
    VANTOR_TRACE(5, " compute::circle: start dev=%.3f\n", d0);
    if (!std::isfinite(d0)) {
        // An invalid point measured first leaves no finite bracket for the minimiser.
        VANTOR_TRACE(1, "*compute::circle: invalid start deviation\n");
        return spanto::circle();
    }

    double start_values[3] = {0.0, 0.0, 0.0};
    double lower[3] = {-d0, -d0, -d0};
    double upper[3] = {d0, d0, d0};

    criterion_ = s == unspecified ? zone : s;
    const fit_criterion* fitted = find_criterion(criterion_);
    if (fitted == nullptr) {
        VANTOR_TRACE(0, "*compute::circle: invalid subtype\n");
        return spanto::circle();
    }

    fit_record record;
    detail::minimiser search;
    search.init(fitted->objective, sizeof record);
    search.minimise(start_values, lower, upper, fitted->parameters, &context, &record);
    if (refinement_enabled) refine(criterion_, fitted->objective, context, record);
    evaluations_of_last_fit = context.evaluations;

    const spanto::circle result(
        spanto::point(record.centre[0], record.centre[1], record.centre[2]),
        spanto::vector(record.normal[0], record.normal[1], record.normal[2]), record.radius);
    if (result.valid()) deviation_ = record.deviation;
    VANTOR_TRACE(5, "-compute::circle: %s\n", spanto::toa(result).c_str());
    return result;
}

spanto::circle substitute::circle(const actual* points, const spanto::vector& direction,
                                  subtype s) {
    return points != nullptr ? circle(*points, direction, s) : spanto::circle();
}

bool closed_profile(const actual& points, const spanto::point& centre,
                    const spanto::vector& normal) {
    const spanto::vector n = normal.unit();
    if (centre.invalid() || n.invalid()) return false;
    return detail::surrounded(detail::traces_of(points, detail::planar_frame(centre, n)),
                              {0.0, 0.0});
}

spanto::circle substitute::circle(const actual& points, subtype s) {
    VANTOR_TRACE(3, "+compute::circle\n");
    VANTOR_TRACE(4, " compute::circle: actual=%p, #=%d\n", static_cast<const void*>(&points),
                 points.numpoints());
    if (s == unspecified) s = zone;
    const fit_criterion* named = find_criterion(s);
    if (named == nullptr) {
        VANTOR_TRACE(0, "*compute::circle: invalid subtype\n");
        return spanto::circle();
    }
    VANTOR_TRACE(4, " compute::circle: subtype: %s\n", named->name);
    const spanto::plane base = substitute().plane(points, gauss);
    if (base.invalid()) {
        VANTOR_TRACE(0, "*compute::circle: base plane computation failed\n");
        return spanto::circle();
    }
    return circle(points, base.normal, s);
}

spanto::circle substitute::circle(const actual* points, subtype s) {
    return points != nullptr ? circle(*points, s) : spanto::circle();
}

}  // namespace vantor
