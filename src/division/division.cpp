#include "division/division_detail.h"

#include <cerrno>
#include <cmath>
#include <new>

#include "division/number_text.h"

const double PI_VALUE = std::atan2(0.0, -1.0);

namespace {

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

bool flush_pending_lines(ResultFile& file)
{
    const std::size_t length = file.length;
    file.length = 0;
    errno = 0;
    if (std::fwrite(file.pending.get(), 1, length, file.stream) == length)
        return true;
    keep_write_error(file);
    return false;
}

void keep_write_error(ResultFile& file)
{
    if (file.error == 0)
        file.error = errno_or(EIO);
}

namespace {

// Completes one file on disk; its first failure, or code 0.
FileError close_result_file(ResultFile& file)
{
    if (file.stream == nullptr)
        return FileError{file.name, 0};
    if (file.error == 0)
        flush_pending_lines(file);
    errno = 0;
    if (std::fflush(file.stream) != 0 || std::ferror(file.stream))
        keep_write_error(file);
    errno = 0;
    if (std::fclose(file.stream) != 0)
        keep_write_error(file);
    file.stream = nullptr;
    file.pending.reset();
    file.length = 0;
    return FileError{file.name, file.error};
}

}  // namespace

void ResultFilesRelease::operator()(ResultFilesState* state) const
{
    for (ResultFile* file : {&state->complex, &state->magnitude_phase})
        if (file->stream != nullptr)
            std::fclose(file->stream);
    delete state;
}

FileError open_result_files(ResultFiles& files, std::FILE* complex, std::FILE* magnitude_phase)
{
    files.state.reset(new (std::nothrow) ResultFilesState);
    if (!files.state) {
        std::fclose(complex);
        std::fclose(magnitude_phase);
        return FileError{COMPLEX_FILE_NAME, ENOMEM};
    }
    ResultFilesState& state = *files.state;
    state.complex.stream = complex;
    state.complex.name = COMPLEX_FILE_NAME;
    state.magnitude_phase.stream = magnitude_phase;
    state.magnitude_phase.name = MAGNITUDE_PHASE_FILE_NAME;
    for (ResultFile* file : {&state.complex, &state.magnitude_phase}) {
        file->pending.reset(new (std::nothrow) char[RESULT_BLOCK_SIZE]);
        if (!file->pending) {
            files.state.reset();  // closes both
            return FileError{COMPLEX_FILE_NAME, ENOMEM};
        }
    }
    return FileError{};
}

bool close_result_files(ResultFiles& files, FileError (&failures)[2])
{
    ResultFilesState& state = *files.state;
    failures[0] = close_result_file(state.complex);
    failures[1] = close_result_file(state.magnitude_phase);
    return failures[0].code == 0 && failures[1].code == 0;
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

long divide_spectra(const Spectrum& response, const Spectrum& excitation, long count,
                    ResultFiles& files)
{
    for (long j = 0; j < count; ++j) {
        // Written so that a NaN difference passes, as "not greater" does.
        if (std::fabs(response.frequency[j] - excitation.frequency[j]) > SYNC_TOLERANCE) {
            std::printf("\n sync error \n");
            // " %lf %lf \n", one value at a time
            print_number(" %lf", response.frequency[j]);
            print_number(" %lf \n", excitation.frequency[j]);
            return j;
        }
        const QuotientPoint point = compute_quotient_point(response, excitation, j);
        write_complex_line(files, point);
        write_magnitude_phase_line(files, point);
    }
    return count;
}
