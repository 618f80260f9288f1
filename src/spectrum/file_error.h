// FileError: a file and the errno value that says what went wrong with it,
// the one shape in which the reader, the division, the platform layer and
// the dialogue hand a failure on. A code of 0 means that nothing failed;
// the name may be left null by a part that does not know it (the reader
// is given a stream, not a name), and is filled in by the caller that
// reports it.
#pragma once

#include <cerrno>

struct FileError {
    const char* name = nullptr;
    int code = 0;
};

// errno after a call that failed, or `fallback` when the call left it 0
// (the C standard does not require fread, fflush or fclose to set it).
inline int errno_or(int fallback)
{
    return errno != 0 ? errno : fallback;
}
