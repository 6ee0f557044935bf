#include "core/util/lines.h"

namespace qmx {

std::vector<std::string_view> splitLineViews(std::string_view text)
{
    std::vector<std::string_view> lines;
    size_t count = 0;
    for (size_t i = 0; i < text.size(); ++i)
        if (text[i] == '\n' || (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')))
            ++count;
    lines.reserve(count + 1);
    size_t start = 0;
    size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(text.substr(start, i - start));
            i += (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ? 2 : 1;
            start = i;
        } else {
            ++i;
        }
    }
    if (start < text.size())
        lines.push_back(text.substr(start));
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
