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

namespace {

using Id = VariableList::Id;

class LinearLookup final : public VariableList::Lookup {
public:
    Id firstWithPrefix(const VariableList& list, std::string_view prefix) const override
    {
        return list.findEntry([&](Id, std::string_view text) { return text.starts_with(prefix); });
    }
    std::vector<Id> allWithPrefix(const VariableList& list, std::string_view prefix) const override
    {
        std::vector<Id> ids;
        list.findEntry([&](Id id, std::string_view text) {
            if (text.starts_with(prefix))
                ids.push_back(id);
            return false;
        });
        return ids;
    }
    Id firstByName(const VariableList& list, std::string_view name) const override
    {
        return list.findEntry(
            [&](Id, std::string_view text) { return VariableList::nameOf(text) == name; });
    }
};

} // namespace

const VariableList::Lookup& linearLookup()
{
    static const LinearLookup lookup;
    return lookup;
}

} // namespace qmx::bench
