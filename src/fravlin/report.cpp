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
    if (g_output_error == 0 && std::ferror(stdout))
        return EIO;
    return g_output_error;
}

void append_escaped_byte(std::string& text, unsigned char byte)
{
    static const char HEX[] = "0123456789abcdef";
    if (byte == '\t') {
        text += "\\t";
    } else if (byte == '\r') {
        text += "\\r";
    } else {
        text += "\\x";
        text += HEX[byte >> 4];
        text += HEX[byte & 15];
    }
}

void report(std::string_view name, const char* reason)
{
    flush_output();
    // Control bytes (a NUL, an escape sequence) are shown escaped, so that
    // a name from a runaway script cannot disturb the terminal.
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
        std::string piece;
        if (control)
            append_escaped_byte(piece, first);
        else
            piece = name.substr(i, next - i);
        if (shown.size() + piece.size() > SHOWN_NAME_MAX)
            break;
        shown += piece;
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
