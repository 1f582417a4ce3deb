// SPDX-License-Identifier: Apache-2.0
#include "actual/point_source.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

namespace vantor::detail {
namespace {

// Large enough that the cost of a read call does not show per line; a longer line grows it.
constexpr std::size_t buffer_bytes = 1 << 20;

// The bytes from the stream's position to the end of a regular file; -1 for anything else.
long long remaining_in(std::FILE* in) {
    struct stat st;
    const int fd = fileno(in);
    if (fd < 0 || fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) return -1;
    const long position = std::ftell(in);
    if (position < 0 || position > st.st_size) return -1;
    return static_cast<long long>(st.st_size) - position;
}

}  // namespace

point_source::point_source(std::FILE* in, std::string name)
    : in_(in),
      name_(std::move(name)),
      own_(new char[buffer_bytes]),
      capacity_(buffer_bytes),
      data_(own_.get()),
      total_(remaining_in(in)) {}

point_source::point_source(const void* data, std::size_t size, std::string name)
    : name_(std::move(name)),
      data_(static_cast<const char*>(data)),
      end_(size),
      total_(static_cast<long long>(size)) {}

bool point_source::refill() {
    if (in_ == nullptr) return false;
    const std::size_t unread = end_ - start_;
    if (unread == capacity_) {
        std::unique_ptr<char[]> larger(new char[2 * capacity_]);
        std::memcpy(larger.get(), own_.get() + start_, unread);
        own_ = std::move(larger);
        capacity_ *= 2;
    } else if (start_ > 0) {
        std::memmove(own_.get(), own_.get() + start_, unread);
    }
    consumed_ += static_cast<long long>(start_);
    start_ = 0;
    end_ = unread;
    data_ = own_.get();
    const std::size_t got = std::fread(own_.get() + end_, 1, capacity_ - end_, in_);
    if (got == 0 && std::ferror(in_)) fail(std::string("read error: ") + std::strerror(errno));
    end_ += got;
    return got > 0;
}

std::string_view point_source::peek(std::size_t n) {
    while (end_ - start_ < n && refill()) {
    }
    return std::string_view(data_ + start_, std::min(n, end_ - start_));
}

bool point_source::next_line(std::string_view& line) {
    std::size_t searched = start_;
    while (true) {
        const void* newline = std::memchr(data_ + searched, '\n', end_ - searched);
        if (newline != nullptr) {
            const std::size_t stop = static_cast<const char*>(newline) - data_;
            line = std::string_view(data_ + start_, stop - start_);
            start_ = stop + 1;
            break;
        }
        const std::size_t scanned = end_ - start_;
        if (!refill()) {
            if (start_ == end_) return false;
            line = std::string_view(data_ + start_, end_ - start_);  // the last line, unended
            start_ = end_;
            break;
        }
        searched = start_ + scanned;
    }
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    ++line_;
    return true;
}

std::string_view point_source::lines(std::size_t wanted) {
    do {
        const std::string_view unread(data_ + start_, end_ - start_);
        std::size_t stop = unread.substr(0, wanted).rfind('\n');
        if (stop == std::string_view::npos && unread.size() > wanted) {
            stop = unread.find('\n', wanted);
        }
        if (stop != std::string_view::npos) {
            start_ += stop + 1;
            return unread.substr(0, stop + 1);
        }
    } while (refill());
    // The last line, without an end (where refill moved it).
    const std::string_view last(data_ + start_, end_ - start_);
    start_ = end_;
    return last;
}

const unsigned char* point_source::records(std::size_t size, std::size_t wanted, std::size_t& got) {
    while (end_ - start_ < size && refill()) {
    }
    got = std::min(wanted, (end_ - start_) / size);
    const auto* first = reinterpret_cast<const unsigned char*>(data_ + start_);
    start_ += got * size;
    return first;
}

void point_source::fail(const std::string& what) const { throw read_failure(name_ + ": " + what); }

void point_source::fail_line(const std::string& what) const { fail_line(line_, what); }

void point_source::fail_line(long long line, const std::string& what) const {
    throw read_failure(name_ + ":" + std::to_string(line) + ": " + what);
}

void point_source::fail_at(long long byte, const std::string& what) const {
    throw read_failure(name_ + ": byte " + std::to_string(byte) + ": " + what);
}

}  // namespace vantor::detail
