#include <gtest/gtest.h>

#include <cmath>

#include "division/division.h"

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

TEST(Division, PiIsTheArctangentOfMinusOne)
{
    EXPECT_EQ(PI_VALUE, std::atan2(0.0, -1.0));
}

}  // namespace
