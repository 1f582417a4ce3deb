// SPDX-License-Identifier: Apache-2.0
// vantor::actual: a measured point set of fixed capacity.
#ifndef VANTOR_ACTUAL_H
#define VANTOR_ACTUAL_H

#include <cstdio>
#include <memory>

#include <spanto/spanto.h>

#include "vantor/element.h"

namespace vantor {

// A block of points of fixed capacity with a count of stored points (indices 0 to
// numpoints() - 1). The storage is allocated once by the constructor, every entry starting
// as an invalid point; no operation reallocates it.
//
// A set may hold invalid points (NaN coordinates); the counts and loops of this class treat
// every stored point as a point of the set, valid or not, unless an operation says otherwise.
//
// Out-of-range indexing returns a per-thread shared invalid point, marked invalid again each
// time it is handed out. Counts and indices are passed as `const int&`; negative counts and
// capacities are treated as 0.
class VANTOR_EXPORT actual : public element {
  public:
    // An empty set of the given capacity.
    explicit actual(const int& maxpoints);
    // The n points of pts; capacity the larger of n and maxpoints. A null pts gives an empty
    // set of capacity maxpoints.
    actual(const spanto::point* pts, const int& n, const int& maxpoints);
    // n points (x[i], y[i], z[i]); capacity the larger of n and maxpoints. A null array gives
    // an empty set of capacity maxpoints.
    actual(const double* x, const double* y, const double* z, const int& n, const int& maxpoints);
    // The points of src with index min(first, last) to max(first, last), in index order;
    // capacity their number. When either index lies outside src: an empty set of capacity 0.
    actual(const actual& src, const int& first, const int& last);
    // All stored points of src; capacity src's count. Name, colour and creation stamp are
    // new, not copied.
    actual(const actual& src);
    // The points p of src with lo <= p < hi in each of x, y, z (lower face inside, upper face
    // outside, NaN coordinates outside), in index order; capacity their number.
    actual(const actual& src, const spanto::point& lo, const spanto::point& hi);
    ~actual() override;

    // Copies src entirely: its element attributes (type, name, stamp, colour), its capacity,
    // count and stored points, into storage of the target's own.
    actual& operator=(const actual& src);

    // Appends one point; false (and no change) when the set is full.
    bool append(const spanto::point& p);
    bool append(const double& x, const double& y, const double& z);
    // Appends n points as one block; false (and no change) when they do not all fit or n < 0.
    // n == 0 succeeds.
    bool append(const spanto::point* pts, const int& n);

    // Stored point i. Out of range: prints "idx under/overflow\n" on standard output (whatever
    // the trace threshold) and returns the shared invalid point.
    const spanto::point& operator[](const int& i) const;
    // Writable point i. An index from the count up to capacity - 1 extends the set to i + 1
    // points, marking the skipped entries invalid and leaving entry i as the storage holds
    // it. Below 0 or at or beyond the capacity: the shared invalid point, silently.
    spanto::point& operator[](const int& i);

    // Sets the count to 0; capacity and storage contents stay.
    void reset() { count_ = 0; }

    // The number of stored points.
    int numpoints() const { return count_; }
    int NumPoints() const { return count_; }
    // The capacity.
    int maxpoints() const { return capacity_; }
    // Every stored point counts as a point of the set: the count.
    int NumValidPoints() const { return count_; }
    // The index of the first point of the set: 0, or -1 for a set without points.
    int FirstValidPoint() const { return count_ > 0 ? 0 : -1; }

    // The stored points as a contiguous array of numpoints() entries.
    const spanto::point* data() const { return points_.get(); }
    const spanto::point* begin() const { return points_.get(); }
    const spanto::point* end() const { return points_.get() + count_; }

    // Move every stored point by t, or by +v or -v. Invalid points stay invalid.
    actual& operator*=(const spanto::trafo& t);
    actual& operator+=(const spanto::vector& v);
    actual& operator-=(const spanto::vector& v);

    // --- Queries. Each walks the stored points once in index order, without allocating.

    // The stored point nearest to q (Euclidean), or to the line l; on equal distances the
    // lower index. An empty set gives an invalid point.
    spanto::point nearest(const spanto::point& q) const;
    spanto::point nearest(const spanto::line& l) const;

    // Sum over all stored points of the squared distance from g (not divided by the count);
    // 0 for an empty set.
    double gaussdistance(const spanto::line& g) const;
    double gaussdistance(const spanto::plane& g) const;
    double gaussdistance(const spanto::circle& g) const;
    double gaussdistance(const spanto::cylinder& g) const;
    double gaussdistance(const spanto::sphere& g) const;

    // The same sums, also writing the spread of the distances. For the line: the largest
    // (unsigned) distance, 0 for an empty set. For plane, circle, cylinder and sphere: the
    // largest minus the smallest signed distance (sdistance), where the running extremes
    // start at -1e9 and +1e9, so an empty set gives -2e9.
    double gaussdistance(const spanto::line& g, double& spread) const;
    double gaussdistance(const spanto::plane& g, double& spread) const;
    double gaussdistance(const spanto::circle& g, double& spread) const;
    double gaussdistance(const spanto::cylinder& g, double& spread) const;
    double gaussdistance(const spanto::sphere& g, double& spread) const;

    // The axis-parallel bounding box. With extend, the box lo..hi given is grown to hold the
    // points; otherwise it starts as point 0 alone and grows by the later points. A NaN
    // coordinate never replaces a corner coordinate (so a NaN in the starting box stays). An
    // empty set returns `extend` and leaves lo and hi unchanged; otherwise true.
    bool bbox(spanto::point& lo, spanto::point& hi, bool extend) const;

    // --- Coarse summaries.

    // Two, three or four stored points that lie far apart, chosen among the representatives of
    // the eight octants of the bounding box (the stored point nearest to each octant's mean):
    // the pair of largest distance, the triple of largest perimeter, the closed four-point
    // path of largest length. Ties keep the first candidate in a fixed order. Never hands out
    // an invalid point: when the octants give too few valid representatives, the choice is
    // completed with the valid stored points farthest from those already chosen. False, with
    // the outputs untouched, when the set has fewer distinct valid points than requested.
    bool ExtremumPoints(spanto::point& p1, spanto::point& p2) const;
    bool ExtremumPoints(spanto::point& p1, spanto::point& p2, spanto::point& p3) const;
    bool ExtremumPoints(spanto::point& p1, spanto::point& p2, spanto::point& p3,
                        spanto::point& p4) const;

    // Thins the valid points onto a grid over their bounding box and writes one point per
    // occupied cell (the last in index order) into target, ordered by cell (x fastest, then
    // y, then z). The grid has 5, 4, 3 or 2 divisions per axis for a target capacity above
    // 125, 64, 27 or 8. Returns target's new count, or 0 (target unchanged) when the target
    // holds 8 points or fewer or this set is empty. The target may be this set.
    int simplify(actual& target) const;

    // --- Element file.

    // Writes the element file: header, then body (count, points as little-endian doubles).
    // A set without points writes both headers and returns false.
    using element::save;

    // Reads a point-set body from the stream's position (after an element-file header); the
    // capacity of the result equals its count. Null, without allocating the claimed size,
    // for a damaged body. The caller owns the result.
    static actual* load(std::FILE* f);
    // Reads an element file holding a point set; null otherwise.
    static actual* load(const char* filename);

  protected:
    bool save(std::FILE* f) const override;

  private:
    // Fills out with the octant representatives; returns the number of non-empty octants.
    int octantpoints(spanto::point (&out)[8]) const;

    // Allocates storage for `capacity` invalid points (none for capacity 0).
    void allocate(int capacity);

    std::unique_ptr<spanto::point[]> points_;
    int count_ = 0;
    int capacity_ = 0;
};

}  // namespace vantor

#endif  // VANTOR_ACTUAL_H
