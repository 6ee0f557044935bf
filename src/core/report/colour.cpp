#include "core/report/colour.h"

namespace qmx {

std::string_view colourName(Colour c)
{
    switch (c) {
    case Colour::Red: return "red";
    case Colour::Green: return "green";
    case Colour::Yellow: return "yellow";
    case Colour::Blue: return "blue";
    case Colour::White: return "white";
    case Colour::Black: return "black";
    case Colour::None: break;
    }
    return "";
}

Rgb colourRgb(Colour c)
{
    switch (c) {
    case Colour::Red: return {255, 0, 0};
    case Colour::Green: return {0, 128, 0};
    case Colour::Yellow: return {255, 255, 0};
    case Colour::Blue: return {0, 0, 255};
    case Colour::White: return {255, 255, 255};
    case Colour::Black:
    case Colour::None: break;
    }
    return {0, 0, 0};
}

} // namespace qmx
