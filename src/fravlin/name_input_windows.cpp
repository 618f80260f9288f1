// The Windows side of the name input: lines typed at the console, read in
// UTF-16, and piped names in UTF-8 or the ANSI code page.
#include "fravlin/platform.h"

#include <cstdio>
#include <windows.h>

namespace {

// Set by a Ctrl-Z or a failed read: no further line is read.
bool g_input_ended = false;

bool valid_utf8(const std::string& text)
{
    return MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(),
                               static_cast<int>(text.size()), nullptr, 0)
           > 0;
}

}  // namespace

bool console_line_to_utf8(std::wstring_view typed, std::string& line)
{
    const std::size_t end_of_input = typed.find(L'\x1a');
    const std::wstring_view text = typed.substr(0, end_of_input);
    line.clear();
    if (!text.empty()) {
        const int length = static_cast<int>(text.size());
        const int size =
            WideCharToMultiByte(CP_UTF8, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
        if (size > 0) {
            line.resize(static_cast<std::size_t>(size));
            WideCharToMultiByte(CP_UTF8, 0, text.data(), length, line.data(), size, nullptr,
                                nullptr);
        }
    }
    return end_of_input == std::wstring_view::npos;
}

bool use_line_editor()
{
    DWORD mode;
    static const bool console = GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &mode) != 0;
    return console;
}

// One line, as the console edits and echoes it. A line longer than one
// read comes in several and is complete with its line feed.
bool read_typed_line(std::string& line)
{
    if (g_input_ended)
        return false;
    // The prompt texts were printed by the dialogue; they must be on the
    // screen before the console takes the input.
    std::fflush(stdout);
    const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    std::wstring typed;
    wchar_t chunk[256];
    do {
        DWORD count = 0;
        if (!ReadConsoleW(input, chunk, sizeof chunk / sizeof chunk[0], &count, nullptr)
            || count == 0) {
            g_input_ended = true;
            break;
        }
        typed.append(chunk, count);
    } while (typed.back() != L'\n');
    if (typed.empty())
        return false;
    if (!console_line_to_utf8(typed, line))
        g_input_ended = true;
    return true;
}

// Piped or redirected names are taken as UTF-8 when they are valid UTF-8,
// as a file written by a current editor or another system is, and in the
// ANSI code page otherwise.
void name_bytes_to_utf8(std::string& name)
{
    if (name.empty() || valid_utf8(name))
        return;
    const int length = static_cast<int>(name.size());
    const int size = MultiByteToWideChar(CP_ACP, 0, name.data(), length, nullptr, 0);
    if (size <= 0)
        return;
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_ACP, 0, name.data(), length, wide.data(), size);
    const int utf8_size =
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    if (utf8_size <= 0)
        return;
    name.resize(static_cast<std::size_t>(utf8_size));
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, name.data(), utf8_size, nullptr, nullptr);
}
