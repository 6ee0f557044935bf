#include "core/util/lines.h"

#include <cstring>

namespace qmx {

std::vector<std::string_view> splitLineViews(std::string_view text)
{
    return splitLineViews(text, {});
}

std::vector<std::string_view> splitLineViews(std::string_view text,
                                             const std::function<void()>& pump)
{
    // Line feeds are found with memchr, and each line is searched for CRs
    // the same way, so the usual CR LF line costs two fast scans.
    std::vector<std::string_view> lines;
    const char* s = text.data();
    const char* const end = s + text.size();
    size_t n = 0;
    while (s < end) {
        if (pump && ++n % 4096 == 0)
            pump();
        const char* lf =
            static_cast<const char*>(std::memchr(s, '\n', static_cast<size_t>(end - s)));
        if (!lf)
            lf = end;
        const char* cr;
        while ((cr = static_cast<const char*>(std::memchr(s, '\r', static_cast<size_t>(lf - s))))
               && cr + 1 < lf) {
            lines.emplace_back(s, static_cast<size_t>(cr - s)); // a lone CR ends a line
            s = cr + 1;
        }
        if (cr) // CR LF, or a CR ending the text
            lines.emplace_back(s, static_cast<size_t>(cr - s));
        else
            lines.emplace_back(s, static_cast<size_t>(lf - s));
        s = lf < end ? lf + 1 : end;
    }
    // The list may be kept for long (a report window holds it): drop the
    // room it grew into.
    lines.shrink_to_fit();
    return lines;
}

std::vector<std::string> splitLines(std::string_view text)
{
    const std::vector<std::string_view> views = splitLineViews(text);
    return std::vector<std::string>(views.begin(), views.end());
}

std::vector<std::string> splitAtLineFeeds(std::string_view text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t lf = text.find('\n', start);
        const bool last = lf == std::string_view::npos;
        if (last)
            lf = text.size();
        size_t end = lf;
        if (!last && end > start && text[end - 1] == '\r')
            --end;
        lines.emplace_back(text.substr(start, end - start));
        start = lf + 1;
    }
    return lines;
}

std::string joinLines(const std::vector<std::string>& lines)
{
    std::string text;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            text += "\r\n";
        text += lines[i];
    }
    return text;
}

} // namespace qmx
