// SPDX-License-Identifier: Apache-2.0
// Where the readers put the points of a file: NaN points counted and left out, the others kept
// in a point set of exactly their number.
#ifndef VANTOR_ACTUAL_POINT_SINK_H
#define VANTOR_ACTUAL_POINT_SINK_H

#include <cmath>
#include <cstddef>
#include <memory>
#include <vector>

#include <spanto/point.h>

#include "actual/point_source.h"
#include "vantor/actual.h"

namespace vantor::detail {

class point_sink {
  public:
    explicit point_sink(const point_source& source) : source_(source) {
        block_.reserve(block_size);
    }

    // Prepares for `count` points that a header announces and a file of known size has been
    // checked to hold room for: they go straight into one set. From a stream of unknown size,
    // and without it, points are kept in blocks as they come, so that a short stream never costs
    // more than it holds.
    void expect(long long count);

    // Adds a point; one with a NaN coordinate is counted instead. False for an infinite
    // coordinate, which the caller reports with its position.
    bool add(double x, double y, double z) {
        if (std::isnan(x) || std::isnan(y) || std::isnan(z)) {
            ++nan_rows_;
            return true;
        }
        if (std::isinf(x) || std::isinf(y) || std::isinf(z)) return false;
        if (block_.size() == block_size) next_block();
        block_.emplace_back(x, y, z);
        return true;
    }

    // Takes `points`, all finite, as a block of its own after those added so far, and counts
    // `nan_rows` rows left out for a NaN.
    void add(std::vector<spanto::point> points, long long nan_rows);

    long long count() const { return count_ + static_cast<long long>(block_.size()); }
    long long nan_rows() const { return nan_rows_; }

    // The points as one set; fails with "no points" when there are none.
    std::unique_ptr<actual> release();

  private:
    // Small enough to stay in the cache between being filled and copied into a known count.
    static constexpr std::size_t block_size = 1 << 12;

    // Stores `block` after the points stored so far.
    void store(std::vector<spanto::point> block);
    // Stores the current block and starts another.
    void next_block();

    const point_source& source_;
    std::unique_ptr<actual> direct_;  // when the count is known
    std::vector<std::vector<spanto::point>> blocks_;
    std::vector<spanto::point> block_;  // reserved, so that no entry is written before its point
    long long count_ = 0;               // points in direct_ or blocks_
    long long nan_rows_ = 0;
};

}  // namespace vantor::detail

#endif  // VANTOR_ACTUAL_POINT_SINK_H
