// SPDX-License-Identifier: Apache-2.0
// vantor::substitute: ideal substitute elements of measured points.
#ifndef VANTOR_SUBSTITUTE_H
#define VANTOR_SUBSTITUTE_H

#include <spanto/spanto.h>

#include "vantor/actual.h"
#include "vantor/element.h"
#include "vantor/fit.h"

namespace vantor {

// Requests substitute (ideal) elements for a point set: its centroid, and circles and arcs
// fitted under one of four criteria. After a circle fit the object holds the criterion used
// and the deviation of the fitted circle.
//
// The forms for lines, segments, planes, spheres, cylinders, cylinder sections, cones and cone
// sections fit nothing: they return the element's default, invalid value.
//
// Every form taking `const actual&` also exists taking `const actual*`, and forwards to it; a
// null pointer gives the form's invalid result.
class VANTOR_EXPORT substitute : public element {
  public:
    // The fitting criterion.
    enum subtype : int {
        unspecified = 0,    // fitted as zone
        gauss = 1,          // least squares: minimal sum of squared radial distances
        zone = 2,           // minimum zone: narrowest band between two concentric circles
        inscribed = 3,      // maximum inscribed circle
        circumscribed = 4,  // minimum circumscribed circle
    };

    // Deviation 0, criterion unspecified.
    substitute();
    substitute(const substitute& other);
    substitute& operator=(const substitute& other);

    // The deviation of the last successful circle fit: for gauss the spread (largest minus
    // smallest signed distance) of the points from the fitted circle's cylinder, for the other
    // criteria the largest minus the smallest distance of a point from the fitted axis.
    double deviation() const { return deviation_; }
    // The criterion of the last circle fit with a direction (unspecified replaced by zone).
    subtype criterion() const { return criterion_; }

    // The centroid of all stored points; the criterion is not used. An empty set gives an
    // invalid point.
    spanto::point point(const actual& points, subtype s) const;

    // --- Circle and arc fitting.

    // The circle fitted to the points in the plane perpendicular to `direction`, under
    // criterion s, starting from the circle through three extremum points of the set; its
    // normal is that start circle's normal. Records criterion and deviation in the object.
    // Failure gives an invalid circle (and leaves the deviation as it was).
    //
    // Least-squares and minimum-zone circles are the optimum of their criterion. Maximum
    // inscribed and minimum circumscribed circles are so only for a closed profile, whose
    // points surround the centre (every angular gap between neighbouring points below 180
    // degrees). For an open profile (an arc, a gap of 180 degrees or more) the result is where
    // a search bounded about the start circle stopped, which is not the optimum: on a
    // 120-degree arc of radius 80 the circumscribed circle has radius 79.985, while the
    // smallest circle that holds the points, over the chord, has radius 69.281, and no largest
    // inscribed circle exists. closed_profile(points, c.centre, c.normal) tells the two apart.
    spanto::circle circle(const actual& points, const spanto::vector& direction, subtype s);
    spanto::circle circle(const actual* points, const spanto::vector& direction, subtype s);
    // The fitted circle without a direction: the base plane comes from plane(points, gauss),
    // which is not fitted, so this form fails with an invalid circle.
    spanto::circle circle(const actual& points, subtype s);
    spanto::circle circle(const actual* points, subtype s);

    // The arc of circle c spanned by the points: from the circle point nearest the first point
    // of the largest gap between neighbouring points, to the second point of that gap.
    spanto::arc arc(const actual& points, const spanto::circle& c) const;
    spanto::arc arc(const actual* points, const spanto::circle& c) const;
    // The arc on the circle fitted with circle(points, s) or circle(points, direction, s);
    // invalid when the fit fails. The object's criterion and deviation are not changed.
    spanto::arc arc(const actual& points, subtype s) const;
    spanto::arc arc(const actual* points, subtype s) const;
    spanto::arc arc(const actual& points, const spanto::vector& direction, subtype s) const;
    spanto::arc arc(const actual* points, const spanto::vector& direction, subtype s) const;

    // --- Element forms that fit nothing: each returns the type's default (invalid) value.

    spanto::line line(const actual& points, subtype s) const;
    spanto::line line(const actual* points, subtype s) const;
    spanto::line line(const actual& points, const spanto::plane& p, subtype s) const;
    spanto::line line(const actual* points, const spanto::plane& p, subtype s) const;
    spanto::line line(const actual& points, const spanto::vector& v, subtype s) const;
    spanto::line line(const actual* points, const spanto::vector& v, subtype s) const;

    spanto::lineseg lineseg(const actual& points, subtype s) const;
    spanto::lineseg lineseg(const actual* points, subtype s) const;
    spanto::lineseg lineseg(const actual& points, const spanto::line& l) const;
    spanto::lineseg lineseg(const actual* points, const spanto::line& l) const;

    spanto::plane plane(const actual& points, subtype s) const;
    spanto::plane plane(const actual* points, subtype s) const;
    spanto::plane plane(const actual& points, const spanto::plane& p, subtype s) const;
    spanto::plane plane(const actual* points, const spanto::plane& p, subtype s) const;
    spanto::plane plane(const actual& points, const spanto::vector& v, subtype s) const;
    spanto::plane plane(const actual* points, const spanto::vector& v, subtype s) const;

    spanto::sphere sphere(const actual& points, subtype s) const;
    spanto::sphere sphere(const actual* points, subtype s) const;

    spanto::cylinder cylinder(const actual& points, subtype s) const;
    spanto::cylinder cylinder(const actual* points, subtype s) const;

    spanto::cylindersect cylindersect(const actual& points, subtype s) const;
    spanto::cylindersect cylindersect(const actual* points, subtype s) const;
    spanto::cylindersect cylindersect(const actual& points, const spanto::cylinder& c) const;
    spanto::cylindersect cylindersect(const actual* points, const spanto::cylinder& c) const;

    spanto::cone cone(const actual& points, subtype s) const;
    spanto::cone cone(const actual* points, subtype s) const;
    spanto::cone cone(const actual& points, const spanto::vector& v, subtype s) const;
    spanto::cone cone(const actual* points, const spanto::vector& v, subtype s) const;

    spanto::conesect conesect(const actual& points, subtype s) const;
    spanto::conesect conesect(const actual* points, subtype s) const;
    spanto::conesect conesect(const actual& points, const spanto::cone& c) const;
    spanto::conesect conesect(const actual* points, const spanto::cone& c) const;

  private:
    double deviation_ = 0.0;
    subtype criterion_ = unspecified;
};

// True when the valid points, seen along `normal`, surround `centre`: every angular gap between
// the directions from the centre to neighbouring points is below 180 degrees (a closed profile).
// Points on the axis through the centre have no direction and do not count. False for an
// invalid centre, a zero or invalid normal, or no point off the axis.
//
// For a circle c that substitute::circle fitted as maximum inscribed or minimum circumscribed,
// closed_profile(points, c.centre, c.normal) true means that c is the optimum of its criterion,
// false that it is where the bounded search stopped. Only a gap of exactly 180 degrees can give
// either answer, by rounding (a profile that closes along a diameter of its optimal circle).
VANTOR_EXPORT bool closed_profile(const actual& points, const spanto::point& centre,
                                  const spanto::vector& normal);

// The subtype of the circle fits that fits under criterion c (the same criterion, by the same
// value), and the criterion of a subtype: unspecified is fitted as zone.
VANTOR_EXPORT substitute::subtype subtype_of(criterion c);
VANTOR_EXPORT criterion criterion_of(substitute::subtype s);

}  // namespace vantor

#endif  // VANTOR_SUBSTITUTE_H
