// Prints what a reader yields for files in the fuzz target's format (first
// byte: record limit, second: chunk size, the rest: the text), one line per
// file with every field's bits. The output of the fast reader built for
// another system can so be compared with that of the fscanf reader on glibc:
//
//   build/replay_read_spectrum --stdio corpus/* > glibc.txt
//   cmake/wine-run.sh win32 build-windows/wineprefix build-windows/replay_read_spectrum.exe corpus/* > fast.txt
//   diff glibc.txt fast.txt
//
// A file that crashed the fuzz target is replayed the same way, one name.
#include "spectrum/read_spectrum_detail.h"

#include <bit>
#include <cinttypes>
#include <cstdint>
#include <cstring>

int main(int argc, char** argv)
{
    bool use_stdio = argc > 1 && std::strcmp(argv[1], "--stdio") == 0;
    Spectrum spectrum = make_spectrum();
    if (!spectrum.storage)
        return 1;
    for (int a = use_stdio ? 2 : 1; a < argc; ++a) {
        std::FILE* file = std::fopen(argv[a], "rb");
        if (file == nullptr) {
            std::perror(argv[a]);
            return 1;
        }
        int limit = std::fgetc(file), chunk = std::fgetc(file);
        if (limit == EOF || chunk == EOF) {
            std::fclose(file);
            continue;
        }
        long max_points = (limit & 7) == 7 ? MAX_POINTS : (limit & 7) + 1;
        ReadOutcome outcome = use_stdio
                                  ? read_spectrum_fscanf_limited(file, spectrum, max_points)
                                  : read_spectrum_limited(file, spectrum, max_points,
                                                          static_cast<std::size_t>(chunk) + 1);
        std::fclose(file);
        const char* name = std::strrchr(argv[a], '/');
        std::printf("%s %ld %d %d", name != nullptr ? name + 1 : argv[a], spectrum.count,
                    outcome.records_ignored ? 1 : 0, outcome.error.code);
        for (long i = 0; i < spectrum.count; ++i) {
            for (double* field :
                 {&spectrum.frequency[i], &spectrum.real[i], &spectrum.imaginary[i]}) {
                std::printf(" %016" PRIx64, std::bit_cast<std::uint64_t>(*field));
                *field = 0.0;
            }
        }
        std::printf("\n");
    }
    return 0;
}
