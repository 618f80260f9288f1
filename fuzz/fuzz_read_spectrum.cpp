// libFuzzer target: read_spectrum must yield bit for bit what the fscanf
// reader yields on any bytes.
//
// The first byte picks the record limit (1 to 7, or MAX_POINTS) so that the
// look-ahead past the limit is reached with short inputs; the second picks
// the chunk size (1 to 256 bytes) so that numbers straddle chunk boundaries.
// The rest is the file.
//
// Built with clang and -DFRAVLIN_FUZZ=ON; fuzz/run builds and runs it.
#include "spectrum/read_spectrum_detail.h"

#include <cstdint>
#include <cstring>

namespace {

void check(bool same, const char* what)
{
    if (!same) {
        std::fprintf(stderr, "readers differ: %s\n", what);
        std::abort();
    }
}

bool same_bits(const double* a, const double* b, long n)
{
    return std::memcmp(a, b, static_cast<std::size_t>(n) * sizeof(double)) == 0;
}

void clear(Spectrum& s, long n)
{
    std::size_t bytes = static_cast<std::size_t>(n) * sizeof(double);
    std::memset(s.frequency, 0, bytes);
    std::memset(s.real, 0, bytes);
    std::memset(s.imaginary, 0, bytes);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // Made once: a fresh 24 MB spectrum for every input would dominate the run.
    static Spectrum fast = make_spectrum();
    static Spectrum reference = make_spectrum();
    if (size < 2)
        return 0;
    long max_points = (data[0] & 7) == 7 ? MAX_POINTS : (data[0] & 7) + 1;
    std::size_t chunk_size = std::size_t{data[1]} + 1;
    void* text = const_cast<std::uint8_t*>(data + 2);

    std::FILE* file = fmemopen(text, size - 2, "r");
    std::FILE* reference_file = fmemopen(text, size - 2, "r");
    if (file == nullptr || reference_file == nullptr)
        std::abort();
    ReadOutcome got = read_spectrum_limited(file, fast, max_points, chunk_size);
    ReadOutcome want = read_spectrum_fscanf_limited(reference_file, reference, max_points);
    std::fclose(file);
    std::fclose(reference_file);

    check(fast.count == reference.count, "count");
    check(got.records_ignored == want.records_ignored, "records_ignored");
    check(got.error.code == want.error.code, "error");
    check(got.stopped_at_text == want.stopped_at_text, "stopped_at_text");
    check(got.last_record_fields == want.last_record_fields, "last_record_fields");
    long n = fast.count + 1 < max_points ? fast.count + 1 : max_points;
    check(same_bits(fast.frequency, reference.frequency, n), "frequency");
    check(same_bits(fast.real, reference.real, n), "real");
    check(same_bits(fast.imaginary, reference.imaginary, n), "imaginary");
    clear(fast, n);
    clear(reference, n);
    return 0;
}
