// SPDX-License-Identifier: Apache-2.0
// The text reader's columns, quoting, trailing separators and NaN rows (the rules of bare x y z
// lines are tested with the program's reader, tests/front/point_file_test.cpp).
#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "actual/coordinates.h"
#include "vantor/point_file.h"

namespace vantor {
namespace {

using spanto::point;

loaded_points read_text(const std::string& text, const std::vector<std::string>& columns = {}) {
    std::FILE* in = fmemopen(const_cast<char*>(text.data()), text.size(), "r");
    read_options options;
    options.format = point_format::text;
    options.columns = columns;
    loaded_points read = read_point_stream(in, "t.csv", options);
    std::fclose(in);
    return read;
}

TEST(TextColumns, ChooseXYZAmongOtherColumns) {
    struct chosen {
        std::string text;
        std::vector<std::string> columns;
    };
    // Each holds the points (1, 2, 3) and (4, 5, 6).
    const chosen cases[] = {
        // A measuring machine's export with normals, by number.
        {"1 2 3 0 0 1\n4 5 6 0 1 0\n", {"1", "2", "3"}},
        // Columns out of order, and a header naming them in any case.
        {"id,z,x,y\nP1,3,1,2\nP2,6,4,5\n", {"X", "y", "Z"}},
        {"id,z,x,y\nP1,3,1,2\nP2,6,4,5\n", {"3", "4", "2"}},
        // Without a choice, a header that names x, y and z chooses them.
        {"id;x;y;z;note\n7;1;2;3;first\n8;4;5;6\n", {}},
        // Quoted fields, separators inside quotes, trailing separators.
        {"\"id\",\"x\",\"y\",\"z\",\n\"P,1\",\"1\",2,3,\n\"P \"\"2\"\"\",4,5,\"6\",\n", {}},
    };
    for (const chosen& c : cases) {
        const loaded_points read = read_text(c.text, c.columns);
        ASSERT_TRUE(read.valid()) << c.text << ": " << read.error;
        ASSERT_EQ(read.points->numpoints(), 2) << c.text;
        for (int i = 0; i < 2; ++i) {
            const point& p = read.points->data()[i];
            EXPECT_TRUE(p.x == 1 + 3 * i && p.y == 2 + 3 * i && p.z == 3 + 3 * i) << c.text;
        }
    }
}

TEST(TextColumns, SkipAndCountNanRowsButNotMalformedOnes) {
    const loaded_points read = read_text("x y z\nnan nan nan\n1 2 3\n4 NaN 6\n-nan 0 0\n7 8 9\n");
    ASSERT_TRUE(read.valid()) << read.error;
    EXPECT_EQ(read.points->numpoints(), 2);
    EXPECT_EQ(read.nan_rows, 3);
    // A NaN in a column not chosen is not read at all.
    EXPECT_EQ(read_text("1 2 3 nan\n", {"1", "2", "3"}).nan_rows, 0);
    EXPECT_EQ(read_text("nan 2 x\n").error, "t.csv:1: malformed number 'x' in field 3");
}

TEST(TextColumns, SayWhatIsWrongWithAChoice) {
    const std::pair<loaded_points, std::string> cases[] = {
        {read_text("a b c\n1 2 3\n", {"x", "b", "c"}),
         "t.csv:1: no column named 'x' in the header line"},
        {read_text("1 2 3\n", {"x", "y", "z"}),
         "t.csv:1: columns are chosen by name, but the file has no header line"},
        {read_text("1 2 3\n", {"0", "1", "2"}),
         "t.csv: column '0' is neither a column number from 1 nor a name"},
        {read_text("1 2 3\n", {"1", "2"}),
         "t.csv: three columns are chosen, for x, y and z, not 2"},
        {read_text("1 2 3 4\n1 2 3\n", {"1", "2", "4"}),
         "t.csv:2: expected 4 fields or more, found 3"},
        {read_text("\"1,2,3\n"), "t.csv:1: quote left open in field 1"},
        {read_text("\"1\"2,3,4\n"), "t.csv:1: text after the closing quote of field 1"},
        {read_text("1,2,3,;\n"), "t.csv:1: empty field 4 (two separators meet)"},
    };
    for (const auto& [read, message] : cases) {
        EXPECT_FALSE(read.valid()) << message;
        EXPECT_EQ(read.error, message);
    }
}

// A line longer than the reader's buffer (a megabyte) grows it; the lines after it still read,
// and the last one needs no line end.
TEST(TextColumns, ReadLinesLongerThanTheBuffer) {
    const std::string text = "x y z " + std::string(3 << 20, 'w') + "\r\n1 2 3\r\n" +
                             std::string(2 << 20, ' ') + "4 5 6";
    const loaded_points read = read_text(text);
    ASSERT_TRUE(read.valid()) << read.error;
    ASSERT_EQ(read.points->numpoints(), 2);
    EXPECT_EQ(read.points->data()[1].z, 6);
}

// Text is read in blocks of a megabyte, each in pieces on two threads at once. Files of about 1.5
// MB whose points are known exactly, with NaN rows, comments and (in the CSV) quoted names among
// them, read back in order; and a bad row near the middle or the end of the first block, followed
// by another, is the one named, with its line.
struct generated_rows {
    std::string text;
    std::vector<point> points;
    long long nan_rows = 0;
};

// Row i (line i + 2) holds the point (i, i + 0.25, -i / 8); every 97th row is NaN, every 89th is
// a comment; the CSV names each row in quotes and ends it with a separator.
generated_rows rows_of(bool csv, int rows) {
    generated_rows g;
    g.text = csv ? "\"id\",\"x\",\"y\",\"z\"\n" : "x y z\n";
    char line[96];
    for (int i = 0; i < rows; ++i) {
        if (i % 89 == 3) {
            g.text += "# a remark, 1 2 3\n";
            continue;
        }
        const point p(i, i + 0.25, -i / 8.0);
        const bool nan = i % 97 == 50;
        const std::string y = nan ? "NaN" : std::to_string(p.y);
        if (csv) {
            std::snprintf(line, sizeof line, "\"P,%d\",%.6f,%s,%.6f,\n", i, p.x, y.c_str(), p.z);
        } else {
            std::snprintf(line, sizeof line, "%.6f %s %.6f\n", p.x, y.c_str(), p.z);
        }
        g.text += line;
        if (nan) {
            ++g.nan_rows;
        } else {
            g.points.push_back(p);
        }
    }
    return g;
}

TEST(TextBlocks, ReadRowsInOrderAcrossBlocksAndTheirParts) {
    for (const bool csv : {false, true}) {
        const generated_rows g = rows_of(csv, csv ? 40000 : 50000);
        const loaded_points read = read_text(g.text);
        ASSERT_TRUE(read.valid()) << read.error;
        EXPECT_EQ(read.nan_rows, g.nan_rows);
        ASSERT_EQ(read.points->numpoints(), static_cast<int>(g.points.size()));
        for (std::size_t i = 0; i < g.points.size(); ++i) {
            const point& p = read.points->data()[i];
            ASSERT_TRUE(p.x == g.points[i].x && p.y == g.points[i].y && p.z == g.points[i].z)
                << "point " << i << " of the " << (csv ? "CSV" : "text");
        }
    }
    // A last line without its end, longer than the header before it.
    const loaded_points last = read_text("x y z\n1.5 2.5 3.5");
    ASSERT_TRUE(last.valid()) << last.error;
    EXPECT_EQ(last.points->data()[0].x, 1.5);
}

TEST(TextBlocks, NameTheEarliestBadRowWhicheverPartHoldsIt) {
    const generated_rows g = rows_of(false, 50000);
    // Rows starting within 1 kB of the middle and of the end of the first block: a bad row on
    // either side of a split between pieces or blocks, and another bad row after it.
    for (const std::size_t middle : {std::size_t{1} << 19, std::size_t{1} << 20}) {
        for (std::size_t at = g.text.find('\n', middle - 1024) + 1; at < middle + 1024;
             at = g.text.find('\n', at) + 1) {
            const long long line = 1 + std::count(g.text.begin(), g.text.begin() + at, '\n');
            std::string text = g.text;
            const std::size_t end = text.find('\n', at);
            text.replace(at, end - at, "1 2 x\n1 2");  // and a row of two numbers after it
            EXPECT_EQ(read_text(text).error,
                      "t.csv:" + std::to_string(line) + ": malformed number 'x' in field 3");
        }
    }
}

// The quick path for plain decimals gives the bits of the general parser, whichever of the two
// reads a number: random digit strings of every length around the 2^53 limit, with the point
// anywhere and either sign.
TEST(TextNumbers, PlainDecimalsReadAsTheGeneralParserReadsThem) {
    std::mt19937_64 random(20);
    for (int i = 0; i < 200000; ++i) {
        std::string text = random() % 2 ? "-" : "";
        const int digits = 1 + static_cast<int>(random() % 20);
        const int point = static_cast<int>(random() % (digits + 1));
        for (int d = 0; d < digits; ++d) {
            if (d == point) text += '.';
            text += static_cast<char>('0' + random() % 10);
        }
        double expected = 0.0, read = 1.0;
        std::from_chars(text.data(), text.data() + text.size(), expected);
        ASSERT_TRUE(detail::parse_coordinate(text, read)) << text;
        ASSERT_EQ(std::memcmp(&read, &expected, sizeof read), 0) << text;
    }
}

}  // namespace
}  // namespace vantor
