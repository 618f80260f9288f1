#include "division.h"

#include <cerrno>
#include <cmath>

#include "number_text.h"

const double PI_VALUE = std::atan2(0.0, -1.0);

namespace {

constexpr std::size_t RESULT_BUFFER_SIZE = 1 << 16;

FileError file_error(const char* name)
{
    return FileError{name, errno != 0 ? errno : EIO};
}

// Closes the file even after a failed flush, and keeps the first error.
FileError close_result_file(std::FILE*& file, const char* name)
{
    FileError result;
    if (file == nullptr)
        return result;
    errno = 0;
    bool failed = std::ferror(file) != 0;
    int error = errno;
    if (std::fflush(file) != 0 && !failed) {
        failed = true;
        error = errno;
    }
    if (std::fclose(file) != 0 && !failed) {
        failed = true;
        error = errno;
    }
    file = nullptr;
    if (failed)
        result = FileError{name, error != 0 ? error : EIO};
    return result;
}

// atan2 with a NaN argument returns a NaN argument, and C libraries differ
// in which: glibc's is x when x is one, MinGW's is y. The choice shows in
// the sign of a "nan" that is printed, so glibc's is made everywhere.
double arctangent(double y, double x)
{
    if (std::isnan(x))
        return x;
    if (std::isnan(y))
        return y;
    return std::atan2(y, x);
}

}  // namespace

FileError open_result_files(ResultFiles& files)
{
    errno = 0;
    files.complex = std::fopen(COMPLEX_FILE_NAME, "w");
    if (files.complex == nullptr)
        return file_error(COMPLEX_FILE_NAME);
    errno = 0;
    files.magnitude_phase = std::fopen(MAGNITUDE_PHASE_FILE_NAME, "w");
    if (files.magnitude_phase == nullptr) {
        FileError error = file_error(MAGNITUDE_PHASE_FILE_NAME);
        close_result_file(files.complex, COMPLEX_FILE_NAME);
        return error;
    }
    std::setvbuf(files.complex, nullptr, _IOFBF, RESULT_BUFFER_SIZE);
    std::setvbuf(files.magnitude_phase, nullptr, _IOFBF, RESULT_BUFFER_SIZE);
    return FileError{};
}

FileError close_result_files(ResultFiles& files)
{
    FileError complex = close_result_file(files.complex, COMPLEX_FILE_NAME);
    FileError magnitude_phase = close_result_file(files.magnitude_phase, MAGNITUDE_PHASE_FILE_NAME);
    return complex.name != nullptr ? complex : magnitude_phase;
}

QuotientPoint compute_quotient_point(const Spectrum& response, const Spectrum& excitation, long j)
{
    const double a = response.real[j];
    const double b = response.imaginary[j];
    const double c = excitation.real[j];
    const double d = excitation.imaginary[j];

    // The order of operations is fixed: each numerator is rounded to a double
    // before the division, and the denominator is formed anew for each part.
    // Any rearrangement changes last bits and so printed digits.
    const double real_numerator = a * c + b * d;
    const double imaginary_numerator = b * c - a * d;

    QuotientPoint point;
    point.frequency = response.frequency[j];
    point.real = real_numerator / (std::pow(c, 2.0) + std::pow(d, 2.0));
    point.imaginary = imaginary_numerator / (std::pow(c, 2.0) + std::pow(d, 2.0));
    point.magnitude = std::sqrt(std::pow(point.real, 2.0) + std::pow(point.imaginary, 2.0));
    point.phase = arctangent(point.imaginary, point.real) * 180.0 / PI_VALUE;
    return point;
}

void write_complex_line(ResultFiles& files, const QuotientPoint& point)
{
    std::fprintf(files.complex, "%14.5e %14.4e %14.4e \n", point.frequency, point.real,
                 point.imaginary);
}

void write_magnitude_phase_line(ResultFiles& files, const QuotientPoint& point)
{
    std::fprintf(files.magnitude_phase, "%14.5e %14.4e  %14.4e\n", point.frequency,
                 point.magnitude, point.phase);
}

bool divide_spectra(const Spectrum& response, const Spectrum& excitation, long count,
                    ResultFiles& files)
{
    for (long j = 0; j < count; ++j) {
        // Written so that a NaN difference passes, as "not greater" does.
        if (std::fabs(response.frequency[j] - excitation.frequency[j]) > SYNC_TOLERANCE) {
            std::printf("\n sync error \n");
            // " %lf %lf \n", one value at a time
            print_number(" %lf", response.frequency[j]);
            print_number(" %lf \n", excitation.frequency[j]);
            return false;
        }
        const QuotientPoint point = compute_quotient_point(response, excitation, j);
        write_complex_line(files, point);
        write_magnitude_phase_line(files, point);
    }
    return true;
}
