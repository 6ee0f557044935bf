// The one error type of the core. Its what() is the text shown to the user,
// so it is written as a finished message, not as a diagnostic.
#pragma once

#include <new>
#include <stdexcept>
#include <string>
#include <string_view>

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

// The text shown for an error that ends a command. Running out of memory is
// said plainly instead of through the library's "std::bad_alloc".
inline std::string errorMessage(const std::exception& e,
                                std::string_view task = "complete the command")
{
    if (dynamic_cast<const std::bad_alloc*>(&e))
        return "Not enough memory to " + std::string(task);
    return e.what();
}

} // namespace qmx
