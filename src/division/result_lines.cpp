// The result lines, formatted without printf but byte for byte as
// "%14.5e %14.4e %14.4e \n" and "%14.5e %14.4e  %14.4e\n" print them.
#include "division/division_detail.h"
#include "division/exp_format.h"

#include <bit>
#include <cstring>

namespace {

char* write_frequency(ResultFilesState& files, char* out, double frequency)
{
    const std::uint64_t bits = std::bit_cast<std::uint64_t>(frequency);
    if (files.frequency_length == 0 || bits != files.frequency_bits) {
        char* end = format_exponent(files.frequency_text, frequency, 14, 5);
        files.frequency_length = static_cast<std::size_t>(end - files.frequency_text);
        files.frequency_bits = bits;
    }
    std::memcpy(out, files.frequency_text, files.frequency_length);
    return out + files.frequency_length;
}

char* start_line(ResultFile& file)
{
    if (file.length > RESULT_BLOCK_SIZE - RESULT_LINE_MAX)
        flush_pending_lines(file);  // a failure is kept for the close to report
    return file.pending.get() + file.length;
}

void end_line(ResultFile& file, const char* end)
{
    file.length = static_cast<std::size_t>(end - file.pending.get());
}

}  // namespace

void write_complex_line(ResultFiles& files, const QuotientPoint& point)
{
    ResultFilesState& state = *files.state;
    char* out = start_line(state.complex);
    out = write_frequency(state, out, point.frequency);
    *out++ = ' ';
    out = format_exponent(out, point.real, 14, 4);
    *out++ = ' ';
    out = format_exponent(out, point.imaginary, 14, 4);
    *out++ = ' ';
    *out++ = '\n';
    end_line(state.complex, out);
}

void write_magnitude_phase_line(ResultFiles& files, const QuotientPoint& point)
{
    ResultFilesState& state = *files.state;
    char* out = start_line(state.magnitude_phase);
    out = write_frequency(state, out, point.frequency);
    *out++ = ' ';
    out = format_exponent(out, point.magnitude, 14, 4);
    *out++ = ' ';
    *out++ = ' ';
    out = format_exponent(out, point.phase, 14, 4);
    *out++ = '\n';
    end_line(state.magnitude_phase, out);
}
