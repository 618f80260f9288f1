// The result lines through fprintf: the reference that the formatted lines
// are held against, and the plain build the benchmark compares with.
#include "division/division.h"

void write_complex_line(ResultFiles& files, const QuotientPoint& point)
{
    std::fprintf(files.complex.stream, "%14.5e %14.4e %14.4e \n", point.frequency, point.real,
                 point.imaginary);
}

void write_magnitude_phase_line(ResultFiles& files, const QuotientPoint& point)
{
    std::fprintf(files.magnitude_phase.stream, "%14.5e %14.4e  %14.4e\n", point.frequency,
                 point.magnitude, point.phase);
}
