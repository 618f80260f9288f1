// The words of the lines typed at a console or terminal, taken as "%s"
// takes them: white space before a word is skipped, a word ends at white
// space, and what follows it on the line is kept for the next word. White
// space is that of the "C" locale (blank, tab, line feed, vertical tab, form
// feed, carriage return); every other byte, those of UTF-8 included, belongs
// to a word.
#pragma once

#include <cstddef>
#include <string>

// A line read, and where its next word starts.
struct TypedLine {
    std::string text;
    std::size_t next = 0;
};

// Takes the next word of the line into `word`; false when only white space
// is left on it.
bool take_word(TypedLine& line, std::string& word);
