#include "core/report/browse.h"

#include "core/util/text.h"

namespace qmx {

void SectionBrowser::chooseSection(const TBigIniFile& store, const std::string& section)
{
    allKeys.clear();
    chosenSection = section;
    keys.clear();
    store.ReadSection(section, keys);
    store.ReadSectionValues(section, allKeys);
    keysLabel = "Keys: " + toDecimal(static_cast<long long>(keys.size()));
}

void SectionBrowser::chooseKey(const TBigIniFile& store, const std::string& key)
{
    const std::string value = store.ReadString(chosenSection, key, "");
    const size_t semi = value.find(';');
    currentValue = semi == std::string::npos ? value : value.substr(semi + 1);
}

void SectionBrowser::loadasection(const TBigIniFile& store, const std::string& section)
{
    keys.clear();
    store.ReadSection(section, keys);
}

std::string LoadaValue(const TBigIniFile& store, const std::string& section, const std::string& key)
{
    return store.ReadString(section, key, "");
}

} // namespace qmx
