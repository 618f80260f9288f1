// The platform layer under the dialogue: the process set-up, the
// single-key wait, the opening of input and result files, and the limit on
// names.
//
// prepare_process runs first: a write over the file-size limit then fails
// with its reason instead of killing the process, and a standard stream
// that is closed keeps its number, so that no file opened later takes it.
//
// wait_for_key reads one key press from the console itself, never from
// standard input: no echo, no Enter, keys typed ahead count, a key that
// sends several bytes is consumed whole, and what is still queued after it
// is discarded. Without a console it returns at once. The console's
// settings are restored on every way out: a signal that ends or stops the
// process gives them back first, and a continued process waits for a
// single key again.
//
// open_input_file opens a file for reading without text translation; it
// refuses a directory. On failure it returns null and sets `error` to the
// errno value that explains why.
//
// same_file tells whether an open file and a path name the same file
// (false when the path does not exist); same_open_file whether two open
// files are one.
//
// open_error gives the errno value that explains why the file `name` could
// not be opened, from the one that the open set.
//
// A result file is opened in steps, so that it is checked before anything
// in it is lost: open_result_stream opens (or creates) it for writing as
// text without emptying it; lock_result_stream keeps other runs from
// writing it until this process ends; empty_result_stream then empties it.
// RESULT_FILE_LOCKED, given by either for a file that another run holds,
// is no errno value.
#pragma once

#include <climits>
#include <cstddef>
#include <cstdio>

void prepare_process();

void wait_for_key();

std::FILE* open_input_file(const char* name, int& error);

bool same_file(std::FILE* file, const char* path);
bool same_open_file(std::FILE* first, std::FILE* second);

int open_error(const char* name, int error);

inline constexpr int RESULT_FILE_LOCKED = -1;

std::FILE* open_result_stream(const char* name, int& error);
// 0, RESULT_FILE_LOCKED or an errno value.
int lock_result_stream(std::FILE* file);
int empty_result_stream(std::FILE* file);

// The longest name that the system can open, and the share of it that each
// byte of a name takes: bytes on POSIX; UTF-16 units of the UTF-8 name on
// Windows, where a byte that continues a character adds none and a
// character beyond the 16-bit range takes two.
#ifdef _WIN32
inline constexpr std::size_t MAX_NAME_LENGTH = 32767;
inline std::size_t name_length_of(unsigned char byte)
{
    return (byte & 0xc0) == 0x80 ? 0 : byte >= 0xf0 ? 2 : 1;
}
#else
inline constexpr std::size_t MAX_NAME_LENGTH = PATH_MAX;
inline std::size_t name_length_of(unsigned char) { return 1; }
#endif
