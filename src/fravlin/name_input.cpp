#include "fravlin/name_input.h"

#include <cctype>
#include <cstdio>

#include "fravlin/name_words.h"
#include "fravlin/platform.h"

namespace {

// The rest of the last typed line: words left on it answer the next
// prompts before another line is asked for.
TypedLine g_line;

bool too_long(const std::string& name)
{
    std::size_t length = 0;
    for (const char byte : name)
        length += name_length_of(static_cast<unsigned char>(byte));
    return length > MAX_NAME_LENGTH;
}

NameRead read_typed_name(std::string& name)
{
    while (!take_word(g_line, name)) {
        if (!read_typed_line(g_line.text))
            return NameRead::NONE;
        g_line.next = 0;
    }
    return too_long(name) ? NameRead::TOO_LONG : NameRead::GIVEN;
}

NameRead read_piped_name(std::string& name)
{
    int c;
    do
        c = std::getchar();
    while (c != EOF && std::isspace(c));
    if (c == EOF)
        return NameRead::NONE;
    name.clear();
    std::size_t length = 0;
    do {
        name.push_back(static_cast<char>(c));
        length += name_length_of(static_cast<unsigned char>(c));
        if (length > MAX_NAME_LENGTH)
            return NameRead::TOO_LONG;
        c = std::getchar();
    } while (c != EOF && !std::isspace(c));
    if (c != EOF)
        std::ungetc(c, stdin);
    name_bytes_to_utf8(name);
    return NameRead::GIVEN;
}

}  // namespace

NameRead read_name(std::string& name)
{
    return use_line_editor() ? read_typed_name(name) : read_piped_name(name);
}
