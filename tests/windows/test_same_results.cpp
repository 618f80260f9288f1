// The Windows program against this build's Linux program: on the same input
// files and the same typed names, both must exit alike, print the same text
// and write the same result files, byte for byte once each LF of the Linux
// program is made the CR LF of Windows text mode. The inputs reach into the
// corners where C libraries part ways: non-finite values, signed zeros,
// subnormals, ties in the printed digits, and the number notations that a
// reader may or may not take.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <iterator>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "program.h"

namespace fs = std::filesystem;

namespace {

const char* const RESULT_FILES[] = {"complex.out", "magnitude_phase.out"};

struct Inputs {
    std::string response;
    std::string excitation;
    std::string typed = "r.txt e.txt\n";
};

// Text with every LF turned into CR LF, as a Windows program writes it.
std::string with_cr_lf(const std::string& text)
{
    std::string converted;
    for (char c : text) {
        if (c == '\n')
            converted += '\r';
        converted += c;
    }
    return converted;
}

void expect_same_run(const Inputs& inputs)
{
    ScratchDir linux_dir;
    ScratchDir windows_dir;
    for (const ScratchDir* dir : {&linux_dir, &windows_dir}) {
        write_file(*dir / "r.txt", inputs.response);
        write_file(*dir / "e.txt", inputs.excitation);
    }
    const char* const linux_program[] = {FRAVLIN_LINUX_EXE, nullptr};
    const RunResult expected = run_command(linux_program, linux_dir.path, inputs.typed);
    const char* const windows_program[] = {FRAVLIN_EMULATOR_ARGV, FRAVLIN_EXE, nullptr};
    const RunResult actual = run_command(windows_program, windows_dir.path, inputs.typed);
    ASSERT_NE(expected.out, "") << "the Linux program printed nothing";
    EXPECT_EQ(actual.status, expected.status);
    EXPECT_EQ(actual.out, with_cr_lf(expected.out));
    EXPECT_EQ(actual.err, with_cr_lf(expected.err));
    for (const char* name : RESULT_FILES) {
        SCOPED_TRACE(name);
        ASSERT_EQ(fs::exists(windows_dir / name), fs::exists(linux_dir / name));
        const std::string windows_lines = read_file(windows_dir / name);
        const std::string linux_lines = with_cr_lf(read_file(linux_dir / name));
        EXPECT_EQ(windows_lines.size(), linux_lines.size());
        // The first line that differs, rather than two files in full.
        std::size_t start = 0;
        while (start < linux_lines.size()) {
            std::size_t end = linux_lines.find('\n', start);
            end = end == std::string::npos ? linux_lines.size() : end + 1;
            if (windows_lines.compare(start, end - start, linux_lines, start, end - start) != 0) {
                ADD_FAILURE() << "Linux:   " << linux_lines.substr(start, end - start)
                              << "Windows: " << windows_lines.substr(start, end - start);
                break;
            }
            start = end;
        }
    }
}

// Every double written so that it reads back as itself, and the non-finite
// ones as glibc's printf writes them.
std::string exact(double value)
{
    char text[40];
    std::snprintf(text, sizeof text, "%.17g", value);
    return text;
}

std::string record(double frequency, double real, double imaginary)
{
    return exact(frequency) + " " + exact(real) + " " + exact(imaginary) + "\n";
}

const double INF = std::numeric_limits<double>::infinity();
const double NAN_POSITIVE = std::copysign(std::numeric_limits<double>::quiet_NaN(), 1.0);
const double NAN_NEGATIVE = std::copysign(std::numeric_limits<double>::quiet_NaN(), -1.0);

TEST(SameResults, RandomSpectraOfOrdinaryValues)
{
    std::mt19937_64 generator(8092003);
    std::uniform_real_distribution<double> mantissa(-10.0, 10.0);
    std::uniform_int_distribution<int> exponent(-12, 12);
    std::uniform_int_distribution<int> digits(1, 17);
    auto value = [&] {
        char text[40];
        std::snprintf(text, sizeof text, "%.*e", digits(generator), mantissa(generator));
        return std::strtod(text, nullptr) * std::pow(10.0, exponent(generator));
    };
    Inputs inputs;
    for (int i = 0; i < 50000; ++i) {
        const double frequency = 0.25 * i;
        inputs.response += record(frequency, value(), value());
        inputs.excitation += record(frequency, value(), value());
    }
    expect_same_run(inputs);
}

TEST(SameResults, RandomBitPatterns)
{
    std::mt19937_64 generator(20030908);
    auto value = [&] { return std::bit_cast<double>(generator()); };
    Inputs inputs;
    for (int i = 0; i < 50000; ++i) {
        const double frequency = value();
        inputs.response += record(frequency, value(), value());
        inputs.excitation += record(frequency, value(), value());
    }
    expect_same_run(inputs);
}

// Every response against every excitation made of these parts.
TEST(SameResults, SpecialValuesInEveryCombination)
{
    const double parts[] = {0.0,
                            -0.0,
                            1.0,
                            -1.0,
                            INF,
                            -INF,
                            NAN_POSITIVE,
                            NAN_NEGATIVE,
                            5e-324,
                            2.2250738585072014e-308,
                            1.3407807929942596e154,
                            1.7976931348623157e308};
    Inputs inputs;
    int frequency = 0;
    for (double a : parts)
        for (double b : parts)
            for (double c : parts)
                for (double d : parts) {
                    inputs.response += record(frequency, a, b);
                    inputs.excitation += record(frequency, c, d);
                    ++frequency;
                }
    expect_same_run(inputs);
}

// The summaries print the first and last frequency with "%12.5g", the
// sync error both frequencies at the mismatch with "%lf".
TEST(SameResults, SummaryAndSyncErrorValues)
{
    const double frequencies[] = {
        0.0,      -0.0,  10.0,         1.09375,     1.5e-5,
        123456.5, 1e300, -1e-300,      5e-324,      1.7976931348623157e308,
        INF,      -INF,  NAN_POSITIVE, NAN_NEGATIVE};
    for (double frequency : frequencies) {
        SCOPED_TRACE(exact(frequency));
        const std::string at_10 = record(10, 1, 0);
        const std::string at_half = record(0.5, 1, 0);
        const std::string at_frequency = record(frequency, 1, 0);
        expect_same_run({at_frequency + at_10, at_frequency + at_10});  // first
        expect_same_run({at_10 + at_frequency, at_10 + at_half});  // last; response's at a mismatch
        expect_same_run({at_10 + at_half, at_10 + at_frequency});  // excitation's at a mismatch
    }
}

// Text that is no plain decimal number, and text that is one only in part.
TEST(SameResults, NumberNotations)
{
    const char* const notations[] = {
        "0x1.8p3", "0X1P-2", "0x", "0x.", "0x1p", "inf", "-INF", "infinity", "+Infinity", "infin",
        "nan", "-nan", "NaN(123)", "nan(", "nan()", "1e", "1e+", "1e-5x", ".", "-.", "+.5", "1.",
        "-0", "1.5e400", "-1.5e400", "1e-400", "2.4703282292062328e-324", "00012", "1,5", "--1",
        "+-1", "1e+-3", "0.000000000000000000000000000000000000000000000000001e51", ".e5", "0xp3",
        "0x.p1",
        // halfway between 1 and the next double, and just above it
        "1.00000000000000011102230246251565404236316680908203125",
        "1.00000000000000011102230246251565404236316680908203125000000000000000000001"};
    std::vector<std::string> texts(std::begin(notations), std::end(notations));
    // Mantissas longer than any buffer a reader may keep.
    texts.push_back("0." + std::string(400, '1'));
    texts.push_back("0.0000000001" + std::string(400, '0'));
    texts.push_back(std::string(400, '9') + "e-400");
    for (const std::string& notation : texts) {
        SCOPED_TRACE(notation);
        Inputs inputs;
        inputs.response = std::string("1 2 3\n1 ") + notation + " 3\n1 2 " + notation + "\n"
                          + notation + " 2 3\n1 2 3\n";
        inputs.excitation = "1 1 0\n1 1 0\n1 1 0\n1 1 0\n1 1 0\n";
        expect_same_run(inputs);
    }
}

}  // namespace
