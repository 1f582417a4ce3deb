// SPDX-License-Identifier: Apache-2.0
// Feeds arbitrary bytes to the element-file loader, once through a stream that can seek and
// once through one that cannot. Both must give the same answer, and whatever they return must
// agree with the bytes: a point set holds exactly the points stored after the two headers, bit
// for bit, and the stamp of the element header (layout: core/element_file.h).
#ifndef _GNU_SOURCE
#define _GNU_SOURCE  // fopencookie
#endif
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "core/byteorder.h"
#include "core/element_file.h"
#include "vantor/actual.h"

namespace {

namespace format = vantor::detail::element_format;
// Where the points start: after the element header and the body header.
constexpr std::size_t points_at = format::header_bytes + format::body_header_bytes;

// Reaches the protected stream loader.
struct stream_loader : vantor::element {
    static vantor::element* load(std::FILE* f) { return element::load(f); }
};

void check(bool condition) {
    if (!condition) std::abort();
}

void check_agrees_with_input(const vantor::element& e, const std::uint8_t* data, std::size_t size) {
    check(e.isof(vantor::element::type_actual));
    const auto& set = static_cast<const vantor::actual&>(e);
    const std::size_t n = static_cast<std::size_t>(set.numpoints());
    check(n > 0 && set.maxpoints() == set.numpoints());
    check(points_at + format::point_bytes * n <= size);
    check(set.creationdate() ==
          vantor::detail::load_le<format::stamp_type>(data + format::date_at));
    check(set.creationtime() ==
          vantor::detail::load_le<format::stamp_type>(data + format::time_at));
    for (std::size_t i = 0; i < n; ++i) {
        const unsigned char* stored = data + points_at + format::point_bytes * i;
        const spanto::point& p = set.data()[i];
        for (int k = 0; k < 3; ++k) {
            const double c = k == 0 ? p.x : k == 1 ? p.y : p.z;
            const std::uint64_t expected =
                vantor::detail::load_le<std::uint64_t>(stored + sizeof(double) * k);
            std::uint64_t bits;
            std::memcpy(&bits, &c, sizeof bits);
            check(bits == expected);
        }
    }
}

// A read-only stream over the input without a seek function: the loader cannot learn its size.
struct unseekable_input {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t position = 0;

    static ssize_t read(void* cookie, char* buffer, std::size_t wanted) {
        auto* in = static_cast<unseekable_input*>(cookie);
        const std::size_t n = std::min(wanted, in->size - in->position);
        if (n > 0) std::memcpy(buffer, in->data + in->position, n);
        in->position += n;
        return static_cast<ssize_t>(n);
    }
};

std::unique_ptr<vantor::element> load_seekable(const std::uint8_t* data, std::size_t size) {
    unsigned char empty = 0;
    void* buffer = size > 0 ? const_cast<std::uint8_t*>(data) : &empty;
    std::FILE* f = fmemopen(buffer, size, "rb");
    check(f != nullptr);
    std::unique_ptr<vantor::element> loaded(stream_loader::load(f));
    std::fclose(f);
    return loaded;
}

std::unique_ptr<vantor::element> load_unseekable(const std::uint8_t* data, std::size_t size) {
    unseekable_input input{data, size};
    std::FILE* f = fopencookie(&input, "rb", {&unseekable_input::read, nullptr, nullptr, nullptr});
    check(f != nullptr);
    std::unique_ptr<vantor::element> loaded(stream_loader::load(f));
    std::fclose(f);
    return loaded;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::unique_ptr<vantor::element> seekable = load_seekable(data, size);
    const std::unique_ptr<vantor::element> unseekable = load_unseekable(data, size);
    check((seekable == nullptr) == (unseekable == nullptr));
    if (seekable != nullptr) {
        check_agrees_with_input(*seekable, data, size);
        check_agrees_with_input(*unseekable, data, size);
    }
    return 0;
}
