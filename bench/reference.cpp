#include "reference.h"

namespace qmx::bench {

std::string wholeText(const ReportDocument& doc)
{
    std::string text;
    for (const std::string_view l : doc.lines) {
        text += l;
        text += "\r\n";
    }
    return text;
}

std::string getvalue(const ReportDocument& doc, const std::string& search)
{
    const std::string text = wholeText(doc);
    const size_t at = text.find(search);
    if (at == std::string::npos)
        return {};
    const size_t from = at + search.size();
    const size_t cr = text.find('\r', from);
    return text.substr(from, cr == std::string::npos ? std::string::npos : cr - from);
}

} // namespace qmx::bench
