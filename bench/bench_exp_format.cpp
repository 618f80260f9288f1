// Microbenchmark: format_exponent against glibc's snprintf for the two result
// formats of the program ("%14.5e" and "%14.4e"), on two data sets:
//   spectra - values like the program's results: random sign and significand,
//             magnitudes log-uniform over 1e-12 .. 1e12;
//   bits    - uniformly random finite 64-bit patterns (every exponent).
// Prints the median ns per call over several runs:
//   build/bench_exp_format [values]
// build/bench_exp_format_counted also says how often the exact path ran.

#include "division/exp_format.h"

#include <algorithm>
#include <bit>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <random>
#include <vector>

#ifdef EXP_FORMAT_COUNT_SLOW
extern std::uint64_t exp_format_slow_count;
#endif

namespace {

std::vector<double> spectra_values(std::size_t n)
{
    std::mt19937_64 rng(12345);
    std::uniform_real_distribution<double> decade(-12.0, 12.0);
    std::uniform_real_distribution<double> unit(1.0, 10.0);
    std::vector<double> v(n);
    for (auto& x : v)
        x = unit(rng) * std::pow(10.0, std::floor(decade(rng))) * ((rng() & 1) ? -1.0 : 1.0);
    return v;
}

std::vector<double> bit_values(std::size_t n)
{
    std::mt19937_64 rng(54321);
    std::vector<double> v;
    v.reserve(n);
    while (v.size() < n) {
        const double x = std::bit_cast<double>(rng());
        if (std::isfinite(x))
            v.push_back(x);
    }
    return v;
}

template <class F>
double ns_per_call(const std::vector<double>& values, F format)
{
    char buf[64];
    std::uint64_t sink = 0;
    const auto start = std::chrono::steady_clock::now();
    for (double x : values)
        sink += static_cast<std::uint64_t>(format(buf, x)) + static_cast<unsigned char>(buf[3]);
    const auto stop = std::chrono::steady_clock::now();
    if (sink == 42)  // keeps the work observable
        std::puts("");
    return std::chrono::duration<double, std::nano>(stop - start).count()
           / static_cast<double>(values.size());
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv)
{
    const std::size_t n = argc > 1 ? std::stoul(argv[1]) : 100000;
    const int runs = 31;
    struct Set {
        const char* name;
        std::vector<double> values;
    };
    const Set sets[] = {{"spectra", spectra_values(n)}, {"bits", bit_values(n)}};

    std::printf("%-8s %-6s %12s %12s %8s\n", "data", "format", "ours ns", "snprintf ns", "speedup");
    for (const auto& set : sets) {
        for (int precision : {5, 4}) {
            std::vector<double> ours, libc;
            for (int r = 0; r < runs; ++r) {
                ours.push_back(ns_per_call(set.values, [&](char* b, double x) {
                    return format_exponent(b, x, 14, precision) - b;
                }));
                libc.push_back(ns_per_call(set.values, [&](char* b, double x) {
                    return std::snprintf(b, 64, "%14.*e", precision, x);
                }));
            }
            const double a = median(ours), c = median(libc);
            std::printf("%-8s %%14.%de %12.1f %12.1f %7.1fx\n", set.name, precision, a, c, c / a);
        }
    }
#ifdef EXP_FORMAT_COUNT_SLOW
    std::printf("exact path taken %llu times in %llu calls\n",
                static_cast<unsigned long long>(exp_format_slow_count),
                static_cast<unsigned long long>(2ull * runs * 2 * n));
#endif
}
