// Circle fitting under the four criteria.
//
// The fit starts from the circle through three extremum points of the set and lets the bounded
// minimiser move the centre within the plane perpendicular to the given direction (and, for
// least squares, change the radius). The criteria differ only in the objective the minimiser
// sees. The normal of the result is always the start circle's normal.
#include "core/trace.h"
#include "fit/minimiser.h"
#include "vantor/feature.h"
#include "vantor/substitute.h"

namespace vantor {

namespace {

// What every objective evaluation needs.
struct fit_context {
    const actual* points;
    spanto::circle start;
    spanto::vector u;  // first direction in which the centre moves
    spanto::vector w;  // second direction in which the centre moves
    roundness* probe;  // reused for the evaluations about trial axes
};

// The minimiser's result record: the fitted circle and its deviation.
struct fit_record {
    double centre[3];
    double normal[3];
    double radius;
    double deviation;
};
static_assert(sizeof(fit_record) == 64, "the record is eight doubles");

void store(fit_record& r, const spanto::point& centre, const spanto::vector& normal,
           double radius, double deviation) {
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
    const fit_context& c = *static_cast<const fit_context*>(context);
    spanto::cylinder z(c.start.centre, c.start.normal, c.start.radius + p[2]);
    z.origin += p[0] * c.u;
    z.origin += p[1] * c.w;
    double spread = 0.0;
    const double sum = c.points->gaussdistance(z, spread);
    store(*static_cast<fit_record*>(record), z.origin, z.direction, z.radius, spread);
    return sum;
}

// Roundness about the trial axis: the smallest and largest distance of a point from it.
const roundness& about_trial_axis(const double* p, const fit_context& c,
                                  spanto::point& centre) {
    centre = trial_centre(p, c);
    c.probe->compute(*c.points, spanto::line(centre, c.start.normal));
    return *c.probe;
}

double zone_objective(const double* p, void* context, void* record) {
    const fit_context& c = *static_cast<const fit_context*>(context);
    spanto::point m;
    const roundness& r = about_trial_axis(p, c, m);
    store(*static_cast<fit_record*>(record), m, c.start.normal,
          (r.minvalue() + r.maxvalue()) * 0.5, r.value());
    return r.value();
}

double inscribed_objective(const double* p, void* context, void* record) {
    const fit_context& c = *static_cast<const fit_context*>(context);
    spanto::point m;
    const roundness& r = about_trial_axis(p, c, m);
    store(*static_cast<fit_record*>(record), m, c.start.normal, r.minvalue(), r.value());
    return -r.minvalue();
}

double circumscribed_objective(const double* p, void* context, void* record) {
    const fit_context& c = *static_cast<const fit_context*>(context);
    spanto::point m;
    const roundness& r = about_trial_axis(p, c, m);
    store(*static_cast<fit_record*>(record), m, c.start.normal, r.maxvalue(), r.value());
    return r.maxvalue();
}

const char* subtype_name(substitute::subtype s) {
    switch (s) {
        case substitute::gauss:
            return "gauss";
        case substitute::zone:
            return "zone";
        case substitute::inscribed:
            return "inscribed";
        case substitute::circumscribed:
            return "circumscribed";
        default:
            return nullptr;
    }
}

}  // namespace

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

    roundness probe;
    fit_context context{&points, start, u, w, &probe};
    const double d0 = roundness(points, start).value();
    VANTOR_TRACE(5, " compute::circle: start dev=%.3f\n", d0);

    double start_values[3] = {0.0, 0.0, 0.0};
    double lower[3] = {-d0, -d0, -d0};
    double upper[3] = {d0, d0, d0};

    criterion_ = s == unspecified ? zone : s;
    detail::objective_fn objective = nullptr;
    int n = 2;
    switch (criterion_) {
        case gauss:
            objective = gauss_objective;
            n = 3;
            break;
        case zone:
            objective = zone_objective;
            break;
        case inscribed:
            objective = inscribed_objective;
            break;
        case circumscribed:
            objective = circumscribed_objective;
            break;
        default:
            VANTOR_TRACE(0, "*compute::circle: invalid subtype\n");
            return spanto::circle();
    }

    fit_record record;
    detail::minimiser search;
    search.init(objective, sizeof record);
    search.minimise(start_values, lower, upper, n, &context, &record);

    const spanto::circle result(
        spanto::point(record.centre[0], record.centre[1], record.centre[2]),
        spanto::vector(record.normal[0], record.normal[1], record.normal[2]), record.radius);
    deviation_ = record.deviation;
    VANTOR_TRACE(5, "-compute::circle: %s\n", spanto::toa(result).c_str());
    return result;
}

spanto::circle substitute::circle(const actual* points, const spanto::vector& direction,
                                  subtype s) {
    return circle(*points, direction, s);
}

spanto::circle substitute::circle(const actual& points, subtype s) {
    VANTOR_TRACE(3, "+compute::circle\n");
    VANTOR_TRACE(4, " compute::circle: actual=%p, #=%d\n", static_cast<const void*>(&points),
                 points.numpoints());
    if (s == unspecified) s = zone;
    const char* name = subtype_name(s);
    if (name == nullptr) {
        VANTOR_TRACE(0, "*compute::circle: invalid subtype\n");
        return spanto::circle();
    }
    VANTOR_TRACE(4, " compute::circle: subtype: %s\n", name);
    const spanto::plane base = substitute().plane(points, gauss);
    if (base.invalid()) {
        VANTOR_TRACE(0, "*compute::circle: base plane computation failed\n");
        return spanto::circle();
    }
    return circle(points, base.normal, s);
}

spanto::circle substitute::circle(const actual* points, subtype s) { return circle(*points, s); }

}  // namespace vantor
