// SPDX-License-Identifier: Apache-2.0
#include <unistd.h>

#include <atomic>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <new>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "actual/body_size.h"
#include "support/capture.h"
#include "support/element_bytes.h"
#include "support/files.h"
#include "vantor/actual.h"

// The largest array allocation since the last reset: shows whether a loader allocated the
// size a file merely claims.
namespace {
std::atomic<std::size_t> largest_array{0};
}  // namespace

void* operator new[](std::size_t size) {
    std::size_t seen = largest_array.load();
    while (size > seen && !largest_array.compare_exchange_weak(seen, size)) {
    }
    if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
    throw std::bad_alloc();
}
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

namespace vantor {
namespace {

using spanto::point;
using testing::body_header;
using testing::body_size;
using testing::le;
namespace format = detail::element_format;
using testing::bytes;
using testing::element_header;
using testing::operator+;
using testing::point_bytes;
using testing::printed;
using testing::read_file;
using testing::scratch_path;
using testing::write_file;

// IEEE-754 bit patterns, worked out by hand.
constexpr std::uint64_t one = 0x3FF0000000000000, two = 0x4000000000000000,
                        minus_half = 0xBFE0000000000000, three = 0x4008000000000000,
                        quarter = 0x3FD0000000000000, minus_two = 0xC000000000000000,
                        half = 0x3FE0000000000000, one_and_half = 0x3FF8000000000000;

double from_bits(std::uint64_t bits) {
    double d;
    std::memcpy(&d, &bits, sizeof d);
    return d;
}

// The three points (1, 2, -0.5), (0, 3, 0.25), (-2, 0.5, 1.5) as stored in a file.
bytes three_stored_points() {
    return point_bytes(one, two, minus_half) + point_bytes(0, three, quarter) +
           point_bytes(minus_two, half, one_and_half);
}

// A complete file of those three points with the given stamp.
bytes three_point_file(std::int32_t date, std::int32_t time) {
    return element_header(element::type_actual, date, time) + body_header(3) +
           three_stored_points();
}

// The same file as core/element_file.h describes it, written out byte by byte: files written
// before any change of the layout constants must still load, so these bytes never change.
bytes documented_three_point_file(std::int32_t date, std::int32_t time) {
    const bytes header = {'v', 'a', 'n', 't', 'o', 'r', ' ', 'e', 'l', 'e', 'm', 'e',
                          'n', 't', 0,   0,   32,  0,   1,   0,   3,   0,   0,   0};
    const bytes body = {107, 0, 0, 0, 1, 0, 0, 0, 3, 0, 0, 0};
    return header + le(static_cast<std::uint32_t>(date), 4) +
           le(static_cast<std::uint32_t>(time), 4) + body + bytes(20, 0) + three_stored_points();
}

bool same_bits(const point* a, const point* b, int n) {
    return std::memcmp(a, b, sizeof(point) * static_cast<std::size_t>(n)) == 0;
}

// Loads `content` from a scratch file by name; the test fails if anything is printed.
std::unique_ptr<actual> load_silently(const bytes& content) {
    const std::string path = scratch_path("elm");
    write_file(path, content);
    std::unique_ptr<actual> loaded;
    EXPECT_EQ(printed(INT_MAX, [&] { loaded.reset(actual::load(path.c_str())); }), "");
    return loaded;
}

// A read stream that cannot seek: a pipe fed by a thread with `content`.
class pipe_stream {
  public:
    explicit pipe_stream(const bytes& content) {
        int fds[2];
        if (pipe(fds) != 0) std::abort();
        read_ = fdopen(fds[0], "rb");
        writer_ = std::thread([content, fd = fds[1]] {
            std::size_t done = 0;
            while (done < content.size()) {
                const ssize_t n = write(fd, content.data() + done, content.size() - done);
                if (n <= 0) break;
                done += static_cast<std::size_t>(n);
            }
            close(fd);
        });
    }
    ~pipe_stream() {
        // Drain what the reader left, so that the writer can finish.
        char sink[4096];
        while (std::fread(sink, 1, sizeof sink, read_) > 0) {
        }
        writer_.join();
        std::fclose(read_);
    }
    std::FILE* get() const { return read_; }

  private:
    std::FILE* read_;
    std::thread writer_;
};

TEST(ActualFile, ThreePointsSaveToTheDocumentedLayout) {
    actual set(10);
    set.append(1.0, 2.0, -0.5);
    set.append(0.0, 3.0, 0.25);
    set.append(-2.0, 0.5, 1.5);
    set.name("not stored");
    set.rgbcolor(0x123456);
    const std::string path = scratch_path("elm");
    EXPECT_TRUE(set.save(path.c_str()));
    const bytes file = read_file(path);
    ASSERT_EQ(file.size(), 136u);
    EXPECT_EQ(file, documented_three_point_file(set.creationdate(), set.creationtime()));
    EXPECT_EQ(file, three_point_file(set.creationdate(), set.creationtime()));
}

TEST(ActualFile, EmptySetWritesBothHeadersAndReportsFailure) {
    const actual set(5);
    const std::string path = scratch_path("elm");
    EXPECT_FALSE(set.save(path.c_str()));
    const bytes file = read_file(path);
    EXPECT_EQ(file, element_header(element::type_actual, set.creationdate(), set.creationtime()) +
                        body_header(0));
    EXPECT_EQ(load_silently(file), nullptr);
}

TEST(ActualFile, RoundTripKeepsEveryPointBitForBitAndTheStamp) {
    actual set(10);
    set.append(-0.0, std::numeric_limits<double>::infinity(),
               -std::numeric_limits<double>::infinity());
    set.append(std::numeric_limits<double>::denorm_min(), std::numeric_limits<double>::max(),
               from_bits(0x7FF8DEADBEEF0001));  // a NaN with a payload
    // Writing index 5 makes the skipped entries 2 to 4 invalid fillers.
    set[5] = point(1e-300, -1e300, 12345.678);
    set.append(from_bits(0xFFF8000000000000), 0.1, 0.2);
    ASSERT_EQ(set.numpoints(), 7);
    set.rgbcolor(0xff);

    const std::string path = scratch_path("elm");
    ASSERT_TRUE(set.save(path.c_str()));
    const std::unique_ptr<actual> loaded(actual::load(path.c_str()));
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->numpoints(), 7);
    EXPECT_EQ(loaded->maxpoints(), 7);
    EXPECT_TRUE(same_bits(loaded->data(), set.data(), 7));
    for (int i = 2; i <= 4; ++i) EXPECT_TRUE((*loaded)[i].invalid()) << i;
    EXPECT_EQ(loaded->creationdate(), set.creationdate());
    EXPECT_EQ(loaded->creationtime(), set.creationtime());
    EXPECT_EQ(std::string(loaded->name()), path.substr(0, 63));
    EXPECT_EQ(loaded->rgbcolor(), -1);
    EXPECT_EQ(loaded->type(), element::type_actual);
}

TEST(ActualFile, CopyLoadsUnderItsOwnNameWithTheSavedStamp) {
    // A hand-made file with a stamp no clock of today would give.
    const std::string original = scratch_path("original.elm");
    write_file(original, three_point_file(19991231, 235958));
    const std::string copy = scratch_path(std::string(80, 'c'));
    write_file(copy, read_file(original));
    ASSERT_GT(copy.size(), 63u);

    const std::unique_ptr<actual> loaded(actual::load(copy.c_str()));
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->creationdate(), 19991231);
    EXPECT_EQ(loaded->creationtime(), 235958);
    EXPECT_EQ(std::string(loaded->name()), copy.substr(0, 63));
    ASSERT_EQ(loaded->numpoints(), 3);
    const point expected[] = {{1, 2, -0.5}, {0, 3, 0.25}, {-2, 0.5, 1.5}};
    EXPECT_TRUE(same_bits(loaded->data(), expected, 3));
}

TEST(ActualFile, LoaderIgnoresTheFieldsItDoesNotNeed) {
    bytes file = three_point_file(20240101, 120000);
    const std::size_t body = format::header_bytes;
    const auto fill = [&](std::size_t from, std::size_t to, unsigned char value) {
        for (std::size_t i = from; i < to; ++i) file[i] = value;
    };
    fill(sizeof format::signature, format::header_size_at, 'x');  // signature padding
    fill(format::type_at + 1, format::date_at, 0xAA);             // element header reserve
    fill(body + format::body_version_at + sizeof(format::version_type), body + format::count_at,
         0xBB);  // body reserve after the version
    fill(body + format::count_at + sizeof(format::count_type), body + format::body_header_bytes,
         0xCC);                                          // body reserve after the count
    file = file + bytes{1, 2, 3, 4, 5, 6, 7, 8, 9, 10};  // trailing bytes
    const std::unique_ptr<actual> loaded = load_silently(file);
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->numpoints(), 3);
    EXPECT_EQ(loaded->maxpoints(), 3);
}

TEST(ActualFile, DamagedBodiesLoadAsNullSilentlyWithoutAllocatingTheClaimedSize) {
    const bytes header = element_header(element::type_actual, 20240101, 120000);
    const bytes points = three_stored_points();
    const auto body = [](std::int64_t size, unsigned version, std::int32_t count) {
        return body_header(static_cast<std::int32_t>(size), version, count);
    };
    const unsigned version = format::body_version;
    // The body size the 32-bit field would hold after wrapping around.
    const auto wrapped = [](std::int32_t count) {
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(body_size(count)));
    };
    const std::int32_t largest = static_cast<std::int32_t>((INT32_MAX - format::body_header_bytes) /
                                                           format::counted_point_bytes);
    bytes cut = three_point_file(20240101, 120000);
    cut.resize(100);
    bytes short_body = header + body_header(3);
    short_body.resize(format::header_bytes + format::body_header_bytes - 1);

    const struct {
        const char* what;
        bytes content;
    } cases[] = {
        {"24 bytes per point in the size field",
         header + body(format::body_header_bytes + 3 * format::point_bytes, version, 3) + points},
        {"body version 2", header + body(body_size(3), 2, 3) + points},
        {"body version 0", header + body(body_size(3), 0, 3) + points},
        {"cut after 100 bytes", cut},
        {"short body header", short_body},
        {"no body", header},
        {"count 0", header + body_header(0) + points},
        {"count -1 with a matching size", header + body_header(-1) + points},
        {"most negative count, size wrapped",
         header + body(wrapped(INT32_MIN), version, INT32_MIN) + points},
        {"count whose size exceeds 32 bits, size wrapped",
         header + body(wrapped(largest + 1), version, largest + 1) + points},
        {"largest consistent count, 3 points", header + body_header(largest) + points},
        {"a million points claimed, 3 stored", header + body_header(1000000) + points},
    };
    for (const auto& c : cases) {
        // A few MB at most: far below the 24 MB of a million points or the 2 GB of the
        // largest count.
        largest_array = 0;
        EXPECT_EQ(load_silently(c.content), nullptr) << c.what;
        EXPECT_LT(largest_array.load(), 4u << 20) << c.what;
    }
}

TEST(ActualFile, StreamThatCannotSeekLoadsAsItDelivers) {
    // Several read chunks, so that the storage grows while reading.
    const int n = 100000;
    actual expected(n);
    for (int i = 0; i < n; ++i) expected.append(i * 0.5, -i * 0.25, i * 0.125);
    bytes body = body_header(n);
    for (const point& p : expected) {
        for (const double d : {p.x, p.y, p.z}) {
            std::uint64_t bits;
            std::memcpy(&bits, &d, sizeof bits);
            for (int b = 0; b < 8; ++b) body.push_back(static_cast<unsigned char>(bits >> 8 * b));
        }
    }
    pipe_stream stream(body);
    const std::unique_ptr<actual> loaded(actual::load(stream.get()));
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->numpoints(), n);
    EXPECT_EQ(loaded->maxpoints(), n);
    EXPECT_TRUE(same_bits(loaded->data(), expected.data(), n));
}

TEST(ActualFile, StreamThatCannotSeekAndEndsEarlyCostsNoMoreThanItDelivered) {
    pipe_stream stream(body_header(1000000) + three_stored_points());
    largest_array = 0;
    EXPECT_EQ(actual::load(stream.get()), nullptr);
    EXPECT_LT(largest_array.load(), 4u << 20);
}

TEST(ActualFile, BodyLoadsFromTheStreamPosition) {
    std::FILE* f = std::tmpfile();
    ASSERT_NE(f, nullptr);
    const bytes content = bytes{9, 9, 9} + body_header(3) + three_stored_points();
    ASSERT_EQ(std::fwrite(content.data(), 1, content.size(), f), content.size());
    ASSERT_EQ(std::fseek(f, 3, SEEK_SET), 0);
    const std::unique_ptr<actual> loaded(actual::load(f));
    std::fclose(f);
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->numpoints(), 3);
    EXPECT_STREQ(loaded->name(), "");
}

TEST(ActualFile, SaveReportsBytesThatNeverReachTheFile) {
    if (access("/dev/full", W_OK) != 0) GTEST_SKIP() << "no /dev/full";
    actual set(1);
    set.append(1.0, 2.0, 3.0);
    EXPECT_FALSE(set.save("/dev/full"));
}

TEST(ActualFile, LoadByNameYieldsOnlyPointSets) {
    const std::string path = scratch_path("elm");
    write_file(path, element_header(element::type_substitute, 20240101, 0) + body_header(3) +
                         three_stored_points());
    EXPECT_EQ(actual::load(path.c_str()), nullptr);
    EXPECT_EQ(actual::load((path + ".missing").c_str()), nullptr);
}

TEST(ActualFile, BodySizeFieldHoldsCountsUpToTheLargestThatFits) {
    std::int32_t field = 0;
    ASSERT_TRUE(detail::body_size_field(3, field));
    EXPECT_EQ(field, 107);
    // 32 + 25 * 85899344 = 2147483632 <= 2^31 - 1 = 2147483647 < 32 + 25 * 85899345.
    ASSERT_TRUE(detail::body_size_field(85899344, field));
    EXPECT_EQ(field, 2147483632);
    EXPECT_FALSE(detail::body_size_field(85899345, field));
    EXPECT_FALSE(detail::body_size_field(INT32_MAX, field));
    EXPECT_FALSE(detail::body_size_field(INT32_MIN, field));
}

TEST(ActualFile, NullStreamLoadsAsNull) {
    EXPECT_EQ(actual::load(static_cast<std::FILE*>(nullptr)), nullptr);
}

}  // namespace
}  // namespace vantor
