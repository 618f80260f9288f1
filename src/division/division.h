// Spectral division: response / excitation, index by index, written to the
// two result files "complex.out" and "magnitude_phase.out".
//
// divide_spectra takes two read spectra, the common count and open result
// files; before each index it checks that the two frequencies agree within
// SYNC_TOLERANCE, and on the first mismatch prints "sync error" with both
// frequencies on standard output and stops. Zero excitations are not
// guarded: their infinities and NaNs are written as they come out.
// File errors are returned as a FileError naming the file; nothing here
// writes to standard error.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>

#include "spectrum/spectrum.h"

extern const double PI_VALUE;  // atan2(0.0, -1.0), set before main runs
inline constexpr double SYNC_TOLERANCE = 1.0;

inline constexpr char COMPLEX_FILE_NAME[] = "complex.out";
inline constexpr char MAGNITUDE_PHASE_FILE_NAME[] = "magnitude_phase.out";

struct QuotientPoint {
    double frequency;
    double real;
    double imaginary;
    double magnitude;
    double phase;  // degrees
};

// Lines are gathered in blocks of this size; a line is far shorter than
// RESULT_LINE_MAX.
inline constexpr std::size_t RESULT_BLOCK_SIZE = 256 * 1024;
inline constexpr std::size_t RESULT_LINE_MAX = 256;

// One result file and the lines not yet handed to its stream: lines are
// formatted into a large block that goes to the stream in one write.
struct ResultFile {
    std::FILE* stream = nullptr;
    const char* name = nullptr;
    std::unique_ptr<char[]> pending;
    std::size_t length = 0;
    int error = 0;  // errno of the first write that failed; later ones may say less
};

struct ResultFiles {
    ResultFile complex;
    ResultFile magnitude_phase;
    // Both lines of an index start with the same frequency: the text made
    // for one is reused for the other.
    std::uint64_t frequency_bits = 0;
    char frequency_text[32] = {};
    std::size_t frequency_length = 0;
};

struct FileError {
    const char* name = nullptr;  // the file concerned; null when all went well
    int error = 0;               // its errno
};

// Takes over a stream opened for writing as a result file (the dialogue
// opens and checks them). False when memory for its lines is short.
bool attach_result_file(ResultFile& file, std::FILE* stream, const char* name);

// Hands the pending lines to the stream; false when the stream refused them.
bool flush_pending_lines(ResultFile& file);

// Keeps errno as the reason of a failed write, unless an earlier failure
// gave one.
void keep_write_error(ResultFile& file);

// Flushes and closes one file, checking every step; a write that failed
// earlier (a full disk) is reported here, with the reason it had then.
FileError close_result_file(ResultFile& file);

// The same for both files; the first failure is returned.
FileError close_result_files(ResultFiles& files);

QuotientPoint compute_quotient_point(const Spectrum& response, const Spectrum& excitation, long j);

void write_complex_line(ResultFiles& files, const QuotientPoint& point);
void write_magnitude_phase_line(ResultFiles& files, const QuotientPoint& point);

// True when all `count` indices were handled, false at a frequency mismatch.
bool divide_spectra(const Spectrum& response, const Spectrum& excitation, long count,
                    ResultFiles& files);
