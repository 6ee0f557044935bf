// Conversion of the reports' single-byte Windows-1252 text to the UTF-8 the
// command-line tool writes. The five bytes that Windows-1252 leaves undefined
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) become the C1 control characters of the
// same number, as the common web encoding tables map them, so no byte is lost.
#pragma once

#include <string>
#include <string_view>

namespace qmx::cli {

std::string toUtf8(std::string_view cp1252);
// The same, appended to out.
void appendUtf8(std::string& out, std::string_view cp1252);

} // namespace qmx::cli
