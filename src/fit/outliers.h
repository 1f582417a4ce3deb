// SPDX-License-Identifier: Apache-2.0
// Outliers of the fitting interface: the count a report carries (fit_report::outliers, whose
// comment states the rule) and the rejection of fit_options::reject_beyond.
#ifndef VANTOR_FIT_OUTLIERS_H
#define VANTOR_FIT_OUTLIERS_H

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <string>
#include <vector>

#include "vantor/fit.h"

namespace vantor::detail {

// The distances of a pass, as fit_report::outliers weighs them: the 10 largest and smallest
// (the largest only when `one_sided`) and the sums of all, about the first distance (which keeps
// the variance of small residuals from cancelling against their offset).
class outlier_scan {
  public:
    explicit outlier_scan(bool one_sided) : one_sided_(one_sided) {}

    void add(double d) {
        if (n_ == 0) shift_ = d;
        ++n_;
        const double x = d - shift_;
        sum_ += x;
        squares_ += x * x;
        keep(high_, d, [](double a, double b) { return a > b; });
        if (!one_sided_) keep(low_, d, [](double a, double b) { return a < b; });
    }

    // The number of outliers by the rule, among those off by more than `floor` too (a bound of
    // the rounding in the distances: exact points' distances are all rounding, whose extremes
    // may lie many of their own standard deviations out).
    int count(double floor) const {
        constexpr long fewest = 30;
        constexpr double beyond = 8.0;
        if (n_ < fewest) return 0;
        double sum = sum_, squares = squares_;
        long rest = n_;
        for (const extremes* e : {&high_, &low_}) {
            for (std::size_t i = 0; i < e->size; ++i) {
                const double x = e->values[i] - shift_;
                sum -= x;
                squares -= x * x;
                --rest;
            }
        }
        const double mean = sum / static_cast<double>(rest);
        const double deviation =
            std::sqrt(std::max(0.0, squares / static_cast<double>(rest) - mean * mean));
        int count = 0;
        for (const extremes* e : {&high_, &low_})
            for (std::size_t i = 0; i < e->size; ++i)
                count +=
                    std::abs(e->values[i] - shift_ - mean) > std::max(beyond * deviation, floor);
        return count;
    }

  private:
    static constexpr std::size_t kept = 10;
    // The `kept` values furthest along an order, and the position of the nearest of them.
    struct extremes {
        std::array<double, kept> values{};
        std::size_t size = 0;
        std::size_t nearest = 0;
    };
    template <class Beyond>
    static void keep(extremes& e, double d, const Beyond& beyond) {
        if (e.size < kept) {
            e.values[e.size++] = d;
        } else if (beyond(d, e.values[e.nearest])) {
            e.values[e.nearest] = d;
        } else {
            return;
        }
        for (std::size_t i = 0; i < e.size; ++i)
            if (beyond(e.values[e.nearest], e.values[i])) e.nearest = i;
    }

    bool one_sided_;
    double shift_ = 0.0, sum_ = 0.0, squares_ = 0.0;
    long n_ = 0;
    extremes high_, low_;
};

// Why a rejection threshold is refused, empty when sound: 0 (off) or a finite k >= 2.
std::string rejection_refusal(double k);

// The distance of a point from an element as a report measures it: from a line; signed from a
// surface; about a circle's axis, less its radius.
inline double reported_distance(const spanto::line& l, const spanto::point& p) {
    return l.distance(p);
}
inline double reported_distance(const spanto::circle& c, const spanto::point& p) {
    return c.axisline().distance(p) - c.radius;
}
template <class Surface>
double reported_distance(const Surface& s, const spanto::point& p) {
    return s.sdistance(p);
}

// The fit of criterion c to the points of `points` left after the rejection of
// options.reject_beyond, by fit(points, criterion, options) without rejection. The report's
// `rejected` lists the points left out; its contacts index the whole set.
template <class Element, class Fit>
fit_result<Element> fit_rejecting(const actual& points, criterion c, const fit_options& options,
                                  const Fit& fit) {
    fit_options plain = options;
    plain.reject_beyond = 0.0;
    const spanto::point* p = points.data();
    std::vector<int> kept;
    for (int i = 0; i < points.numpoints(); ++i)
        if (p[i].valid()) kept.push_back(i);
    const auto rows = [&](const std::vector<int>& indices) {
        actual subset(static_cast<int>(indices.size()));
        for (int i : indices) subset.append(p[i]);
        return subset;
    };
    constexpr int rounds = 20;
    for (int round = 0; round < rounds; ++round) {
        const fit_result<Element> gauss = fit(rows(kept), criterion::gauss, plain);
        if (!gauss.valid()) break;  // the criterion's fit below fails as well, and says why
        double sum = 0.0, squares = 0.0;
        std::vector<double> d(kept.size());
        for (std::size_t j = 0; j < kept.size(); ++j) {
            d[j] = reported_distance(gauss.element, p[kept[j]]);
            sum += d[j];
        }
        const double mean = sum / static_cast<double>(kept.size());
        for (double x : d) squares += (x - mean) * (x - mean);
        const double limit =
            options.reject_beyond * std::sqrt(squares / static_cast<double>(kept.size()));
        std::vector<int> within;
        for (std::size_t j = 0; j < kept.size(); ++j)
            if (std::abs(d[j] - mean) <= limit) within.push_back(kept[j]);
        if (within.size() == kept.size()) break;
        kept.swap(within);
    }
    fit_result<Element> result = fit(rows(kept), c, plain);
    for (int& i : result.contacts) i = kept[static_cast<std::size_t>(i)];
    std::size_t next = 0;
    for (int i = 0; i < points.numpoints(); ++i) {
        if (next < kept.size() && kept[next] == i) {
            ++next;
            continue;
        }
        if (p[i].valid()) result.rejected.push_back(i);
    }
    return result;
}

}  // namespace vantor::detail

#endif  // VANTOR_FIT_OUTLIERS_H
