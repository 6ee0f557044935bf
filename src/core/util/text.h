// Byte-level text rules shared by the whole core. Reports and settings are
// single-byte Windows-1252 text held as raw bytes; these helpers give the
// case folding, upper-casing, trimming and integer conversion that the
// loader, the INI store and the rule engine agree on.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qmx {

// Upper-casing of a-z only.
char upperAscii(char c);
std::string upperAscii(std::string_view s);

// Upper-casing of every Windows-1252 letter (a-z, the accented letters,
// and the few letters in the 0x80-0x9F block).
char upperCp1252(char c);
std::string upperCp1252(std::string_view s);

// Case-blind comparison over Windows-1252 letters, used for section and
// key names. Equality and ordering use the same folding, so sorting and
// look-ups agree.
bool equalsNoCase(std::string_view a, std::string_view b);
int compareNoCase(std::string_view a, std::string_view b);

// Removes every character with a code of 32 or less from both ends.
std::string_view trimView(std::string_view s);
std::string trim(std::string_view s);

// Where the integer conversions of the program differ.
struct IntegerForms {
    // Blanks (code 32) before the number are passed over.
    bool leadingBlanks = false;
    // "X" and "0X" (any case) introduce hexadecimal digits as "$" does.
    bool xPrefixes = true;
    // More hexadecimal digits than this fail; 0: any number of digits
    // (leading zeros) as long as the value fits in 32 bits.
    size_t maxHexDigits = 8;
};

// The INI store's ReadInteger: leading blanks, "$" only, leading zeros.
inline constexpr IntegerForms kStoreIntegers{true, false, 0};

// Text to integer. With the default forms, the standard conversion: an
// optional sign and decimal digits within the signed 32-bit range, or "$",
// "X" or "0X" (any case) followed by one to eight hexadecimal digits.
// Nothing may surround it. Hexadecimal values use the 32 bits as a signed
// number ("$FFFFFFFF" is -1); a sign before them negates that number.
std::optional<int32_t> toInt32(std::string_view s, const IntegerForms& forms = {});

// Decimal text of a number, "-" before negatives.
std::string toDecimal(long long v);

} // namespace qmx
