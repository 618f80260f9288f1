// Spectrum: one complex function of frequency, read from a text file of
// records "frequency real imaginary".
//
// read_spectrum takes an open stream and a spectrum made by make_spectrum,
// and yields exactly the records that a loop of fscanf(file, "%lf %lf %lf")
// yields: a read that converts one or two fields still counts as a record,
// its other fields keep 0.0; reading stops at the end of the file, at the
// first read that converts nothing, or after MAX_POINTS records.
// It never prints; what went wrong is returned in ReadOutcome.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "spectrum/file_error.h"

inline constexpr long MAX_POINTS = 1000000;

struct FreeDeleter {
    void operator()(double* block) const { std::free(block); }
};

struct Spectrum {
    std::unique_ptr<double[], FreeDeleter> storage;  // 3 * MAX_POINTS, zero-filled
    double* frequency = nullptr;
    double* real = nullptr;
    double* imaginary = nullptr;
    long count = 0;
};

// Reserves zero-filled room for MAX_POINTS records. The pages are only
// touched as records arrive, so a small file costs little memory.
// On a shortage of memory the storage is null.
Spectrum make_spectrum();

struct ReadOutcome {
    bool records_ignored = false;  // more records followed the first MAX_POINTS
    FileError error;               // a read error (its code; no name), code 0 when none
    // The read that ended the reading met something other than a number,
    // before the end of the file (not set when MAX_POINTS stopped it).
    bool stopped_at_text = false;
    int last_record_fields = 0;  // numbers converted in the last record, 0 when none
};

// Defined twice, one for each program: read_spectrum_fast.cpp (fravlin)
// reads with the fast chunked reader, read_spectrum_plain.cpp
// (fravlin-stdio, the benchmark's reference) with fscanf itself.
ReadOutcome read_spectrum(std::FILE* file, Spectrum& spectrum);
