#include "core/recent/recentfiles.h"

#include "core/store/bigini.h"
#include "core/util/text.h"

#include <algorithm>

namespace qmx {

const std::string RecentFiles::kSection = "RECENT_FILES";

namespace {

const char* const kKeyPrefix[RecentFiles::kKinds] = {"Report", "Input", "Server"};

bool storable(const std::string& path)
{
    // The store ends a line at CR or LF, so such a path would come back cut
    // and spill a stray line into the section.
    return !path.empty() && std::none_of(path.begin(), path.end(), [](char c) {
        return static_cast<unsigned char>(c) < 32;
    });
}

} // namespace

std::string RecentFiles::key(RecentKind kind, size_t i)
{
    return kKeyPrefix[index(kind)] + toDecimal(static_cast<long long>(i + 1));
}

void RecentFiles::add(RecentKind kind, const std::string& path)
{
    if (!storable(path))
        return;
    auto& l = lists_[index(kind)];
    std::erase(l, path);
    l.insert(l.begin(), path);
    if (l.size() > kMaxEntries)
        l.resize(kMaxEntries);
}

void RecentFiles::remove(RecentKind kind, const std::string& path)
{
    std::erase(lists_[index(kind)], path);
}

void RecentFiles::clear()
{
    for (auto& l : lists_)
        l.clear();
}

void RecentFiles::read(const TBigIniFile& ini)
{
    for (size_t k = 0; k < kKinds; ++k) {
        const auto kind = static_cast<RecentKind>(k);
        std::vector<std::string> l;
        for (size_t i = 0; i < kMaxEntries; ++i) {
            std::string path = ini.ReadString(kSection, key(kind, i), "");
            if (storable(path) && std::find(l.begin(), l.end(), path) == l.end())
                l.push_back(std::move(path));
        }
        lists_[k] = std::move(l);
    }
}

void RecentFiles::write(TBigIniFile& ini) const
{
    ini.EraseSection(kSection);
    for (size_t k = 0; k < kKinds; ++k)
        for (size_t i = 0; i < lists_[k].size(); ++i)
            ini.WriteString(kSection, key(static_cast<RecentKind>(k), i), lists_[k][i]);
}

} // namespace qmx
