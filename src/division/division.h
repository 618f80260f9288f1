// Spectral division: response / excitation, index by index, written to the
// two result files "complex.out" and "magnitude_phase.out".
//
// open_result_files takes the two result streams, opened, checked and
// emptied by the caller through the platform layer (complex.out first),
// and makes them the run's ResultFiles. divide_spectra takes two read
// spectra, the common count and the ResultFiles; before each index it
// checks that the two frequencies agree within SYNC_TOLERANCE, and on the
// first mismatch prints "sync error" with both frequencies on standard
// output and stops. Zero excitations are not guarded: their infinities and
// NaNs are written as they come out. close_result_files completes both
// files on disk.
// File errors are returned as FileError records naming the file, with the
// reason of the first write that failed; nothing here writes to standard
// error.
#pragma once

#include <cstdio>
#include <memory>

#include "spectrum/file_error.h"
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

// The streams, their lines not yet written and the text of the last
// frequency: the division's own (division_detail.h).
struct ResultFilesState;
struct ResultFilesRelease {
    void operator()(ResultFilesState* state) const;  // closes what is still open, unchecked
};

struct ResultFiles {
    std::unique_ptr<ResultFilesState, ResultFilesRelease> state;
};

// Takes over the two streams, opened for writing as text: both are closed
// on failure. A failure is a shortage of memory for the lines.
FileError open_result_files(ResultFiles& files, std::FILE* complex, std::FILE* magnitude_phase);

// Writes what is pending, flushes and closes both files, checking every
// step. failures[0] is that of complex.out, failures[1] that of
// magnitude_phase.out: code 0 when the file is complete on disk, else the
// reason of its first failed write (a full disk shows here). False when
// either failed.
bool close_result_files(ResultFiles& files, FileError (&failures)[2]);

QuotientPoint compute_quotient_point(const Spectrum& response, const Spectrum& excitation, long j);

// Each appends one line for `point` to its file. Defined twice, one for
// each program: result_lines.cpp (fravlin) formats the lines itself,
// result_lines_plain.cpp (fravlin-stdio, the benchmark's reference) with
// fprintf.
void write_complex_line(ResultFiles& files, const QuotientPoint& point);
void write_magnitude_phase_line(ResultFiles& files, const QuotientPoint& point);

// The number of indices handled: `count`, or the index of the first
// frequency mismatch.
long divide_spectra(const Spectrum& response, const Spectrum& excitation, long count,
                    ResultFiles& files);
