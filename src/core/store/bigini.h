// TBigIniFile: an INI-structured text file held whole in memory as an
// ordered list of sections, each an ordered list of raw lines. Reads answer
// from memory, writes change memory only, and the file is rewritten from
// memory when the store is released (or UpdateFile is called) and only if
// its content changed. A store opened read-only never writes its file.
// Section and key names compare case-blind. Reports, settings, rule sets,
// scanner input files and comparisons all read through it.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace qmx {

using StringList = std::vector<std::string>;

// Selects the constructors that open a file for reading only.
struct ReadOnly {};
inline constexpr ReadOnly readOnly{};

class TBigIniFile {
public:
    // Opens the store and loads the file when it exists (a missing file
    // gives an empty store). Throws qmx::Error when the file exists but
    // cannot be read.
    explicit TBigIniFile(std::string fileName);
    // Loads from text already in memory (the file name is still used for
    // write-back).
    TBigIniFile(std::string fileName, const std::string& content);
    // The same, taking the text over instead of copying it.
    TBigIniFile(std::string fileName, std::string&& content);
    // Read-only stores: loaded from the file (which must exist and be
    // readable) or from text in memory. Writes still change memory, but the
    // file is never written; UpdateFile refuses.
    TBigIniFile(ReadOnly, std::string fileName);
    TBigIniFile(ReadOnly, std::string fileName, std::string&& content);
    // A read-only store over text another owner shares, already split into
    // lines (at CR LF, CR or LF, as views into text): neither is copied.
    // pump, when set, is called every few thousand lines.
    TBigIniFile(ReadOnly, std::string fileName, std::shared_ptr<const std::string> text,
                const std::vector<std::string_view>& lines, const std::function<void()>& pump = {});
    // Release: writes back when changed. Errors during this implicit
    // write-back are swallowed; call UpdateFile first to see them.
    ~TBigIniFile();

    TBigIniFile(const TBigIniFile&) = delete;
    TBigIniFile& operator=(const TBigIniFile&) = delete;

    const std::string& fileName() const { return fileName_; }
    bool changed() const { return changed_; }
    bool isReadOnly() const { return readOnly_; }

    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& def) const;
    void WriteString(const std::string& section, const std::string& key, const std::string& value);
    int32_t ReadInteger(const std::string& section, const std::string& key, int32_t def) const;
    void WriteInteger(const std::string& section, const std::string& key, int32_t value);
    bool ReadBool(const std::string& section, const std::string& key, bool def) const;
    void WriteBool(const std::string& section, const std::string& key, bool value);
    void ReadSection(const std::string& section, StringList& target) const;
    void ReadSections(StringList& target) const;
    void ReadSectionValues(const std::string& section, StringList& target) const;
    // ReadSectionValues without copies: views into the store, valid until
    // the store changes or is released.
    void ReadSectionViews(const std::string& section, std::vector<std::string_view>& target) const;
    void EraseSection(const std::string& section);
    // Erases the section and appends it anew at the end of the file holding
    // the given entry lines, in one step (no look-up per line).
    void ReplaceSection(const std::string& section, const StringList& entries);
    // Writes the file back when changed, through a temporary file renamed
    // over the target, so a failed write leaves the old file intact. Throws
    // qmx::Error on failure, and for a read-only store with changes; the
    // store then stays changed. A section name or entry holding CR, LF or
    // Ctrl-Z would not read back as written, so such a store is refused.
    void UpdateFile();
    // The text UpdateFile writes: each section that has entries as its
    // header line, its entries and one empty line, every line ending in CR LF.
    std::string contentText() const;

private:
    // An entry line is a slice of the loaded text until it is rewritten, and
    // then a string of its own, so a large report costs no copy of its text
    // and 8 bytes a line. A line the 32-bit fields cannot place is copied.
    struct Entry {
        static constexpr uint32_t kOwned = UINT32_MAX;
        uint32_t offset = 0; // in text_; with length kOwned, the index in owned_
        uint32_t length = 0;
        bool owned() const { return length == kOwned; }
    };
    struct Section {
        std::string name;
        std::vector<Entry> entries;
    };
    void load();
    void addLine(Section*& current, std::string_view line);
    void dropDuplicateSections();
    void setText(std::shared_ptr<const std::string> text);
    std::string_view text(const Entry& e) const;
    void setText(Entry& e, std::string line);
    void checkReadsBack() const;
    long findKey(const Section& section, std::string_view key) const;
    int findSectionFromLookup(const std::string& name) const;
    int findSectionFromLast(const std::string& name) const;
    int findSectionRound(int& pos, const std::string& name) const;

    std::string fileName_;
    bool changed_ = false;
    bool readOnly_ = false;
    std::vector<Section> sections_;
    std::shared_ptr<const std::string> shared_; // the loaded text
    std::string_view text_;                     // its part before any Ctrl-Z
    std::vector<std::string> owned_;
    mutable int lookupPos_ = 0;
    mutable int lastFound_ = 0;
};

} // namespace qmx
