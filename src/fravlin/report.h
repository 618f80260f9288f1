// Every message of the program to standard error goes through report: one
// line, "fravlin: NAME: REASON", written after standard output is flushed,
// so that the console shows the two streams in the order they were
// written. A name of more than 100 bytes is cut at a character's start
// and ends in "...", so that no message holds a name of thousands of bytes;
// control bytes in it are shown as \xNN.
// The FileError form gives the system's reason for its code (strerror).
//
// flush_output flushes standard output and keeps the errno value of its
// first failure, which output_error gives (0 while there was none): glibc
// drops the text of a failed flush, and a later flush succeeds, so the
// reason must be kept when it happens.
#pragma once

#include <string>
#include <string_view>

#include "spectrum/file_error.h"

void report(std::string_view name, const char* reason);
void report(const FileError& error);

void flush_output();
int output_error();

// Appends a byte that must not reach a terminal as it is: \t, \r, or
// \xNN.
void append_escaped_byte(std::string& text, unsigned char byte);
