#include "actual/point_sink.h"

#include <climits>
#include <string>

namespace vantor::detail {

void point_sink::expect(long long count) {
    if (count > INT_MAX) source_.fail("more points than a point set can hold");
    if (count > 0 && source_.remaining() >= 0 && direct_ == nullptr && this->count() == 0) {
        direct_ = std::make_unique<actual>(static_cast<int>(count));
    }
}

void point_sink::next_block() {
    if (count_ + fill_ > INT_MAX - block_size) {
        source_.fail("more points than a point set can hold");
    }
    if (direct_ != nullptr && direct_->append(block_.get(), fill_)) {
        count_ += fill_;
        fill_ = 0;
        return;
    }
    // Without a known count, or past it (the count was wrong: the reader will say so).
    blocks_.push_back(std::move(block_));
    block_ = new_block();
    count_ += fill_;
    fill_ = 0;
}

std::unique_ptr<actual> point_sink::release() {
    const long long n = count();
    if (n == 0) {
        source_.fail(nan_rows_ == 0
                         ? "no points"
                         : "no points (" + std::to_string(nan_rows_) +
                               (nan_rows_ == 1 ? " row" : " rows") + " with NaN left out)");
    }
    bool last_block_stored = false;
    if (direct_ != nullptr && blocks_.empty()) {
        last_block_stored = direct_->append(block_.get(), fill_);
        if (last_block_stored && direct_->numpoints() == direct_->maxpoints()) {
            return std::move(direct_);
        }
    }
    // Blocks, or a known count that NaN points left short: one set of exactly their number.
    auto set = std::make_unique<actual>(static_cast<int>(n));
    if (direct_ != nullptr) set->append(direct_->data(), direct_->numpoints());
    for (auto& block : blocks_) {
        set->append(block.get(), block_size);
        block.reset();  // so that the points are held twice only a block at a time
    }
    if (!last_block_stored) set->append(block_.get(), fill_);
    return set;
}

}  // namespace vantor::detail
