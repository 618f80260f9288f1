#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "division/division_detail.h"

namespace {

TEST(Division, QuotientCases)
{
    const struct {
        const char* title;
        double a, b, c, d;  // response a+bi, excitation c+di
        double real, imaginary, magnitude, phase;
    } cases[] = {
        {"equal", 3, -4, 3, -4, 1, 0, 1, 0},
        {"i over one", 0, 1, 1, 0, 0, 1, 1, 90},
        {"minus one over one", -1, 0, 1, 0, -1, 0, 1, 180},
        {"1+i over 1-i", 1, 1, 1, -1, 0, 1, 1, 90},
        {"2 over 2i", 2, 0, 0, 2, 0, -1, 1, -90},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.title);
        Spectrum response = make_spectrum();
        Spectrum excitation = make_spectrum();
        response.frequency[0] = 7;
        response.real[0] = c.a;
        response.imaginary[0] = c.b;
        excitation.real[0] = c.c;
        excitation.imaginary[0] = c.d;
        const QuotientPoint point = compute_quotient_point(response, excitation, 0);
        EXPECT_EQ(point.frequency, 7);
        EXPECT_EQ(point.real, c.real);
        EXPECT_EQ(point.imaginary, c.imaginary);
        EXPECT_EQ(point.magnitude, c.magnitude);
        EXPECT_NEAR(point.phase, c.phase, 1e-12);
    }
}

// The phase of a quotient with a NaN part is that NaN, and the real part's
// when both are NaNs, sign and all: a "-nan" in the file stays "-nan".
TEST(Division, PhaseOfNaNPartsIsTheRealPartsNaN)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        const char* title;
        double a, b, c, d;  // response a+bi, excitation c+di
    } cases[] = {
        {"0+1i over inf+nan i: real -nan, imaginary +nan", 0, 1, inf, nan},
        {"-nan+0i over 1+0i", -nan, 0, 1, 0},
        {"nan+0i over 1+0i", nan, 0, 1, 0},
        {"1+nan i over 1+0i", 1, nan, 1, 0},
        {"1-nan i over 1+0i", 1, -nan, 1, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.title);
        Spectrum response = make_spectrum();
        Spectrum excitation = make_spectrum();
        response.real[0] = c.a;
        response.imaginary[0] = c.b;
        excitation.real[0] = c.c;
        excitation.imaginary[0] = c.d;
        const QuotientPoint point = compute_quotient_point(response, excitation, 0);
        const double nan_part = std::isnan(point.real) ? point.real : point.imaginary;
        ASSERT_TRUE(std::isnan(nan_part));
        EXPECT_TRUE(std::isnan(point.phase));
        EXPECT_EQ(std::signbit(point.phase), std::signbit(nan_part));
    }
}

TEST(Division, PiIsTheArctangentOfMinusOne)
{
    EXPECT_EQ(PI_VALUE, std::atan2(0.0, -1.0));
}

// Values that exercise the line formats: random bit patterns (every
// exponent, subnormals, infinities, NaNs of both signs) and ordinary
// magnitudes near rounding boundaries.
std::vector<double> format_samples()
{
    std::mt19937_64 generator(42);
    std::vector<double> values = {0.0,      -0.0,   INFINITY,  -INFINITY,       NAN,
                                  -NAN,     1e-320, 9.99995e4, -9.999949999e-5, 1.00005,
                                  123456.5, 1e308,  5e-324};
    for (int i = 0; i < 20000; ++i)
        values.push_back(std::bit_cast<double>(generator()));
    std::uniform_real_distribution<double> mantissa(1.0, 10.0);
    std::uniform_int_distribution<int> exponent(-12, 12);
    for (int i = 0; i < 20000; ++i)
        values.push_back(std::round(mantissa(generator) * 1e5) / 1e5
                         * std::pow(10.0, exponent(generator)));
    return values;
}

std::string written_lines(void (*write)(ResultFiles&, const QuotientPoint&),
                          const std::vector<QuotientPoint>& points)
{
    ResultFiles files;
    EXPECT_EQ(open_result_files(files, std::tmpfile(), std::tmpfile()).code, 0);
    for (const QuotientPoint& point : points)
        write(files, point);
    ResultFile& file =
        write == write_complex_line ? files.state->complex : files.state->magnitude_phase;
    EXPECT_TRUE(flush_pending_lines(file));
    std::fflush(file.stream);
    std::string text(static_cast<std::size_t>(std::ftell(file.stream)), '\0');
    std::rewind(file.stream);
    EXPECT_EQ(std::fread(text.data(), 1, text.size(), file.stream), text.size());
    FileError failures[2];
    EXPECT_TRUE(close_result_files(files, failures));
    return text;
}

TEST(Division, LinesMatchPrintfFormats)
{
#ifndef __GLIBC__
    GTEST_SKIP() << "the reference is glibc's printf; other builds are held against the Linux "
                    "one end to end";
#endif
    const std::vector<double> values = format_samples();
    std::vector<QuotientPoint> points;
    std::string complex;
    std::string magnitude_phase;
    char line[200];
    for (std::size_t i = 0; i + 2 < values.size(); i += 3) {
        const QuotientPoint point{values[i], values[i + 1], values[i + 2], values[i + 1],
                                  values[i + 2]};
        points.push_back(point);
        std::snprintf(line, sizeof line, "%14.5e %14.4e %14.4e \n", point.frequency, point.real,
                      point.imaginary);
        complex += line;
        std::snprintf(line, sizeof line, "%14.5e %14.4e  %14.4e\n", point.frequency,
                      point.magnitude, point.phase);
        magnitude_phase += line;
    }
    EXPECT_EQ(written_lines(write_complex_line, points), complex);
    EXPECT_EQ(written_lines(write_magnitude_phase_line, points), magnitude_phase);
}

}  // namespace
