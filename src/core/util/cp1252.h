// The Windows-1252 code page, one table for the whole program: the windows
// decode and encode their texts with it, the command-line tool writes UTF-8
// through it. The five bytes the code page leaves undefined (0x81, 0x8D,
// 0x8F, 0x90, 0x9D) stand for the C1 control characters of the same number,
// as the common web encoding tables map them, so no byte is lost.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace qmx {

// Unicode of the bytes 0x80..0x9F; the rest of the code page is Latin-1.
inline constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, // 98-9F
};

// The character of one byte.
inline char16_t cp1252ToUnicode(unsigned char b)
{
    return b >= 0x80 && b < 0xA0 ? kCp1252High[b - 0x80] : char16_t(b);
}

// The byte of one character, or '?' for a character outside the code page.
char unicodeToCp1252(char32_t u);

// The text as UTF-8, and the same appended to out.
std::string toUtf8(std::string_view cp1252);
void appendUtf8(std::string& out, std::string_view cp1252);

// UTF-8 back to Windows-1252: the inverse of toUtf8. A character outside the
// code page, or a byte that is not valid UTF-8, becomes '?'.
std::string fromUtf8(std::string_view utf8);

} // namespace qmx
