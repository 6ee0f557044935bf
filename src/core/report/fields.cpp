#include "core/report/fields.h"

#include <algorithm>
#include <cstring>

namespace qmx::fields {

std::string_view after(std::string_view s, char c)
{
    const size_t p = s.find(c);
    return p == std::string_view::npos ? s : s.substr(p + 1);
}

std::string_view before(std::string_view s, char c)
{
    const size_t p = s.find(c);
    return p == std::string_view::npos ? s : s.substr(0, p);
}

std::string_view lineKey(std::string_view line)
{
    return before(line, '=');
}

std::string_view fileField(std::string_view line, int k)
{
    std::string_view rest = line;
    for (int i = 0; i < k; ++i)
        rest = after(rest, ';');
    return before(rest, ';');
}

void fileFields(std::string_view line, std::array<std::string_view, 10>& fields)
{
    // Dropping up to a ";" that is not there keeps the rest, so a line with
    // fewer fields repeats its last one for every later k.
    std::array<std::string_view, 10> segment;
    size_t count = 0;
    size_t start = 0;
    while (count < segment.size()) {
        const size_t semi = line.find(';', start);
        if (semi == std::string_view::npos) {
            segment[count++] = line.substr(start);
            break;
        }
        segment[count++] = line.substr(start, semi - start);
        start = semi + 1;
    }
    for (size_t k = 1; k < fields.size(); ++k)
        fields[k] = segment[k < count ? k : count - 1];
}

bool fileNotFound(std::string_view line)
{
    // "!" is rare in a report line: each one found is checked for the
    // words before it, instead of trying every "F".
    static constexpr std::string_view kMissing = "File Not Found!";
    const char* const begin = line.data();
    const char* const end = begin + line.size();
    for (const char* at = begin + std::min(line.size(), kMissing.size() - 1);
         (at = static_cast<const char*>(std::memchr(at, '!', static_cast<size_t>(end - at)))); ++at)
        if (std::string_view(at + 1 - kMissing.size(), kMissing.size()) == kMissing)
            return true;
    return false;
}

std::string_view entryData(std::string_view line)
{
    return after(after(line, '='), ';');
}

RegistryParts registryParts(std::string_view line)
{
    const std::string_view r = entryData(line);
    const size_t p = r.rfind(';');
    if (p == std::string_view::npos)
        return {r.substr(0, r.empty() ? 0 : r.size() - 1), {}};
    return {r.substr(0, p), r.substr(p + 1)};
}

std::string_view multiValueBase(std::string_view key)
{
    const size_t p = key.rfind('_');
    if (p == std::string_view::npos)
        return key.substr(0, key.empty() ? 0 : key.size() - 1);
    return key.substr(0, p);
}

} // namespace qmx::fields
