#include "util/cp1252.h"

#include <cstdint>

namespace qmx {

namespace {

void appendCodePoint(std::string& out, uint32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

} // namespace

char unicodeToCp1252(char32_t u)
{
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return static_cast<char>(u);
    for (size_t i = 0; i < kCp1252High.size(); ++i)
        if (kCp1252High[i] == u)
            return static_cast<char>(0x80 + i);
    return '?';
}

std::string toUtf8(std::string_view cp1252)
{
    std::string out;
    out.reserve(cp1252.size() + cp1252.size() / 8);
    appendUtf8(out, cp1252);
    return out;
}

void appendUtf8(std::string& out, std::string_view cp1252)
{
    for (const char ch : cp1252) {
        const auto b = static_cast<unsigned char>(ch);
        if (b < 0x80)
            out += ch;
        else
            appendCodePoint(out, cp1252ToUnicode(b));
    }
}

} // namespace qmx
