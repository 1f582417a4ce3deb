// SPDX-License-Identifier: Apache-2.0
#include "vantor/actual.h"

#include <algorithm>
#include <cstdio>

#include "actual/shared_invalid.h"

namespace vantor {

namespace detail {

spanto::point& shared_invalid_point() {
    thread_local spanto::point invalid;
    invalid.setinvalid();
    return invalid;
}

}  // namespace detail

namespace {

int non_negative(int n) { return n < 0 ? 0 : n; }

}  // namespace

void actual::allocate(int capacity) {
    capacity_ = non_negative(capacity);
    count_ = 0;
    // new[] default-constructs every entry: each starts as an invalid point.
    points_.reset(capacity_ > 0 ? new spanto::point[capacity_] : nullptr);
}

actual::actual(const int& maxpoints) : element(type_actual) { allocate(maxpoints); }

actual::actual(const spanto::point* pts, const int& n, const int& maxpoints)
    : element(type_actual) {
    const int count = pts == nullptr ? 0 : non_negative(n);
    allocate(std::max(count, maxpoints));
    std::copy(pts, pts + count, points_.get());
    count_ = count;
}

actual::actual(const double* x, const double* y, const double* z, const int& n,
               const int& maxpoints)
    : element(type_actual) {
    const int count = (x == nullptr || y == nullptr || z == nullptr) ? 0 : non_negative(n);
    allocate(std::max(count, maxpoints));
    for (int i = 0; i < count; ++i) points_[i] = spanto::point(x[i], y[i], z[i]);
    count_ = count;
}

actual::actual(const actual& src, const int& first, const int& last) : element(type_actual) {
    const int lo = std::min(first, last);
    const int hi = std::max(first, last);
    if (lo < 0 || hi >= src.count_) {
        allocate(0);
        return;
    }
    allocate(hi - lo + 1);
    std::copy(src.begin() + lo, src.begin() + hi + 1, points_.get());
    count_ = capacity_;
}

actual::actual(const actual& src) : element(type_actual) {
    allocate(src.count_);
    std::copy(src.begin(), src.end(), points_.get());
    count_ = capacity_;
}

namespace {

// Lower face inside, upper face outside; a comparison with NaN fails, so NaN is outside.
bool in_box(const spanto::point& p, const spanto::point& lo, const spanto::point& hi) {
    return lo.x <= p.x && p.x < hi.x && lo.y <= p.y && p.y < hi.y && lo.z <= p.z && p.z < hi.z;
}

}  // namespace

actual::actual(const actual& src, const spanto::point& lo, const spanto::point& hi)
    : element(type_actual) {
    const auto inside = [&](const spanto::point& p) { return in_box(p, lo, hi); };
    allocate(static_cast<int>(std::count_if(src.begin(), src.end(), inside)));
    for (const spanto::point& p : src) {
        if (count_ == capacity_) break;
        if (inside(p)) points_[count_++] = p;
    }
}

actual::~actual() = default;

actual& actual::operator=(const actual& src) {
    if (this == &src) return *this;
    // Allocate first, so that a failed allocation leaves the target as it was.
    std::unique_ptr<spanto::point[]> storage(src.capacity_ > 0 ? new spanto::point[src.capacity_]
                                                               : nullptr);
    std::copy(src.begin(), src.end(), storage.get());
    element::operator=(src);
    points_ = std::move(storage);
    capacity_ = src.capacity_;
    count_ = src.count_;
    return *this;
}

bool actual::append(const spanto::point& p) {
    if (count_ >= capacity_) return false;
    points_[count_++] = p;
    return true;
}

bool actual::append(const double& x, const double& y, const double& z) {
    return append(spanto::point(x, y, z));
}

bool actual::append(const spanto::point* pts, const int& n) {
    if (n < 0 || n > capacity_ - count_) return false;
    if (n == 0) return true;
    if (pts == nullptr) return false;
    std::copy(pts, pts + n, points_.get() + count_);
    count_ += n;
    return true;
}

const spanto::point& actual::operator[](const int& i) const {
    if (i >= 0 && i < count_) return points_[i];
    std::fputs("idx under/overflow\n", stdout);
    return detail::shared_invalid_point();
}

spanto::point& actual::operator[](const int& i) {
    if (i < 0 || i >= capacity_) return detail::shared_invalid_point();
    if (i >= count_) {
        // Extend the set to i + 1 points: the skipped entries become invalid fillers; entry i
        // is left for the caller to assign.
        for (int k = count_; k < i; ++k) points_[k].setinvalid();
        count_ = i + 1;
    }
    return points_[i];
}

actual& actual::operator*=(const spanto::trafo& t) {
    for (int i = 0; i < count_; ++i) points_[i] *= t;
    return *this;
}

actual& actual::operator+=(const spanto::vector& v) {
    for (int i = 0; i < count_; ++i) points_[i] += v;
    return *this;
}

actual& actual::operator-=(const spanto::vector& v) {
    for (int i = 0; i < count_; ++i) points_[i] -= v;
    return *this;
}

}  // namespace vantor
