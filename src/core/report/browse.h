// Section and key browsing over a loaded report's INI section store, and the
// two look-ups the comparison uses.
#pragma once

#include "core/store/bigini.h"

#include <string>

namespace qmx {

struct SectionBrowser {
    std::string chosenSection;
    StringList keys;          // the Keys list
    StringList allKeys;       // the All Keys in Section text, one line each
    std::string keysLabel;    // "Keys: N"
    std::string currentValue; // the Current Key Value field

    // A section is chosen in the Sections list.
    void chooseSection(const TBigIniFile& store, const std::string& section);
    // A key is chosen in the Keys list: its value without the "TAG;" part.
    void chooseKey(const TBigIniFile& store, const std::string& key);
    // Fills only the Keys list with the keys of section.
    void loadasection(const TBigIniFile& store, const std::string& section);
};

// The raw value of a key (tag included), or "" when absent.
std::string LoadaValue(const TBigIniFile& store, const std::string& section,
                       const std::string& key);

} // namespace qmx
