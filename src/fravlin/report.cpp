#include "fravlin/report.h"

#include <cstdio>
#include <cstring>
#include <string>

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

void report(std::string_view name, const char* reason)
{
    flush_output();
    // Control bytes (a NUL, an escape sequence) are shown escaped, so that
    // a name from a runaway script cannot disturb the terminal.
    static const char HEX[] = "0123456789abcdef";
    std::string shown;
    std::size_t i = 0;
    while (i < name.size()) {
        // One character: its first byte and the bytes that continue it.
        const auto first = static_cast<unsigned char>(name[i]);
        const bool control = first < 0x20 || first == 0x7f;
        std::size_t next = i + 1;
        while (!control && next < name.size()
               && (static_cast<unsigned char>(name[next]) & 0xc0) == 0x80)
            ++next;
        if (shown.size() + (control ? 4 : next - i) > SHOWN_NAME_MAX)
            break;
        if (control) {
            shown += "\\x";
            shown += HEX[first >> 4];
            shown += HEX[first & 15];
        } else {
            shown += name.substr(i, next - i);
        }
        i = next;
    }
    if (i < name.size())
        shown += "...";
    std::fprintf(stderr, "fravlin: %s: %s\n", shown.c_str(), reason);
}

void report(const FileError& error)
{
    report(error.name != nullptr ? error.name : "fravlin", std::strerror(error.code));
}
