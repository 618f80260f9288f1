// locate_positions: the lines of records and where the reading stopped,
// right at every chunk size, so across every chunk boundary.
#include "spectrum/read_spectrum_detail.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

std::FILE* open_text(const std::string& text)
{
    std::FILE* file = fmemopen(const_cast<char*>(text.data()), text.size(), "r");
    if (file == nullptr)
        std::abort();
    return file;
}

// Reads the text as the program does, then asks for the given records and
// for the stop when there was one.
InputPositions locate(const std::string& text, std::vector<long> records, std::size_t chunk_size)
{
    static Spectrum spectrum = make_spectrum();
    std::FILE* file = open_text(text);
    const ReadOutcome outcome =
        read_spectrum_limited(file, spectrum, MAX_POINTS, DEFAULT_CHUNK_SIZE);
    PositionQuery query;
    query.count = spectrum.count;
    query.stop = outcome.stopped_at_text;
    for (std::size_t k = 0; k < records.size(); ++k)
        query.records[k] = records[k];
    InputPositions found = locate_positions_limited(file, query, chunk_size);
    std::fclose(file);
    return found;
}

struct Case {
    const char* name;
    std::string text;
    std::vector<long> records;
    std::vector<long long> record_lines;
    long long first_numbers_line;
    long first_numbers_count;
    long long stop_line;  // 0: no stop
    long long stop_column;
    std::string stop_text;
};

const Case CASES[] = {
    {"clean file", "1 2 3\n4 5 6\n7 8 9\n", {0, 2}, {1, 3}, 1, 3, 0, 0, ""},
    {"header line", "Frequency Real Imag\n1 2 3\n", {}, {}, 0, 0, 1, 1, "Frequency Real Imag"},
    {"comment in the middle", "1 2 3\n4 5 6\n# pause\r\n7 8 9\n", {1}, {2}, 1, 3, 3, 1, "# pause"},
    {"comma after the first number", "\n\n0.5,1,2\n", {0}, {3}, 3, 1, 3, 4, ",1,2"},
    {"NUL byte",
     std::string("1 2 3\n4 5 6 \0 x\n", 16),
     {},
     {},
     1,
     3,
     2,
     7,
     std::string("\0 x", 3)},
    {"four columns", "1 2 3 4\n5 6 7 8\n9 10 11 12\nend", {1, 3}, {1, 3}, 1, 4, 4, 1, "end"},
    {"record across lines", "1\n2\n3\n\n4 5\n6", {1}, {5}, 1, 1, 0, 0, ""},
    {"stop after blanks at the end of a long line",
     "1 2 3" + std::string(100, ' ') + "\tword",
     {},
     {},
     1,
     3,
     1,
     107,
     "word"},
    {"a malformed number consumes a line end", "1 in\n2 3\n4 5 6", {1}, {2}, 1, 1, 0, 0, ""},
};

TEST(LocatePositions, EveryChunkSize)
{
    for (const Case& c : CASES) {
        for (std::size_t chunk_size = 1; chunk_size <= c.text.size() + 1; ++chunk_size) {
            SCOPED_TRACE(std::string(c.name) + ", chunk size " + std::to_string(chunk_size));
            const InputPositions found = locate(c.text, c.records, chunk_size);
            ASSERT_TRUE(found.known);
            for (std::size_t k = 0; k < c.records.size(); ++k)
                EXPECT_EQ(found.record_line[k], c.record_lines[k]) << "record " << c.records[k];
            EXPECT_EQ(found.first_numbers_line, c.first_numbers_line);
            EXPECT_EQ(found.first_numbers_count, c.first_numbers_count);
            EXPECT_EQ(found.stop_line, c.stop_line);
            EXPECT_EQ(found.stop_column, c.stop_column);
            EXPECT_EQ(std::string(found.stop_text, found.stop_text_length), c.stop_text);
        }
    }
}

TEST(LocatePositions, LongRestOfLineIsCut)
{
    const std::string text = "1 2 3\n#" + std::string(500, '-') + "\n4 5 6\n";
    const InputPositions found = locate(text, {}, 7);
    EXPECT_EQ(found.stop_line, 2);
    EXPECT_EQ(found.stop_text_length, STOP_TEXT_CAPACITY);
    EXPECT_TRUE(found.stop_text_cut);
    EXPECT_EQ(found.stop_text[0], '#');
}

// Generated files of plain numbers whose every position is known from
// their making: lines of one or more records, or records split over lines,
// blank lines and CR LF line ends, and text after the records.
TEST(LocatePositions, GeneratedFilesAtManyChunkSizes)
{
    std::mt19937_64 random(8);
    auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    for (int file = 0; file < 200; ++file) {
        std::string text;
        long long line = 1;
        std::size_t line_start = 0;
        std::vector<long long> record_lines;
        const int records = 1 + pick(40);
        for (int i = 0; i < records; ++i) {
            for (int k = 0; k < 3; ++k) {
                text += std::string(static_cast<std::size_t>(pick(3)), " \t"[pick(2)]);
                if (k == 0)
                    record_lines.push_back(line);
                text += std::to_string(pick(100000)) + "." + std::to_string(pick(100));
                const int separator = pick(10);
                if (separator == 0 || (k == 2 && separator < 8)) {
                    text += pick(4) == 0 ? "\r\n" : "\n";
                    ++line;
                    line_start = text.size();
                    if (pick(8) == 0) {
                        text += "\n";
                        ++line;
                        line_start = text.size();
                    }
                } else {
                    text += " ";
                }
            }
        }
        const long long stop_column = static_cast<long long>(text.size() - line_start) + 1;
        text += "end of data\r\n9 9 9\n";
        const long asked = pick(records);
        for (std::size_t chunk_size : {std::size_t{1}, std::size_t{2}, std::size_t{5},
                                       std::size_t{13}, std::size_t{64}, DEFAULT_CHUNK_SIZE}) {
            const InputPositions found = locate(text, {asked, records - 1L}, chunk_size);
            ASSERT_EQ(found.record_line[0], record_lines[static_cast<std::size_t>(asked)])
                << "file " << file << ", chunk size " << chunk_size << ":\n"
                << text;
            ASSERT_EQ(found.record_line[1], record_lines.back()) << "file " << file;
            ASSERT_EQ(found.stop_line, line) << "file " << file;
            ASSERT_EQ(found.stop_column, stop_column) << "file " << file;
            ASSERT_EQ(std::string(found.stop_text, found.stop_text_length), "end of data");
        }
    }
}

TEST(LocatePositions, StopsEarlyWhenNothingFurtherIsAsked)
{
    // Without questions about records, a clean file is read only until its
    // second line shows the first one whole.
    std::string text = "1 2 3\n4 5 6\n";
    for (int i = 0; i < 1000; ++i)
        text += "7 8 9\n";
    std::FILE* file = open_text(text);
    PositionQuery query;
    query.count = 1002;
    const InputPositions found = locate_positions_limited(file, query, 16);
    EXPECT_TRUE(found.known);
    EXPECT_EQ(found.first_numbers_count, 3);
    EXPECT_TRUE(found.numbers_after_first_line);
    EXPECT_LT(std::ftell(file), 100);
    std::fclose(file);
}

}  // namespace
