// format_exponent: the "%*.*e" conversion of glibc's printf, without the C library.
//
// Takes any double, a field width and a precision, and writes exactly the bytes
// that glibc's snprintf(buf, size, "%*.*e", width, precision, value) writes:
// - the exact binary value rounded to precision+1 significant digits, ties to
//   even (round-to-nearest, the default rounding mode);
// - an exponent of at least two digits ("e+05", "e-308");
// - "-0.0000e+00" for negative zero, "inf", "-inf", "nan", "-nan" for the
//   non-finite values (a NaN's sign is its sign bit);
// - right-aligned with spaces to `width`; as in printf, a negative width means
//   left-aligned to -width and a negative precision means 6.
// No terminator is written; the return value is one past the last byte.
// `out` needs room for max(|width|, precision + 8) bytes: EXP_FORMAT_MAX is
// enough for precision <= 32 with |width| <= 40.
// Precision 0..17 goes through a fast path; larger precisions, and the rare
// values whose rounding the fast path cannot decide, through the exact
// std::to_chars. Same output on every platform: no floating-point arithmetic,
// no locale, no C library formatting.
#pragma once

inline constexpr int EXP_FORMAT_MAX = 40;

char* format_exponent(char* out, double value, int width, int precision);
