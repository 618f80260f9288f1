// The platform layer: everything the program asks of the system, with one
// implementation for POSIX (platform_posix.cpp, name_input_editline.cpp)
// and one for Windows (platform_windows.cpp, name_input_windows.cpp).
// Names are UTF-8 throughout the program; the Windows side turns them into
// the system's UTF-16. Failures come back as a FileError: the name given
// and the errno value that explains it.
//
// The process. prepare_process runs first: a write over the file-size
// limit then fails with its reason instead of killing the process, and a
// standard stream that is closed keeps its number, so that no file opened
// later takes it.
//
// The key wait. wait_for_key reads one key press from the console itself,
// never from standard input: no echo, no Enter, keys typed ahead count, a
// key that sends several bytes is consumed whole, and what is still queued
// after it is discarded. Without a console it returns at once. The
// console's settings are restored on every way out: a signal that ends or
// stops the process gives them back first, and a continued process waits
// for a single key again.
//
// Input files. open_input_file opens a file for reading without text
// translation; it refuses a directory.
//
// Result files, opened in steps so that each is checked before anything
// in it is lost: open_result_stream opens (or creates) one for writing as
// text without emptying it; lock_result_stream keeps other runs from
// writing it until this process ends; empty_result_stream then empties it.
// RESULT_FILE_LOCKED, the code given for a file that another run holds, is
// no errno value.
//
// File identity. same_file tells whether an open file and a path name the
// same file (false when the path does not exist); same_open_file whether
// two open files are one. Both compare the system's identity of the file
// (device and inode; volume and file index), whatever name or link it was
// reached by.
//
// Names. MAX_NAME_LENGTH is the longest name that the system can open, and
// name_length_of the share of it that each byte of a UTF-8 name takes:
// bytes on POSIX; UTF-16 units on Windows, where a byte that continues a
// character adds none and a character beyond the 16-bit range takes two.
//
// The console's name input, where it differs. use_line_editor tells
// whether names are typed at a terminal or console (standard input, and on
// POSIX standard output too, is one); read_typed_line then reads one
// whole line as the user edited it: with libedit on POSIX (cursor keys,
// history, Tab completion of file names), in UTF-16 from the console on
// Windows, so that a name may hold any character whatever the console's
// code page. It is false at the end of input (Ctrl-D on an empty line,
// Ctrl-Z and Enter, or a failed read). name_bytes_to_utf8 makes a name
// read as bytes from a pipe or a file UTF-8: on Windows a name that is not
// valid UTF-8 is taken in the ANSI code page; on POSIX bytes stay bytes.
#pragma once

#include <climits>
#include <cstddef>
#include <cstdio>
#include <string>

#include "spectrum/file_error.h"

void prepare_process();

void wait_for_key();

std::FILE* open_input_file(const char* name, FileError& error);

inline constexpr int RESULT_FILE_LOCKED = -1;

std::FILE* open_result_stream(const char* name, FileError& error);
// A code of 0, RESULT_FILE_LOCKED or an errno value.
FileError lock_result_stream(std::FILE* file, const char* name);
FileError empty_result_stream(std::FILE* file, const char* name);

bool same_file(std::FILE* file, const char* path);
bool same_open_file(std::FILE* first, std::FILE* second);

#ifdef _WIN32
inline constexpr std::size_t MAX_NAME_LENGTH = 32767;
inline std::size_t name_length_of(unsigned char byte)
{
    return (byte & 0xc0) == 0x80 ? 0 : byte >= 0xf0 ? 2 : 1;
}
#else
inline constexpr std::size_t MAX_NAME_LENGTH = PATH_MAX;
inline std::size_t name_length_of(unsigned char)
{
    return 1;
}
#endif

bool use_line_editor();
bool read_typed_line(std::string& line);
void name_bytes_to_utf8(std::string& name);

#ifdef _WIN32
#include <string_view>

// A line as the console gave it (UTF-16, with its CR LF) in UTF-8. A Ctrl-Z
// ends the input, as it ends standard input read in text mode: the text
// before it is kept, and the result is false.
bool console_line_to_utf8(std::wstring_view typed, std::string& line);
#endif
