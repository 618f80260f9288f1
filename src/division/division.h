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

#include <cstdio>

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

struct ResultFiles {
    std::FILE* complex = nullptr;
    std::FILE* magnitude_phase = nullptr;
};

struct FileError {
    const char* name = nullptr;  // the file concerned; null when all went well
    int error = 0;               // its errno
};

// Creates (or empties) "complex.out", then "magnitude_phase.out", as text.
// When one cannot be created, neither is left open.
FileError open_result_files(ResultFiles& files);

// Flushes and closes both files, checking every step; a write that failed
// earlier (a full disk) is reported here.
FileError close_result_files(ResultFiles& files);

QuotientPoint compute_quotient_point(const Spectrum& response, const Spectrum& excitation, long j);

void write_complex_line(ResultFiles& files, const QuotientPoint& point);
void write_magnitude_phase_line(ResultFiles& files, const QuotientPoint& point);

// True when all `count` indices were handled, false at a frequency mismatch.
bool divide_spectra(const Spectrum& response, const Spectrum& excitation, long count,
                    ResultFiles& files);
