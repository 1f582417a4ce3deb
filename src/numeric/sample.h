// A thinned copy of a point set for the start of an iterative fit.
#ifndef VANTOR_NUMERIC_SAMPLE_H
#define VANTOR_NUMERIC_SAMPLE_H

#include <cstddef>
#include <vector>

namespace vantor {
namespace detail {

// Every k-th point, k the smallest stride that leaves at most `limit` points (so all of them
// when there are no more than `limit`). Keeps the order and spreads evenly over a scan.
template <class Point>
std::vector<Point> strided_sample(const std::vector<Point>& points, std::size_t limit) {
    const std::size_t stride = points.size() <= limit ? 1 : (points.size() + limit - 1) / limit;
    std::vector<Point> sample;
    sample.reserve(points.size() / stride + 1);
    for (std::size_t i = 0; i < points.size(); i += stride) sample.push_back(points[i]);
    return sample;
}

}  // namespace detail
}  // namespace vantor

#endif  // VANTOR_NUMERIC_SAMPLE_H
