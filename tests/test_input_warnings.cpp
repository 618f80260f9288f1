// End-to-end runs on inputs as analyzers and scripts write them: what is
// said on standard error and the exit status, with the console text and the
// result files as they always were.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "program.h"
#include "transcript.h"

namespace {

// Records of frequency start + i * step, as "%.6f" or "%.9f" columns: the
// response's real part is 1 + i, the excitation's 1, both imaginary parts 0.
std::string grid(int count, double start, double step, bool response = true, int digits = 6)
{
    std::string text;
    char line[128];
    for (int i = 0; i < count; ++i) {
        std::snprintf(line, sizeof line, "%.*f %.*f %.*f\n", digits, start + i * step, digits,
                      response ? 1.0 + i : 1.0, digits, 0.0);
        text += line;
    }
    return text;
}

const std::string RESPONSE = grid(12, 0, 0.25);
const std::string EXCITATION = grid(12, 0, 0.25, false);

std::string replaced(std::string text, const std::string& from, const std::string& to)
{
    for (std::size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size())
        text.replace(at, from.size(), to);
    return text;
}

// The first `lines` lines of text, or the rest after them.
std::string head(const std::string& text, int lines)
{
    std::size_t at = 0;
    for (int i = 0; i < lines; ++i)
        at = text.find('\n', at) + 1;
    return text.substr(0, at);
}
std::string tail(const std::string& text, int lines)
{
    return text.substr(head(text, lines).size());
}

std::string four_columns()
{
    std::string text;
    char line[128];
    for (int i = 0; i < 12; ++i) {
        std::snprintf(line, sizeof line, "%.6f %.6f %.6f 0.9\n", i * 0.25, 1.0 + i, 0.0);
        text += line;
    }
    return text;
}

struct Summary {
    long count;
    double first;
    double last;
};

std::string summary(const char* title, const Summary& s, const char* end)
{
    char text[256];
    std::snprintf(text, sizeof text,
                  "%s\n number of points   = %ld \n starting frequency = %12.5g"
                  "\n ending frequency   = %12.5g%s",
                  title, s.count, s.first, s.last, end);
    return text;
}

struct WarningCase {
    const char* title;
    std::string response;
    std::string excitation;
    const char* expected_error;  // standard error, exactly
    int status;
    Summary response_summary;
    Summary excitation_summary;
    const char* sync_error;  // the two lines on standard output, or ""
    long lines;              // in each result file
};

const Summary TWELVE{12, 0, 2.75};

// A table: one case to a few lines, as it reads best.
// clang-format off
const WarningCase CASES[] = {
    {"header line", "Frequency Real Imag\n" + RESPONSE, EXCITATION,
     "fravlin: r.txt: warning: no records: reading stopped at line 1, column 1, at "
     "\"Frequency Real Imag\", which is not a number\n",
     3, {0, 0, 0}, TWELVE, "", 0},
    {"a header longer than what is shown", "frequency_Hz real_part imaginary_part coherence\n" + RESPONSE,
     EXCITATION,
     "fravlin: r.txt: warning: no records: reading stopped at line 1, column 1, at "
     "\"frequency_Hz real_part imaginary_part co\"..., which is not a number\n",
     3, {0, 0, 0}, TWELVE, "", 0},
    {"comment lines at the top", "# made by the analyzer\n# f re im\n" + RESPONSE, EXCITATION,
     "fravlin: r.txt: warning: no records: reading stopped at line 1, column 1, at "
     "\"# made by the analyzer\", which is not a number\n",
     3, {0, 0, 0}, TWELVE, "", 0},
    {"comment line in the middle", head(RESPONSE, 6) + "# second sweep\n" + tail(RESPONSE, 6),
     EXCITATION,
     "fravlin: r.txt: warning: reading stopped after 6 records at line 7, column 1, at "
     "\"# second sweep\", which is not a number; the rest of the file was not read\n",
     3, {6, 0, 1.25}, TWELVE, "", 6},
    {"comma-separated values", replaced(RESPONSE, " ", ","), EXCITATION,
     "fravlin: r.txt: warning: the last record, on line 1, holds only 1 number; its real and "
     "imaginary parts were taken as 0\n"
     "fravlin: r.txt: warning: reading stopped after 1 record at line 1, column 9, at "
     "\",1.000000,0.000000\", which is not a number; the rest of the file was not read\n",
     3, {1, 0, 0}, TWELVE, "", 1},
    {"tab-separated values", replaced(RESPONSE, " ", "\t"), replaced(EXCITATION, " ", "\t"), "",
     0, TWELVE, TWELVE, "", 12},
    {"CR LF line ends", replaced(RESPONSE, "\n", "\r\n"), replaced(EXCITATION, "\n", "\r\n"), "",
     0, TWELVE, TWELVE, "", 12},
    {"a NUL byte", head(RESPONSE, 3) + std::string("\0\x01\n", 3) + tail(RESPONSE, 3), EXCITATION,
     "fravlin: r.txt: warning: reading stopped after 3 records at line 4, column 1, at "
     "\"\\x00\\x01\", which is not a number; the rest of the file was not read\n",
     3, {3, 0, 0.5}, TWELVE, "", 3},
    {"words after the data", RESPONSE, EXCITATION + "\t\"end\" of data\xff\xc3\xa9\r\n",
     "fravlin: e.txt: warning: reading stopped after 12 records at line 13, column 2, at "
     "\"\\\"end\\\" of data\\xff\xc3\xa9\", which is not a number; the rest of the file was not "
     "read\n",
     3, TWELVE, TWELVE, "", 12},
    {"an empty file", RESPONSE, "",
     "fravlin: e.txt: warning: no records: the file holds no numbers\n", 3, TWELVE, {0, 0, 0}, "",
     0},
    {"only white space", " \n\t\r\n", EXCITATION,
     "fravlin: r.txt: warning: no records: the file holds no numbers\n", 3, {0, 0, 0}, TWELVE, "",
     0},
    // Records taken in threes: 0 1 0, 0.9 0.25 2, 0 0.9 0.5, 3 0 0.9, ...
    {"four columns", four_columns(), EXCITATION,
     "fravlin: r.txt: warning: line 1, the first with numbers, holds 4 numbers; records are taken "
     "three numbers at a time regardless of lines\n"
     "fravlin: e.txt: warning: 1 of 3 pairs of frequencies lie half a frequency step or more "
     "apart, so records are likely paired with another bin's; the first is record 2: 0.9 on line "
     "1 of r.txt, 0.25 on line 2 of e.txt\n"
     "fravlin: e.txt: sync error at record 4: 3 on line 3 of r.txt, 0.75 on line 4 of e.txt, more "
     "than 1 apart; the result files hold only the 3 records before it\n",
     2, {16, 0, 12}, TWELVE, "\n sync error \n 3.000000 0.750000 \n", 3},
    {"a partial last line", RESPONSE + "3.000000 13.000000\n", EXCITATION,
     "fravlin: r.txt: warning: the last record, on line 13, holds only 2 numbers; its imaginary "
     "part was taken as 0\n",
     0, {13, 0, 3}, TWELVE, "", 12},
    {"an excitation that lacks its first three bins", RESPONSE, grid(12, 0.75, 0.25, false),
     "fravlin: e.txt: warning: 12 of 12 pairs of frequencies lie half a frequency step or more "
     "apart, so records are likely paired with another bin's; the first is record 1: 0 on line 1 "
     "of r.txt, 0.75 on line 1 of e.txt\n",
     3, TWELVE, {12, 0.75, 3.5}, "", 12},
    {"an excitation at half the rate", RESPONSE, grid(12, 0, 0.5, false),
     "fravlin: e.txt: warning: 4 of 5 pairs of frequencies lie half a frequency step or more "
     "apart, so records are likely paired with another bin's; the first is record 2: 0.25 on line "
     "2 of r.txt, 0.5 on line 2 of e.txt\n"
     "fravlin: e.txt: sync error at record 6: 1.25 on line 6 of r.txt, 2.5 on line 6 of e.txt, "
     "more than 1 apart; the result files hold only the 5 records before it\n",
     2, TWELVE, {12, 0, 5.5}, "\n sync error \n 1.250000 2.500000 \n", 5},
    {"a sync error at the first record", "10 1 0\n", "12 1 0\n",
     "fravlin: e.txt: sync error at record 1: 10 on line 1 of r.txt, 12 on line 1 of e.txt, more "
     "than 1 apart; the result files hold no records\n",
     2, {1, 10, 10}, {1, 12, 12}, "\n sync error \n 10.000000 12.000000 \n", 0},
    {"a zero excitation at one bin", RESPONSE,
     head(EXCITATION, 4) + "1.000000 0 -0.0\n" + tail(EXCITATION, 5),
     "fravlin: e.txt: warning: the excitation is 0 at 1 record, the first at record 5 (frequency "
     "1, line 5); the result lines there hold inf or nan\n",
     0, TWELVE, TWELVE, "", 12},
    {"grids written at 6 and at 9 digits", grid(12, 0, 1.0 / 3), grid(12, 0, 1.0 / 3, false, 9), "",
     0, {12, 0, 3.666667}, {12, 0, 3.666666667}, "", 12},
    {"a repeated frequency", "10 1 0\n10 1 0\n10 1 0\n", "10.5 1 0\n10.5 1 0\n10.5 1 0\n", "", 0,
     {3, 10, 10}, {3, 10.5, 10.5}, "", 3},
    {"one record each", "10 1 0\n", "10.5 1 0\n", "", 0, {1, 10, 10}, {1, 10.5, 10.5}, "", 1},
};
// clang-format on

long line_count(const std::string& text)
{
    return static_cast<long>(std::count(text.begin(), text.end(), '\n'));
}

TEST(InputWarnings, StandardErrorAndStatusWithTheConsoleTextUnchanged)
{
    for (const WarningCase& c : CASES) {
        SCOPED_TRACE(c.title);
        ScratchDir dir;
        write_file(dir / "r.txt", c.response);
        write_file(dir / "e.txt", c.excitation);
        const RunResult run = run_program(dir.path, "r.txt e.txt\n");
        EXPECT_EQ(run.err, c.expected_error);
        EXPECT_EQ(run.status, c.status);
        EXPECT_EQ(
            run.out,
            OPENING + EXCITATION_PROMPT
                + summary("\n\n Response Function Statistics \n", c.response_summary, " \n")
                + summary("\n\n Excitation Function Statistics \n", c.excitation_summary, " \n\n")
                + c.sync_error + CLOSING);
        EXPECT_EQ(line_count(read_text_file(dir / "complex.out")), c.lines);
        EXPECT_EQ(line_count(read_text_file(dir / "magnitude_phase.out")), c.lines);
    }
}

TEST(InputWarnings, AnInputThatCannotBeReadAgainIsReportedWithoutLines)
{
    if (WINDOWS_PROGRAM)
        GTEST_SKIP() << "no named pipes in the file system on Windows";
    ScratchDir dir;
    ASSERT_EQ(mkfifo((dir / "r.txt").c_str(), 0600), 0);
    write_file(dir / "e.txt", EXCITATION);
    const pid_t writer = fork();
    // The pipe's writer: a header, then records of which the last is partial.
    if (writer == 0) {
        write_file(dir / "r.txt", head(RESPONSE, 2) + "0.5 3\n# end\n");
        _exit(0);
    }
    const RunResult run = run_program(dir.path, "r.txt e.txt\n");
    EXPECT_EQ(wait_for_exit(writer, 10), 0);
    EXPECT_EQ(run.err,
              "fravlin: r.txt: warning: the last record holds only 2 numbers; its imaginary part "
              "was taken as 0\n"
              "fravlin: r.txt: warning: reading stopped after 3 records at something that is not a "
              "number; the rest of the file was not read\n");
    EXPECT_EQ(run.status, 3);
}

}  // namespace
