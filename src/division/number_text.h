// printf of one floating-point value, spelled alike on every platform.
//
// number_text gives the text of printf(format, value) for a format that
// holds one floating-point conversion (%12.5g, %lf, ...). Finite values go
// through the C library's printf. The non-finite ones are spelled here as
// glibc spells them: "inf", "-inf", "nan", and "-nan" for a NaN whose sign
// bit is set ("INF", "NAN" for %E, %F, %G), honouring the conversion's
// width and its '-', '+' and ' ' flags; MinGW's printf would give "nan" for
// both NaNs. print_number writes that text to standard output.
#pragma once

#include <string>

std::string number_text(const char* format, double value);

void print_number(const char* format, double value);
