// Field extraction from the entry lines of a workstation report, shared by
// the loader (variables) and the check tables (cells), so both read the same
// text the same way.
#pragma once

#include <array>
#include <string_view>

namespace qmx::fields {

// The text after the first c (all of s when there is none), and the text
// before it (all of s when there is none).
std::string_view after(std::string_view s, char c);
std::string_view before(std::string_view s, char c);

// The key of a report line: its text before the first "=" (all of it when
// there is none).
std::string_view lineKey(std::string_view line);

// Field k (1..9) of a FILE line: k times drop everything up to and including
// the first ";" (nothing when there is none left), then cut at the next ";".
std::string_view fileField(std::string_view line, int k);
// Fields 1..9 at once, read in one pass: fields[k] is fileField(line, k)
// (fields[0] is left alone).
void fileFields(std::string_view line, std::array<std::string_view, 10>& fields);

// Whether a FILE line says its file is missing: it holds "File Not Found!".
bool fileNotFound(std::string_view line);

// The text after the first "=" and then after the first ";" of that (each
// step keeps everything when its character is absent): the data of a
// REGISTRY or REGISTRY_MULTIVALUE line.
std::string_view entryData(std::string_view line);

struct RegistryParts {
    std::string_view value;
    std::string_view verdict;
};
// Value and verdict of a REGISTRY line: the data split at its last ";".
// Data without ";" gives the data without its last character and no verdict.
RegistryParts registryParts(std::string_view line);

// Base name of a REGISTRY_MULTIVALUE key: the key before its last "_", or the
// key without its last character when it has no "_".
std::string_view multiValueBase(std::string_view key);

} // namespace qmx::fields
