#include "fravlin/input_report.h"

#include <charconv>
#include <cmath>

#include "fravlin/report.h"
#include "spectrum/input_positions.h"

namespace {

constexpr std::size_t SHOWN_CHARACTERS = 40;

// The records asked of locate_positions, by their place in the query.
constexpr int PARTIAL_RECORD = 0;
constexpr int SYNC_RECORD = 1;
constexpr int MISALIGNED_RECORD = 2;
constexpr int ZERO_RECORD = 3;

void warn(const char* name, const std::string& text)
{
    report(name, text.c_str());
}

std::string records(long long count)
{
    return std::to_string(count) + (count == 1 ? " record" : " records");
}

// The shortest text that reads back as the same double.
std::string frequency_text(double value)
{
    char text[32];
    return std::string(text, std::to_chars(text, text + sizeof text, value).ptr);
}

// Length of the well-formed UTF-8 sequence of two or more bytes at text
// that is no C1 control, or 0.
std::size_t utf8_length(const unsigned char* text, std::size_t length)
{
    const unsigned lead = text[0];
    unsigned low = 0x80, high = 0xbf;
    std::size_t size;
    if (lead >= 0xc2 && lead <= 0xdf) {
        size = 2;
        low = lead == 0xc2 ? 0xa0 : 0x80;
    } else if (lead >= 0xe0 && lead <= 0xef) {
        size = 3;
        low = lead == 0xe0 ? 0xa0 : 0x80;
        high = lead == 0xed ? 0x9f : 0xbf;
    } else if (lead >= 0xf0 && lead <= 0xf4) {
        size = 4;
        low = lead == 0xf0 ? 0x90 : 0x80;
        high = lead == 0xf4 ? 0x8f : 0xbf;
    } else {
        return 0;
    }
    if (length < size || text[1] < low || text[1] > high)
        return 0;
    for (std::size_t i = 2; i < size; ++i)
        if ((text[i] & 0xc0) != 0x80)
            return 0;
    return size;
}

// The facts about the pairs of records that the division handled.
struct PairCheck {
    long divided = 0;      // pairs divided: all, or those before the sync error
    long sync_index = -1;  // -1 when the division was complete
    long misaligned = 0;
    long first_misaligned = -1;
    long zero_excitations = 0;
    long first_zero = -1;
};

// Two frequencies that pass the sync test yet lie half a step or more
// apart pair a record with another bin's. The step is the response's
// spacing at that index; a repeated frequency or a single record gives
// none to judge by.
bool misaligned(const Spectrum& response, const Spectrum& excitation, long j)
{
    const double* f = response.frequency;
    const double step = j + 1 < response.count ? std::fabs(f[j + 1] - f[j])
                        : j > 0                ? std::fabs(f[j] - f[j - 1])
                                               : 0.0;
    return step > 0.0 && std::isfinite(step)
           && std::fabs(f[j] - excitation.frequency[j]) >= step / 2;
}

PairCheck check_pairs(const Spectrum& response, const Spectrum& excitation, long count,
                      long divided)
{
    PairCheck check;
    check.divided = divided;
    check.sync_index = divided < count ? divided : -1;
    for (long j = 0; j < divided; ++j) {
        if (misaligned(response, excitation, j) && check.misaligned++ == 0)
            check.first_misaligned = j;
        if (excitation.real[j] == 0.0 && excitation.imaginary[j] == 0.0
            && check.zero_excitations++ == 0)
            check.first_zero = j;
    }
    return check;
}

InputPositions locate(const InputFile& input, const PairCheck& check, bool excitation)
{
    PositionQuery query;
    query.count = input.spectrum->count;
    query.stop = input.outcome.stopped_at_text;
    if (input.outcome.last_record_fields == 1 || input.outcome.last_record_fields == 2)
        query.records[PARTIAL_RECORD] = query.count - 1;
    query.records[SYNC_RECORD] = check.sync_index;
    query.records[MISALIGNED_RECORD] = check.first_misaligned;
    if (excitation)
        query.records[ZERO_RECORD] = check.first_zero;
    return locate_positions(input.file, query);
}

// "on line 5 of NAME", or "in NAME" when the file could not be read again.
std::string place(const InputPositions& positions, int asked, const char* name)
{
    if (!positions.known)
        return std::string("in ") + name;
    return "on line " + std::to_string(positions.record_line[asked]) + " of " + name;
}

// Where reading stopped, and what stands there when the file could be read
// again.
std::string stop_place(const InputPositions& positions)
{
    if (!positions.known)
        return " at something that is not a number";
    return " at line " + std::to_string(positions.stop_line) + ", column "
           + std::to_string(positions.stop_column) + ", at "
           + quoted_text(positions.stop_text, positions.stop_text_length, positions.stop_text_cut)
           + ", which is not a number";
}

// The warnings about one file's reading; true when it was not read to its
// end or yielded no records.
bool report_reading(const InputFile& input, const InputPositions& positions)
{
    const long count = input.spectrum->count;
    const bool stopped = input.outcome.stopped_at_text;
    if (positions.known && positions.first_numbers_line != 0 && positions.first_numbers_count != 3
        && !(stopped && positions.stop_line == positions.first_numbers_line)
        && (positions.first_numbers_count > 3 || positions.numbers_after_first_line)) {
        const long numbers = positions.first_numbers_count;
        warn(input.name, "warning: line " + std::to_string(positions.first_numbers_line)
                             + ", the first with numbers, holds " + std::to_string(numbers)
                             + (numbers == 1 ? " number" : " numbers")
                             + "; records are taken three numbers at a time regardless of lines");
    }
    const int fields = input.outcome.last_record_fields;
    if (count > 0 && (fields == 1 || fields == 2)) {
        const std::string line =
            positions.known
                ? ", on line " + std::to_string(positions.record_line[PARTIAL_RECORD]) + ","
                : "";
        warn(input.name,
             "warning: the last record" + line
                 + (fields == 1 ? " holds only 1 number; its real and imaginary parts were"
                                : " holds only 2 numbers; its imaginary part was")
                 + " taken as 0");
    }
    if (count == 0) {
        warn(input.name, stopped ? "warning: no records: reading stopped" + stop_place(positions)
                                 : std::string("warning: no records: the file holds no numbers"));
        return true;
    }
    if (stopped) {
        warn(input.name, "warning: reading stopped after " + records(count) + stop_place(positions)
                             + "; the rest of the file was not read");
        return true;
    }
    return false;
}

}  // namespace

std::string quoted_text(const char* text, std::size_t length, bool cut)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    std::string shown = "\"";
    std::size_t i = 0;
    for (std::size_t characters = 0; i < length && characters < SHOWN_CHARACTERS; ++characters) {
        const unsigned c = bytes[i];
        if (c >= 0x20 && c < 0x7f) {
            if (c == '"' || c == '\\')
                shown += '\\';
            shown += static_cast<char>(c);
            ++i;
        } else if (std::size_t size = c >= 0x80 ? utf8_length(bytes + i, length - i) : 0;
                   size != 0) {
            shown.append(text + i, size);
            i += size;
        } else {
            append_escaped_byte(shown, static_cast<unsigned char>(c));
            ++i;
        }
    }
    shown += '"';
    if (cut || i < length)
        shown += "...";
    return shown;
}

bool report_inputs(const InputFile& response, const InputFile& excitation, long common_count,
                   long divided)
{
    const PairCheck check =
        check_pairs(*response.spectrum, *excitation.spectrum, common_count, divided);
    const InputPositions response_positions = locate(response, check, false);
    const InputPositions excitation_positions = locate(excitation, check, true);

    bool suspect = report_reading(response, response_positions);
    suspect = report_reading(excitation, excitation_positions) || suspect;

    const double* response_frequency = response.spectrum->frequency;
    const double* excitation_frequency = excitation.spectrum->frequency;
    if (check.misaligned > 0) {
        const long j = check.first_misaligned;
        warn(excitation.name,
             "warning: " + std::to_string(check.misaligned) + " of " + std::to_string(check.divided)
                 + " pairs of frequencies lie half a frequency step or more apart, so records are"
                   " likely paired with another bin's; the first is record "
                 + std::to_string(j + 1) + ": " + frequency_text(response_frequency[j]) + " "
                 + place(response_positions, MISALIGNED_RECORD, response.name) + ", "
                 + frequency_text(excitation_frequency[j]) + " "
                 + place(excitation_positions, MISALIGNED_RECORD, excitation.name));
        suspect = true;
    }
    if (check.sync_index >= 0) {
        const long j = check.sync_index;
        warn(excitation.name,
             "sync error at record " + std::to_string(j + 1) + ": "
                 + frequency_text(response_frequency[j]) + " "
                 + place(response_positions, SYNC_RECORD, response.name) + ", "
                 + frequency_text(excitation_frequency[j]) + " "
                 + place(excitation_positions, SYNC_RECORD, excitation.name)
                 + ", more than 1 apart; the result files hold "
                 + (j == 0 ? std::string("no records") : "only the " + records(j) + " before it"));
    }
    if (check.zero_excitations > 0) {
        const long j = check.first_zero;
        const std::string line =
            excitation_positions.known
                ? ", line " + std::to_string(excitation_positions.record_line[ZERO_RECORD])
                : "";
        warn(excitation.name, "warning: the excitation is 0 at " + records(check.zero_excitations)
                                  + ", the first at record " + std::to_string(j + 1)
                                  + " (frequency " + frequency_text(excitation_frequency[j]) + line
                                  + "); the result lines there hold inf or nan");
    }
    return suspect;
}
