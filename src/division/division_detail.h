// What the result files hold between their opening and their close, for
// the line writers and their tests: lines are formatted into a large block
// per file that goes to its stream in one write.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>

#include "division/division.h"

// Lines are gathered in blocks of this size; a line is far shorter than
// RESULT_LINE_MAX.
inline constexpr std::size_t RESULT_BLOCK_SIZE = 256 * 1024;
inline constexpr std::size_t RESULT_LINE_MAX = 256;

// One result file and the lines not yet handed to its stream.
struct ResultFile {
    std::FILE* stream = nullptr;
    const char* name = nullptr;
    std::unique_ptr<char[]> pending;
    std::size_t length = 0;
    int error = 0;  // errno of the first write that failed; later ones may say less
};

struct ResultFilesState {
    ResultFile complex;
    ResultFile magnitude_phase;
    // Both lines of an index start with the same frequency: the text made
    // for one is reused for the other.
    std::uint64_t frequency_bits = 0;
    char frequency_text[32] = {};
    std::size_t frequency_length = 0;
};

// Hands the pending lines to the stream; false when the stream refused them.
bool flush_pending_lines(ResultFile& file);

// Keeps errno as the reason of a failed write, unless an earlier failure
// gave one.
void keep_write_error(ResultFile& file);
