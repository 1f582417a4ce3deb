// SPDX-License-Identifier: Apache-2.0
// Saving and loading a point set of a million points, beside a plain fwrite and fread of the
// same number of bytes: the element file should run at the speed of the file system. Then
// reading each point-file format (vantor/point_file.h) at 1 and 10 million points, in points per
// second; the files are written once per run, by hand from each format's layout.
#include <unistd.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <random>
#include <string>

#include <benchmark/benchmark.h>

#include "vantor/actual.h"
#include "vantor/point_file.h"

namespace {

constexpr int point_count = 1000000;
constexpr std::size_t file_bytes = 64 + 24 * static_cast<std::size_t>(point_count);

const vantor::actual& million_points() {
    static const vantor::actual set = [] {
        vantor::actual s(point_count);
        for (int i = 0; i < point_count; ++i) s.append(i * 1e-3, -i * 2e-3, i * 0.5);
        return s;
    }();
    return set;
}

std::string scratch_file(const char* what) {
    return (std::filesystem::temp_directory_path() /
            ("vantor_bench_" + std::to_string(getpid()) + "_" + what))
        .string();
}

void file_save_points(benchmark::State& state) {
    const vantor::actual& set = million_points();
    const std::string path = scratch_file("save.elm");
    for (auto _ : state) {
        if (!set.save(path.c_str())) state.SkipWithError("save failed");
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file_bytes));
    std::remove(path.c_str());
}
BENCHMARK(file_save_points)->Unit(benchmark::kMillisecond)->UseRealTime();

void file_load_points(benchmark::State& state) {
    const std::string path = scratch_file("load.elm");
    million_points().save(path.c_str());
    for (auto _ : state) {
        const std::unique_ptr<vantor::actual> loaded(vantor::actual::load(path.c_str()));
        if (loaded == nullptr) state.SkipWithError("load failed");
        benchmark::DoNotOptimize(loaded.get());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file_bytes));
    std::remove(path.c_str());
}
BENCHMARK(file_load_points)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same bytes as one fwrite record: the speed the element file aims for.
void file_plain_fwrite(benchmark::State& state) {
    const std::string path = scratch_file("plain_write");
    const std::unique_ptr<unsigned char[]> bytes(new unsigned char[file_bytes]());
    for (auto _ : state) {
        std::FILE* f = std::fopen(path.c_str(), "wb");
        const bool written = f != nullptr && std::fwrite(bytes.get(), file_bytes, 1, f) == 1;
        if (f == nullptr || std::fclose(f) != 0 || !written) state.SkipWithError("write failed");
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file_bytes));
    std::remove(path.c_str());
}
BENCHMARK(file_plain_fwrite)->Unit(benchmark::kMillisecond)->UseRealTime();

// One fread record into a new buffer, as the loader reads into a new set.
void file_plain_fread(benchmark::State& state) {
    const std::string path = scratch_file("plain_read");
    million_points().save(path.c_str());
    for (auto _ : state) {
        std::FILE* f = std::fopen(path.c_str(), "rb");
        const std::unique_ptr<unsigned char[]> bytes(new unsigned char[file_bytes]);
        const bool read = f != nullptr && std::fread(bytes.get(), file_bytes, 1, f) == 1;
        if (f != nullptr) std::fclose(f);
        if (!read) state.SkipWithError("read failed");
        benchmark::DoNotOptimize(bytes.get());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file_bytes));
    std::remove(path.c_str());
}
BENCHMARK(file_plain_fread)->Unit(benchmark::kMillisecond)->UseRealTime();

// --- Reading point files.

// Points of a scanned patch: a few millimetres of height over a 100 mm square, stored as a
// scanner or a measuring machine writes them.
spanto::point scan_point(std::mt19937_64& random) {
    std::uniform_real_distribution<double> across(-50.0, 50.0), height(-0.005, 0.005);
    const double x = across(random), y = across(random);
    return spanto::point(x, y, 2.0 * std::sin(0.1 * x) + height(random));
}

template <typename T>
void put(std::FILE* f, T value) {
    std::fwrite(&value, sizeof value, 1, f);  // little-endian hosts
}

// A text line of the point: with six decimals (as measuring software prints) or in the shortest
// form that reads back to the same doubles (as `vantor convert` and repr write).
void put_text(std::FILE* f, const spanto::point& p, bool shortest) {
    char line[96];
    int n = 0;
    if (shortest) {
        char* end = line;
        for (const double v : {p.x, p.y, p.z}) {
            if (end != line) *end++ = ' ';
            end = std::to_chars(end, line + sizeof line, v).ptr;
        }
        *end++ = '\n';
        n = static_cast<int>(end - line);
    } else {
        n = std::snprintf(line, sizeof line, "%.6f %.6f %.6f\n", p.x, p.y, p.z);
    }
    std::fwrite(line, 1, static_cast<std::size_t>(n), f);
}

// A grid of about n vertices, each shared by up to six triangles, as a meshed scan stores them.
void put_stl(std::FILE* f, int n, bool ascii) {
    const int side = static_cast<int>(std::sqrt(static_cast<double>(n)));
    const auto corner = [&](int i, int j) {
        return spanto::point(0.01 * i, 0.01 * j, 2.0 * std::sin(0.001 * i * j));
    };
    if (ascii) {
        std::fputs("solid meshed scan\n", f);
    } else {
        char header[80] = "binary STL of a meshed scan";
        std::fwrite(header, 1, sizeof header, f);
        put(f, static_cast<std::uint32_t>(2 * (side - 1) * (side - 1)));
    }
    const auto triangle = [&](spanto::point a, spanto::point b, spanto::point c) {
        if (ascii) std::fputs("facet normal 0 0 0\nouter loop\n", f);
        for (int k = 0; k < 3 && !ascii; ++k) put(f, 0.0f);
        for (const spanto::point& p : {a, b, c}) {
            const float x = static_cast<float>(p.x), y = static_cast<float>(p.y),
                        z = static_cast<float>(p.z);
            if (ascii) {
                std::fprintf(f, "vertex %.9g %.9g %.9g\n", x, y, z);
            } else {
                put(f, x), put(f, y), put(f, z);
            }
        }
        if (ascii) {
            std::fputs("endloop\nendfacet\n", f);
        } else {
            put(f, std::uint16_t{0});
        }
    };
    for (int i = 0; i + 1 < side; ++i) {
        for (int j = 0; j + 1 < side; ++j) {
            triangle(corner(i, j), corner(i + 1, j), corner(i + 1, j + 1));
            triangle(corner(i, j), corner(i + 1, j + 1), corner(i, j + 1));
        }
    }
    if (ascii) std::fputs("endsolid meshed scan\n", f);
}

using file_writer = std::function<void(std::FILE*, int)>;

// Each format's file of n points (STL: the grid of put_stl); a name's part before '_' is the
// file's extension.
const std::map<std::string, file_writer>& writers() {
    static const std::map<std::string, file_writer> all = {
        {"txt",
         [](std::FILE* f, int n) {
             std::mt19937_64 random(1);
             std::fputs("x y z\n", f);
             for (int i = 0; i < n; ++i) put_text(f, scan_point(random), false);
         }},
        {"xyz",
         [](std::FILE* f, int n) {
             std::mt19937_64 random(1);
             for (int i = 0; i < n; ++i) put_text(f, scan_point(random), true);
         }},
        {"csv",
         [](std::FILE* f, int n) {
             std::mt19937_64 random(1);
             std::fputs("id,x,y,z\n", f);  // the header chooses the columns
             for (int i = 0; i < n; ++i) {
                 const spanto::point p = scan_point(random);
                 std::fprintf(f, "P%d,%.6f,%.6f,%.6f\n", i, p.x, p.y, p.z);
             }
         }},
        {"ply_ascii",
         [](std::FILE* f, int n) {
             std::mt19937_64 random(1);
             std::fprintf(f,
                          "ply\nformat ascii 1.0\nelement vertex %d\nproperty double x\n"
                          "property double y\nproperty double z\nend_header\n",
                          n);
             for (int i = 0; i < n; ++i) put_text(f, scan_point(random), false);
         }},
        {"pcd_ascii",
         [](std::FILE* f, int n) {
             std::mt19937_64 random(1);
             std::fprintf(f,
                          "VERSION 0.7\nFIELDS x y z\nSIZE 4 4 4\nTYPE F F F\nCOUNT 1 1 1\n"
                          "WIDTH %d\nHEIGHT 1\nPOINTS %d\nDATA ascii\n",
                          n, n);
             for (int i = 0; i < n; ++i) put_text(f, scan_point(random), false);
         }},
        {"ply",
         [](std::FILE* f, int n) {
             std::mt19937_64 random(1);
             std::fprintf(f,
                          "ply\nformat binary_little_endian 1.0\nelement vertex %d\n"
                          "property double x\nproperty double y\nproperty double z\nend_header\n",
                          n);
             for (int i = 0; i < n; ++i) {
                 const spanto::point p = scan_point(random);
                 put(f, p.x), put(f, p.y), put(f, p.z);
             }
         }},
        {"pcd",
         [](std::FILE* f, int n) {
             std::mt19937_64 random(1);
             std::fprintf(f,
                          "VERSION 0.7\nFIELDS x y z\nSIZE 4 4 4\nTYPE F F F\nCOUNT 1 1 1\n"
                          "WIDTH %d\nHEIGHT 1\nPOINTS %d\nDATA binary\n",
                          n, n);
             for (int i = 0; i < n; ++i) {
                 const spanto::point p = scan_point(random);
                 put(f, static_cast<float>(p.x)), put(f, static_cast<float>(p.y)),
                     put(f, static_cast<float>(p.z));
             }
         }},
        {"obj",
         [](std::FILE* f, int n) {
             std::mt19937_64 random(1);
             for (int i = 0; i < n; ++i) {
                 std::fputs("v ", f);
                 put_text(f, scan_point(random), false);
             }
         }},
        {"stl", [](std::FILE* f, int n) { put_stl(f, n, false); }},
        {"stl_ascii", [](std::FILE* f, int n) { put_stl(f, n, true); }},
    };
    return all;
}

// The file of `format` with n points, written on first use and removed at exit.
const std::string& point_file(const std::string& format, int n) {
    struct scratch {
        std::string path;
        ~scratch() { std::remove(path.c_str()); }
    };
    static std::map<std::string, scratch> files;
    const std::string key = format + std::to_string(n);
    scratch& s = files[key];
    if (s.path.empty()) {
        const std::string extension = format.substr(0, format.find('_'));
        s.path =
            scratch_file(("read" + std::to_string(n) + "_" + format + "." + extension).c_str());
        std::FILE* f = std::fopen(s.path.c_str(), "wb");
        if (f != nullptr) {
            writers().at(format)(f, n);
            std::fclose(f);
        }
    }
    return s.path;
}

// Reads the file of `format` (state.range(0) points) with read_point_file; points per second.
void read_format(benchmark::State& state, const std::string& format) {
    const std::string& path = point_file(format, static_cast<int>(state.range(0)));
    std::int64_t points = 0;
    for (auto _ : state) {
        const vantor::loaded_points read = vantor::read_point_file(path);
        if (!read.valid()) {
            state.SkipWithError(read.error.c_str());
            break;
        }
        points += read.points->numpoints();
    }
    state.SetItemsProcessed(points);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(std::filesystem::file_size(path)));
}

// Text is read on two threads: points per second of real time, not of the main thread's time.
void file_read_text(benchmark::State& state) { read_format(state, "txt"); }
void file_read_text_shortest(benchmark::State& state) { read_format(state, "xyz"); }
void file_read_csv_columns(benchmark::State& state) { read_format(state, "csv"); }
void file_read_ply_ascii(benchmark::State& state) { read_format(state, "ply_ascii"); }
void file_read_ply_binary(benchmark::State& state) { read_format(state, "ply"); }
void file_read_pcd_ascii(benchmark::State& state) { read_format(state, "pcd_ascii"); }
void file_read_pcd_binary(benchmark::State& state) { read_format(state, "pcd"); }
void file_read_obj(benchmark::State& state) { read_format(state, "obj"); }
void file_read_stl_binary(benchmark::State& state) { read_format(state, "stl"); }
void file_read_stl_ascii(benchmark::State& state) { read_format(state, "stl_ascii"); }
BENCHMARK(file_read_text)
    ->Arg(1000000)
    ->Arg(10000000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(file_read_text_shortest)
    ->Arg(1000000)
    ->Arg(10000000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(file_read_csv_columns)
    ->Arg(1000000)
    ->Arg(10000000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(file_read_ply_ascii)
    ->Arg(1000000)
    ->Arg(10000000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(file_read_ply_binary)
    ->Arg(1000000)
    ->Arg(10000000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(file_read_pcd_ascii)
    ->Arg(1000000)
    ->Arg(10000000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(file_read_pcd_binary)
    ->Arg(1000000)
    ->Arg(10000000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(file_read_obj)->Arg(1000000)->Arg(10000000)->Unit(benchmark::kMillisecond)->UseRealTime();
// A grid of a million vertices is a 100 MB file already (binary; 250 MB as text).
BENCHMARK(file_read_stl_binary)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(file_read_stl_ascii)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime();

// The element file at 10 million points, for comparison with the formats above.
void file_load_ten_million(benchmark::State& state) {
    const std::string path = scratch_file("load10m.elm");
    {
        vantor::actual set(10000000);
        std::mt19937_64 random(1);
        for (int i = 0; i < 10000000; ++i) set.append(scan_point(random));
        set.save(path.c_str());
    }
    for (auto _ : state) {
        const std::unique_ptr<vantor::actual> loaded(vantor::actual::load(path.c_str()));
        if (loaded == nullptr) state.SkipWithError("load failed");
        benchmark::DoNotOptimize(loaded.get());
    }
    state.SetItemsProcessed(state.iterations() * 10000000);
    std::remove(path.c_str());
}
BENCHMARK(file_load_ten_million)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
