// Times read_spectrum against the fscanf reader on a file of MAX_POINTS
// "%.6e %.6e %.6e" records, and checks that both give the same bits.
//
//   build/bench_read_spectrum [file [runs]]
//
// The file is written first when it does not exist (about 40 MB). Each run
// opens the file and reads it into a fresh spectrum, so the first touch of
// the spectrum's pages is part of the time, as it is in the program.
#include "spectrum/read_spectrum_detail.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <ctime>
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

double cpu_seconds()
{
    return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

struct Times {
    std::vector<double> wall, cpu;
};

// Times one whole reading of the file, in elapsed and in processor time (the
// latter is steadier on a shared machine); the spectrum is kept.
void time_reading(Reader reader, const char* path, Spectrum& spectrum, Times& times)
{
    spectrum = make_spectrum();
    double cpu_start = cpu_seconds();
    auto start = std::chrono::steady_clock::now();
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) {
        std::perror(path);
        std::exit(1);
    }
    reader(file, spectrum);
    std::fclose(file);
    times.wall.push_back(
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    times.cpu.push_back(cpu_seconds() - cpu_start);
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
    int runs = argc > 2 ? std::atoi(argv[2]) : 9;
    if (std::FILE* existing = std::fopen(path, "r")) {
        std::fclose(existing);
    } else if (!write_file(path)) {
        std::perror(path);
        return 1;
    }

    Spectrum fast, reference;
    Times fast_times, stdio_times;
    for (int run = 0; run < runs; ++run) {
        // Alternated so that both see the same state of the machine.
        time_reading(read_spectrum_fscanf, path, reference, stdio_times);
        time_reading(read_spectrum, path, fast, fast_times);
    }
    if (!same(fast, reference)) {
        std::fprintf(stderr, "the readers differ on %s\n", path);
        return 1;
    }
    std::printf("records: %ld, runs: %d, medians in seconds\n", fast.count, runs);
    std::printf("               elapsed   processor\n");
    std::printf("fscanf reader  %7.3f   %7.3f\n", median(stdio_times.wall),
                median(stdio_times.cpu));
    std::printf("fast reader    %7.3f   %7.3f\n", median(fast_times.wall), median(fast_times.cpu));
    std::printf("ratio          %7.1f   %7.1f\n",
                median(stdio_times.wall) / median(fast_times.wall),
                median(stdio_times.cpu) / median(fast_times.cpu));
    return 0;
}
