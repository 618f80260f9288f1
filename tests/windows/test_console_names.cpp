// Names typed at a console: the line the console gives in UTF-16, in UTF-8
// and split into words, with Ctrl-Z ending the input.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fravlin/name_words.h"
#include "fravlin/platform.h"

namespace {

TEST(ConsoleNames, LinesInUtf8WordByWord)
{
    using Words = std::vector<std::string>;
    const struct {
        const char* title;
        std::wstring typed;
        Words words;
        bool input_goes_on;
    } cases[] = {
        {"empty line", L"\r\n", {}, true},
        {"ASCII names", L"r.txt e.txt\r\n", {"r.txt", "e.txt"}, true},
        {"outside code page 437",
         L"\u20acuro.txt \u03b1\u03b2\u03b3.txt\r\n",
         {"\xe2\x82\xacuro.txt", "\xce\xb1\xce\xb2\xce\xb3.txt"},
         true},
        {"Latin-1 letters", L"  r\u00e9sum\u00e9.txt\r\n", {"r\xc3\xa9sum\xc3\xa9.txt"}, true},
        {"CJK", L"\u65e5\u672c.txt\r\n", {"\xe6\x97\xa5\xe6\x9c\xac.txt"}, true},
        {"a surrogate pair", L"\U0001f600.txt\r\n", {"\xf0\x9f\x98\x80.txt"}, true},
        {"a no-break space is part of the name",
         L"a\u00a0b\r\n",
         {"a\xc2\xa0"
          "b"},
         true},
        {"Ctrl-Z alone", L"\x1a\r\n", {}, false},
        {"Ctrl-Z after a name", L"r.txt\x1a\r\n", {"r.txt"}, false},
        {"Ctrl-Z ends the line", L"r.txt\x1a e.txt\r\n", {"r.txt"}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.title);
        TypedLine line;
        EXPECT_EQ(console_line_to_utf8(c.typed, line.text), c.input_goes_on);
        Words words;
        std::string word;
        while (take_word(line, word))
            words.push_back(word);
        EXPECT_EQ(words, c.words);
    }
}

}  // namespace
