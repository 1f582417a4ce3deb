// SPDX-License-Identifier: Apache-2.0
#include "actual/point_sink.h"

#include <climits>
#include <string>
#include <utility>

namespace vantor::detail {

void point_sink::expect(long long count) {
    if (count > INT_MAX) source_.fail("more points than a point set can hold");
    if (count > 0 && source_.remaining() >= 0 && direct_ == nullptr && this->count() == 0) {
        direct_ = std::make_unique<actual>(static_cast<int>(count));
    }
}

void point_sink::store(std::vector<spanto::point> block) {
    const auto n = static_cast<long long>(block.size());
    if (count_ + n > INT_MAX) source_.fail("more points than a point set can hold");
    count_ += n;
    // Into the known count while it holds them; past it (the count was wrong: the reader will
    // say so), and without one, kept as they are.
    if (direct_ != nullptr && blocks_.empty() &&
        direct_->append(block.data(), static_cast<int>(n))) {
        return;
    }
    blocks_.push_back(std::move(block));
}

void point_sink::next_block() {
    store(std::move(block_));
    block_ = std::vector<spanto::point>();
    block_.reserve(block_size);
}

void point_sink::add(std::vector<spanto::point> points, long long nan_rows) {
    nan_rows_ += nan_rows;
    if (points.empty()) return;
    if (!block_.empty()) next_block();
    store(std::move(points));
}

std::unique_ptr<actual> point_sink::release() {
    const long long n = count();
    if (n == 0) {
        source_.fail(nan_rows_ == 0
                         ? "no points"
                         : "no points (" + std::to_string(nan_rows_) +
                               (nan_rows_ == 1 ? " row" : " rows") + " with NaN left out)");
    }
    if (!block_.empty()) store(std::move(block_));
    if (direct_ != nullptr && blocks_.empty() && direct_->numpoints() == direct_->maxpoints()) {
        return std::move(direct_);
    }
    // Blocks, or a known count that NaN points left short: one set of exactly their number.
    auto set = std::make_unique<actual>(static_cast<int>(n));
    if (direct_ != nullptr) set->append(direct_->data(), direct_->numpoints());
    for (std::vector<spanto::point>& block : blocks_) {
        set->append(block.data(), static_cast<int>(block.size()));
        block = std::vector<spanto::point>();  // so that points are held twice a block at a time
    }
    return set;
}

}  // namespace vantor::detail
