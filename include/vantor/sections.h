// SPDX-License-Identifier: Apache-2.0
// vantor/sections.h: points measured as several profiles along an axis, split into sections.
//
// A roundness profile lies in one plane across its axis. Points that spread along the axis by
// more than a profile may are several profiles (a bore measured at several heights) or a scan
// along the axis; evaluated as one profile they give a value of no meaning. The splitter tells
// them apart and cuts them into sections, each of which is then evaluated as a profile of its
// own.
//
// Heights: the height of a point is its coordinate along the axis, p . d, with the unit
// direction d turned as the fits turn directions (towards positive z, then y, then x); for an
// axis near z a height is about the point's z. Lengths are in the units of the point
// coordinates. Invalid points (NaN coordinates) belong to no section.
#ifndef VANTOR_SECTIONS_H
#define VANTOR_SECTIONS_H

#include <string>
#include <vector>

#include <spanto/spanto.h>

#include "vantor/actual.h"
#include "vantor/export.h"
#include "vantor/fit.h"

namespace vantor {

// The profile rule: the points of one profile spread along the axis (largest minus smallest
// height) by at most this fraction of their mean distance from the axis: 0.2 mm on a radius of
// 20 mm. A profile tilted by an angle t to the axis spreads 2 r sin t along it and reads as an
// ellipse, r (1/cos t - 1) out of round; at the limit that is 1.25e-5 r (0.25 um on a radius of
// 20 mm), far below any roundness tolerance, while sections measured at different heights lie
// millimetres apart and far beyond it.
constexpr double profile_spread_fraction = 0.01;

// How to cut the points into sections.
struct section_request {
    enum class rule {
        whole,  // no cut: all valid points are one section (to check that they are a profile)
        gaps,   // automatic: a cut in every gap between consecutive heights (in height order)
                // wider than the profile limit, profile_spread_fraction x the radius
        count,  // `count` sections: cuts in the count - 1 widest of those gaps
        at,     // cuts at the heights `at` (in any order), each in such a gap: a section from
                // each cut to the next
    };
    // No rule cuts within a gap no wider than the profile limit, so no profile is ever cut in
    // two; count and at fail where they would have to.
    rule how = rule::whole;
    int count = 0;
    std::vector<double> at;
};

// One section: the rows of its points and where it lies along the axis.
struct section {
    std::vector<int> rows;  // indices into the point set (invalid points counted), ascending
    double height = 0.0;    // the mean height of its points
    double low = 0.0;       // the smallest and largest height of its points
    double high = 0.0;
    double spread() const { return high - low; }
};

// The sections of a point set, by increasing height.
struct VANTOR_EXPORT section_split {
    // Why the points could not be split, e.g. "no points between heights 12.5 and 20"; empty
    // when they were.
    std::string error;
    // ok, or the kind of failure: refused (an axis without direction, a count or cut the points
    // do not allow), too_few_points (no valid points), degenerate (points on the axis), or the
    // status of the circle or cylinder fit that failed.
    vantor::status status = vantor::status::ok;
    spanto::line axis;    // through the point of the axis nearest the coordinates' origin
    double radius = 0.0;  // the mean distance of the valid points from the axis
    double limit = 0.0;   // the profile rule's largest spread: profile_spread_fraction x radius
    std::vector<section> sections;
    bool valid() const { return error.empty(); }
    // The index of the first section that spreads along the axis by more than `limit`, the
    // number of sections when every one is a profile.
    std::size_t first_wide() const;
    // Why section k is not a profile: "the points spread 60 along the axis, more than a
    // profile may (1 % of the radius 20: 0.2)", with "section k + 1 of n" first when there
    // are several sections.
    std::string wide_message(std::size_t k) const;
};

// Splits the valid points along `axis` (its position and sense do not matter). Fails for a
// set without valid points, an axis without direction, points on the axis (radius 0), a count
// below 1 or above the number of gaps wider than the limit plus one, a cut where no such gap
// lies (inside a profile), and cuts that leave a section without points (a cut outside the
// heights, or two cuts with no point between them).
VANTOR_EXPORT section_split split_sections(const actual& points, const spanto::line& axis,
                                           const section_request& request);

// Splits the valid points along the axis along `direction` (need not be unit) through the
// centre of their least-squares circle fitted along it (fit_circle); fails as above and when
// that fit fails.
VANTOR_EXPORT section_split split_sections(const actual& points, const spanto::vector& direction,
                                           const section_request& request);

// Splits the valid points along their own axis: the axis of their least-squares circle (the
// normal of their least-squares plane through the circle's centre, fit_circle) when they spread
// along it by no more than the profile limit, as one profile does; otherwise the axis of their
// least-squares cylinder (fit_cylinder; when no cylinder fits them, rule whole splits along the
// circle's axis, which shows that they are not one profile). Fails as above, when the circle
// fit fails (fewer than 3 valid points, points on one line) and, but for rule whole, when the
// cylinder fit fails.
VANTOR_EXPORT section_split split_sections(const actual& points, const section_request& request);

}  // namespace vantor

#endif  // VANTOR_SECTIONS_H
