// Writes two spectra of N records at the same frequencies, three columns
// in "%.6e", for timing the program on long inputs.
// Usage: make_spectra N RESPONSE EXCITATION
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>

namespace {

bool write_spectrum(const char* name, long records, unsigned seed)
{
    std::FILE* file = std::fopen(name, "w");
    if (file == nullptr) {
        std::fprintf(stderr, "make_spectra: %s: %s\n", name, std::strerror(errno));
        return false;
    }
    std::mt19937_64 generator(seed);
    std::normal_distribution<double> value(0.0, 3.0);
    for (long i = 0; i < records; ++i)
        std::fprintf(file, "%.6e %.6e %.6e\n", static_cast<double>(i) * 0.125, value(generator),
                     value(generator));
    if (std::fclose(file) != 0) {
        std::fprintf(stderr, "make_spectra: %s: %s\n", name, std::strerror(errno));
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: make_spectra N RESPONSE EXCITATION\n");
        return 2;
    }
    const long records = std::strtol(argv[1], nullptr, 10);
    return write_spectrum(argv[2], records, 1) && write_spectrum(argv[3], records, 2) ? 0 : 1;
}
