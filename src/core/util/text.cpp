#include "core/util/text.h"

#include <array>

namespace qmx {

namespace {

// Windows-1252 upper-case table: ASCII letters, 0x9A/0x9C/0x9E/0xFF in the
// special block, and 0xE0-0xFE except the division sign 0xF7.
constexpr std::array<unsigned char, 256> makeUpperTable()
{
    std::array<unsigned char, 256> t{};
    for (int i = 0; i < 256; ++i)
        t[i] = static_cast<unsigned char>(i);
    for (int c = 'a'; c <= 'z'; ++c)
        t[c] = static_cast<unsigned char>(c - 32);
    t[0x9A] = 0x8A;
    t[0x9C] = 0x8C;
    t[0x9E] = 0x8E;
    t[0xFF] = 0x9F;
    for (int c = 0xE0; c <= 0xFE; ++c)
        if (c != 0xF7)
            t[c] = static_cast<unsigned char>(c - 32);
    return t;
}

constexpr auto kUpper = makeUpperTable();

inline unsigned char fold(char c)
{
    return kUpper[static_cast<unsigned char>(c)];
}

} // namespace

char upperAscii(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
}

std::string upperAscii(std::string_view s)
{
    std::string r(s);
    for (char& c : r)
        c = upperAscii(c);
    return r;
}

char upperCp1252(char c)
{
    return static_cast<char>(fold(c));
}

std::string upperCp1252(std::string_view s)
{
    std::string r(s);
    for (char& c : r)
        c = upperCp1252(c);
    return r;
}

bool equalsNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (fold(a[i]) != fold(b[i]))
            return false;
    return true;
}

int compareNoCase(std::string_view a, std::string_view b)
{
    const size_t n = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < n; ++i) {
        const unsigned char x = fold(a[i]), y = fold(b[i]);
        if (x != y)
            return x < y ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

std::string_view trimView(std::string_view s)
{
    size_t b = 0, e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= 32)
        ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= 32)
        --e;
    return s.substr(b, e - b);
}

std::string trim(std::string_view s)
{
    return std::string(trimView(s));
}

namespace {

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The digits after a hexadecimal prefix.
std::optional<int32_t> hexValue(std::string_view digits, bool neg, size_t maxDigits)
{
    if (digits.empty() || (maxDigits > 0 && digits.size() > maxDigits))
        return std::nullopt;
    uint64_t v = 0;
    for (const char c : digits) {
        const int d = hexDigit(c);
        if (d < 0)
            return std::nullopt;
        v = (v << 4) | static_cast<uint64_t>(d);
        if (v > 0xFFFFFFFFull)
            return std::nullopt;
    }
    const auto u = static_cast<uint32_t>(v);
    return static_cast<int32_t>(neg ? 0u - u : u);
}

// Where the hexadecimal digits start after the sign at i, or npos when the
// text is not in a hexadecimal form.
size_t hexStart(std::string_view s, size_t i, bool xPrefixes)
{
    if (i < s.size() && s[i] == '$')
        return i + 1;
    if (!xPrefixes)
        return std::string_view::npos;
    if (i < s.size() && (s[i] == 'x' || s[i] == 'X'))
        return i + 1;
    if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X'))
        return i + 2;
    return std::string_view::npos;
}

} // namespace

std::optional<int32_t> toInt32(std::string_view s, const IntegerForms& forms)
{
    size_t i = 0;
    if (forms.leadingBlanks)
        while (i < s.size() && s[i] == ' ')
            ++i;
    bool neg = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        neg = s[i] == '-';
        ++i;
    }
    const size_t hex = hexStart(s, i, forms.xPrefixes);
    if (hex != std::string_view::npos)
        return hexValue(s.substr(hex), neg, forms.maxHexDigits);
    if (i >= s.size())
        return std::nullopt;
    int64_t v = 0;
    for (; i < s.size(); ++i) {
        const char c = s[i];
        if (c < '0' || c > '9')
            return std::nullopt;
        v = v * 10 + (c - '0');
        if (v > 2147483648LL)
            return std::nullopt;
    }
    if (neg)
        v = -v;
    if (v > INT32_MAX || v < INT32_MIN)
        return std::nullopt;
    return static_cast<int32_t>(v);
}

std::string toDecimal(long long v)
{
    return std::to_string(v);
}

} // namespace qmx
