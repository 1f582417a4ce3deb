// SPDX-License-Identifier: Apache-2.0
// Parts of a point set that the fits work on: a thinned copy for the start of an iterative fit,
// and the points a minimax solver adds to its candidates.
//
// The 3-D fits read their points through any random-access sequence of point3 (a `Points`
// type): size() and operator[](i) returning a point3, by value or by reference. A vector is
// one; the fitting interface passes a view that computes each point from the caller's set when
// it is read, so that a fit of many points makes no copy of them.
#ifndef VANTOR_NUMERIC_SAMPLE_H
#define VANTOR_NUMERIC_SAMPLE_H

#include <algorithm>
#include <cstddef>
#include <type_traits>
#include <utility>
#include <vector>

namespace vantor {
namespace detail {

// The least-squares fits of spheres, cylinders and cones find their start on every k-th point,
// at most this many, before they fit all points.
constexpr std::size_t start_sample_limit = 1024;

// Every k-th point, k the smallest stride that leaves at most `limit` points (so all of them
// when there are no more than `limit`). Keeps the order and spreads evenly over a scan.
template <class Points>
auto strided_sample(const Points& points, std::size_t limit) {
    using point = std::decay_t<decltype(points[0])>;
    const std::size_t stride = points.size() <= limit ? 1 : (points.size() + limit - 1) / limit;
    std::vector<point> sample((points.size() + stride - 1) / stride);
    for (std::size_t k = 0; k < sample.size(); ++k) sample[k] = points[k * stride];
    return sample;
}

// Marks a pass over every point of a sequence: the fitting interface's views count their passes
// (their note_pass, found by argument-dependent lookup); a vector counts nothing.
template <class Point>
void note_pass(const std::vector<Point>&) {}

// The points of a sequence as a vector: the vector itself, or a copy of another sequence.
template <class Point>
const std::vector<Point>& vector_of(const std::vector<Point>& points) {
    return points;
}
template <class Points>
auto vector_of(const Points& points) {
    note_pass(points);
    return strided_sample(points, points.size());
}

// The indices of the (at most `limit`) points i < count with the largest excess(i), of those
// whose excess is positive; in no particular order. One pass holding `limit` candidates in a
// heap whose top is the smallest kept: memory and time do not grow with the points beyond
// count log(limit).
template <class Excess>
std::vector<std::size_t> most_beyond(std::size_t count, std::size_t limit, const Excess& excess) {
    std::vector<std::pair<double, std::size_t>> kept;
    if (limit == 0) return {};
    kept.reserve(std::min(count, limit));
    const auto larger = [](const auto& a, const auto& b) { return a.first > b.first; };
    for (std::size_t i = 0; i < count; ++i) {
        const double e = excess(i);
        if (!(e > 0.0)) continue;
        if (kept.size() < limit) {
            kept.push_back({e, i});
            std::push_heap(kept.begin(), kept.end(), larger);
        } else if (e > kept.front().first) {
            std::pop_heap(kept.begin(), kept.end(), larger);
            kept.back() = {e, i};
            std::push_heap(kept.begin(), kept.end(), larger);
        }
    }
    std::vector<std::size_t> indices;
    indices.reserve(kept.size());
    for (const auto& k : kept) indices.push_back(k.second);
    return indices;
}

}  // namespace detail
}  // namespace vantor

#endif  // VANTOR_NUMERIC_SAMPLE_H
