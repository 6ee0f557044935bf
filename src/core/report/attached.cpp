#include "core/report/attached.h"

#include "core/util/error.h"
#include "core/util/text.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

namespace qmx {

namespace {

struct Hit {
    int32_t k;
    size_t line;
};

// Every (k, line) such that the line contains name + "_" + k + "=GETFILE;"
// (k in decimal without leading zeros), in report order and, within a line,
// from left to right. One pass over the lines replaces a scan of every line
// for every k: an occurrence of that text ends with "=GETFILE;", the digits
// before it are a whole run of digits preceded by "_", and the name ends
// right before the "_".
std::vector<Hit> findHits(const std::vector<std::string_view>& lines, std::string_view name)
{
    static constexpr std::string_view tag = "=GETFILE;";
    std::vector<Hit> hits;
    for (size_t li = 0; li < lines.size(); ++li) {
        const std::string_view s = lines[li];
        for (size_t g = s.find(tag); g != std::string_view::npos; g = s.find(tag, g + tag.size())) {
            size_t t = g;
            while (t > 0 && s[t - 1] >= '0' && s[t - 1] <= '9')
                --t;
            const size_t digits = g - t;
            if (digits == 0 || digits > 10 || t == 0 || s[t - 1] != '_')
                continue;
            if (digits > 1 && s[t] == '0')
                continue;
            int64_t k = 0;
            for (size_t i = t; i < g; ++i)
                k = k * 10 + (s[i] - '0');
            if (k > INT32_MAX)
                continue;
            const size_t underscore = t - 1;
            if (underscore < name.size() || s.substr(underscore - name.size(), name.size()) != name)
                continue;
            hits.push_back({static_cast<int32_t>(k), li});
        }
    }
    return hits;
}

// The lines of the file, in order of k and then of report line: each report
// line gives at most one, under the first tag it holds whose k is a line of
// the file. A line holding many tags (a file whose text quotes tags of its
// own name) is thus rebuilt once, not once per tag, which would make the
// text grow with the square of the line.
std::vector<Hit> fileLines(const std::vector<Hit>& hits, int32_t last)
{
    std::vector<Hit> taken;
    for (const Hit& h : hits)
        if (h.k <= last && (taken.empty() || taken.back().line != h.line))
            taken.push_back(h);
    std::stable_sort(taken.begin(), taken.end(),
                     [](const Hit& a, const Hit& b) { return a.k < b.k; });
    return taken;
}

std::string_view cutFront(std::string_view line, size_t n)
{
    return n >= line.size() ? std::string_view() : line.substr(n);
}

} // namespace

void extractAttached(const std::vector<std::string>& reportLines, const std::string& name,
                     std::vector<std::string>& out)
{
    extractAttached(std::vector<std::string_view>(reportLines.begin(), reportLines.end()), name,
                    out);
}

void extractAttached(const std::vector<std::string_view>& reportLines, const std::string& name,
                     std::vector<std::string>& out)
{
    const std::vector<Hit> hits = findHits(reportLines, name);

    // The count: every first line of the file, in report order; the last one
    // decides.
    const size_t firstPrefix = name.size() + std::string_view("_0=GETFILE;").size();
    int32_t last = 0;
    size_t countLine = SIZE_MAX;
    for (const Hit& h : hits) {
        if (h.k != 0 || h.line == countLine)
            continue;
        countLine = h.line;
        std::string_view count = cutFront(reportLines[h.line], firstPrefix);
        count = count.substr(0, count.find(';'));
        if (count == "FILE NOT FOUND") {
            out.emplace_back("FILE NOT FOUND!!!");
            last = -1;
        } else {
            const auto n = toInt32(count);
            if (!n)
                throw invalidInteger(std::string(count));
            last = *n;
        }
    }
    if (last < 0)
        return;

    const size_t countDigits = toDecimal(last).size();
    for (const Hit& h : fileLines(hits, last)) {
        const size_t cut = name.size() + 1 + toDecimal(h.k).size() + 9 + countDigits + 1;
        out.emplace_back(cutFront(reportLines[h.line], cut));
    }
}

} // namespace qmx
