#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "spectrum/spectrum.h"

namespace {

struct Record {
    double frequency, real, imaginary;
};

struct Read {
    long count;
    std::vector<Record> records;
};

Read read_text(const std::string& text)
{
    std::FILE* file = fmemopen(const_cast<char*>(text.data()), text.size(), "rb");
    if (text.empty())
        file = std::tmpfile();
    Spectrum spectrum = make_spectrum();
    read_spectrum(file, spectrum);
    std::fclose(file);
    Read result{spectrum.count, {}};
    for (long i = 0; i < spectrum.count + 1; ++i)
        result.records.push_back({spectrum.frequency[i], spectrum.real[i], spectrum.imaginary[i]});
    return result;
}

const struct {
    const char* title;
    const char* text;
    std::vector<Record> records;
} CASES[] = {
    {"empty", "", {}},
    {"white space only", " \n\t\r\n ", {}},
    {"three lines", "1 2 3\n4 5 6\n7 8 9\n", {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}},
    {"one line", "1 2 3 4 5 6 7 8 9", {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}},
    {"one number per line", "1\n2\n3\n4\n5\n6\n7\n8\n9\n", {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}},
    {"CR LF", "1 2 3\r\n4 5 6\r\n7 8 9\r\n", {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}},
    {"last line of two numbers", "1 2 3\n10 0.5\n", {{1, 2, 3}, {10, 0.5, 0}}},
    {"letter stops the reading", "1 2 3\n4 5 6\n3.0 x 1.0\n7 8 9\n", {{1, 2, 3}, {4, 5, 6}, {3, 0, 0}}},
    {"lone sign is consumed", "1 2 3\n4 - 6\n7 8 9\n", {{1, 2, 3}, {4, 0, 0}, {6, 7, 8}, {9, 0, 0}}},
    {"column titles", "freq re im\n1 2 3\n", {}},
    {"exponents and signs", "-1.5e2 +2E-1 .5\n", {{-150, 0.2, 0.5}}},
};

TEST(ReadSpectrum, EdgeCases)
{
    for (const auto& c : CASES) {
        SCOPED_TRACE(c.title);
        const Read read = read_text(c.text);
        ASSERT_EQ(read.count, long(c.records.size()));
        for (std::size_t i = 0; i < c.records.size(); ++i) {
            EXPECT_EQ(read.records[i].frequency, c.records[i].frequency) << i;
            EXPECT_EQ(read.records[i].real, c.records[i].real) << i;
            EXPECT_EQ(read.records[i].imaginary, c.records[i].imaginary) << i;
        }
        // The slot after the last record is untouched.
        const Record& after = read.records.back();
        EXPECT_EQ(after.frequency, 0.0);
        EXPECT_EQ(after.real, 0.0);
        EXPECT_EQ(after.imaginary, 0.0);
    }
}

}  // namespace
