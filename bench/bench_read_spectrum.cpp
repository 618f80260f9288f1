// Times read_spectrum against the fscanf reader on a file of MAX_POINTS
// "%.6e %.6e %.6e" records, and checks that both give the same bits.
//
//   g++ -std=c++20 -O2 -Isrc/spectrum bench/bench_read_spectrum.cpp
//       src/spectrum/read_spectrum.cpp src/spectrum/read_spectrum_stdio.cpp -o bench_read_spectrum
//   ./bench_read_spectrum [file [runs]]
//
// The file is written first when it does not exist (about 40 MB). Each run
// opens the file and reads it into a fresh spectrum, so the first touch of
// the spectrum's pages is part of the time, as it is in the program.
#include "spectrum.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <random>
#include <vector>

namespace {

bool write_file(const char* path)
{
    std::FILE* file = std::fopen(path, "w");
    if (file == nullptr)
        return false;
    std::mt19937_64 random(20240601);
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    std::uniform_int_distribution<int> magnitude(-12, 6);
    for (long i = 0; i < MAX_POINTS; ++i) {
        double frequency = 1e3 + 1e9 * static_cast<double>(i) / MAX_POINTS;
        double re = unit(random) * std::pow(10.0, magnitude(random));
        double im = unit(random) * std::pow(10.0, magnitude(random));
        std::fprintf(file, "%.6e %.6e %.6e\n", frequency, re, im);
    }
    return std::fclose(file) == 0;
}

using Reader = ReadOutcome (*)(std::FILE*, Spectrum&);

// Seconds taken by one whole reading of the file; the spectrum is kept.
double time_reading(Reader reader, const char* path, Spectrum& spectrum)
{
    spectrum = make_spectrum();
    auto start = std::chrono::steady_clock::now();
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) {
        std::perror(path);
        std::exit(1);
    }
    reader(file, spectrum);
    std::fclose(file);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

bool same(const Spectrum& a, const Spectrum& b)
{
    std::size_t bytes = 3 * MAX_POINTS * sizeof(double);
    return a.count == b.count && std::memcmp(a.storage.get(), b.storage.get(), bytes) == 0;
}

}  // namespace

int main(int argc, char** argv)
{
    const char* path = argc > 1 ? argv[1] : "/tmp/fravlin_bench_spectrum.txt";
    int runs = argc > 2 ? std::atoi(argv[2]) : 7;
    if (std::FILE* existing = std::fopen(path, "r")) {
        std::fclose(existing);
    } else if (!write_file(path)) {
        std::perror(path);
        return 1;
    }

    Spectrum fast, reference;
    std::vector<double> fast_times, stdio_times;
    for (int run = 0; run < runs; ++run) {
        // Alternated so that both see the same state of the page cache.
        stdio_times.push_back(time_reading(read_spectrum_stdio, path, reference));
        fast_times.push_back(time_reading(read_spectrum, path, fast));
    }
    if (!same(fast, reference)) {
        std::fprintf(stderr, "the readers differ on %s\n", path);
        return 1;
    }
    double fast_median = median(fast_times), stdio_median = median(stdio_times);
    std::printf("records: %ld, runs: %d\n", fast.count, runs);
    std::printf("fscanf reader: %.3f s (median)\n", stdio_median);
    std::printf("fast reader:   %.3f s (median)\n", fast_median);
    std::printf("ratio:         %.1f\n", stdio_median / fast_median);
    return 0;
}
