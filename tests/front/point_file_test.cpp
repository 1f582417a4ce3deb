// SPDX-License-Identifier: Apache-2.0
#include "point_file.h"

#include <cmath>
#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "error.h"
#include "front/support.h"

namespace vantor::cli {
namespace {

using testing::scratch;
using testing::write_file;

// Reads `text` as a text point file named "t.txt".
std::unique_ptr<vantor::actual> read_text(const std::string& text) {
    std::FILE* in = fmemopen(const_cast<char*>(text.data()), text.size(), "r");
    if (in == nullptr) throw std::runtime_error("fmemopen");
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> closer(in, &std::fclose);
    return read_text_points(in, "t.txt");
}

// The message read_text throws for `text`.
std::string text_failure(const std::string& text) {
    try {
        read_text(text);
    } catch (const error& e) {
        return e.what();
    }
    return "no error";
}

void expect_point(const vantor::actual& set, int i, double x, double y, double z) {
    EXPECT_EQ(set[i].x, x) << "point " << i;
    EXPECT_EQ(set[i].y, y) << "point " << i;
    EXPECT_EQ(set[i].z, z) << "point " << i;
}

TEST(TextPoints, AcceptsEverySeparator) {
    const auto set =
        read_text("1 2 3\n4\t5\t6\n7,8,9\n10;11;12\n13 , 14\t;  15\n-1e-3  +2.5\t\t.5\n");
    ASSERT_EQ(set->numpoints(), 6);
    EXPECT_EQ(set->maxpoints(), 6);
    expect_point(*set, 0, 1, 2, 3);
    expect_point(*set, 1, 4, 5, 6);
    expect_point(*set, 2, 7, 8, 9);
    expect_point(*set, 3, 10, 11, 12);
    expect_point(*set, 4, 13, 14, 15);
    expect_point(*set, 5, -1e-3, 2.5, 0.5);
}

TEST(TextPoints, SkipsBlankLinesCommentsAndAHeader) {
    const auto set = read_text("# part 7\n\n  X;Y;Z  \r\n1 2 3 # first\r\n\t\n# 9 9 9\n4 5 6");
    ASSERT_EQ(set->numpoints(), 2);
    expect_point(*set, 0, 1, 2, 3);
    expect_point(*set, 1, 4, 5, 6);
}

TEST(TextPoints, ReportsFileAndLineOfEveryFault) {
    EXPECT_EQ(text_failure("1 2 3\n\n1 x 3\n"), "t.txt:3: malformed number 'x' in field 2");
    EXPECT_EQ(text_failure("1 2 3\n1 2\n"), "t.txt:2: expected 3 coordinates (x y z), found 2");
    EXPECT_EQ(text_failure("1 2 3 4\n"), "t.txt:1: expected 3 coordinates (x y z), found 4");
    EXPECT_EQ(text_failure("1,,3\n"), "t.txt:1: empty field 2 (two separators meet)");
    EXPECT_EQ(text_failure("1,2,3,,\n"), "t.txt:1: empty field 4 (two separators meet)");
    EXPECT_EQ(text_failure(";1;2;3\n"), "t.txt:1: empty field 1 (two separators meet)");
    EXPECT_EQ(text_failure("1 2 -inf\n"), "t.txt:1: malformed number '-inf' in field 3");
    EXPECT_EQ(text_failure("1 2 1e999\n"), "t.txt:1: malformed number '1e999' in field 3");
    EXPECT_EQ(text_failure(std::string("1 2 3\n1 2\0 3\n", 13)),
              "t.txt:2: zero byte in text (binary data?)");
}

TEST(TextPoints, AcceptsADecimalCommaWhereTheSeparatorLeavesNoDoubt) {
    const auto set = read_text(
        "X;Y;Z\n20,006555;-7,000000;3,000290\n1,5\t-2,5\t3,5\n 1,25 ;\t2,0 ;3,0\n4 5 6\n");
    ASSERT_EQ(set->numpoints(), 4);
    expect_point(*set, 0, 20.006555, -7.0, 3.00029);
    expect_point(*set, 1, 1.5, -2.5, 3.5);
    expect_point(*set, 2, 1.25, 2.0, 3.0);
    expect_point(*set, 3, 4, 5, 6);
    // Not every field with one comma, or blanks as separators: commas separate.
    EXPECT_EQ(text_failure("1,5;2;3\n"), "t.txt:1: expected 3 coordinates (x y z), found 4");
    EXPECT_EQ(text_failure("1,5 2,5 3,5\n"), "t.txt:1: expected 3 coordinates (x y z), found 6");
    EXPECT_EQ(text_failure("1,5;2,5,0;3,5\n"), "t.txt:1: expected 3 coordinates (x y z), found 7");
    EXPECT_EQ(text_failure("1,5;2,5;3,5;4,5\n"),
              "t.txt:1: expected 3 coordinates (x y z), found 4");
    // A decimal comma after a tab: not the three numbers 1, 5 and 25.
    EXPECT_EQ(text_failure("1 2 3\n1,5\t,25\n"),
              "t.txt:2: expected 3 coordinates (x y z), found 2");
}

TEST(TextPoints, AllowsAHeaderOnlyBeforeThePoints) {
    EXPECT_EQ(text_failure("1 2 3\nx y z\n"), "t.txt:2: malformed number 'x' in field 1");
    EXPECT_EQ(text_failure("x y z\nx y z\n"), "t.txt:2: malformed number 'x' in field 1");
    EXPECT_EQ(text_failure("x 1 z\n"), "t.txt:1: malformed number 'x' in field 1");
    // Numbers that cannot be read are no column names: the point is not silently lost.
    EXPECT_EQ(text_failure("1e-400 1e-400 1e-400\n1 2 3\n"),
              "t.txt:1: malformed number '1e-400' in field 1");
    EXPECT_EQ(text_failure("NaN -inf .5x\n1 2 3\n"), "t.txt:1: malformed number '-inf' in field 2");
}

TEST(TextPoints, RejectsAFileWithoutPoints) {
    EXPECT_EQ(text_failure(""), "t.txt: no points");
    EXPECT_EQ(text_failure("# only a comment\n\nx y z\n"), "t.txt: no points");
}

TEST(TextPoints, KeepsEveryPointOfAFileLongerThanOneBlock) {
    // More points than several blocks of the reader hold, each telling its own index.
    const int n = 200003;
    std::string text;
    for (int i = 0; i < n; ++i) {
        text += std::to_string(i) + " " + std::to_string(-i) + " 0.5\n";
    }
    const auto set = read_text(text);
    ASSERT_EQ(set->numpoints(), n);
    EXPECT_EQ(set->maxpoints(), n);
    for (const int i : {0, 65535, 65536, 131072, n - 1}) expect_point(*set, i, i, -i, 0.5);
}

TEST(TextPoints, WrittenTextReadsBackToTheSameDoubles) {
    const spanto::point pts[] = {{0.1, 1.0 / 3, -1e-300}, {1e300, -0.0, 123456.789012345678}};
    vantor::actual set(pts, 2, 3);
    set[2] = spanto::point(1, spanto::nan, 2);  // invalid: left out
    const std::string path = scratch("written.txt");
    std::FILE* f = std::fopen(path.c_str(), "w");
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(write_text_points(set, f), 1);
    std::fclose(f);

    const std::string text = testing::read_file(path);
    EXPECT_EQ(text.substr(0, 6), "x y z\n");
    const auto back = read_text(text);
    ASSERT_EQ(back->numpoints(), 2);
    for (int i = 0; i < 2; ++i) expect_point(*back, i, pts[i].x, pts[i].y, pts[i].z);
    EXPECT_TRUE(std::signbit((*back)[1].y));
}

// The message read_points throws for `path`.
std::string file_failure(const std::string& path) {
    try {
        read_points(path);
    } catch (const error& e) {
        return e.what();
    }
    return "no error";
}

TEST(PointFile, NamesAFileThatCannotBeRead) {
    EXPECT_EQ(file_failure(scratch("missing.txt")),
              scratch("missing.txt") + ": cannot open: No such file or directory");
    EXPECT_EQ(file_failure(testing::scratch_directory()),
              testing::scratch_directory() + ": read error: Is a directory");
}

TEST(PointFile, ReadsAShortTextFileAsText) {
    // Fewer bytes than the 16 that tell an element file.
    const std::string path = scratch("short.txt");
    write_file(path, "1 2 3\n");
    const point_file in = read_points(path);
    EXPECT_EQ(in.name, path);
    EXPECT_FALSE(in.element);
    ASSERT_EQ(in.points->numpoints(), 1);
    expect_point(*in.points, 0, 1, 2, 3);
}

TEST(PointFile, ReadsAnElementFileWithItsStamp) {
    const spanto::point pts[] = {{1, 2, 3}, {-4, 5.5, 1e-9}};
    const vantor::actual saved(pts, 2, 2);
    const std::string path = scratch("saved.elem");
    ASSERT_TRUE(saved.save(path.c_str()));

    const point_file in = read_points(path);
    EXPECT_TRUE(in.element);
    EXPECT_EQ(in.name, path);
    ASSERT_EQ(in.points->numpoints(), 2);
    expect_point(*in.points, 0, 1, 2, 3);
    expect_point(*in.points, 1, -4, 5.5, 1e-9);
    EXPECT_EQ(in.points->creationdate(), saved.creationdate());
    EXPECT_EQ(in.points->creationtime(), saved.creationtime());
}

TEST(PointFile, AStrayZeroByteDoesNotMakeAnElementFile) {
    const std::string path = scratch("stray-zero.txt");
    write_file(path, std::string("x y z\n1 2 3\0\n", 14));
    EXPECT_EQ(file_failure(path), path + ":2: zero byte in text (binary data?)");
}

TEST(PointFile, RejectsADamagedElementFileWithTheLibrarysWordsOnStandardError) {
    // A written file whose header-size field (after the 16 signature bytes) is spoilt.
    const spanto::point pts[] = {{1, 2, 3}};
    const std::string path = scratch("damaged.elem");
    ASSERT_TRUE(vantor::actual(pts, 1, 1).save(path.c_str()));
    std::string content = testing::read_file(path);
    content[16] = 'x';
    write_file(path, content);
    ::testing::internal::CaptureStdout();
    ::testing::internal::CaptureStderr();
    const std::string message = file_failure(path);
    const std::string out = ::testing::internal::GetCapturedStdout();
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(message, path + ": damaged element file, or one that holds no point set");
    EXPECT_EQ(out, "");
    EXPECT_NE(err, "");  // the loader's own line about the signature
}

TEST(PointFile, RejectsAnElementFileCutShort) {
    const spanto::point pts[] = {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}};
    const vantor::actual saved(pts, 3, 3);
    const std::string path = scratch("cut.elem");
    ASSERT_TRUE(saved.save(path.c_str()));
    write_file(path, testing::read_file(path).substr(0, 100));
    EXPECT_EQ(file_failure(path), path + ": damaged element file, or one that holds no point set");
}

}  // namespace
}  // namespace vantor::cli
