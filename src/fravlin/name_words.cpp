#include "fravlin/name_words.h"

namespace {

bool is_blank(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

}  // namespace

bool take_word(TypedLine& line, std::string& word)
{
    const std::string& text = line.text;
    std::size_t start = line.next;
    while (start < text.size() && is_blank(text[start]))
        ++start;
    std::size_t end = start;
    while (end < text.size() && !is_blank(text[end]))
        ++end;
    line.next = end;
    if (start == end)
        return false;
    word.assign(text, start, end - start);
    return true;
}
