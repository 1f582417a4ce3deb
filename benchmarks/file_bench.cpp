// Saving and loading a point set of a million points, beside a plain fwrite and fread of the
// same number of bytes: the element file should run at the speed of the file system.
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include <benchmark/benchmark.h>

#include "vantor/actual.h"

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

}  // namespace
