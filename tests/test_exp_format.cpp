// format_exponent against glibc's snprintf("%*.*e"), the reference on Linux.
// The target exp_format_exact_tests runs these tests once more with the fast
// path turned off, so that every case also meets the exact path.

#include "division/exp_format.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <limits>
#include <random>
#include <string>
#include <vector>

// glibc's printf is the reference; other C libraries spell and round in
// their own ways, and there the same-results test against the Linux build
// checks the formatting instead.
#if defined(__GLIBC__)
namespace {

struct Case {
    double value;
    int width;
    int precision;
};

std::string glibc(const Case& c)
{
    std::vector<char> buf(static_cast<std::size_t>(std::abs(c.width) + c.precision + 16));
    const int n = std::snprintf(buf.data(), buf.size(), "%*.*e", c.width, c.precision, c.value);
    return std::string(buf.data(), static_cast<std::size_t>(n));
}

// Runs format_exponent in a buffer of exactly the documented size followed by
// guard bytes, so a write past the promised room shows up as a difference.
std::string ours(const Case& c)
{
    const int precision = c.precision < 0 ? 6 : c.precision;
    const std::size_t room = static_cast<std::size_t>(std::max(std::abs(c.width), precision + 8));
    const std::size_t guard = 16;
    std::string buf(room + guard, '\x7f');
    char* end = format_exponent(buf.data(), c.value, c.width, c.precision);
    if (buf.compare(room, guard, std::string(guard, '\x7f')) != 0)
        return "<wrote past the room>";
    return buf.substr(0, static_cast<std::size_t>(end - buf.data()));
}

std::string describe(const Case& c)
{
    char text[128];
    std::snprintf(text, sizeof text, "value %a (%.17g) width %d precision %d", c.value, c.value,
                  c.width, c.precision);
    return text;
}

// Compares every case; reports the count and the first few differences.
void expect_all_match(const std::vector<Case>& cases)
{
    std::size_t mismatches = 0;
    std::string report;
    for (const Case& c : cases) {
        const std::string want = glibc(c), got = ours(c);
        if (want == got)
            continue;
        if (++mismatches <= 10)
            report += describe(c) + ": glibc \"" + want + "\" ours \"" + got + "\"\n";
    }
    EXPECT_EQ(mismatches, 0u) << "of " << cases.size() << " cases\n" << report;
}

// Random doubles from 64-bit patterns; every eighth has its exponent field
// forced to 0 (zero, subnormals) and every eighth to 0x7ff (inf, NaN), so the
// rare classes get more than their 1/2048 share.
std::vector<double> random_doubles(std::size_t count, std::uint64_t seed)
{
    std::mt19937_64 rng(seed);
    std::vector<double> values(count);
    for (double& v : values) {
        std::uint64_t bits = rng();
        switch (rng() % 8) {
        case 0:
            bits &= ~(std::uint64_t(0x7ff) << 52);
            break;
        case 1:
            bits |= std::uint64_t(0x7ff) << 52;
            break;
        default:
            break;
        }
        if (rng() % 64 == 0)
            bits &= 0xfff0000000000000u;  // zeros and infinities
        v = std::bit_cast<double>(bits);
    }
    return values;
}

double parse(const std::string& text)
{
    return std::strtod(text.c_str(), nullptr);
}

// The value and its two binary neighbours.
void add_with_neighbours(std::vector<Case>& cases, double v, int width, int precision)
{
    for (double x : {std::nextafter(v, -INFINITY), v, std::nextafter(v, INFINITY)})
        cases.push_back({x, width, precision});
}

// ---------------------------------------------------------------------------

TEST(FormatExponentRandom, ProgramFormatsOnRandomPatterns)
{
    std::vector<Case> cases;
    for (double v : random_doubles(1'000'000, 20240611)) {
        cases.push_back({v, 14, 4});
        cases.push_back({v, 14, 5});
    }
    expect_all_match(cases);
}

TEST(FormatExponentRandom, AllPrecisionsAndWidths)
{
    const int widths[] = {0, 1, 7, 10, 14, 20, 25, 30, -1, -14, -30};
    std::mt19937_64 rng(7);
    std::vector<Case> cases;
    for (double v : random_doubles(300'000, 99)) {
        const int precision = static_cast<int>(rng() % 18);
        cases.push_back({v, widths[rng() % std::size(widths)], precision});
    }
    // Beyond 17 digits the exact path alone works; negative means 6.
    for (double v : random_doubles(3'000, 5))
        for (int precision : {-1, 18, 19, 24, 32, 60})
            cases.push_back({v, 14, precision});
    expect_all_match(cases);
}

TEST(FormatExponentRandom, ProgramLikeMagnitudes)
{
    // Ratios of spectra: moderate exponents, full significands, both signs.
    std::mt19937_64 rng(31);
    std::uniform_real_distribution<double> decade(-30.0, 30.0);
    std::vector<Case> cases;
    for (int i = 0; i < 300'000; ++i) {
        const double v = std::pow(10.0, decade(rng)) * ((rng() & 1) ? -1.0 : 1.0);
        cases.push_back({v, 14, 4});
        cases.push_back({v, 14, 5});
    }
    expect_all_match(cases);
}

// ---------------------------------------------------------------------------
// Rounding boundaries.

TEST(FormatExponentBoundaries, DecimalHalfwayPoints)
{
    // The nearest doubles to d.ddd5 * 10^k, cut right at the 5, and their
    // neighbours: the rounding is decided by bits far down the significand.
    std::mt19937_64 rng(1);
    std::vector<Case> cases;
    for (int digits = 1; digits <= 18; ++digits) {
        for (int k = -323; k <= 308; ++k) {
            for (int trial = 0; trial < 2; ++trial) {
                std::string text = std::to_string(1 + rng() % 9);
                while (static_cast<int>(text.size()) < digits)
                    text += std::to_string(rng() % 10);
                text += "5e" + std::to_string(k - digits);
                add_with_neighbours(cases, parse(text), 14, digits - 1);
            }
        }
    }
    expect_all_match(cases);
}

TEST(FormatExponentBoundaries, ExactBinaryTies)
{
    // Values whose exact decimal expansion ends in a 5 right after the last
    // kept digit, so ties-to-even decides.
    std::vector<Case> cases;
    for (double v : {0.5, 1.5, 2.5, 3.5, 0.125, 0.375, 0.625, 0.875, 12.5, 99999.5, 999999.5,
                     123456.5, 1234565.0, 0.000244140625}) {
        for (int precision = 0; precision <= 17; ++precision)
            add_with_neighbours(cases, v, 14, precision);
    }
    // M * 2^-f: its digits are those of M * 5^f, which end in 5.
    std::mt19937_64 rng(2);
    __extension__ using uint128 = unsigned __int128;
    for (int f = 1; f <= 60; ++f) {
        for (int trial = 0; trial < 200; ++trial) {
            const std::uint64_t m = (rng() >> (11 + rng() % 50)) | 1;
            uint128 digits = m;
            bool fits = true;
            for (int i = 0; i < f && fits; ++i) {
                fits = digits < (~uint128(0)) / 5;
                digits *= 5;
            }
            int length = 0;
            for (uint128 d = digits; d; d /= 10)
                ++length;
            if (!fits || length < 2 || length > 19)
                continue;
            add_with_neighbours(cases, std::ldexp(static_cast<double>(m), -f), 14, length - 2);
        }
    }
    // Integers (10n + 5) * 10^j that doubles hold exactly.
    for (int trial = 0; trial < 20000; ++trial) {
        std::uint64_t n = 10 * (rng() >> (4 + rng() % 60)) + 5;
        int length = 0;
        for (std::uint64_t d = n; d; d /= 10)
            ++length;
        for (int j = 0; j < 20 && n < (std::uint64_t(1) << 63); ++j, n *= 10) {
            const double v = static_cast<double>(n);
            if (static_cast<std::uint64_t>(v) == n && length >= 2)
                add_with_neighbours(cases, v, 14, length - 2);
            if (n > std::numeric_limits<std::uint64_t>::max() / 10)
                break;
        }
    }
    expect_all_match(cases);
}

TEST(FormatExponentBoundaries, FrequencyGridsOfBinarySteps)
{
    // Spectra sit on grids k * step with steps such as 0.125 or 0.25 Hz, or
    // with a sampling rate of a power of two; their printed digits often end
    // on an exact tie, decided without the exact path.
    std::vector<Case> cases;
    for (int j = -8; j <= 12; ++j) {
        const double step = std::ldexp(1.0, -j);
        for (long k = 0; k < 3000; ++k) {
            cases.push_back({static_cast<double>(k) * step, 14, 5});
            cases.push_back({static_cast<double>(k * 997 + 1000000) * step, 14, 4});
            cases.push_back({-static_cast<double>(k * 7919 + 123456789) * step, 14, 5});
        }
    }
    expect_all_match(cases);
}

TEST(FormatExponentBoundaries, CarriesIntoNewDigit)
{
    // 9.99..9x * 10^k: digit x = 4, 5, 6 decides whether the mantissa carries
    // to 1.00..0 * 10^(k+1).
    std::vector<Case> cases;
    for (int digits = 1; digits <= 18; ++digits) {
        for (int k = -323; k <= 308; ++k) {
            for (char last : {'4', '5', '6'}) {
                const std::string text = std::string(static_cast<std::size_t>(digits), '9') + last
                                         + "e" + std::to_string(k - digits);
                add_with_neighbours(cases, parse(text), 14, digits - 1);
            }
        }
    }
    expect_all_match(cases);
}

TEST(FormatExponentBoundaries, PowersOfTenAndLimits)
{
    std::vector<Case> cases;
    for (int k = -323; k <= 308; ++k)
        for (int precision = 0; precision <= 17; ++precision)
            add_with_neighbours(cases, parse("1e" + std::to_string(k)), 14, precision);
    const double limits[] = {DBL_MAX,          DBL_MIN, DBL_TRUE_MIN, DBL_MIN - DBL_TRUE_MIN,
                             2 * DBL_TRUE_MIN, 1.0,     DBL_EPSILON};
    for (double v : limits)
        for (double s : {v, -v})
            for (int width : {0, 14, 30, -30})
                for (int precision = 0; precision <= 40; ++precision)
                    add_with_neighbours(cases, s, width, precision);
    // The complete expansion of the smallest subnormal has 751 significant
    // digits; ask for more.
    for (int precision : {100, 749, 750, 751, 760, 1100}) {
        add_with_neighbours(cases, DBL_TRUE_MIN, 0, precision);
        add_with_neighbours(cases, DBL_MAX, 0, precision);
    }
    expect_all_match(cases);
}

// ---------------------------------------------------------------------------
// Named cases: the spelling glibc uses, written out.

TEST(FormatExponentNamed, Spellings)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    struct Named {
        const char* what;
        Case c;
        const char* text;
    };
    const Named table[] = {
        {"zero", {0.0, 14, 4}, "    0.0000e+00"},
        {"negative zero", {-0.0, 14, 4}, "   -0.0000e+00"},
        {"zero, no digits after the point", {0.0, 0, 0}, "0e+00"},
        {"nan", {nan, 14, 4}, "           nan"},
        {"negative nan", {std::copysign(nan, -1.0), 14, 5}, "          -nan"},
        {"inf padded", {inf, 14, 4}, "           inf"},
        {"negative inf left-aligned", {-inf, -14, 4}, "-inf          "},
        {"nan narrower than itself", {nan, 1, 4}, "nan"},
        {"three-digit exponent", {1e100, 14, 4}, "   1.0000e+100"},
        {"three-digit negative exponent", {DBL_TRUE_MIN, 14, 4}, "   4.9407e-324"},
        {"largest double", {DBL_MAX, 14, 5}, "  1.79769e+308"},
        {"field wider than width", {-1.0 / 3.0, 5, 5}, "-3.33333e-01"},
        {"tie rounds to even, down", {2.5, 0, 0}, "2e+00"},
        {"tie rounds to even, up", {3.5, 0, 0}, "4e+00"},
        {"tie carries into a new digit", {99999.5, 14, 4}, "    1.0000e+05"},
        {"just above a decimal tie", {1.00005, 14, 4}, "    1.0001e+00"},
        {"negative precision means 6", {1.0, 0, -1}, "1.000000e+00"},
        {"left-aligned", {12345.678, -14, 4}, "1.2346e+04    "},
    };
    for (const Named& n : table) {
        EXPECT_EQ(ours(n.c), n.text) << n.what;
        EXPECT_EQ(glibc(n.c), n.text) << n.what << " (the C library disagrees with the table)";
    }
}

TEST(FormatExponentNamed, ReturnsEndOfOutput)
{
    char buf[EXP_FORMAT_MAX];
    EXPECT_EQ(format_exponent(buf, 1.5, 14, 5), buf + 14);
    EXPECT_EQ(format_exponent(buf, -1.5, 0, 17), buf + 24);  // "-1.50000000000000000e+00"
    EXPECT_EQ(format_exponent(buf, -1e-300, 40, 32), buf + 40);
}

}  // namespace
#endif

// The exact path is std::to_chars, and its digits are the same on every
// platform: the fast path must agree with it wherever it decides. In the
// Windows build this holds MinGW's to_chars to the digits that the tests
// above hold glibc's printf to.
namespace {

std::string library_text(double value, int width, int precision)
{
    char text[64];
    const std::to_chars_result result =
        std::to_chars(text, text + sizeof text, value, std::chars_format::scientific, precision);
    std::string field(text, result.ptr);
    const std::size_t room = static_cast<std::size_t>(std::abs(width));
    if (field.size() < room)
        field.insert(width < 0 ? field.size() : 0, room - field.size(), ' ');
    return field;
}

TEST(FormatExponentLibrary, AgreesWithToChars)
{
    const int widths[] = {0, 14, -14, 30};
    std::mt19937_64 rng(17);
    std::size_t mismatches = 0;
    std::string report;
    for (int i = 0; i < 400'000; ++i) {
        std::uint64_t bits = rng();
        if (i % 2 == 0) {
            // Magnitudes like the program's, 2^-40 .. 2^40.
            const std::uint64_t exponent = 1023 - 40 + rng() % 81;
            bits = (bits & ~(std::uint64_t(0x7ff) << 52)) | (exponent << 52);
        }
        const double value = std::bit_cast<double>(bits);
        const int width = widths[rng() % std::size(widths)];
        const int precision = static_cast<int>(rng() % 18);
        char buf[EXP_FORMAT_MAX];
        const std::string got(buf, format_exponent(buf, value, width, precision));
        const std::string want = library_text(value, width, precision);
        if (got != want && ++mismatches <= 10)
            report += std::to_string(bits) + " width " + std::to_string(width) + " precision "
                      + std::to_string(precision) + ": to_chars \"" + want + "\" ours \"" + got
                      + "\"\n";
    }
    EXPECT_EQ(mismatches, 0u) << report;
}

}  // namespace
