// The words of a typed line, as "%s" takes them one after another.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fravlin/name_words.h"

namespace {

std::vector<std::string> words_of(const std::string& text)
{
    TypedLine line{text};
    std::vector<std::string> words;
    std::string word;
    while (take_word(line, word))
        words.push_back(word);
    EXPECT_FALSE(take_word(line, word)) << "a word after the end of the line";
    return words;
}

TEST(NameWords, TakenAsPercentSTakesThem)
{
    using Words = std::vector<std::string>;
    const struct {
        const char* title;
        std::string line;
        Words words;
    } cases[] = {
        {"empty line", "", {}},
        {"line end only", "\r\n", {}},
        {"white space only", " \t\v\f\r\n", {}},
        {"one name", "r.txt\n", {"r.txt"}},
        {"two names on one line", "r.txt e.txt\n", {"r.txt", "e.txt"}},
        {"every white-space character separates", "\ta\vb\fc\rd e\n", {"a", "b", "c", "d", "e"}},
        {"no line end", "  last", {"last"}},
        {"UTF-8 names",
         "r\xc3\xa9sum\xc3\xa9.txt \xe2\x82\xacuro.txt\r\n",
         {"r\xc3\xa9sum\xc3\xa9.txt", "\xe2\x82\xacuro.txt"}},
        {"a no-break space is part of the name",
         "a\xc2\xa0"
         "b.txt\n",
         {"a\xc2\xa0"
          "b.txt"}},
        {"other control characters are part of the name",
         "a\x1c"
         "b\n",
         {"a\x1c"
          "b"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(words_of(c.line), c.words) << c.title;
}

// A word stops at the white space after it; the next word starts after that.
TEST(NameWords, ContinuesWhereTheLastWordEnded)
{
    TypedLine line{"ab  cd"};
    std::string word;
    ASSERT_TRUE(take_word(line, word));
    EXPECT_EQ(word, "ab");
    EXPECT_EQ(line.next, 2u);
    ASSERT_TRUE(take_word(line, word));
    EXPECT_EQ(word, "cd");
    EXPECT_FALSE(take_word(line, word));
    EXPECT_EQ(word, "cd") << "a failed take leaves the word alone";
}

}  // namespace
