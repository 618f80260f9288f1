// Writes the results of the C library functions that the division uses
// (atan2, sqrt, pow with exponent 2.0) for a fixed sequence of inputs, as
// raw doubles, so that the files of two platforms' builds can be compared
// bit by bit (the target libm_agreement of the Linux and the Windows build):
//   build/libm_agreement linux.bin
//   cmake/wine-run.sh win32 build-windows/wineprefix build-windows/libm_agreement.exe windows.bin
//   tools/compare_libm.py linux.bin windows.bin
// Inputs (1,000,000 by default, and a second argument says how many):
// alternately quotient parts of random spectra and random bit patterns,
// then every pair of signed zeros, ones, infinities and NaNs.
// pow is called with an exponent that the compiler cannot see, so it is the
// library's; the program's own pow(x, 2.0) is folded into x * x when it is
// compiled with optimisation.
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>

namespace {

// Opaque to the optimiser, so that the library functions are really called
// rather than folded.
volatile double g_two = 2.0;

void put(std::FILE* file, double value)
{
    std::fwrite(&value, sizeof value, 1, file);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return 2;
    std::FILE* file = std::fopen(argv[1], "wb");
    if (file == nullptr)
        return 1;
    const long count = argc > 2 ? std::atol(argv[2]) : 1000000;
    std::mt19937_64 generator(20030908);
    std::uniform_real_distribution<double> mantissa(-10.0, 10.0);
    std::uniform_int_distribution<int> exponent(-8, 8);
    for (long i = 0; i < count; ++i) {
        double y;
        double x;
        if (i % 2 == 0) {
            y = mantissa(generator) * std::ldexp(1.0, 3 * exponent(generator));
            x = mantissa(generator) * std::ldexp(1.0, 3 * exponent(generator));
        } else {
            y = std::bit_cast<double>(generator());
            x = std::bit_cast<double>(generator());
        }
        put(file, y);
        put(file, x);
        put(file, std::atan2(y, x));
        put(file, std::sqrt(std::fabs(y)));
        put(file, std::pow(x, g_two));
    }
    // Non-finite and signed-zero corners, every pair of them.
    const double corners[] = {0.0,
                              -0.0,
                              1.0,
                              -1.0,
                              INFINITY,
                              -INFINITY,
                              std::copysign(NAN, 1.0),
                              std::copysign(NAN, -1.0)};
    for (double y : corners)
        for (double x : corners) {
            put(file, y);
            put(file, x);
            put(file, std::atan2(y, x));
            put(file, std::sqrt(y));
            put(file, std::pow(x, g_two));
        }
    return std::fclose(file) == 0 ? 0 : 1;
}
