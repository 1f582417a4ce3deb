// SPDX-License-Identifier: Apache-2.0
// The point-file formats: each written here byte by byte from its published layout, read back
// through vantor::read_point_file, told apart by content and by extension, and refused cleanly
// where damaged.
#include "vantor/point_file.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/files.h"

namespace vantor {
namespace {

using spanto::point;
using testing::scratch_path;

void write_text(const std::string& path, const std::string& content) {
    testing::write_file(path, testing::bytes(content.begin(), content.end()));
}

// The bytes of `value` as a `T` in the given byte order.
template <typename T>
std::string binary(double value, bool big_endian) {
    const T v = static_cast<T>(value);
    char b[sizeof(T)];
    std::memcpy(b, &v, sizeof v);  // the tests run on little-endian hosts
    std::string s(b, sizeof b);
    if (big_endian) std::reverse(s.begin(), s.end());
    return s;
}

// A PLY type: its name and how a value of it is written in binary.
struct ply_type {
    const char* name;
    std::string (*write)(double, bool);
};
const ply_type ply_types[] = {
    {"char", binary<std::int8_t>},   {"uchar", binary<std::uint8_t>},
    {"short", binary<std::int16_t>}, {"ushort", binary<std::uint16_t>},
    {"int", binary<std::int32_t>},   {"uint", binary<std::uint32_t>},
    {"float", binary<float>},        {"double", binary<double>},
    {"int16", binary<std::int16_t>}, {"float32", binary<float>},
};

// Points every type can hold exactly.
const std::vector<point> small_points = {{1, 2, 3}, {0, 100, 7}, {5, 6, 120}};

std::string number(double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%.17g", v);
    return text;
}

// A PLY file of `points`: an element before the vertices (with a list) and faces after them,
// which are skipped; each vertex has a colour before x and, with `vertex_list`, a list after z,
// which are skipped.
std::string ply_file(const std::vector<point>& points, const std::string& encoding,
                     const ply_type& type, bool vertex_list = false) {
    const bool ascii = encoding == "ascii";
    const bool big = encoding == "binary_big_endian";
    std::string s = "ply\nformat " + encoding + " 1.0\ncomment made by a test\n";
    s += "element camera 1\nproperty list uchar int ids\nproperty float view\n";
    s += "element vertex " + std::to_string(points.size()) + "\n";
    s += "property uchar red\n";
    for (const char* c : {"x", "y", "z"})
        s += std::string("property ") + type.name + " " + c + "\n";
    if (vertex_list) s += "property list uchar float extra\n";
    s += "element face 1\nproperty list uchar int vertex_indices\nend_header\n";
    if (ascii) {
        s += "2 7 8 0.5\n";
        for (const point& p : points) {
            s += "255 " + number(p.x) + " " + number(p.y) + " " + number(p.z) +
                 (vertex_list ? " 1 9.5\n" : "\n");
        }
        s += "3 0 1 2\n";
        return s;
    }
    s += binary<std::uint8_t>(2, big) + binary<std::int32_t>(7, big) +
         binary<std::int32_t>(8, big) + binary<float>(0.5, big);
    for (const point& p : points) {
        s += binary<std::uint8_t>(255, big) + type.write(p.x, big) + type.write(p.y, big) +
             type.write(p.z, big);
        if (vertex_list) s += binary<std::uint8_t>(1, big) + binary<float>(9.5, big);
    }
    s += binary<std::uint8_t>(3, big);
    for (int i = 0; i < 3; ++i) s += binary<std::int32_t>(i, big);
    return s;
}

// A binary STL of the triangles: header, count, then normal, corners and attribute each.
std::string binary_stl(const std::vector<std::vector<point>>& triangles) {
    std::string s = "solid but binary: a header may begin so";
    s.resize(80, ' ');
    s += binary<std::uint32_t>(triangles.size(), false);
    for (const auto& t : triangles) {
        for (int k = 0; k < 3; ++k) s += binary<float>(0, false);
        for (const point& p : t) {
            s += binary<float>(p.x, false) + binary<float>(p.y, false) + binary<float>(p.z, false);
        }
        s += std::string(2, '\0');
    }
    return s;
}

std::string ascii_stl(const std::vector<std::vector<point>>& triangles) {
    std::string s = "solid part\n";
    for (const auto& t : triangles) {
        s += "  facet normal 0 0 1\n    outer loop\n";
        for (const point& p : t) {
            s += "      vertex " + number(p.x) + " " + number(p.y) + " " + number(p.z) + "\n";
        }
        s += "    endloop\n  endfacet\n";
    }
    return s + "endsolid part\n";
}

// A PCD file with an intensity field between y and z and a field of two values before x.
std::string pcd_file(const std::vector<point>& points, bool ascii) {
    std::string s = "# .PCD v0.7 - Point Cloud Data file format\nVERSION 0.7\n";
    s += "FIELDS rgb x y intensity z\nSIZE 4 8 4 2 4\nTYPE U F F U F\nCOUNT 2 1 1 1 1\n";
    s += "WIDTH " + std::to_string(points.size()) + "\nHEIGHT 1\nVIEWPOINT 0 0 0 1 0 0 0\n";
    s +=
        "POINTS " + std::to_string(points.size()) + "\nDATA " + (ascii ? "ascii" : "binary") + "\n";
    for (const point& p : points) {
        if (ascii) {
            s += "1 2 " + number(p.x) + " " + number(p.y) + " 7 " + number(p.z) + "\n";
        } else {
            s += binary<std::uint32_t>(1, false) + binary<std::uint32_t>(2, false) +
                 binary<double>(p.x, false) + binary<float>(p.y, false) +
                 binary<std::uint16_t>(7, false) + binary<float>(p.z, false);
        }
    }
    return s;
}

std::string obj_file(const std::vector<point>& points) {
    std::string s = "# exported\nmtllib part.mtl\no part\n";
    for (const point& p : points)
        s += "v " + number(p.x) + " " + number(p.y) + " " + number(p.z) + " 1.0\n";
    return s + "vn 0 0 1\nvt 0.5 0.5\nf 1//1 2//1 3//1\n";
}

void expect_points(const loaded_points& read, const std::vector<point>& expected,
                   const std::string& what) {
    ASSERT_TRUE(read.valid()) << what << ": " << read.error;
    ASSERT_EQ(read.points->numpoints(), static_cast<int>(expected.size())) << what;
    EXPECT_EQ(read.points->maxpoints(), read.points->numpoints()) << what;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const point& p = read.points->data()[i];
        EXPECT_TRUE(p.x == expected[i].x && p.y == expected[i].y && p.z == expected[i].z)
            << what << ": point " << i << " is " << p.x << " " << p.y << " " << p.z;
    }
}

TEST(PointFile, ReadsPlyOfEveryEncodingAndType) {
    for (const char* encoding : {"ascii", "binary_little_endian", "binary_big_endian"}) {
        for (const ply_type& type : ply_types) {
            const std::string what = std::string(encoding) + " " + type.name;
            const std::string path = scratch_path(std::string(type.name) + encoding + ".PLY");
            write_text(path, ply_file(small_points, encoding, type));
            const loaded_points read = read_point_file(path);
            EXPECT_EQ(read.format, point_format::ply) << what;
            expect_points(read, small_points, what);
        }
    }
}

// One table of files, each read twice: under its own extension and under one that says
// nothing, where the content alone must tell the format (OBJ by its first "v" line).
TEST(PointFile, TellsEachFormatByContentAndByExtension) {
    const std::vector<point> fine = {{0.1, -2.5, 1e-3}, {1e5, 3.25, -0.0625}, {-7, 8, 9.5}};
    const std::vector<point> square = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
    // Two triangles over the square share an edge; 0 and -0 are one vertex.
    const std::vector<std::vector<point>> triangles = {
        {square[0], square[1], square[2]}, {point(-0.0, 0, -0.0), square[2], square[3]}};
    struct file {
        const char* extension;
        std::string content;
        point_format format;
        std::vector<point> points;
    };
    const file files[] = {
        {"ply", ply_file(fine, "binary_little_endian", ply_types[7], true), point_format::ply,
         fine},
        {"ply", ply_file(fine, "ascii", ply_types[7], true), point_format::ply, fine},
        {"stl", binary_stl(triangles), point_format::stl, square},
        {"stl", ascii_stl(triangles), point_format::stl, square},
        {"pcd",
         pcd_file({{0.5, -1.5, 2}, {1, 2, 3}}, false),
         point_format::pcd,
         {{0.5, -1.5, 2}, {1, 2, 3}}},
        {"pcd", pcd_file(fine, true), point_format::pcd, fine},
        {"obj", obj_file(fine), point_format::obj, fine},
        {"txt", "x y z\n0.1 -2.5 1e-3\n1e5 3.25 -0.0625\n-7 8 9.5\n", point_format::text, fine},
    };
    int n = 0;
    for (const file& f : files) {
        for (const std::string& extension : {std::string(f.extension), std::string("dat")}) {
            const std::string path = scratch_path(std::to_string(n++) + "." + extension);
            write_text(path, f.content);
            const loaded_points read = read_point_file(path);
            EXPECT_EQ(read.format, f.format) << path;
            expect_points(read, f.points, path);
        }
    }
}

TEST(PointFile, ReadsAnElementFileAndAStreamOfAnyFormatButElement) {
    const point pts[] = {{1, 2, 3}, {4, 5, 6}};
    const std::string path = scratch_path("saved.elem");
    ASSERT_TRUE(actual(pts, 2, 2).save(path.c_str()));
    const loaded_points element = read_point_file(path);
    EXPECT_EQ(element.format, point_format::element);
    expect_points(element, {pts[0], pts[1]}, "element file");

    const std::string ply = ply_file(small_points, "binary_big_endian", ply_types[4]);
    std::FILE* in = fmemopen(const_cast<char*>(ply.data()), ply.size(), "r");
    ASSERT_NE(in, nullptr);
    const loaded_points streamed = read_point_stream(in, "<stdin>");
    std::fclose(in);
    EXPECT_EQ(streamed.format, point_format::ply);
    expect_points(streamed, small_points, "stream");

    // From a stream of unknown size a count is believed only as far as the bytes come: half a
    // billion vertices claimed (12 GB) and one given fail where the bytes end.
    const std::string claim =
        "ply\nformat binary_little_endian 1.0\nelement vertex 500000000\nproperty double x\n"
        "property double y\nproperty double z\nend_header\n" +
        std::string(24, '\0');
    in = fmemopen(const_cast<char*>(claim.data()), claim.size(), "r");
    ASSERT_NE(in, nullptr);
    const loaded_points cut = read_point_stream(in, "<stdin>");
    std::fclose(in);
    EXPECT_EQ(cut.error, "<stdin>: byte " + std::to_string(claim.size()) +
                             ": the file ends after 1 of 500000000 vertices");
}

TEST(PointFile, LeavesOutAndCountsNanVerticesAndRefusesInfiniteOnes) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const std::vector<point> with_nan = {{1, 2, 3}, {nan, 0, 0}, {4, 5, 6}, {0, 0, nan}};
    const std::vector<point> kept = {{1, 2, 3}, {4, 5, 6}};
    const std::string cases[] = {
        ply_file(with_nan, "binary_little_endian", ply_types[6]),
        ply_file(with_nan, "ascii", ply_types[7]),
        pcd_file(with_nan, false),
        pcd_file(with_nan, true),
        obj_file(with_nan),
        "1 2 3\nnan 0 0\n4,5,6\n0 0 NaN\n",
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const std::string path = scratch_path(std::to_string(i));
        write_text(path, cases[i]);
        const loaded_points read = read_point_file(path);
        expect_points(read, kept, cases[i].substr(0, 20));
        EXPECT_EQ(read.nan_rows, 2) << cases[i].substr(0, 20);
    }
    const std::string only_nan = scratch_path("only_nan.pcd");
    write_text(only_nan, pcd_file({{nan, nan, nan}}, false));
    EXPECT_EQ(read_point_file(only_nan).error, only_nan + ": no points (1 row with NaN left out)");

    const std::string infinite = scratch_path("infinite.ply");
    const std::string content =
        ply_file({{1, 2, 3}, {inf, 0, 0}}, "binary_little_endian", ply_types[7]);
    write_text(infinite, content);
    // The second vertex: after the camera's 13 bytes, one vertex of 1 + 24 bytes.
    const std::size_t data = content.find("end_header\n") + 11;
    EXPECT_EQ(read_point_file(infinite).error,
              infinite + ": byte " + std::to_string(data + 13 + 25) + ": an infinite coordinate");
}

// Damaged files: each refused with the file named and the place where one can be given, never
// read beyond its end, and counts beyond the file refused before anything is allocated for them
// (a count of 2^40 vertices would not fit in memory).
TEST(PointFile, RefusesDamagedFilesNamingWhatIsWrong) {
    const std::string ply = ply_file(small_points, "binary_little_endian", ply_types[7]);
    const std::string ply_header = ply.substr(0, ply.find("end_header\n") + 11);
    const std::string huge_ply =
        "ply\nformat binary_little_endian 1.0\nelement vertex 1099511627776\n"
        "property double x\nproperty double y\nproperty double z\nend_header\n" +
        std::string(48, '\0');
    std::string huge_stl = binary_stl({{{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}});
    huge_stl[83] = '\x7f';  // a count of about 2^31 triangles
    const std::string pcd = pcd_file(small_points, false);
    const std::string huge_pcd =
        "VERSION 0.7\nFIELDS x y z\nSIZE 4 4 4\nTYPE F F F\nCOUNT 1 1 1\nWIDTH 1\nHEIGHT 1\n"
        "POINTS 4611686018427387903\nDATA binary\n" +
        std::string(12, '\0');
    struct damaged {
        std::string name;
        std::string content;
        std::string message;  // after "PATH"
    };
    const damaged cases[] = {
        {"cut.ply", ply.substr(0, ply.size() - 20),
         ": byte " + std::to_string(ply_header.size() + 13) +
             ": 3 vertex records of 25 bytes do not fit in the 68 bytes left"},
        {"huge.ply", huge_ply,
         ": byte " + std::to_string(huge_ply.size() - 48) +
             ": 1099511627776 vertex records of 24 bytes do not fit in the 48 bytes left"},
        {"noend.ply", "ply\nformat ascii 1.0\nelement vertex 1\n",
         ": the PLY header has no 'end_header' line"},
        {"type.ply", "ply\nformat ascii 1.0\nelement vertex 1\nproperty real x\nend_header\n",
         ":4: unknown property type 'real'"},
        {"nox.ply", "ply\nformat ascii 1.0\nelement vertex 1\nproperty float y\nend_header\n",
         ": the vertex element has no property x"},
        {"count.ply", "ply\nformat ascii 1.0\nelement vertex -1\nend_header\n",
         ":3: expected 'element NAME COUNT'"},
        {"short.ply",
         "ply\nformat ascii 1.0\nelement vertex 2\nproperty float x\nproperty float y\n"
         "property float z\nend_header\n1 2 3\n4 5\n",
         ":9: too few values for a vertex"},
        {"huge.stl", huge_stl,
         ": 2130706433 triangles need 106535321650 bytes after the count, "
         "the file has 50"},
        {"cut.stl", std::string(60, 'h'), ": a binary STL file of fewer than 84 bytes"},
        {"loop.stl", "solid a\nfacet normal 0 0 1\nouter loop\nvertex 1 2 3\nendloop\n",
         ":5: a loop without three vertices"},
        {"word.stl", "solid a\nfacet normal 0 0 1\nouter loop\nvertex 1 2 x\n",
         ":4: malformed vertex coordinate 'x'"},
        {"cut.pcd", pcd.substr(0, pcd.size() - 10),
         ": byte " + std::to_string(pcd.find("DATA binary\n") + 12) +
             ": 3 points of 26 bytes do not fit in the 68 bytes left"},
        {"huge.pcd", huge_pcd,
         ": byte " + std::to_string(huge_pcd.size() - 12) +
             ": 4611686018427387903 points of 12 bytes do not fit in the 12 bytes left"},
        {"packed.pcd",
         "FIELDS x y z\nSIZE 4 4 4\nTYPE F F F\nCOUNT 1 1 1\nPOINTS 1\nDATA binary_compressed\n",
         ":6: compressed PCD data is not read; save it as binary or ascii"},
        {"size.pcd", "FIELDS x y z\nSIZE 4 4 3\nTYPE F F F\nPOINTS 1\nDATA ascii\n1 2 3\n",
         ": field z: no type F of size 3"},
        {"short.obj", "v 1 2 3\nv 1 2\n", ":2: a vertex of fewer than three coordinates"},
        {"nothing.obj", "# no vertices\nf 1 2 3\n", ": no points"},
    };
    for (const damaged& d : cases) {
        const std::string path = scratch_path(d.name);
        write_text(path, d.content);
        const loaded_points read = read_point_file(path);
        EXPECT_FALSE(read.valid()) << d.name;
        EXPECT_EQ(read.error, path + d.message);
    }
}

}  // namespace
}  // namespace vantor
