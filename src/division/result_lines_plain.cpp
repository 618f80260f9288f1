// The result lines through fprintf: the reference that the formatted lines
// are held against, and the plain build the benchmark compares with.
#include "division/division_detail.h"

void write_complex_line(ResultFiles& files, const QuotientPoint& point)
{
    if (std::fprintf(files.state->complex.stream, "%14.5e %14.4e %14.4e \n", point.frequency,
                     point.real, point.imaginary)
        < 0)
        keep_write_error(files.state->complex);
}

void write_magnitude_phase_line(ResultFiles& files, const QuotientPoint& point)
{
    if (std::fprintf(files.state->magnitude_phase.stream, "%14.5e %14.4e  %14.4e\n",
                     point.frequency, point.magnitude, point.phase)
        < 0)
        keep_write_error(files.state->magnitude_phase);
}
