// SPDX-License-Identifier: Apache-2.0
// The bytes of a point file, from a stream or from memory, as the readers take them: lines of
// text, fixed-size binary records, and the offset and line number that messages name.
#ifndef VANTOR_ACTUAL_POINT_SOURCE_H
#define VANTOR_ACTUAL_POINT_SOURCE_H

#include <cstddef>
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

namespace vantor::detail {

// A file that cannot be read as its format asks; the message is complete ("name:line: ...").
struct read_failure : std::runtime_error {
    explicit read_failure(const std::string& message) : std::runtime_error(message) {}
};

class point_source {
  public:
    // Reads `in` from its position through a buffer of its own; `name` stands for it in messages.
    point_source(std::FILE* in, std::string name);
    // Reads `size` bytes at `data`, which must outlive the source.
    point_source(const void* data, std::size_t size, std::string name);
    point_source(const point_source&) = delete;
    point_source& operator=(const point_source&) = delete;

    const std::string& name() const { return name_; }

    // Up to `n` bytes from the current position, without taking them.
    std::string_view peek(std::size_t n);

    // The next line without its end ("\n" or "\r\n"); false at the end of the bytes.
    bool next_line(std::string_view& line);
    // The number of the line next_line returned last, from 1.
    long long line_number() const { return line_; }

    // Takes the whole lines among the next `wanted` bytes (at least one line, however long),
    // each with its end, and the last line without one; empty at the end of the bytes. The
    // caller counts these lines: line_number() does not.
    std::string_view lines(std::size_t wanted);

    // Takes up to `wanted` whole records of `size` bytes (wanted >= 1) and returns where they
    // start, with their number in `got`: at least one unless the bytes end (0), and then fewer
    // than `size` bytes were left (see fail_truncated).
    const unsigned char* records(std::size_t size, std::size_t wanted, std::size_t& got);

    // The offset of the next byte to be taken.
    long long offset() const { return consumed_ + static_cast<long long>(start_); }
    // The bytes left from offset() to the end, or -1 when the stream cannot tell (a pipe).
    long long remaining() const { return total_ < 0 ? -1 : total_ - offset(); }

    [[noreturn]] void fail(const std::string& what) const;
    [[noreturn]] void fail_line(const std::string& what) const;
    [[noreturn]] void fail_line(long long line, const std::string& what) const;
    [[noreturn]] void fail_at(long long byte, const std::string& what) const;

  private:
    // Moves the unread bytes to the front and reads more; false when nothing more came.
    bool refill();

    std::FILE* in_ = nullptr;
    std::string name_;
    std::unique_ptr<char[]> own_;
    std::size_t capacity_ = 0;
    const char* data_ = nullptr;
    std::size_t start_ = 0;   // the next unread byte of data_
    std::size_t end_ = 0;     // one past the last byte in data_
    long long consumed_ = 0;  // the bytes dropped before data_
    long long total_ = -1;    // from the first byte this source reads
    long long line_ = 0;
};

}  // namespace vantor::detail

#endif  // VANTOR_ACTUAL_POINT_SOURCE_H
