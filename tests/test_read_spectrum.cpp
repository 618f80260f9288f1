// read_spectrum against the fscanf reader, and a few plain expectations.
#include "spectrum/read_spectrum_detail.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cctype>
#include <cerrno>
#include <cinttypes>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include <sys/types.h>

namespace {

using Record = std::array<double, 3>;

struct Result {
    std::vector<Record> records;
    bool records_ignored = false;
    int error = 0;
    bool stopped_at_text = false;
    int last_record_fields = 0;
};

// One spectrum for all the readings of a test run; cleared after each use,
// as a fresh one would be.
Spectrum& shared_spectrum()
{
    static Spectrum spectrum = make_spectrum();
    return spectrum;
}

Result collect(Spectrum& spectrum, ReadOutcome outcome)
{
    Result result;
    result.records_ignored = outcome.records_ignored;
    result.error = outcome.error.code;
    result.stopped_at_text = outcome.stopped_at_text;
    result.last_record_fields = outcome.last_record_fields;
    for (long i = 0; i < spectrum.count; ++i)
        result.records.push_back({spectrum.frequency[i], spectrum.real[i], spectrum.imaginary[i]});
    // Clearing one record past count also shows that nothing was written there.
    for (long i = 0; i <= spectrum.count && i < MAX_POINTS; ++i)
        spectrum.frequency[i] = spectrum.real[i] = spectrum.imaginary[i] = 0.0;
    return result;
}

std::FILE* open_text(const std::string& text)
{
    std::FILE* file = fmemopen(const_cast<char*>(text.data()), text.size(), "r");
    if (file == nullptr)
        std::abort();
    return file;
}

Result read_fast(const std::string& text, std::size_t chunk_size = DEFAULT_CHUNK_SIZE,
                 long max_points = MAX_POINTS)
{
    std::FILE* file = open_text(text);
    ReadOutcome outcome = read_spectrum_limited(file, shared_spectrum(), max_points, chunk_size);
    std::fclose(file);
    return collect(shared_spectrum(), outcome);
}

Result read_stdio(const std::string& text, long max_points = MAX_POINTS)
{
    std::FILE* file = open_text(text);
    ReadOutcome outcome = read_spectrum_fscanf_limited(file, shared_spectrum(), max_points);
    std::fclose(file);
    return collect(shared_spectrum(), outcome);
}

// What the fast reader is held against: glibc's fscanf. Other C libraries
// read some notations otherwise (MinGW's fscanf takes ".e5" and "0xp3" for
// numbers, and misreads long mantissas), so there the fast reader is held
// against itself at the default chunk size; its agreement with glibc on
// such a system is what the end-to-end comparison with the Linux build
// checks.
Result read_reference(const std::string& text, long max_points = MAX_POINTS)
{
#ifdef __GLIBC__
    return read_stdio(text, max_points);
#else
    return read_fast(text, DEFAULT_CHUNK_SIZE, max_points);
#endif
}

std::string show(double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.17g [%016" PRIx64 "]", value,
                  std::bit_cast<std::uint64_t>(value));
    return text;
}

// Bit for bit: NaN payloads and signed zeros count.
::testing::AssertionResult same_results(const Result& got, const Result& want)
{
    if (got.records.size() != want.records.size())
        return ::testing::AssertionFailure()
               << "count " << got.records.size() << ", fscanf gives " << want.records.size();
    for (std::size_t i = 0; i < got.records.size(); ++i)
        for (std::size_t k = 0; k < 3; ++k)
            if (std::bit_cast<std::uint64_t>(got.records[i][k])
                != std::bit_cast<std::uint64_t>(want.records[i][k]))
                return ::testing::AssertionFailure()
                       << "record " << i << " field " << k << ": " << show(got.records[i][k])
                       << ", fscanf gives " << show(want.records[i][k]);
    if (got.records_ignored != want.records_ignored)
        return ::testing::AssertionFailure() << "records_ignored " << got.records_ignored;
    if (got.error != want.error)
        return ::testing::AssertionFailure()
               << "error " << got.error << ", fscanf gives " << want.error;
    if (got.stopped_at_text != want.stopped_at_text)
        return ::testing::AssertionFailure() << "stopped_at_text " << got.stopped_at_text;
    if (got.last_record_fields != want.last_record_fields)
        return ::testing::AssertionFailure() << "last record of " << got.last_record_fields
                                             << " fields, fscanf gives " << want.last_record_fields;
    return ::testing::AssertionSuccess();
}

// The fast reader with several chunk sizes, down to one byte, so that every
// number is cut by a chunk boundary somewhere.
::testing::AssertionResult same_as_fscanf(const std::string& text, long max_points = MAX_POINTS)
{
    Result want = read_reference(text, max_points);
    for (std::size_t chunk_size : {std::size_t{1}, std::size_t{2}, std::size_t{3}, std::size_t{7},
                                   std::size_t{64}, DEFAULT_CHUNK_SIZE}) {
        auto same = same_results(read_fast(text, chunk_size, max_points), want);
        if (!same)
            return same << " (chunk size " << chunk_size << ")";
    }
    return ::testing::AssertionSuccess();
}

// ---------------------------------------------------------------------------
// Plain expectations, which the fscanf reader must meet as well.

struct Expectation {
    const char* name;
    std::string text;
    std::vector<Record> records;
    bool stopped_at_text;
    int last_record_fields;
};

const Expectation expectations[] = {
    {"three records without a final newline",
     "1 2 3\n4 5 6\n7 8 9",
     {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}},
     false,
     3},
    {"a lone sign ends a record and is skipped",
     "1 2 3\n4 - 6\n7 8 9\n",
     {{1, 2, 3}, {4, 0, 0}, {6, 7, 8}, {9, 0, 0}},
     false,
     1},
    {"a short last line is a partial record", "1 2 3\n10 0.5", {{1, 2, 3}, {10, 0.5, 0}}, false, 2},
    {"text stops the reading after a partial record",
     "1 2 3\n4 5 6\n3.0 x 1.0\n7 8 9\n",
     {{1, 2, 3}, {4, 5, 6}, {3, 0, 0}},
     true,
     1},
    {"CR LF line ends", "1 2 3\r\n4 5 6\r\n", {{1, 2, 3}, {4, 5, 6}}, false, 3},
    {"empty file", "", {}, false, 0},
    {"white space only", " \t\r\n\v\f \n", {}, false, 0},
    {"text first", "freq re im\n1 2 3\n", {}, true, 0},
    {"a lone sign at the very end", "1 2 3\n-", {{1, 2, 3}}, true, 3},
};

void PrintTo(const Expectation& e, std::ostream* out)
{
    *out << e.name;
}

class PlainExpectation : public ::testing::TestWithParam<Expectation> {};

TEST_P(PlainExpectation, BothReadersMeetIt)
{
    const Expectation& e = GetParam();
    Result want{e.records, false, 0, e.stopped_at_text, e.last_record_fields};
    EXPECT_TRUE(same_results(read_stdio(e.text), want)) << "fscanf reader";
    EXPECT_TRUE(same_results(read_fast(e.text), want)) << "fast reader";
    EXPECT_TRUE(same_as_fscanf(e.text));
}

std::string test_name(const char* name)
{
    std::string out;
    for (const char* c = name; *c != '\0'; ++c)
        out += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
    return out;
}

INSTANTIATE_TEST_SUITE_P(Reading, PlainExpectation, ::testing::ValuesIn(expectations),
                         [](const auto& info) { return test_name(info.param.name); });

// ---------------------------------------------------------------------------
// Notations and malformed numbers, each in the first, second and third field
// of a record and at the very end of the file: what a failed number consumes
// decides where the next read starts.

struct Notation {
    const char* name;
    std::string token;
};

const Notation notations[] = {
    {"plain", "12.5"},
    {"leading_point", ".5"},
    {"trailing_point", "5."},
    {"signed", "-7"},
    {"plus_sign", "+7"},
    {"negative_zero", "-0.0"},
    {"leading_zeros", "000000000000000000000000000000012.5e-000000000000000000000001"},
    {"exponent_upper", "1E5"},
    {"exponent_without_digits", "1e"},
    {"exponent_sign_without_digits", "1e+"},
    {"exponent_then_letter", "1ex"},
    {"second_exponent", "1e5e5"},
    {"second_point", "1.2.3"},
    {"double_sign_exponent", "1e+-5"},
    {"lone_minus", "-"},
    {"lone_plus", "+"},
    {"lone_point", "."},
    {"sign_point", "+."},
    {"double_sign", "--5"},
    {"point_exponent", ".e5"},
    {"letter", "x"},
    {"hex", "0x1.8p3"},
    {"hex_upper", "0X1.8P3"},
    {"hex_e_digit", "0x1e3"},
    {"hex_prefix_only", "0x"},
    {"hex_prefix_point", "0x."},
    {"hex_prefix_point_exponent", "0x.p1"},
    {"hex_prefix_exponent", "0xp3"},
    {"hex_exponent_without_digits", "0x1p"},
    {"hex_exponent_sign_without_digits", "0x1p-"},
    {"hex_bad_digit", "0xg"},
    {"hex_negative_zero", "-0x0p0"},
    {"hex_long", "0x1.00000000000000000000000000000000000001p0"},
    {"hex_tie", "0x1.00000000000008p0"},
    {"hex_above_tie_far_out", "0x1.000000000000080000000000000000000001p0"},
    {"hex_below_tie_far_out", "0x1.fffffffffffff7ffffffffffffffffffffffp0"},
    {"hex_subnormal_tie", "0x0.00000000000018000000000000000000001p-1022"},
    {"hex_leading_zeros", "0x000000000000000000000.000000000000000000001p88"},
    {"hex_subnormal", "0x1.8p-1074"},
    {"hex_underflow", "0x1p-1076"},
    {"hex_overflow", "0x1.fffffffffffff8p1023"},
    {"zero_then_x", "00x1"},
    {"inf", "inf"},
    {"inf_mixed_case", "-InF"},
    {"infinity", "INFINITY"},
    {"inf_then_letter", "infx"},
    {"partial_in", "in"},
    {"partial_in_then_digit", "in5"},
    {"partial_infinity", "infin"},
    {"partial_infinity_then_digit", "infini7"},
    {"nan", "nan"},
    {"negative_nan", "-NaN"},
    {"nan_with_payload", "nan(123)"},
    {"nan_with_empty_payload", "nan()"},
    {"partial_nan", "na"},
    {"partial_nan_then_digit", "n5"},
    {"overflow", "1e999"},
    {"negative_overflow", "-1.7976931348623159e308"},
    {"largest", "1.7976931348623158e308"},
    {"underflow", "1e-999"},
    {"negative_underflow", "-2e-324"},
    {"smallest_subnormal", "4.9e-324"},
    {"subnormal_boundary", "2.4703282292062328e-324"},
    {"below_subnormal_boundary", "2.4703282292062327e-324"},
    {"largest_subnormal", "2.2250738585072011e-308"},
    {"huge_exponent", "1e99999999999999999999999"},
    {"zero_huge_exponent", "0e99999999999999999999999"},
    {"tiny_exponent", "1e-99999999999999999999999"},
    {"twenty_digits", "12345678901234567890"},
    {"beyond_fast_path", "9007199254740993"},
    {"exponent_beyond_fast_path", "1e23"},
    {"small_mantissa_large_exponent", "123456789e30"},
    {"mantissa_too_large_for_exponent", "1234567890123456789e30"},
    {"comma", "1,5"},
    {"nul_byte", std::string("1\0"
                             "2",
                             3)},
    {"high_byte", "1\xa0"},
    {"high_byte_first",
     "\xa0"
     "1"},
};

void PrintTo(const Notation& n, std::ostream* out)
{
    *out << n.name;
}

class NotationInRecord : public ::testing::TestWithParam<Notation> {};

TEST_P(NotationInRecord, SameAsFscanf)
{
    const std::string& t = GetParam().token;
    for (const std::string& text :
         {t, t + "\n", t + " 7 8 9\n", "1 " + t + " 8 9 10 11\n", "1 2 " + t + " 9 10 11\n",
          "1 " + t, "1 2 " + t, t + t + " " + t + "\n" + t})
        EXPECT_TRUE(same_as_fscanf(text)) << "text: \"" << text << "\"";
}

INSTANTIATE_TEST_SUITE_P(Reading, NotationInRecord, ::testing::ValuesIn(notations),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Separators, EveryCLocaleSpaceSeparatesAndNoOtherByte)
{
    for (int c = 0; c < 256; ++c) {
        std::string sep(1, static_cast<char>(c));
        EXPECT_TRUE(same_as_fscanf("1" + sep + "2" + sep + "3" + sep + "4 5 6")) << "byte " << c;
    }
}

// ---------------------------------------------------------------------------
// Long mantissas: the exact decimal values of points halfway between two
// doubles, which take hundreds of digits, then nudged up or down past the
// digits that the fast reader keeps.

// Decimal digits of m * 5^k.
std::string times_power_of_five(std::uint64_t m, int k)
{
    std::vector<std::uint32_t> limbs;  // base 10^9, least significant first
    limbs.push_back(static_cast<std::uint32_t>(m % 1000000000));
    limbs.push_back(static_cast<std::uint32_t>(m / 1000000000 % 1000000000));
    limbs.push_back(static_cast<std::uint32_t>(m / 1000000000 / 1000000000));
    for (int i = 0; i < k; ++i) {
        std::uint64_t carry = 0;
        for (auto& limb : limbs) {
            std::uint64_t v = std::uint64_t{limb} * 5 + carry;
            limb = static_cast<std::uint32_t>(v % 1000000000);
            carry = v / 1000000000;
        }
        if (carry != 0)
            limbs.push_back(static_cast<std::uint32_t>(carry));
    }
    std::string digits = std::to_string(limbs.back());
    for (std::size_t i = limbs.size() - 1; i-- > 0;) {
        std::string part = std::to_string(limbs[i]);
        digits += std::string(9 - part.size(), '0') + part;
    }
    return digits;
}

// The point halfway between x and the next double up, exactly: its digits d
// and the k of d * 10^-k (x positive, below 2^53).
std::pair<std::string, int> halfway_above(double x)
{
    int exponent = 0;
    double fraction = std::frexp(x, &exponent);           // x = fraction * 2^exponent
    int shift = exponent < -1021 ? 1074 : 53 - exponent;  // x = m * 2^-shift, m an integer
    auto m = static_cast<std::uint64_t>(std::ldexp(fraction, exponent + shift));
    // halfway = (2m + 1) * 2^-(shift + 1) = (2m + 1) * 5^(shift + 1) * 10^-(shift + 1)
    return {times_power_of_five(2 * m + 1, shift + 1), shift + 1};
}

TEST(LongMantissa, HalfwayPointsAndTheirNeighbours)
{
    std::mt19937_64 random(7);
    std::string text;
    for (int i = 0; i < 200; ++i) {
        // Normal numbers of many sizes, and subnormals, whose halfway points
        // have the most digits.
        double x = i % 4 == 3
                       ? std::bit_cast<double>(random() % 0x000fffffffffffffu)
                       : std::ldexp(1.0 + static_cast<double>(random() % (1u << 30)) / (1u << 30),
                                    static_cast<int>(random() % 1100) - 1060);
        auto [digits, k] = halfway_above(x);
        std::string exponent = "e-" + std::to_string(k);
        std::string below = digits;
        for (std::size_t d = below.size(); d-- > 0 && (below[d] -= 1) < '0';)
            below[d] = '9';  // one unit less in the last place
        // The halfway point itself (a tie), a little above it, a little below it.
        text += digits + exponent + " " + digits + "." + std::string(900, '0') + "1" + exponent
                + " " + below + "." + std::string(1000, '9') + exponent + "\n";
        // The same with the point elsewhere and trailing zeros.
        int digits_before = static_cast<int>(digits.size()) - k;
        text += "0." + digits + std::string(2000, '0') + "e" + std::to_string(digits_before) + " "
                + digits + ".00000" + exponent + " -" + below + exponent + "\n";
    }
    EXPECT_TRUE(same_as_fscanf(text));
}

TEST(LongMantissa, DigitsFarBeyondAnyChunk)
{
    std::string ones(200000, '1');
    std::string zeros(200000, '0');
    for (const std::string& text :
         {ones, "0." + zeros + "1", ones + "e-200000", "1" + zeros + "e-200010 2 3",
          "." + ones + "e-5", "0x" + std::string(300000, 'f') + "p-1200000",
          "0x0." + zeros + "1p799990", "1e" + zeros + "5 7", "1e-" + ones})
        EXPECT_TRUE(same_as_fscanf(text)) << text.substr(0, 40) << "...";
}

// ---------------------------------------------------------------------------
// Generated files of numbers in every notation with noise among them.

std::string random_number(std::mt19937_64& random)
{
    auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    auto digits = [&](int n) {
        std::string s;
        for (int i = 0; i < n; ++i)
            s += static_cast<char>('0' + pick(10));
        return s;
    };
    static const char* const signs[] = {"", "-", "+"};
    static const char* const words[] = {"inf", "INF", "infinity", "nan", "NaN", "nan(0x12)"};
    static const char* const broken[] = {"-",   "+",  ".",     "1e", "1e+", "0x",
                                         "0x.", "in", "infin", "na", "x",   "--"};
    std::string sign = signs[pick(3)];
    char text[64];
    switch (pick(12)) {
    case 0:
    case 1:
    case 2: {
        double v = std::ldexp(static_cast<double>(random() >> 11), pick(200) - 150);
        std::snprintf(text, sizeof text, "%.6e", v);
        return sign + text;
    }
    case 3: {
        double v = std::bit_cast<double>(random() & 0x7fffffffffffffffu);
        std::snprintf(text, sizeof text, pick(2) ? "%.17g" : "%a", v);
        return sign + text;
    }
    case 4:
        return sign + digits(1 + pick(30)) + "." + digits(pick(30));
    case 5:
        return sign + digits(pick(5)) + "." + digits(pick(25)) + "eE"[pick(2)] + signs[pick(3)]
               + digits(pick(5));
    case 6:
        return sign + "0" + "xX"[pick(2)] + std::string(static_cast<std::size_t>(pick(3)), '0')
               + "0123456789abcdefABCDEF"[pick(22)] + "." + "fedcba9876543210"[pick(16)]
               + "pP"[pick(2)] + signs[pick(3)] + digits(pick(5));
    case 7:
        return sign + words[pick(6)];
    case 8:
        return sign + digits(pick(400)) + "." + digits(pick(600)) + "e-" + digits(pick(4));
    case 9:
        return broken[pick(12)];
    case 10:
        // Small mantissas with exponents just past 10^22.
        return sign + std::to_string(pick(1000000)) + "e" + std::to_string(15 + pick(30));
    default:
        return sign + digits(1) + "." + digits(6) + "e" + "+-"[pick(2)] + digits(2);
    }
}

std::string random_separator(std::mt19937_64& random)
{
    switch (random() % 20) {
    case 0:
        return "\r\n";
    case 1:
        return "\t";
    case 2:
        return "  \v\f";
    case 3:
        return std::string(1, static_cast<char>(random() % 256));  // noise, often ends the reading
    case 4:
    case 5:
        return "\n";
    default:
        return " ";
    }
}

TEST(GeneratedFiles, SameAsFscanf)
{
    std::mt19937_64 random(20240611);
    for (int file = 0; file < 1500; ++file) {
        std::string text;
        int records = static_cast<int>(random() % 60);
        for (int i = 0; i < records; ++i) {
            int fields = random() % 10 == 0 ? 1 + static_cast<int>(random() % 2) : 3;
            for (int k = 0; k < fields; ++k)
                text += random_number(random) + random_separator(random);
            text.back() = '\n';
        }
        if (random() % 2 == 0 && !text.empty())
            text.pop_back();  // no newline at the end
        long max_points = random() % 4 == 0 ? 1 + static_cast<long>(random() % 30) : MAX_POINTS;
        ASSERT_TRUE(same_as_fscanf(text, max_points)) << "file " << file << ":\n" << text;
    }
}

TEST(GeneratedFiles, NumbersAcrossDefaultChunkBoundaries)
{
    // Lines of every length shift the numbers across the boundaries of the
    // full-size chunks.
    std::mt19937_64 random(99);
    std::string text;
    while (text.size() < 4 * DEFAULT_CHUNK_SIZE) {
        for (int k = 0; k < 3; ++k)
            text += random_number(random) + (k < 2 ? " " : "\n");
        text += std::string(static_cast<std::size_t>(random() % 5), ' ');
    }
    Result want = read_reference(text);
    EXPECT_TRUE(same_results(read_fast(text), want));
}

// ---------------------------------------------------------------------------
// The record limit and the look-ahead past it.

std::string numbered_records(long count)
{
    std::string text;
    char line[64];
    for (long i = 0; i < count; ++i)
        text.append(line, static_cast<std::size_t>(
                              std::snprintf(line, sizeof line, "%ld %ld.5 -%ld\n", i, i, i)));
    return text;
}

TEST(RecordLimit, ExactlyMaxPointsRecords)
{
    std::string text = numbered_records(MAX_POINTS);
    Result got = read_fast(text);
    EXPECT_EQ(got.records.size(), static_cast<std::size_t>(MAX_POINTS));
    EXPECT_FALSE(got.records_ignored);
    EXPECT_TRUE(same_results(got, read_stdio(text)));
}

TEST(RecordLimit, MoreThanMaxPointsRecords)
{
    std::string text = numbered_records(MAX_POINTS + 2);
    Result got = read_fast(text);
    EXPECT_EQ(got.records.size(), static_cast<std::size_t>(MAX_POINTS));
    EXPECT_TRUE(got.records_ignored);
    EXPECT_EQ(got.records.back(), (Record{MAX_POINTS - 1.0, MAX_POINTS - 0.5, 1.0 - MAX_POINTS}));
    EXPECT_TRUE(same_results(got, read_stdio(text)));
}

TEST(RecordLimit, WhatFollowsTheLimit)
{
    // Only a following read that converts a field tells of ignored records.
    for (const char* tail :
         {"", "\n \n", "x 1 2 3", "7", "- 1", "1 - 2", "nan", "infin", "0x", "."})
        for (long limit : {1L, 2L, 3L})
            EXPECT_TRUE(same_as_fscanf(std::string("1 2 3\n4 5 6\n") + tail, limit))
                << "tail \"" << tail << "\", limit " << limit;
}

// ---------------------------------------------------------------------------
// Streams: the fast reader stops reading once it has what it needs, and
// reports a read error as fscanf's reader does.

// fopencookie is glibc's.
#ifdef __GLIBC__

struct EndlessRecords {
    std::size_t served = 0;
    std::size_t fail_after = SIZE_MAX;  // bytes served before reads fail with EIO
};

ssize_t serve_records(void* cookie, char* buffer, std::size_t size)
{
    auto* source = static_cast<EndlessRecords*>(cookie);
    static const char line[] = "1.5 -2.25 3e-3\n";
    constexpr std::size_t length = sizeof line - 1;
    if (source->served >= source->fail_after) {
        errno = EIO;
        return -1;
    }
    std::size_t n = std::min(size, source->fail_after - source->served);
    for (std::size_t i = 0; i < n; ++i)
        buffer[i] = line[(source->served + i) % length];
    source->served += n;
    return static_cast<ssize_t>(n);
}

std::FILE* open_endless(EndlessRecords& source)
{
    cookie_io_functions_t io{serve_records, nullptr, nullptr, nullptr};
    return fopencookie(&source, "r", io);
}

TEST(Streams, StopsReadingAfterTheLookAhead)
{
    EndlessRecords source;
    std::FILE* file = open_endless(source);
    Spectrum& spectrum = shared_spectrum();
    ReadOutcome outcome = read_spectrum(file, spectrum);
    std::fclose(file);
    Result got = collect(spectrum, outcome);
    ASSERT_EQ(got.records.size(), static_cast<std::size_t>(MAX_POINTS));
    EXPECT_TRUE(got.records_ignored);
    EXPECT_EQ(got.records.back(), (Record{1.5, -2.25, 3e-3}));
    // The records and the look-ahead take 15 * (MAX_POINTS + 1) bytes; at most
    // one chunk and one stdio buffer more may have been asked for.
    EXPECT_LE(source.served, 15 * (MAX_POINTS + 1) + DEFAULT_CHUNK_SIZE + BUFSIZ);
}

TEST(Streams, ReadErrorIsReportedWithTheRecordsBeforeIt)
{
    for (std::size_t fail_after : {0u, 1u, 20u, 33u, 15000u}) {
        EndlessRecords fast_source{0, fail_after}, reference_source{0, fail_after};
        std::FILE* fast_file = open_endless(fast_source);
        std::FILE* reference_file = open_endless(reference_source);
        Result got = collect(shared_spectrum(), read_spectrum(fast_file, shared_spectrum()));
        Result want =
            collect(shared_spectrum(), read_spectrum_fscanf(reference_file, shared_spectrum()));
        std::fclose(fast_file);
        std::fclose(reference_file);
        EXPECT_EQ(got.error, EIO);
        EXPECT_TRUE(same_results(got, want)) << "failing after " << fail_after << " bytes";
    }
}

#endif  // __GLIBC__

TEST(MakeSpectrum, ZeroFilledRoomForMaxPoints)
{
    Spectrum spectrum = make_spectrum();
    ASSERT_TRUE(spectrum.storage);
    EXPECT_EQ(spectrum.count, 0);
    EXPECT_EQ(spectrum.real - spectrum.frequency, MAX_POINTS);
    EXPECT_EQ(spectrum.imaginary - spectrum.real, MAX_POINTS);
    EXPECT_EQ(spectrum.frequency[0], 0.0);
    EXPECT_EQ(spectrum.imaginary[MAX_POINTS - 1], 0.0);
}

}  // namespace
