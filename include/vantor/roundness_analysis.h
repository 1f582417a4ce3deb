// SPDX-License-Identifier: Apache-2.0
// vantor/roundness_analysis.h: a roundness profile analysed as roundness instruments report it.
//
// The profile is the distance of each point from a datum axis, as a function of its angle about
// the axis. The analysis filters it with the Gaussian profile filter for closed profiles, fits
// the four reference circles (least squares, minimum zone, maximum inscribed, minimum
// circumscribed) to the filtered profile and reports about each the roundness parameters RONt,
// RONp, RONv and RONq with the eccentricity of its centre from the axis; and it gives the
// harmonic spectrum of the unfiltered profile.
//
// Lengths are in the units of the point coordinates, angles in radians, harmonics in
// undulations per revolution (UPR). Invalid points (NaN coordinates) are left out.
#ifndef VANTOR_ROUNDNESS_ANALYSIS_H
#define VANTOR_ROUNDNESS_ANALYSIS_H

#include <string>
#include <vector>

#include <spanto/spanto.h>

#include "vantor/actual.h"
#include "vantor/export.h"
#include "vantor/fit.h"

namespace vantor {

// The polar frame of a profile about an axis: where its angles start and which way they turn.
//
// An axis has no sense of its own, so the frame takes the sense in which the largest component
// of the direction is positive (x before y before z on ties). Angles run counter-clockwise seen
// with `axis` pointing towards the viewer, from `zero`: the y axis projected into the plane
// perpendicular to the axis, or, when the axis lies within 20 degrees of y, the z axis projected
// (for an axis along z, 0 degrees lies along y and 90 degrees along -x). So 0 degrees stays put
// when the axis tilts a little, and one profile gets the same angles whichever sense its axis
// was given in.
struct polar_frame {
    spanto::vector axis;     // unit
    spanto::vector zero;     // unit, perpendicular to axis: the direction of angle 0
    spanto::vector quarter;  // axis ^ zero: the direction of angle pi / 2
};

// The frame about an axis along `direction` (need not be unit). A zero or non-finite direction
// gives invalid (NaN) vectors.
VANTOR_EXPORT polar_frame polar_frame_about(const spanto::vector& direction);

// One point of a profile.
struct profile_sample {
    double angle = 0.0;   // in the polar frame, 0 to 2 pi
    double radius = 0.0;  // distance from the datum axis
};

// A harmonic of the profile: the component amplitude * cos(upr * angle + phase).
struct harmonic {
    int upr = 0;
    double amplitude = 0.0;  // half its peak-to-valley height
    double phase = 0.0;      // radians, -pi to pi, against the frame's angle 0
};

// The roundness parameters of the profile about one reference circle. The deviation of a
// sample is its distance from the circle's centre minus the circle's radius, positive outside.
struct ron_parameters {
    // The reference circle: centre in the plane of the profile, normal the frame's axis.
    spanto::circle circle;
    double ront = 0.0;  // peak to valley: ronp + ronv
    double ronp = 0.0;  // the largest deviation (outward)
    double ronv = 0.0;  // minus the smallest deviation (inward)
    double ronq = 0.0;  // the root mean square of the deviations
    // The distance of the circle's centre from the datum axis, and the unit direction from the
    // axis towards the centre (perpendicular to the axis; invalid when the distance is 0).
    double eccentricity = 0.0;
    spanto::vector eccentricity_direction;
};

// The analysis of one roundness profile.
//
// The profile. Each valid point gives a sample: its angle in the polar frame of the axis and
// its distance from the axis. The profile lies in the plane perpendicular to the axis through
// the points' mean position, where the axis pierces it at origin().
//
// Equal and unequal spacing. The discrete Fourier transform needs samples at equal angles.
// Sorted by angle, N samples count as equally spaced when none lies further than 0.001 / N
// radians from the nearest grid start + 2 pi n / N: then they are transformed as they are,
// whatever N is, and harmonics 1 .. N/2 are reported. Treating the angles as equal moves the
// amplitude of a harmonic k by at most 2 k (0.001 / N) <= 0.1 % of it. Otherwise (a scan of a
// coordinate measuring machine, or a profile about an axis other than the one it was measured
// about) the profile is resampled at equal angles: samples closer than a quarter of the mean
// spacing 2 pi / N are merged, a periodic cubic spline in angle is laid through the remaining M
// knots, and it is sampled at the M angles 2 pi m / M. For a profile with a continuous fourth
// derivative the spline is off by at most eps = 5/384 h^4 max|r''''|, h the widest gap between
// neighbouring knots (for a harmonic k of amplitude a: 5/384 (k h)^4 a). That moves an amplitude
// by at most 2 eps, and a harmonic k alone by at most 0.1 % of its amplitude while
// k h <= 0.4427; so the harmonics reported are 1 .. min(M/2, floor(0.4427 / h)), and a gap wider
// than 0.4427 rad (25.4 degrees), which leaves no harmonic within that bound, fails the analysis.
// The parameters of a resampled profile move by no more than a small multiple of eps: the
// minimum-zone RONt by at most 2 eps, the others as their reference circles follow the profile.
//
// The filter. The Gaussian filter for closed profiles with cutoff lambda (UPR) passes harmonic
// k with the transmission exp(-ln 2 (k / lambda)^2), one half at the cutoff; it is applied to
// the equally spaced profile's transform, so the closed profile has no ends to distort. UPR 0
// and 1, the mean radius and the offset of the profile's centre from the axis, pass unchanged:
// they are size and position rather than form, and the filter leaves the reference centres and
// so the eccentricity where they are.
//
// The datum axis off the profile's centre. The profile is taken about the datum axis, as an
// instrument records it about its spindle. When the axis lies a distance e from the centre of a
// profile of radius R, the profile about it carries besides the offset (UPR 1) a term of about
// e^2 / (4 R) at UPR 2, and each form harmonic a_k spreads by about a_k k e / (2 R) into UPR
// k - 1 and k + 1. The filter weighs these as form, so the filtered profile moves by about
// (1 - T(2)) e^2 / (4 R) + sum (1 - T(k +- 1)) a_k k e / (2 R), T the transmission: a fraction
// of a nanometre for a datum 0.1 mm off a profile of 10 mm radius with form of a few
// micrometres, filtered at 50 UPR. About its own least-squares axis e is 0.
// Usual cutoffs are 15, 50, 150 and 500 UPR; any positive value is taken, and 0 means no
// filter.
//
// The parameters are computed on profile(): the filtered equally spaced profile with a filter
// (the points' own angles, or the resampling angles), the measured points themselves without
// one (no interpolation then enters the parameters).
//
// The analysis fails, with valid() false and error() saying why, for an invalid axis, a
// negative, infinite or NaN cutoff, fewer than 3 valid points, a point at an infinite distance,
// or a gap that leaves the profile open (above). A failed analysis has an empty profile and
// spectrum and invalid parameters.
//
// An analysis is a value: it computes everything on construction, and its const members may
// be used from several threads at once. Analyses on different threads run independently.
class VANTOR_EXPORT roundness_analysis {
  public:
    // The cutoff that means no filter.
    static constexpr double unfiltered = 0.0;

    // Analyses the profile of `points` about `axis`, filtered with the cutoff (UPR; 0: none).
    roundness_analysis(const actual& points, const spanto::line& axis, double cutoff = unfiltered);

    bool valid() const { return error_.empty(); }
    // Why the analysis failed; empty when it succeeded.
    const std::string& error() const { return error_; }
    // What became of it: ok, or refused (the axis or cutoff), too_few_points, invalid_points
    // or degenerate (a gap that leaves the profile open).
    vantor::status status() const { return status_; }

    // The filter's cutoff as given (UPR; 0: no filter).
    double cutoff() const { return cutoff_; }
    // The frame of the profile's angles about the datum axis.
    const polar_frame& frame() const { return frame_; }
    // Where the datum axis pierces the plane of the profile.
    const spanto::point& origin() const { return origin_; }
    // The number of valid points analysed.
    int points() const { return points_; }
    // Whether the points were resampled at equal angles, and at how many (0 when not).
    bool resampled() const { return resampled_points_ > 0; }
    int resampled_points() const { return resampled_points_; }

    // The measured points that stand far outside the rest: fit_report::outliers' rule on their
    // radial distances from the least-squares reference circle's axis (outliers_about), unfiltered,
    // since a filter smears a spike rather than removing it. A report with any deserves a
    // warning. 0 for a failed analysis.
    int outliers() const { return outliers_; }

    // The profile the parameters are computed on (see above), in increasing angle.
    const std::vector<profile_sample>& profile() const { return profile_; }
    // A sample as a point in the plane of the profile.
    spanto::point point_of(const profile_sample& s) const;

    // The harmonics 1 .. harmonic_limit() of the unfiltered profile: spectrum()[k - 1] is UPR k.
    // UPR 1 is the offset of the profile's centre from the axis rather than form.
    const std::vector<harmonic>& spectrum() const { return spectrum_; }
    int harmonic_limit() const { return static_cast<int>(spectrum_.size()); }
    // The `count` largest harmonics of 2 UPR and more (the form), in falling amplitude; equal
    // amplitudes in rising UPR. Fewer when the spectrum holds fewer.
    std::vector<harmonic> dominant(int count) const;

    // The parameters about the reference circle of the criterion, fitted to profile() in its
    // plane. Invalid (NaN) parameters for a failed analysis or a value outside the enumeration.
    const ron_parameters& parameters(criterion c) const;
    // The parameters about a circle of the caller's: its centre projected into the plane of the
    // profile, its radius (the circle's normal is not used). For example the circle about the
    // datum axis with the profile's mean radius, mean_radius(). Invalid (NaN) parameters for a
    // failed analysis.
    ron_parameters about(const spanto::circle& reference) const;
    // The mean distance of profile() from the axis: the least-squares radius about the axis.
    // NaN for a failed analysis.
    double mean_radius() const;

  private:
    void analyse(const actual& points, const spanto::line& axis);
    void fail(vantor::status code, std::string why);

    std::string error_;
    vantor::status status_ = vantor::status::ok;
    double cutoff_;
    polar_frame frame_;
    spanto::point origin_;
    int points_ = 0;
    int resampled_points_ = 0;
    int outliers_ = 0;
    std::vector<profile_sample> profile_;
    std::vector<harmonic> spectrum_;
    ron_parameters references_[4];
};

}  // namespace vantor

#endif  // VANTOR_ROUNDNESS_ANALYSIS_H
