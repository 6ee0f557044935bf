// The one error type of the core. Its what() is the text shown to the user,
// so it is written as a finished message, not as a diagnostic.
#pragma once

#include <stdexcept>
#include <string>

namespace qmx {

class Error : public std::runtime_error {
public:
    explicit Error(const std::string& message) : std::runtime_error(message) {}
};

// The standard conversion failure message, used wherever a text that should
// be a whole number is not one.
inline Error invalidInteger(const std::string& text)
{
    return Error("'" + text + "' is not a valid integer value");
}

} // namespace qmx
