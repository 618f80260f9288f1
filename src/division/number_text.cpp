#include "division/number_text.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

template <typename... Arguments>
std::string formatted(const char* format, Arguments... arguments)
{
    const int size = std::snprintf(nullptr, 0, format, arguments...);
    if (size < 0)
        return std::string();
    std::string text(static_cast<std::size_t>(size) + 1, '\0');
    std::snprintf(text.data(), text.size(), format, arguments...);
    text.pop_back();
    return text;
}

// A format without a conversion, as printf writes it: each "%%" is one '%'
// (the caller has seen that every '%' starts a "%%").
std::string literal_text(const char* format)
{
    std::string text;
    for (const char* p = format; *p != '\0'; ++p) {
        text += *p;
        if (*p == '%')
            ++p;
    }
    return text;
}

// The format's conversion is replaced by a string conversion of its width
// and alignment, and that is given the spelled-out value.
std::string non_finite_text(const char* format, double value)
{
    const char* percent = std::strchr(format, '%');
    while (percent != nullptr && percent[1] == '%')
        percent = std::strchr(percent + 2, '%');
    if (percent == nullptr)
        return literal_text(format);

    const char* p = percent + 1;
    bool left = false;
    char sign = '\0';
    for (; *p != '\0' && std::strchr("-+ #0", *p) != nullptr; ++p) {
        if (*p == '-')
            left = true;
        else if (*p == '+' || (*p == ' ' && sign == '\0'))
            sign = *p;
    }
    int width = 0;
    for (; std::isdigit(static_cast<unsigned char>(*p)); ++p)
        width = width * 10 + (*p - '0');
    if (*p == '.')
        for (++p; std::isdigit(static_cast<unsigned char>(*p)); ++p) {
        }
    if (*p == 'l' || *p == 'L')
        ++p;
    const bool upper = std::isupper(static_cast<unsigned char>(*p)) != 0;
    const char* rest = *p != '\0' ? p + 1 : p;

    char word[5] = {};
    char* end = word;
    if (std::signbit(value))
        *end++ = '-';
    else if (sign != '\0')
        *end++ = sign;
    std::memcpy(end, std::isnan(value) ? (upper ? "NAN" : "nan") : (upper ? "INF" : "inf"), 3);

    std::string conversion(format, percent);
    conversion.append(left ? "%-*s" : "%*s").append(rest);
    return formatted(conversion.c_str(), width, word);
}

}  // namespace

std::string number_text(const char* format, double value)
{
    return std::isfinite(value) ? formatted(format, value) : non_finite_text(format, value);
}

void print_number(const char* format, double value)
{
    std::fputs(number_text(format, value).c_str(), stdout);
}
