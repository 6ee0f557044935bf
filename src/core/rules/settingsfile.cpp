#include "core/rules/settingsfile.h"

#include "core/recent/recentfiles.h"
#include "core/store/bigini.h"
#include "core/util/text.h"

#include <algorithm>
#include <optional>
#include <unordered_map>

namespace qmx {

namespace {

const std::string kCount = "Count";

// Numbered keys past the last one stored read as empty, so a damaged Count
// near 2^31 would fill memory with empty lines. No real rule set or list
// comes near this many lines; a longer one has at least as many entries.
constexpr size_t kMaxCount = 100000;

// The line number a key names: decimal digits with no sign, no blank and no
// leading zero, below limit.
std::optional<size_t> lineNumber(std::string_view key, size_t limit)
{
    if (key.empty() || key.size() > 10 || (key.size() > 1 && key.front() == '0'))
        return std::nullopt;
    size_t n = 0;
    for (char c : key) {
        if (c < '0' || c > '9')
            return std::nullopt;
        n = n * 10 + static_cast<size_t>(c - '0');
    }
    return n < limit ? std::optional<size_t>(n) : std::nullopt;
}

// The entries of a that b does not match, each entry of b matching one equal
// entry of a, in a's order.
std::vector<std::string> without(const std::vector<std::string>& a,
                                 const std::vector<std::string>& b)
{
    std::unordered_map<std::string, size_t> left;
    for (const std::string& s : b)
        ++left[s];
    std::vector<std::string> out;
    for (const std::string& s : a) {
        auto it = left.find(s);
        if (it != left.end() && it->second > 0)
            --it->second;
        else
            out.push_back(s);
    }
    return out;
}

} // namespace

NumberedLines readNumbered(const TBigIniFile& ini, const std::string& section)
{
    StringList entries;
    ini.ReadSectionValues(section, entries);
    const size_t count = static_cast<size_t>(std::max(ini.ReadInteger(section, kCount, 0), 0));
    const size_t n = std::min(count, std::max(kMaxCount, entries.size()));

    NumberedLines out;
    out.cut = count > n;
    out.lines.resize(n);
    std::vector<bool> seen(n, false);
    for (std::string& entry : entries) {
        const size_t eq = entry.find('=');
        if (eq == std::string::npos)
            continue;
        const auto i = lineNumber(std::string_view(entry).substr(0, eq), n);
        if (!i || seen[*i])
            continue;
        seen[*i] = true;
        out.lines[*i] = entry.substr(eq + 1);
    }
    return out;
}

void writeNumbered(TBigIniFile& ini, const std::string& section,
                   const std::vector<std::string>& lines)
{
    StringList entries;
    entries.reserve(lines.size() + 1);
    entries.push_back(kCount + "=" + toDecimal(static_cast<long long>(lines.size())));
    for (size_t i = 0; i < lines.size(); ++i)
        entries.push_back(toDecimal(static_cast<long long>(i)) + "=" + lines[i]);
    ini.ReplaceSection(section, entries);
}

bool isReservedName(std::string_view name)
{
    return equalsNoCase(name, kParametersSection) || equalsNoCase(name, kRuleListSection)
           || equalsNoCase(name, RecentFiles::kSection);
}

std::string ruleTextProblem(const std::vector<std::string>& lines)
{
    for (size_t i = 0; i < lines.size(); ++i) {
        for (char c : lines[i]) {
            const auto code = static_cast<unsigned char>(c);
            if (code >= 32 || c == '\t')
                continue;
            return "Line " + toDecimal(static_cast<long long>(i + 1))
                   + " of the rule text holds the control character Ctrl-"
                   + std::string(1, static_cast<char>(code + 64))
                   + "; a rule text can hold no control character other than tab.";
        }
    }
    return {};
}

std::vector<std::string> mergeRuleList(std::vector<std::string> disk,
                                       const std::vector<std::string>& base,
                                       const std::vector<std::string>& now)
{
    for (const std::string& gone : without(base, now)) {
        const auto it = std::find(disk.begin(), disk.end(), gone);
        if (it != disk.end())
            disk.erase(it);
    }
    for (const std::string& added : without(now, base)) {
        const bool listed = std::any_of(
            disk.begin(), disk.end(), [&](const std::string& s) { return equalsNoCase(s, added); });
        if (!listed)
            disk.push_back(added);
    }
    return disk;
}

} // namespace qmx
