#include "division/exp_format.h"

#include <array>
#include <bit>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstring>

#ifdef EXP_FORMAT_COUNT_SLOW
// Bench and sweep builds count how often the exact path runs.
std::uint64_t exp_format_slow_count = 0;
#define EXP_FORMAT_SLOW_TAKEN() (++exp_format_slow_count)
#else
#define EXP_FORMAT_SLOW_TAKEN() ((void)0)
#endif

#ifdef EXP_FORMAT_EXACT_ONLY
// A test build sends every value down the exact path.
constexpr bool USE_FAST_PATH = false;
#else
constexpr bool USE_FAST_PATH = true;
#endif

namespace {

struct U128 {
    std::uint64_t hi;
    std::uint64_t lo;
};

// floor(log2(10^q)), exact for |q| <= 1233 (checked below for the range used).
constexpr int floor_log2_pow10(int q)
{
    return (q * 1741647) >> 19;
}

// floor(log10(2^b)), exact for |b| <= 2620 (checked below for the range used).
constexpr int floor_log10_pow2(int b)
{
    return (b * 315653) >> 20;
}

// ---------------------------------------------------------------------------
// Compile-time table of 128-bit powers of ten.
//
// POW10[q - MIN_Q] = floor(10^q / 2^s) with s = floor_log2_pow10(q) - 127,
// so every entry has its top bit set. The fast path asks for q = D-1-k with
// D in 1..18 digits and k = floor_log10_pow2(b), 2^b <= value < 2^(b+1).

constexpr int MIN_Q = 1 - 1 - floor_log10_pow2(1023);    // -307, DBL_MAX
constexpr int MAX_Q = 18 - 1 - floor_log10_pow2(-1074);  // 341, DBL_TRUE_MIN

// floor(2^RECIPROCAL_BITS / 5^-MIN_Q) must still have 128 bits.
constexpr int RECIPROCAL_BITS = 864;
static_assert(RECIPROCAL_BITS - 128
              >= floor_log2_pow10(-MIN_Q) + MIN_Q + 1);  // bit length of 5^-MIN_Q

// Little-endian 32-bit limbs, enough for 2^864 and 5^345 < 2^802.
struct TableBig {
    std::uint32_t limb[28] = {};
    int n = 1;  // limbs in use; the value 0 has n == 1
};

constexpr void big_mul_small(TableBig& a, std::uint32_t f)
{
    std::uint64_t carry = 0;
    for (int i = 0; i < a.n; ++i) {
        const std::uint64_t p = std::uint64_t(a.limb[i]) * f + carry;
        a.limb[i] = static_cast<std::uint32_t>(p);
        carry = p >> 32;
    }
    if (carry)
        a.limb[a.n++] = static_cast<std::uint32_t>(carry);
}

constexpr int big_bit_length(const TableBig& a)
{
    return 32 * (a.n - 1) + static_cast<int>(std::bit_width(a.limb[a.n - 1]));
}

constexpr bool big_bit(const TableBig& a, int i)
{
    return i >= 0 && i / 32 < a.n && ((a.limb[i / 32] >> (i % 32)) & 1u) != 0;
}

constexpr U128 shl1_or(U128 t, bool bit)
{
    return {(t.hi << 1) | (t.lo >> 63), (t.lo << 1) | (bit ? 1u : 0u)};
}

// a = floor(a / f)
constexpr void big_div_small(TableBig& a, std::uint32_t f)
{
    std::uint64_t rem = 0;
    for (int i = a.n - 1; i >= 0; --i) {
        const std::uint64_t cur = (rem << 32) | a.limb[i];
        a.limb[i] = static_cast<std::uint32_t>(cur / f);
        rem = cur % f;
    }
    while (a.n > 1 && a.limb[a.n - 1] == 0)
        --a.n;
}

// The top 128 bits of a (a >= 2^127), truncated.
constexpr U128 big_top128(const TableBig& a)
{
    U128 t{0, 0};
    const int len = big_bit_length(a);
    for (int i = len - 1; i >= len - 128; --i)
        t = shl1_or(t, big_bit(a, i));
    return t;
}

constexpr auto POW10 = [] {
    std::array<U128, MAX_Q - MIN_Q + 1> table{};
    // 10^q = 5^q * 2^q: the top 128 bits of 5^q.
    TableBig p;
    p.limb[0] = 1;
    for (int q = 0; q <= MAX_Q; ++q, big_mul_small(p, 5))
        table[static_cast<std::size_t>(q - MIN_Q)] = big_top128(p);
    // 10^-n = 2^-n / 5^n: the top 128 bits of floor(2^864 / 5^n), which are
    // floor(2^j / 5^n) for the right j since floor(floor(a/b)/c) = floor(a/(b*c));
    // the same identity lets each step divide the previous quotient by 5.
    TableBig r;
    r.n = RECIPROCAL_BITS / 32 + 1;
    r.limb[RECIPROCAL_BITS / 32] = std::uint32_t(1) << (RECIPROCAL_BITS % 32);
    for (int n = 1; n <= -MIN_Q; ++n) {
        big_div_small(r, 5);
        table[static_cast<std::size_t>(-n - MIN_Q)] = big_top128(r);
    }
    return table;
}();

// Checks the two logarithm shortcuts against exact bit lengths of 5^n.
constexpr bool logarithms_exact()
{
    constexpr int MAX_N = 345;
    std::array<int, MAX_N + 1> len5{};  // bit length of 5^n
    TableBig p;
    p.limb[0] = 1;
    for (int n = 0; n <= MAX_N; ++n, big_mul_small(p, 5))
        len5[static_cast<std::size_t>(n)] = big_bit_length(p);
    // floor(log2(10^q)): 10^q = 5^q * 2^q, and 2^-n / 5^n lies in (2^(-n-len), 2^(-n-len+1)).
    auto exact_log2 = [&](int q) {
        return q >= 0 ? q + len5[static_cast<std::size_t>(q)] - 1
                      : q - len5[static_cast<std::size_t>(-q)];
    };
    for (int q = -MAX_N; q <= MAX_N; ++q)
        if (floor_log2_pow10(q) != exact_log2(q))
            return false;
    // 10^k <= 2^b exactly when k == 0 ? b >= 0 : floor(log2(10^k)) < b (10^k is no power of two).
    auto pow10_le_pow2 = [&](int k, int b) { return k == 0 ? b >= 0 : exact_log2(k) < b; };
    for (int b = -1074; b <= 1023; ++b) {
        const int k = floor_log10_pow2(b);
        if (!pow10_le_pow2(k, b) || pow10_le_pow2(k + 1, b))
            return false;
    }
    return true;
}
static_assert(logarithms_exact());

constexpr auto POW10_INT = [] {
    std::array<std::uint64_t, 20> t{};
    t[0] = 1;
    for (std::size_t i = 1; i < t.size(); ++i)
        t[i] = t[i - 1] * 10;
    return t;
}();

constexpr auto DIGIT_PAIRS = [] {
    std::array<char, 200> t{};
    for (int i = 0; i < 100; ++i) {
        t[static_cast<std::size_t>(2 * i)] = static_cast<char>('0' + i / 10);
        t[static_cast<std::size_t>(2 * i + 1)] = static_cast<char>('0' + i % 10);
    }
    return t;
}();

// ---------------------------------------------------------------------------
// Fast path.
//
// value = m * 2^e with m in [2^63, 2^64). With D = precision + 1 digits and k
// the decimal exponent, the digits are round(X), X = value * 10^q, q = D-1-k,
// 10^(D-1) <= X < 10^D.
//
// Error bound. T = floor(10^q / 2^s) gives m*T <= m*10^q/2^s < m*T + m, and
// dropping the low 64 bits of m*T loses less than one more unit of 2^64, so
// U = floor(m*T / 2^64) satisfies U <= X * 2^t < U + 2, where
// t = -(e + s) - 64. The fixed-point value returned by scale() is
// Y = floor(U / 2^(t-64)), so Y <= X * 2^64 < Y + 1 + 2^(65-t).
// With k from floor_log10_pow2, 1 <= X < 2*10^18 < 2^61; as U >= 2^126 and
// U < 2^128 this gives 66 <= t <= 127, so the shift t-64 is in [2, 63] and
// Y <= X * 2^64 < Y + 2.
// Rounding: k may be one too low, and then X has D+1 digits and X/10 is
// rounded instead. Either way write floor(Y / 2^64) = d*n + r with d = 1 or 10,
// so the half-way point is H = (d*n + d/2) * 2^64 and the discarded part is
// Y - d*n*2^64 = r*2^64 + Y mod 2^64. If Y > H, X is above it: round up. If
// Y <= H - 2, X is below it: round down (should X in truth reach the next
// multiple of d, it still rounds to that one). Only Y in {H-1, H} cannot be
// decided; exact ties land there, and the exact path takes the rest.
// If Y says X < 10^D while in truth X >= 10^D, Y is within 2 units of
// 10^D * 2^64, rounds up to 10^D and carries to the right result.

inline U128 mul_64x64(std::uint64_t a, std::uint64_t b)
{
#if defined(__SIZEOF_INT128__) && !defined(EXP_FORMAT_PORTABLE_MUL)
    __extension__ using uint128 = unsigned __int128;
    const uint128 p = uint128(a) * b;
    return {static_cast<std::uint64_t>(p >> 64), static_cast<std::uint64_t>(p)};
#else
    const std::uint64_t al = a & 0xffffffffu, ah = a >> 32, bl = b & 0xffffffffu, bh = b >> 32;
    const std::uint64_t ll = al * bl, lh = al * bh, hl = ah * bl, hh = ah * bh;
    const std::uint64_t mid = (ll >> 32) + (lh & 0xffffffffu) + (hl & 0xffffffffu);
    return {hh + (lh >> 32) + (hl >> 32) + (mid >> 32), (mid << 32) | (ll & 0xffffffffu)};
#endif
}

// Y = value * 10^q * 2^64 as described above: hi = integer part, lo = fraction.
inline U128 scale(std::uint64_t m, int e, int q)
{
    const U128 t = POW10[static_cast<std::size_t>(q - MIN_Q)];
    const U128 low = mul_64x64(m, t.lo);
    const U128 high = mul_64x64(m, t.hi);
    const std::uint64_t mid = high.lo + low.hi;
    const std::uint64_t top = high.hi + (mid < low.hi ? 1u : 0u);
    const int shift = -e - floor_log2_pow10(q) - 1;  // t - 64, in [2, 63]
    return {top >> shift, (mid >> shift) | (top << (64 - shift))};
}

constexpr auto POW5 = [] {
    std::array<std::uint64_t, 28> t{};  // 5^27 < 2^63 < 5^28
    t[0] = 1;
    for (std::size_t i = 1; i < t.size(); ++i)
        t[i] = t[i - 1] * 5;
    return t;
}();

// Whether m * 2^e * 10^q is exactly an integer plus one half, that is
// whether 2X = (m / 2^tz) * 5^q * 2^(tz + e + q + 1) is an odd integer.
// Frequencies are often multiples of a binary step (0.125 Hz, say), and
// their last printed digit is then often an exact tie; deciding those here
// keeps them off the exact path.
inline bool is_exact_tie(std::uint64_t m, int e, int q)
{
    const int tz = std::countr_zero(m);
    if (tz + e + q + 1 != 0)
        return false;
    if (q >= 0)
        return true;
    return -q < static_cast<int>(POW5.size())
           && (m >> tz) % POW5[static_cast<std::size_t>(-q)] == 0;
}

// Sets n to the D rounded digits (10^(D-1) <= n < 10^D) and k to the decimal
// exponent. False when the rounding is too close to call.
inline bool fast_digits(std::uint64_t m, int e, int D, std::uint64_t& n, int& k)
{
    k = floor_log10_pow2(e + 63);  // 10^k <= value < 2*10^(k+1): k may be one too low
    const U128 y = scale(m, e, D - 1 - k);
    const std::uint64_t limit = POW10_INT[static_cast<std::size_t>(D)];
    const bool wide = y.hi >= limit;  // X has D+1 digits
    // y.hi < 2*10^D
    const std::uint64_t tenth =
        D <= 9 ? std::uint64_t(static_cast<std::uint32_t>(y.hi) / 10u) : y.hi / 10;
    n = wide ? tenth : y.hi;
    k += wide ? 1 : 0;
    // (hi, lo) = discarded part minus the half-way point, two's complement.
    const std::uint64_t half = std::uint64_t(1) << 63;
    const std::uint64_t r = y.hi - 10 * tenth;
    const std::uint64_t lo = y.lo - (wide ? 0 : half);
    const std::uint64_t hi = (wide ? r - 5 : 0) - (wide ? 0 : (y.lo < half ? 1u : 0u));
    if (((hi | lo) == 0) || ((hi & lo) == ~std::uint64_t(0))) {  // -1 or 0: too close to call
        if (!is_exact_tie(m, e, D - 1 - k))
            return false;
        n += n & 1;  // ties to even
    } else {
        n += (static_cast<std::int64_t>(hi) >= 0) ? 1u : 0u;
    }
    if (n == limit) {  // 9.9999|7 -> 10.0000
        n = POW10_INT[static_cast<std::size_t>(D - 1)];
        ++k;
    }
    return true;
}

// ---------------------------------------------------------------------------
// Output pieces.

// Writes the `count` low decimal digits of n, ending at `end`.
inline void write_digits(char* end, std::uint32_t n, int count)
{
    for (; count >= 2; count -= 2) {
        end -= 2;
        std::memcpy(end, &DIGIT_PAIRS[2 * (n % 100)], 2);
        n /= 100;
    }
    if (count)
        end[-1] = static_cast<char>('0' + n);
}

inline char* write_exponent(char* p, int k)
{
    const auto a = static_cast<std::uint32_t>(k < 0 ? -k : k);
    const char sign = k < 0 ? '-' : '+';
    if (a < 100) {
        const char e[4] = {'e', sign, DIGIT_PAIRS[2 * a], DIGIT_PAIRS[2 * a + 1]};
        std::memcpy(p, e, 4);
        return p + 4;
    }
    const std::uint32_t low = a % 100;
    const char e[5] = {'e', sign, static_cast<char>('0' + a / 100), DIGIT_PAIRS[2 * low],
                       DIGIT_PAIRS[2 * low + 1]};
    std::memcpy(p, e, 5);
    return p + 5;
}

// n < 10^8 as eight ASCII digits, the most significant in the lowest byte:
// split into 4+4 digits, then 2+2 per half, then 1+1 per quarter, each step
// in parallel lanes of one 64-bit word (x*10486 >> 20 is x/100 for x < 10^4,
// x*103 >> 10 is x/10 for x < 100).
inline std::uint64_t eight_digits(std::uint32_t n)
{
    const std::uint64_t x = (n / 10000) | (std::uint64_t(n % 10000) << 32);
    const std::uint64_t hundreds = ((x * 10486) >> 20) & 0x0000007F0000007Fu;
    const std::uint64_t y = hundreds | ((x - hundreds * 100) << 16);
    const std::uint64_t tens = ((y * 103) >> 10) & 0x000F000F000F000Fu;
    const std::uint64_t z = tens | ((y - tens * 10) << 8);
    return z + 0x3030303030303030u;
}

// Spaces before a right-aligned field of `len` bytes; returns where it starts.
inline char* pad_left(char* out, std::size_t len, std::size_t width, bool left)
{
    if (left || width <= len)
        return out;
    if (width >= 8) {
        // One store covers the usual short padding; the field overwrites the rest.
        std::memcpy(out, "        ", 8);
        if (width - len > 8)
            std::memset(out + 8, ' ', width - len - 8);
    } else {
        std::memset(out, ' ', width - len);
    }
    return out + (width - len);
}

// Spaces after a left-aligned field that started at `start` and ends at `p`.
inline char* pad_right(char* start, char* p, std::size_t width, bool left)
{
    const auto used = static_cast<std::size_t>(p - start);
    if (!left || width <= used)
        return p;
    std::memset(p, ' ', width - used);
    return p + (width - used);
}

inline std::size_t exponent_length(int k)
{
    return (k <= -100 || k >= 100) ? 5 : 4;
}

char* format_special(char* out, bool neg, bool nan, std::size_t width, bool left)
{
    const char* text = nan ? (neg ? "-nan" : "nan") : (neg ? "-inf" : "inf");
    const std::size_t len = neg ? 4 : 3;
    char* p = pad_left(out, len, width, left);
    char* start = p;
    std::memcpy(p, text, len);
    return pad_right(start, p + len, width, left);
}

// D <= 18 digits in n, first one before the point. Inlined into the hot path.
[[gnu::always_inline]] inline char* format_digits(char* out, bool neg, std::uint64_t n, int D,
                                                  int k, std::size_t width, bool left)
{
    const std::size_t len =
        (neg ? 1u : 0u) + static_cast<std::size_t>(D) + (D > 1 ? 1u : 0u) + exponent_length(k);
    char* p = pad_left(out, len, width, left);
    char* start = p;
    *p = '-';  // overwritten by a digit when positive
    p += neg ? 1 : 0;
    if (std::endian::native == std::endian::little && D >= 3 && D <= 7) {
        // "d.dddddd" in one 8-byte store; the exponent (4+ bytes) overwrites
        // what lies past the last digit.
        const std::uint64_t digits = eight_digits(static_cast<std::uint32_t>(n)) >> (8 * (8 - D));
        const std::uint64_t body =
            (digits & 0xff) | (std::uint64_t('.') << 8) | ((digits >> 8) << 16);
        std::memcpy(p, &body, 8);
        p += D + 1;
    } else {
        if (D <= 9) {
            write_digits(p + 1 + D, static_cast<std::uint32_t>(n), D);
        } else {
            write_digits(p + 1 + D, static_cast<std::uint32_t>(n % 1000000000u), 9);
            write_digits(p + 1 + D - 9, static_cast<std::uint32_t>(n / 1000000000u), D - 9);
        }
        // Digits went to p[1..D]; move the first one in front of the point.
        p[0] = p[1];
        if (D > 1) {
            p[1] = '.';
            p += D + 1;
        } else {
            p += 1;
        }
    }
    return pad_right(start, write_exponent(p, k), width, left);
}

// ---------------------------------------------------------------------------
// Exact path: the standard library's conversion, which is exact, for the
// precisions past the fast path's 18 digits and the roundings it cannot
// decide. It is written at `out`, then moved right when the field is padded.

char* format_exact(char* out, double value, int precision, std::size_t width, bool left)
{
    // Sign, precision + 1 digits, point, "e-324": precision + 8 bytes at most.
    const std::to_chars_result result =
        std::to_chars(out, out + precision + 8, value, std::chars_format::scientific, precision);
    const auto len = static_cast<std::size_t>(result.ptr - out);
    if (left || width <= len)
        return pad_right(out, result.ptr, width, left);
    std::memmove(out + (width - len), out, len);
    std::memset(out, ' ', width - len);
    return out + width;
}

}  // namespace

char* format_exponent(char* out, double value, int width, int precision)
{
    if (precision < 0)
        precision = 6;
    const bool left = width < 0;
    const unsigned magnitude =
        left ? 0u - static_cast<unsigned>(width) : static_cast<unsigned>(width);
    const std::size_t w = magnitude;

    const auto bits = std::bit_cast<std::uint64_t>(value);
    const bool neg = (bits >> 63) != 0;
    const int biased = static_cast<int>((bits >> 52) & 0x7ff);
    const std::uint64_t fraction = bits & ((std::uint64_t(1) << 52) - 1);

    if (biased == 0x7ff)
        return format_special(out, neg, fraction != 0, w, left);

    // value = m * 2^e with m < 2^53.
    const std::uint64_t m = biased ? fraction | (std::uint64_t(1) << 52) : fraction;
    const int e = biased ? biased - 1075 : -1074;

    if (USE_FAST_PATH && precision <= 17) {
        const int D = precision + 1;
        if (m == 0)
            return format_digits(out, neg, 0, D, 0, w, left);
        const int shift = std::countl_zero(m);  // bring the top bit to bit 63
        std::uint64_t n = 0;
        int k = 0;
        if (fast_digits(m << shift, e - shift, D, n, k))
            return format_digits(out, neg, n, D, k, w, left);
    }
    EXP_FORMAT_SLOW_TAKEN();
    return format_exact(out, value, precision, w, left);
}
