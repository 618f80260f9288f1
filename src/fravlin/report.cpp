#include "fravlin/report.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr std::size_t SHOWN_NAME_MAX = 100;

int g_output_error = 0;

}  // namespace

void flush_output()
{
    errno = 0;
    if (std::fflush(stdout) != 0 && g_output_error == 0)
        g_output_error = errno_or(EIO);
}

int output_error()
{
    return g_output_error != 0 || !std::ferror(stdout) ? g_output_error : EIO;
}

void report(const char* name, const char* reason)
{
    flush_output();
    const std::size_t length = std::strlen(name);
    if (length <= SHOWN_NAME_MAX) {
        std::fprintf(stderr, "fravlin: %s: %s\n", name, reason);
        return;
    }
    std::size_t shown = SHOWN_NAME_MAX;
    while (shown > 0 && (static_cast<unsigned char>(name[shown]) & 0xc0) == 0x80)
        --shown;
    std::fprintf(stderr, "fravlin: %.*s...: %s\n", static_cast<int>(shown), name, reason);
}

void report(const FileError& error)
{
    report(error.name, std::strerror(error.code));
}
