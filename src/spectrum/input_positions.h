// Positions in a spectrum file that has been read: the lines of some
// records and where the reading stopped, for the messages about the file.
//
// locate_positions reads the file again from its start, item by item as
// read_spectrum reads it, but only as far as the answers need: for a file
// read to its end without questions about its records, that is its first
// two lines. Lines and columns count from 1, columns in bytes. A file that
// cannot be read again from its start (a pipe) gives known == false.
#pragma once

#include <cstddef>
#include <cstdio>

inline constexpr int MAX_ASKED_RECORDS = 4;
// Bytes kept of the text where the reading stopped: 40 characters of up to
// four bytes each.
inline constexpr std::size_t STOP_TEXT_CAPACITY = 160;

struct PositionQuery {
    long count = 0;     // records that the reading yielded
    bool stop = false;  // whether the reading stopped at text after them
    long records[MAX_ASKED_RECORDS] = {-1, -1, -1, -1};  // indices whose line is asked, -1 for none
};

struct InputPositions {
    bool known = false;
    long long record_line[MAX_ASKED_RECORDS] = {};  // line of the first number of each asked record
    long long first_numbers_line = 0;               // the first line holding a number, 0 when none
    long first_numbers_count = 0;                   // numbers read from it
    bool numbers_after_first_line = false;
    // Where the reading stopped (when asked): the first byte of the item
    // that is not a number, and the rest of its line, without its line end.
    long long stop_line = 0;
    long long stop_column = 0;
    char stop_text[STOP_TEXT_CAPACITY] = {};
    std::size_t stop_text_length = 0;
    bool stop_text_cut = false;  // the line goes on past stop_text
};

InputPositions locate_positions(std::FILE* file, const PositionQuery& query);
