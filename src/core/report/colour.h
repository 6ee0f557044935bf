// The fixed colours the report views use, as plain values the core can hand
// to any front end.
#pragma once

#include <cstdint>
#include <string_view>

namespace qmx {

enum class Colour : uint8_t { None, Red, Green, Yellow, Blue, White, Black };

// "red", "green", ... ; "" for None.
std::string_view colourName(Colour c);

struct Rgb {
    int r, g, b;
};
// Red (255,0,0), green (0,128,0), yellow (255,255,0), blue (0,0,255),
// white and black. None gives black.
Rgb colourRgb(Colour c);

} // namespace qmx
