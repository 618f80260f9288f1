// The platform layer under the dialogue: the single-key wait and the
// opening of input files.
//
// wait_for_key reads one key press from the console itself, never from
// standard input: no echo, no Enter, keys typed ahead count, a key that
// sends several bytes is consumed whole. Without a console it returns at
// once. The console's settings are restored on every way out.
//
// open_input_file opens a file for reading without text translation; it
// refuses a directory. On failure it returns null and sets `error` to the
// errno value that explains why.
//
// same_file tells whether an open file and a path name the same file
// (false when the path does not exist).
//
// open_error gives the errno value that explains why the file `name` could
// not be opened, from the one that the open set.
#pragma once

#include <cstdio>

void wait_for_key();

std::FILE* open_input_file(const char* name, int& error);

bool same_file(std::FILE* file, const char* path);

int open_error(const char* name, int error);
