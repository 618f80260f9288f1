#include "name_input.h"

#include <cstdio>
#include <windows.h>

#include "name_words.h"

namespace {

// The rest of the last line read: words left on it answer the next prompts
// before another line is asked for.
TypedLine g_line;
// Set by a Ctrl-Z or a failed read: no further line is read.
bool g_input_ended = false;

// Reads one line, as the console edits and echoes it, into g_line; false
// at the end of input. A line longer than one read comes in several and is
// complete with its line feed.
bool read_line()
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
    if (!console_line_to_utf8(typed, g_line.text))
        g_input_ended = true;
    g_line.next = 0;
    return true;
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

bool read_edited_name(std::string& name)
{
    while (!take_word(g_line, name))
        if (!read_line())
            return false;
    return true;
}
