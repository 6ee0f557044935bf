// Whole-file reads and crash-safe writes. Every file the program writes goes
// to a temporary file in the target's directory first and is renamed over the
// target only once complete, so a failed write never leaves a truncated file.
#pragma once

#include <string>
#include <string_view>

namespace qmx {

bool fileExists(const std::string& path);

// Reads the whole file; throws qmx::Error with a user-facing text when the
// file cannot be opened or read.
std::string readWholeFile(const std::string& path);

// Writes data to path through a temporary file and a rename. Throws
// qmx::Error on failure; the previous file is then untouched.
void writeFileAtomic(const std::string& path, std::string_view data);

// The directory part of a path with its trailing separator ("" for none).
std::string directoryOf(const std::string& path);

} // namespace qmx
