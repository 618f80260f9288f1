// Fast spectrum reader: the records that a loop of fscanf(file, "%lf %lf %lf")
// yields, with glibc's scanf, read from fixed-size chunks of the file.
//
// glibc's %lf collects characters greedily and pushes back at most the one
// character that ended the number, so a number that turns out malformed
// ("-", ".", "0x", "infin") is still consumed, and the next read starts
// after it. Of what was collected, strtod converts the longest valid prefix
// ("1e+" gives 1, "0x." gives 0). The functions below follow that grammar
// character by character and convert the text without the C library, so
// that the results are the same wherever the program is built.
#include "spectrum/read_spectrum_detail.h"

#include <bit>
#include <cerrno>
#include <cfloat>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <new>

static_assert(FLT_EVAL_METHOD == 0, "the exact fast path needs plain double arithmetic");

namespace {

// Significant decimal digits kept of a long mantissa. A double, or a point
// halfway between two doubles, never needs more than 767, so the digits past
// these only tell whether the value lies a little above the kept ones.
constexpr int MAX_DECIMAL_DIGITS = 800;
// Significant hexadecimal digits kept: 64 bits, past the 53 + 1 that matter.
constexpr int MAX_HEX_DIGITS = 16;
// An exponent written with more digits saturates here: far beyond any count
// of digits that a file can shift it by, yet clear of overflow in int64.
constexpr std::int64_t EXPONENT_SATURATION = 100000000000000000;
// Exponents handed to from_chars are clamped far past the range of double,
// where the result is inf or 0 whatever the digits.
constexpr std::int64_t EXPONENT_LIMIT = 100000;

// Line ends counted while a file is read again to locate things in it.
struct LineTracker {
    const char* counted;     // the bytes of the chunk before this one are counted
    long long chunk_offset;  // file offset of the chunk's first byte
    long long line;          // 1 + the line ends before `counted`
    long long line_start;    // file offset of the first byte of that line
};

struct Input {
    std::FILE* file;
    char* chunk;  // chunk_size bytes and a NUL after the last byte read
    std::size_t chunk_size;
    const char* next;  // first byte not yet consumed
    const char* end;   // end of the bytes read into chunk, where the NUL is
    bool file_done;    // fread has reported the end of the file or an error
    int error;
    LineTracker* lines;                    // null when reading records
    char digits[MAX_DECIMAL_DIGITS + 32];  // a long mantissa, rewritten for from_chars
};

void count_lines(Input& in, const char* to)
{
    LineTracker& lines = *in.lines;
    for (const char* p = lines.counted;; ++p) {
        p = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(to - p)));
        if (p == nullptr)
            break;
        ++lines.line;
        lines.line_start = lines.chunk_offset + (p + 1 - in.chunk);
    }
    lines.counted = to;
}

bool refill(Input& in)
{
    if (in.file_done)
        return false;
    if (in.lines != nullptr) {
        count_lines(in, in.end);  // the whole chunk has been consumed
        in.lines->chunk_offset += in.end - in.chunk;
        in.lines->counted = in.chunk;
    }
    std::size_t got = std::fread(in.chunk, 1, in.chunk_size, in.file);
    if (got < in.chunk_size) {
        in.file_done = true;
        if (std::ferror(in.file))
            in.error = errno_or(EIO);
    }
    in.chunk[got] = '\0';
    in.next = in.chunk;
    in.end = in.chunk + got;
    return got != 0;
}

// The next byte (0..255) without consuming it, or -1 at the end of the input.
inline int peek(Input& in)
{
    if (in.next == in.end && !refill(in))
        return -1;
    return static_cast<unsigned char>(*in.next);
}

// The C locale's isspace.
inline bool is_space(int c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}
inline bool is_digit(int c)
{
    return c >= '0' && c <= '9';
}
// Lower case of an ASCII letter; only ever compared with a lower-case letter.
inline int lower(int c)
{
    return c | 0x20;
}

inline int hex_value(int c)
{
    if (is_digit(c))
        return c - '0';
    int l = lower(c);
    return l >= 'a' && l <= 'f' ? l - 'a' + 10 : -1;
}

enum class Field { converted, mismatch, end_of_input };

inline double with_sign(bool negative, std::uint64_t magnitude_bits)
{
    return std::bit_cast<double>(magnitude_bits | (negative ? 0x8000000000000000u : 0u));
}

constexpr std::uint64_t INF_BITS = 0x7ff0000000000000u;
constexpr std::uint64_t NAN_BITS = 0x7ff8000000000000u;  // what glibc's strtod gives for "nan"

// Consumes the rest of "nan", "inf" or "infinity". glibc reads these letter
// by letter and gives up on the first one that does not match, which it
// has consumed too.
bool match_letters(Input& in, const char* letters)
{
    for (; *letters != '\0'; ++letters) {
        int c = peek(in);
        if (c < 0)
            return false;
        ++in.next;
        if (lower(c) != *letters)
            return false;
    }
    return true;
}

// Reads the decimal digits of an exponent; a long one saturates.
std::int64_t read_exponent(Input& in, int c)
{
    bool negative = false;
    if (c == '+' || c == '-') {
        negative = c == '-';
        ++in.next;
        c = peek(in);
    }
    std::int64_t exponent = 0;
    for (; is_digit(c); c = peek(in)) {
        ++in.next;
        if (exponent < EXPONENT_SATURATION)
            exponent = exponent * 10 + (c - '0');
    }
    return negative ? -exponent : exponent;
}

std::int64_t clamp_exponent(std::int64_t e)
{
    return e < -EXPONENT_LIMIT ? -EXPONENT_LIMIT : e > EXPONENT_LIMIT ? EXPONENT_LIMIT : e;
}

// Appends "<e>" to text and converts it: the correctly rounded value, with
// what strtod gives where from_chars reports a value out of range:
// infinity when the number is at least 1, zero below.
double convert(char* text, char* end, std::int64_t exponent, bool at_least_one,
               std::chars_format format)
{
    end = std::to_chars(end, end + 24, exponent).ptr;
    double value = 0.0;
    auto result = std::from_chars(text, end, value, format);
    if (result.ec == std::errc::result_out_of_range)
        value = at_least_one ? std::bit_cast<double>(INF_BITS) : 0.0;
    return value;
}

// Digits after "0x": value = digits * 2^(scale + exponent).
Field read_hex(Input& in, bool negative, double& out)
{
    std::uint64_t mantissa = 0;
    int count = 0;         // significant digits in mantissa
    bool dropped = false;  // a nonzero digit past MAX_HEX_DIGITS
    std::int64_t scale = 0;
    bool any_digit = false, point = false;
    int c = peek(in);
    for (;; c = peek(in)) {
        int v = hex_value(c);
        if (v < 0) {
            if (c != '.' || point)
                break;
            point = true;
            ++in.next;
            continue;
        }
        ++in.next;
        any_digit = true;
        if (count == 0 && v == 0) {
            scale -= point ? 4 : 0;
        } else if (count < MAX_HEX_DIGITS) {
            mantissa = mantissa * 16 + static_cast<unsigned>(v);
            ++count;
            scale -= point ? 4 : 0;
        } else {
            dropped |= v != 0;
            scale += point ? 0 : 4;
        }
    }
    std::int64_t exponent = 0;
    if (any_digit && lower(c) == 'p') {
        ++in.next;
        exponent = read_exponent(in, peek(in));
    }
    if (!any_digit && !point)
        return Field::mismatch;  // "0x" alone; "0x." is 0, read from its "0"
    if (count == 0) {
        out = with_sign(negative, 0);
        return Field::converted;
    }
    char* text = in.digits;
    char* end = std::to_chars(text, text + 16, mantissa, 16).ptr;
    if (dropped) {
        *end++ = '1';  // keeps the value above the kept digits, below the next
        scale -= 4;
        ++count;
    }
    *end++ = 'p';
    std::int64_t e = clamp_exponent(scale + exponent);
    double value = convert(text, end, e, 4 * count + e > 0, std::chars_format::hex);
    out = negative ? -value : value;
    return Field::converted;
}

constexpr double POWERS_OF_TEN[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                    1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                    1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

constexpr std::uint64_t EXACT_LIMIT = std::uint64_t{1} << 53;

// mantissa * 10^e when both factors are exact doubles (Clinger's fast
// path): one correctly rounded operation then gives the correctly rounded
// result. Up to 10^37 for small mantissas, whose product with 10^(e-22) is
// still exact. from_chars is left only the numbers that its own fast path
// would not take either; on 32-bit MinGW that path runs on the x87 unit,
// whose double rounding could change the last bit.
inline bool exact_product(std::uint64_t mantissa, std::int64_t e, double& value)
{
    if (mantissa > EXACT_LIMIT || e < -22 || e > 22 + 15)
        return false;
    if (e > 22) {
        std::uint64_t scale = static_cast<std::uint64_t>(POWERS_OF_TEN[e - 22]);
        if (mantissa > EXACT_LIMIT / scale)
            return false;
        mantissa *= scale;
        e = 22;
    }
    double m = static_cast<double>(mantissa);
    value = e < 0 ? m / POWERS_OF_TEN[-e] : m * POWERS_OF_TEN[e];
    return true;
}

// A decimal number after its sign; zero_read tells that a leading "0" was
// consumed while looking for "0x". value = digits * 10^(scale + exponent).
Field read_decimal(Input& in, bool negative, bool zero_read, double& out)
{
    char* digits = in.digits;
    std::uint64_t mantissa = 0;  // the first 19 significant digits
    int count = 0;               // significant digits in digits
    bool dropped = false;        // a nonzero digit past MAX_DECIMAL_DIGITS
    std::int64_t scale = 0;
    bool any_digit = zero_read, point = false;
    int c = peek(in);
    for (;; c = peek(in)) {
        if (!is_digit(c)) {
            if (c != '.' || point)
                break;
            point = true;
            ++in.next;
            continue;
        }
        ++in.next;
        any_digit = true;
        if (count == 0 && c == '0') {
            scale -= point ? 1 : 0;
        } else if (count < MAX_DECIMAL_DIGITS) {
            if (count < 19)
                mantissa = mantissa * 10 + static_cast<unsigned>(c - '0');
            digits[count++] = static_cast<char>(c);
            scale -= point ? 1 : 0;
        } else {
            dropped |= c != '0';
            scale += point ? 0 : 1;
        }
    }
    std::int64_t exponent = 0;
    if (any_digit && lower(c) == 'e') {
        ++in.next;
        exponent = read_exponent(in, peek(in));
    }
    if (!any_digit)
        return Field::mismatch;  // "-", ".", "+." and the like
    std::int64_t e = scale + exponent;
    double value = 0.0;
    if (count > 0 && !(count <= 19 && exact_product(mantissa, e, value))) {
        char* end = digits + count;
        if (dropped) {
            *end++ = '1';  // keeps the value above the kept digits, below the next
            --e;
            ++count;
        }
        *end++ = 'e';
        e = clamp_exponent(e);
        value = convert(digits, end, e, count + e > 0, std::chars_format::general);
    }
    out = negative ? -value : value;
    return Field::converted;
}

// One %lf conversion, with the white space before it, in any notation and
// across chunk boundaries.
Field read_field_exact(Input& in, double& out)
{
    int c;
    while (is_space(c = peek(in)))
        ++in.next;
    if (c < 0)
        return Field::end_of_input;
    bool negative = false;
    if (c == '-' || c == '+') {
        negative = c == '-';
        ++in.next;
        c = peek(in);
        if (c < 0)
            return Field::mismatch;
    }
    if (lower(c) == 'n') {
        // glibc stops after "nan": a "(chars)" that follows is left unread.
        ++in.next;
        if (!match_letters(in, "an"))
            return Field::mismatch;
        out = with_sign(negative, NAN_BITS);
        return Field::converted;
    }
    if (lower(c) == 'i') {
        ++in.next;
        if (!match_letters(in, "nf"))
            return Field::mismatch;
        if (lower(peek(in)) == 'i') {
            ++in.next;
            if (!match_letters(in, "nity"))
                return Field::mismatch;
        }
        out = with_sign(negative, INF_BITS);
        return Field::converted;
    }
    if (c == '0') {
        ++in.next;
        if (lower(peek(in)) == 'x') {
            ++in.next;
            return read_hex(in, negative, out);
        }
        return read_decimal(in, negative, true, out);
    }
    return read_decimal(in, negative, false, out);
}

// One %lf conversion. The common plain decimal number with at most 19
// digits, lying wholly within the chunk, is read here straight from the
// bytes; the NUL after the chunk stops every loop, as no number contains
// one. Anything else is left to read_field_exact from the same place.
[[gnu::always_inline]] inline Field read_field(Input& in, double& out)
{
    const char* p = in.next;
    while (is_space(static_cast<unsigned char>(*p)))
        ++p;
    in.next = p;
    // Signs are taken without branches: they follow no pattern.
    bool negative = *p == '-';
    p += negative || *p == '+';
    std::uint64_t mantissa = 0;
    const char* digits = p;
    while (is_digit(*p))
        mantissa = mantissa * 10 + static_cast<unsigned>(*p++ - '0');
    std::ptrdiff_t count = p - digits;
    std::int64_t e = 0;
    if (*p == '.') {
        const char* fraction = ++p;
        while (is_digit(*p))
            mantissa = mantissa * 10 + static_cast<unsigned>(*p++ - '0');
        e = fraction - p;
        count += p - fraction;
    }
    if (count == 0 || count > 19 || lower(*p) == 'x')
        return read_field_exact(in, out);
    if (lower(*p) == 'e') {
        ++p;
        bool exponent_negative = *p == '-';
        p += exponent_negative || *p == '+';
        std::int64_t exponent = 0;
        // A saturated exponent is far out of the range below.
        while (is_digit(*p) && exponent < EXPONENT_SATURATION)
            exponent = exponent * 10 + (*p++ - '0');
        e += exponent_negative ? -exponent : exponent;
    }
    double value;
    if (p == in.end || !exact_product(mantissa, e, value))
        return read_field_exact(in, out);
    out = with_sign(negative, std::bit_cast<std::uint64_t>(value));  // no branch here either
    in.next = p;
    return Field::converted;
}

}  // namespace

ReadOutcome read_spectrum_limited(std::FILE* file, Spectrum& spectrum, long max_points,
                                  std::size_t chunk_size)
{
    ReadOutcome outcome;
    spectrum.count = 0;
    if (chunk_size == 0)
        chunk_size = 1;
    std::unique_ptr<char[]> chunk(new (std::nothrow) char[chunk_size + 1]);
    if (!spectrum.storage || !chunk) {
        outcome.error.code = ENOMEM;
        return outcome;
    }
    chunk[0] = '\0';
    Input in{file, chunk.get(), chunk_size, chunk.get(), chunk.get(), false, 0, nullptr, {}};

    // A read that converts the first field is a record, whatever becomes of
    // the other two; the next read starts where this one stopped.
    long i = 0;
    int fields = 0;
    for (; i < max_points; ++i) {
        const Field first = read_field(in, spectrum.frequency[i]);
        if (first != Field::converted) {
            outcome.stopped_at_text = first == Field::mismatch;
            break;
        }
        fields = 1;
        if (read_field(in, spectrum.real[i]) == Field::converted)
            fields = read_field(in, spectrum.imaginary[i]) == Field::converted ? 3 : 2;
    }
    spectrum.count = i;
    outcome.last_record_fields = fields;
    if (i == max_points) {
        double scratch = 0.0;
        outcome.records_ignored = read_field(in, scratch) == Field::converted;
    }
    outcome.error.code = in.error;
    return outcome;
}

namespace {

// The first non-space byte from here on, with the line ends before it
// counted; -1 at the end of the input.
int skip_to_item(Input& in)
{
    int c;
    while (is_space(c = peek(in)))
        ++in.next;
    count_lines(in, in.next);
    return c;
}

struct Locator {
    Input& in;
    const PositionQuery& query;
    InputPositions& found;

    // One field read as the reader reads it, noting the line of a number.
    Field field(long long& line)
    {
        skip_to_item(in);
        line = in.lines->line;
        double scratch;
        const Field result = read_field(in, scratch);
        if (result == Field::converted) {
            if (found.first_numbers_line == 0)
                found.first_numbers_line = line;
            if (line == found.first_numbers_line)
                ++found.first_numbers_count;
            else
                found.numbers_after_first_line = true;
        }
        return result;
    }

    bool all_found(long records_read) const
    {
        if (query.stop || !found.numbers_after_first_line)
            return false;
        for (long record : query.records)
            if (record >= records_read)
                return false;
        return true;
    }

    void record(long i)
    {
        long long line;
        field(line);
        for (int k = 0; k < MAX_ASKED_RECORDS; ++k)
            if (query.records[k] == i)
                found.record_line[k] = line;
        if (field(line) == Field::converted)
            field(line);
    }

    void stop()
    {
        int c = skip_to_item(in);
        const LineTracker& lines = *in.lines;
        found.stop_line = lines.line;
        found.stop_column = lines.chunk_offset + (in.next - in.chunk) - lines.line_start + 1;
        for (; c >= 0 && c != '\n'; c = peek(in)) {
            if (found.stop_text_length == STOP_TEXT_CAPACITY) {
                found.stop_text_cut = true;
                return;
            }
            found.stop_text[found.stop_text_length++] = static_cast<char>(c);
            ++in.next;
        }
        if (c == '\n' && found.stop_text_length > 0
            && found.stop_text[found.stop_text_length - 1] == '\r')
            --found.stop_text_length;  // the CR of a CR LF line end
    }
};

}  // namespace

InputPositions locate_positions_limited(std::FILE* file, const PositionQuery& query,
                                        std::size_t chunk_size)
{
    InputPositions found;
    if (chunk_size == 0)
        chunk_size = 1;
    std::unique_ptr<char[]> chunk(new (std::nothrow) char[chunk_size + 1]);
    if (!chunk || std::fseek(file, 0, SEEK_SET) != 0)
        return found;
    chunk[0] = '\0';
    LineTracker lines{chunk.get(), 0, 1, 0};
    Input in{file, chunk.get(), chunk_size, chunk.get(), chunk.get(), false, 0, &lines, {}};
    Locator locator{in, query, found};
    long i = 0;
    for (; i < query.count && !locator.all_found(i); ++i)
        locator.record(i);
    if (query.stop && i == query.count)
        locator.stop();
    found.known = in.error == 0;
    return found;
}

InputPositions locate_positions(std::FILE* file, const PositionQuery& query)
{
    return locate_positions_limited(file, query, DEFAULT_CHUNK_SIZE);
}
