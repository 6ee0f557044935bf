// The recently opened files, one list per kind of document (workstation
// reports, scanner input files, server reports), newest first and at most
// kMaxEntries each. The lists live in the settings file in a section of
// their own, one key per entry ("Report1" is the newest report).
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <vector>

namespace qmx {

class TBigIniFile;

enum class RecentKind { Report = 0, ScannerInput = 1, ServerReport = 2 };

class RecentFiles {
public:
    static constexpr size_t kMaxEntries = 8;
    static constexpr size_t kKinds = 3;
    // The settings file's section; no rule set may take this name.
    static const std::string kSection;

    const std::vector<std::string>& list(RecentKind kind) const { return lists_[index(kind)]; }

    // Puts path at the front, dropping an equal entry further down and the
    // oldest beyond kMaxEntries. A path the settings file could not hold
    // (empty, or with a line break or other control character) is ignored.
    void add(RecentKind kind, const std::string& path);
    void remove(RecentKind kind, const std::string& path);
    void clear();

    // Reads the lists from the section; keys past kMaxEntries, empty values
    // and repeats are dropped.
    void read(const TBigIniFile& ini);
    // Replaces the section by the lists; an empty section is left out.
    void write(TBigIniFile& ini) const;

    // The key of the entry at position i (from 0) of a kind's list.
    static std::string key(RecentKind kind, size_t i);

    bool operator==(const RecentFiles&) const = default;

private:
    static size_t index(RecentKind kind) { return static_cast<size_t>(kind); }
    std::array<std::vector<std::string>, kKinds> lists_;
};

} // namespace qmx
