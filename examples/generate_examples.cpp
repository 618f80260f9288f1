// Writes the example spectra: a broadband excitation and the response of a
// single-degree-of-freedom oscillator to it, so that dividing the two
// recovers the oscillator's frequency response
//
//     H(f) = 1 / (k (1 - r^2 + i 2 zeta r)),   r = f / NATURAL_FREQUENCY.
//
// Usage: generate_examples RESPONSE EXCITATION
#include <cerrno>
#include <cmath>
#include <complex>
#include <cstdio>
#include <cstring>
#include <random>

#include "example_system.h"

namespace {

bool write_spectrum(const char* name, const std::complex<double>* values)
{
    std::FILE* file = std::fopen(name, "w");
    if (file == nullptr) {
        std::fprintf(stderr, "generate_examples: %s: %s\n", name, std::strerror(errno));
        return false;
    }
    for (int i = 0; i < EXAMPLE_POINTS; ++i)
        std::fprintf(file, "%.6f %.9e %.9e\n", example_frequency(i), values[i].real(),
                     values[i].imag());
    if (std::fclose(file) != 0) {
        std::fprintf(stderr, "generate_examples: %s: %s\n", name, std::strerror(errno));
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: generate_examples RESPONSE EXCITATION\n");
        return 2;
    }
    static std::complex<double> excitation[EXAMPLE_POINTS];
    static std::complex<double> response[EXAMPLE_POINTS];

    // A force spectrum as a hammer or a random shaker signal gives it: level
    // falling slowly with frequency, random phase, never zero.
    std::mt19937 generator(20030908);
    std::uniform_real_distribution<double> phase(-M_PI, M_PI);
    std::uniform_real_distribution<double> ripple(0.8, 1.2);
    for (int i = 0; i < EXAMPLE_POINTS; ++i) {
        const double level = 10.0 / (1.0 + example_frequency(i) / 400.0) * ripple(generator);
        excitation[i] = std::polar(level, phase(generator));
        response[i] = example_frf(example_frequency(i)) * excitation[i];
    }
    return write_spectrum(argv[1], response) && write_spectrum(argv[2], excitation) ? 0 : 1;
}
