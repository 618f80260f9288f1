// What a run should tell about its inputs beyond the console text: lines on
// standard error, "fravlin: NAME: ...", each after standard output is
// flushed.
//
// report_inputs is called once both spectra are read and divided, with the
// input streams still open (it reads them again from their start to name
// lines; see locate_positions). It tells where reading stopped early, a
// file without records, a first line that does not hold three numbers, a
// partial last record, frequencies paired half a step or more apart, the
// record of a sync error and zero excitations. A clean run writes nothing.
// It returns true when the results are likely not what the user meant: an
// input not read to its end, one without records, or misaligned frequencies.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

#include "spectrum/spectrum.h"

struct InputFile {
    const char* name;
    std::FILE* file;
    const Spectrum* spectrum;
    ReadOutcome outcome;
};

// `divided` is what divide_spectra returned: common_count, or the index of
// the sync error.
bool report_inputs(const InputFile& response, const InputFile& excitation, long common_count,
                   long divided);

// Up to 40 characters of text from a file, in double quotes, safe on a
// terminal: control bytes, bytes that are not UTF-8, the quote and the
// backslash are escaped (\t, \x00, \", \\); "..." follows when text was cut.
std::string quoted_text(const char* text, std::size_t length, bool cut);
