// The console dialogue: one fixed pass from the banner to the key wait.
//
// run_dialogue asks for the response and the excitation file on standard
// output, reads their names from standard input as "%s" reads words,
// creates the result files, reads and summarises both spectra, divides them
// and waits for a key. It returns the exit status: 0 for a complete run,
// 3 for a complete run whose inputs were likely misread (see
// report_inputs), 2 when the division stopped at a frequency mismatch, 1
// when the run could not be carried out (the reason is on standard error).
#pragma once

#include "spectrum/spectrum.h"

inline constexpr int EXIT_COMPLETE = 0;
inline constexpr int EXIT_FAILED = 1;
inline constexpr int EXIT_SYNC_ERROR = 2;
inline constexpr int EXIT_SUSPECT_INPUT = 3;

int run_dialogue();

// Prints one statistics block; `last_line` is a printf format taking the
// last record's frequency.
void print_spectrum_summary(const char* title, const Spectrum& spectrum, const char* last_line);
