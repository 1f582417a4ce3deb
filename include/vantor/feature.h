// SPDX-License-Identifier: Apache-2.0
// vantor::feature and the six form features.
#ifndef VANTOR_FEATURE_H
#define VANTOR_FEATURE_H

#include <limits>

#include <spanto/spanto.h>

#include "vantor/actual.h"
#include "vantor/element.h"

namespace vantor {

// A toleranced characteristic: a value with a nominal value, a lower and an upper tolerance
// and its kind. The library stores nominal and tolerances for the caller and never compares
// the value with them.
//
// A failed or missing evaluation is marked by the invalid marker as value: a feature is
// invalid exactly when its value equals it (a NaN value counts as valid).
class VANTOR_EXPORT feature : public element {
  public:
    // The kind of characteristic.
    enum featype : int {
        fea_straightness = 0,
        fea_flatness = 1,
        fea_roundness = 2,
        fea_cylindricity = 3,
        fea_coneicity = 4,
        fea_sphereicity = 5,
    };

    // The value of a failed or missing evaluation: the largest finite double.
    static constexpr double invalidmarker = std::numeric_limits<double>::max();

    // Value, nominal and tolerances 0.
    explicit feature(featype kind);
    feature(const feature& other);
    feature& operator=(const feature& other);

    featype FeaType() const { return kind_; }

    virtual void value(const double& v);
    virtual double value() const;
    // Sets nominal, lower and upper tolerance, in this order.
    virtual void nominal(const double& n, const double& lower, const double& upper);
    // Sets the nominal value and the upper tolerance; the lower tolerance is not changed.
    virtual void nominal(const double& n, const double& upper);
    virtual void nominal(const double& n);
    virtual double nominal() const;
    virtual void lowertol(const double& t);
    virtual double lowertol() const;
    virtual void uppertol(const double& t);
    virtual double uppertol() const;

    // The value differs from / equals the invalid marker.
    bool valid() const { return value() != invalidmarker; }
    bool invalid() const { return value() == invalidmarker; }
    // Stores the invalid marker as value; everything else stays.
    void setinvalid() { value(invalidmarker); }

  private:
    double value_ = 0.0;
    double nominal_ = 0.0;
    double lowertol_ = 0.0;
    double uppertol_ = 0.0;
    featype kind_;
};

// What the six form features share: the datum element of the last evaluation and the minimum
// and maximum deviation that their evaluations store (each class says what they mean; 0 until
// an evaluation stores them).
template <typename Datum>
class VANTOR_EXPORT formfeature : public feature {
  public:
    const Datum& datum() const { return datum_; }
    double minvalue() const { return minimum_; }
    double maxvalue() const { return maximum_; }

  protected:
    explicit formfeature(featype kind) : feature(kind) {}

    Datum datum_;  // default: invalid
    double minimum_ = 0.0;
    double maximum_ = 0.0;
};

// Straightness about a datum line: the diameter of the smallest cylinder about the line that
// holds every point. minvalue() and maxvalue() are twice the smallest and largest distance.
class VANTOR_EXPORT straightness : public formfeature<spanto::line> {
  public:
    straightness();
    explicit straightness(const double& value);
    explicit straightness(const actual& points);
    straightness(const actual& points, const spanto::line& line);
    // Evaluates nothing (see compute with a plane): invalid, with the default datum.
    straightness(const actual& points, const spanto::plane& plane);
    straightness(const actual& points, const spanto::vector& direction);

    // Measures the points against the line. False (invalid, datum kept) without points.
    bool compute(const actual& points, const spanto::line& line);
    // Against a minimum-zone line of the substitute fitting, which fits no line: false.
    bool compute(const actual& points);
    // Straightness within a plane is not evaluated: returns false and changes nothing.
    bool compute(const actual& points, const spanto::plane& plane);
    // Straightness along a direction is not evaluated: returns false, leaves the feature
    // invalid.
    bool compute(const actual& points, const spanto::vector& direction);
};

// Flatness: the width of the zone between two planes parallel to the datum plane that holds
// the points (and, for a given plane, the plane itself). minvalue() and maxvalue() are the
// smallest and largest signed distance (positive on the normal's side).
class VANTOR_EXPORT flatness : public formfeature<spanto::plane> {
  public:
    flatness();
    explicit flatness(const double& value);
    explicit flatness(const actual& points);
    flatness(const actual& points, const spanto::plane& plane);
    flatness(const actual& points, const spanto::vector& direction);

    // Against the plane; value max(maximum, 0) - min(minimum, 0).
    bool compute(const actual& points, const spanto::plane& plane);
    // Against the plane through the first point with normal `direction`; the datum ends on the
    // middle plane of the zone and minimum/maximum are -value/2 and +value/2.
    bool compute(const actual& points, const spanto::vector& direction);
    // Against a minimum-zone plane of the substitute fitting, which fits no plane: false.
    bool compute(const actual& points);
};

// Roundness: the width of the ring about an axis that holds the points; only a point's
// distance from the axis counts.
class VANTOR_EXPORT roundness : public formfeature<spanto::circle> {
  public:
    roundness();
    explicit roundness(const double& value);
    explicit roundness(const actual& points);
    roundness(const actual& points, const spanto::circle& circle);
    roundness(const actual& points, const spanto::line& line);
    roundness(const actual& points, const spanto::vector& direction);

    // Radial deviations (radius minus distance from the circle's axis) from the circle; the
    // circle becomes the datum (invalid after a failure). minvalue()/maxvalue() unchanged.
    bool compute(const actual& points, const spanto::circle& circle);
    // Distances from the line taken as axis: minvalue() and maxvalue() become the smallest and
    // largest distance, the value their difference. The datum is not changed.
    bool compute(const actual& points, const spanto::line& line);
    // Against the least-squares circle without a direction, which cannot be fitted: false.
    bool compute(const actual& points);
    // Fits a least-squares circle in the plane perpendicular to `direction`, keeps it as the
    // datum and evaluates about its axis line. False (invalid) without points or when the fit
    // fails.
    bool compute(const actual& points, const spanto::vector& direction);

  private:
    // Measures against `circle` once the entry is traced and the datum marked invalid.
    bool against_circle(const actual& points, const spanto::circle& circle);
};

// Sphericity: the spread of the points' distances from a centre or from a datum sphere.
class VANTOR_EXPORT sphereicity : public formfeature<spanto::sphere> {
  public:
    sphereicity();
    explicit sphereicity(const double& value);
    explicit sphereicity(const actual& points);
    sphereicity(const actual& points, const spanto::point& centre);
    sphereicity(const actual& points, const spanto::sphere& sphere);

    // Distances from the centre: minvalue()/maxvalue() become the smallest/largest distance,
    // the value their difference. The datum is not changed.
    bool compute(const actual& points, const spanto::point& centre);
    // Deviations radius - distance from the centre; the sphere becomes the datum.
    // minvalue()/maxvalue() unchanged.
    bool compute(const actual& points, const spanto::sphere& sphere);
    // Against the least-squares sphere of the substitute fitting, which fits no sphere: false.
    bool compute(const actual& points);
};

// Cylindricity: the largest distance of a point from the datum cylinder. minvalue() and
// maxvalue() are never changed by an evaluation. A default cylindricity is invalid.
class VANTOR_EXPORT cylindricity : public formfeature<spanto::cylinder> {
  public:
    cylindricity();
    explicit cylindricity(const double& value);
    explicit cylindricity(const actual& points);
    cylindricity(const actual& points, const spanto::cylinder& cylinder);

    bool compute(const actual& points, const spanto::cylinder& cylinder);
    // Against a minimum-zone cylinder of the substitute fitting, which fits none: false.
    bool compute(const actual& points);
};

// Conicity: how far the points lie from a datum cone. A default conicity is invalid.
// Every constructor and compute also takes the point set by pointer; a null pointer is a failed
// evaluation.
class VANTOR_EXPORT coneicity : public formfeature<spanto::cone> {
  public:
    coneicity();
    explicit coneicity(const double& value);
    explicit coneicity(const actual& points);
    explicit coneicity(const actual* points);
    coneicity(const actual& points, const spanto::cone& cone);
    coneicity(const actual* points, const spanto::cone& cone);
    coneicity(const actual& points, const spanto::axis& axis);
    coneicity(const actual* points, const spanto::axis& axis);
    coneicity(const actual& points, const spanto::vector& direction);
    coneicity(const actual* points, const spanto::vector& direction);

    // Signed distances from the cone (positive outside); the value is maximum when every
    // point lies strictly outside, -minimum when every point lies strictly inside, otherwise
    // maximum - minimum.
    bool compute(const actual& points, const spanto::cone& cone);
    bool compute(const actual* points, const spanto::cone& cone);
    // Fits a cone about the axis by a least-squares line through the radial profile (axial
    // position, distance from the axis) and takes the span of the radial residuals. False
    // (invalid) for an invalid axis or fewer than two distinct axial positions.
    bool compute(const actual& points, const spanto::axis& axis);
    bool compute(const actual* points, const spanto::axis& axis);
    // About the axis of a substitute cone fitted along the direction, which fits no cone:
    // false, with an invalid datum.
    bool compute(const actual& points, const spanto::vector& direction);
    bool compute(const actual* points, const spanto::vector& direction);
    // Against a minimum-zone cone of the substitute fitting, which fits none: false.
    bool compute(const actual& points);
    bool compute(const actual* points);
};

// Short text forms: "clf(0.250)" / "clf(invalid)" and "cnf(0.250)" / "cnf(invalid)". The text
// lives in one of a per-thread ring of ten buffers shared by both functions, so it stays
// intact for the next nine calls on the same thread. The caller must not free it.
VANTOR_EXPORT const char* toa(const cylindricity& c);
VANTOR_EXPORT const char* toa(const cylindricity* c);
VANTOR_EXPORT const char* toa(const coneicity& c);
VANTOR_EXPORT const char* toa(const coneicity* c);

}  // namespace vantor

#endif  // VANTOR_FEATURE_H
