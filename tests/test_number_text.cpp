#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>

#include "division/number_text.h"

namespace {

const double INF = std::numeric_limits<double>::infinity();
const double NAN_POSITIVE = std::copysign(std::numeric_limits<double>::quiet_NaN(), 1.0);
const double NAN_NEGATIVE = std::copysign(std::numeric_limits<double>::quiet_NaN(), -1.0);

// The expected texts are glibc's printf output; on other C libraries the
// non-finite ones must come out the same.
TEST(NumberText, SpellsValuesAsGlibcPrintfDoes)
{
    const struct {
        const char* format;
        double value;
        const char* text;
    } cases[] = {
        {"\n starting frequency = %12.5g", 10.0, "\n starting frequency =           10"},
        {"\n starting frequency = %12.5g", 1.5e-5, "\n starting frequency =      1.5e-05"},
        {"\n ending frequency   = %12.5g \n", 123456.0, "\n ending frequency   =   1.2346e+05 \n"},
        {"\n ending frequency   = %12.5g \n", INF, "\n ending frequency   =          inf \n"},
        {"\n ending frequency   = %12.5g \n", -INF, "\n ending frequency   =         -inf \n"},
        {"\n ending frequency   = %12.5g \n", NAN_POSITIVE,
         "\n ending frequency   =          nan \n"},
        {"\n ending frequency   = %12.5g \n", NAN_NEGATIVE,
         "\n ending frequency   =         -nan \n"},
        {" %lf", 20.0, " 20.000000"},
        {" %lf \n", -INF, " -inf \n"},
        {" %lf \n", NAN_NEGATIVE, " -nan \n"},
        {" %lf \n", NAN_POSITIVE, " nan \n"},
        {"%-8g|", NAN_NEGATIVE, "-nan    |"},
        {"% e|", NAN_POSITIVE, " nan|"},
        {"100%% %08.3G|", -INF, "100%     -INF|"},
        {"%+.2f|", INF, "+inf|"},
        {" %lf", 0.1234565, " 0.123456"},
        {"%12.5g", 1.03125, "      1.0312"},  // a tie, to even
        {"%12.5g", 1.09375, "      1.0938"},  // a tie, to even
        {"%5.1E", NAN_POSITIVE, "  NAN"},
        {"no conversion, 100%%|", INF, "no conversion, 100%|"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.format);
        EXPECT_EQ(number_text(c.format, c.value), c.text);
#ifdef __GLIBC__
        char text[100];
        std::snprintf(text, sizeof text, c.format, c.value);
        EXPECT_STREQ(text, c.text) << "the expectation is not glibc's";
#endif
    }
}

}  // namespace
