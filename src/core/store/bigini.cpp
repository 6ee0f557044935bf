#include "core/store/bigini.h"

#include "core/util/error.h"
#include "core/util/fileio.h"
#include "core/util/text.h"

#include <algorithm>
#include <numeric>
#include <optional>
#include <string_view>

namespace qmx {

namespace {

// The key of an entry: its text before the first "=", or "" without one.
std::string_view keyOf(std::string_view entry)
{
    const size_t eq = entry.find('=');
    return eq == std::string_view::npos ? std::string_view() : entry.substr(0, eq);
}

} // namespace

TBigIniFile::TBigIniFile(std::string fileName) : fileName_(std::move(fileName))
{
    if (fileExists(fileName_)) {
        setText(std::make_shared<const std::string>(readWholeFile(fileName_)));
        load();
    }
}

TBigIniFile::TBigIniFile(std::string fileName, const std::string& content)
    : fileName_(std::move(fileName))
{
    setText(std::make_shared<const std::string>(content));
    load();
}

TBigIniFile::TBigIniFile(std::string fileName, std::string&& content)
    : fileName_(std::move(fileName))
{
    setText(std::make_shared<const std::string>(std::move(content)));
    load();
}

TBigIniFile::TBigIniFile(ReadOnly, std::string fileName)
    : fileName_(std::move(fileName)), readOnly_(true)
{
    setText(std::make_shared<const std::string>(readWholeFile(fileName_)));
    load();
}

TBigIniFile::TBigIniFile(ReadOnly, std::string fileName, std::string&& content)
    : fileName_(std::move(fileName)), readOnly_(true)
{
    setText(std::make_shared<const std::string>(std::move(content)));
    load();
}

TBigIniFile::TBigIniFile(ReadOnly, std::string fileName, std::shared_ptr<const std::string> text,
                         const std::vector<std::string_view>& lines,
                         const std::function<void()>& pump)
    : fileName_(std::move(fileName)), readOnly_(true)
{
    setText(std::move(text));
    const char* const end = text_.data() + text_.size();
    Section* current = nullptr;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (pump && i % 4096 == 4095)
            pump();
        std::string_view line = lines[i];
        if (line.data() >= end)
            break; // past a Ctrl-Z
        if (line.data() + line.size() > end) {
            addLine(current, line.substr(0, static_cast<size_t>(end - line.data())));
            break;
        }
        addLine(current, line);
    }
    // A large report is held for as long as its window is open: the room
    // the entry lists grew into is given back.
    for (Section& section : sections_)
        section.entries.shrink_to_fit();
    dropDuplicateSections();
    changed_ = false;
}

TBigIniFile::~TBigIniFile()
{
    if (readOnly_)
        return;
    try {
        UpdateFile();
    } catch (...) {
        // Release cannot report; callers that care call UpdateFile first.
    }
}

void TBigIniFile::setText(std::shared_ptr<const std::string> text)
{
    shared_ = std::move(text);
    text_ = *shared_;
    // Ctrl-Z ends the input.
    const size_t eof = text_.find('\x1a');
    if (eof != std::string_view::npos)
        text_ = text_.substr(0, eof);
}

void TBigIniFile::load()
{
    sections_.clear();
    owned_.clear();
    lookupPos_ = 0;
    lastFound_ = 0;

    const std::string_view text = text_;
    Section* current = nullptr;
    size_t pos = 0;
    while (pos < text.size()) {
        // A line ends at CR LF, at a lone CR or at a lone LF, so files saved
        // by editors and scripts on any platform read alike.
        size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        if (end < text.size() && text[end] == '\r' && pos < text.size() && text[pos] == '\n')
            ++pos;
        addLine(current, line);
    }
    dropDuplicateSections();
    changed_ = false;
}

void TBigIniFile::addLine(Section*& current, std::string_view line)
{
    if (line.empty())
        return;
    if (line.front() == '[' && line.back() == ']') {
        sections_.push_back(Section{std::string(line.substr(1, line.size() - 2)), {}});
        current = &sections_.back();
        return;
    }
    if (!current)
        return;
    const size_t offset = static_cast<size_t>(line.data() - text_.data());
    if (offset <= UINT32_MAX && line.size() < Entry::kOwned) {
        current->entries.push_back(
            Entry{static_cast<uint32_t>(offset), static_cast<uint32_t>(line.size())});
    } else {
        current->entries.emplace_back();
        setText(current->entries.back(), std::string(line));
    }
}

void TBigIniFile::dropDuplicateSections()
{
    // Duplicate sections: sort the names (ties by file position), drop every
    // later one of a run of equal names.
    if (sections_.size() > 1) {
        std::vector<size_t> order(sections_.size());
        std::iota(order.begin(), order.end(), size_t(0));
        std::sort(order.begin(), order.end(), [&](size_t a, size_t b) {
            const int c = compareNoCase(sections_[a].name, sections_[b].name);
            return c != 0 ? c < 0 : a < b;
        });
        std::vector<bool> drop(sections_.size(), false);
        bool any = false;
        for (size_t i = 1; i < order.size(); ++i)
            if (compareNoCase(sections_[order[i - 1]].name, sections_[order[i]].name) == 0) {
                drop[order[i]] = true;
                any = true;
            }
        if (any) {
            std::vector<Section> kept;
            kept.reserve(sections_.size());
            for (size_t i = 0; i < sections_.size(); ++i)
                if (!drop[i])
                    kept.push_back(std::move(sections_[i]));
            sections_ = std::move(kept);
        }
    }
}

int TBigIniFile::findSectionFromLookup(const std::string& name) const
{
    return findSectionRound(lookupPos_, name);
}

int TBigIniFile::findSectionFromLast(const std::string& name) const
{
    return findSectionRound(lastFound_, name);
}

// Searches the sections once round, starting at pos, and leaves pos at the
// section found.
int TBigIniFile::findSectionRound(int& pos, const std::string& name) const
{
    const int n = static_cast<int>(sections_.size());
    if (n == 0)
        return -1;
    const int start = (pos >= 0 && pos < n) ? pos : 0;
    int i = start;
    do {
        if (equalsNoCase(sections_[i].name, name)) {
            pos = i;
            return i;
        }
        i = (i + 1) % n;
    } while (i != start);
    return -1;
}

std::string_view TBigIniFile::text(const Entry& e) const
{
    if (e.owned())
        return owned_[e.offset];
    return text_.substr(e.offset, e.length);
}

void TBigIniFile::setText(Entry& e, std::string line)
{
    if (e.owned()) {
        owned_[e.offset] = std::move(line);
        return;
    }
    if (owned_.size() >= UINT32_MAX)
        throw Error("\"" + fileName_ + "\" has too many changed entries.");
    owned_.push_back(std::move(line));
    e = Entry{static_cast<uint32_t>(owned_.size() - 1), Entry::kOwned};
}

// Index of the first entry whose key equals key ignoring case, or -1.
long TBigIniFile::findKey(const Section& section, std::string_view key) const
{
    for (size_t i = 0; i < section.entries.size(); ++i)
        if (equalsNoCase(keyOf(text(section.entries[i])), key))
            return static_cast<long>(i);
    return -1;
}

std::string TBigIniFile::ReadString(const std::string& section, const std::string& key,
                                    const std::string& def) const
{
    const int s = findSectionFromLookup(section);
    if (s < 0)
        return def;
    const long e = findKey(sections_[s], key);
    if (e < 0)
        return def;
    const std::string_view line = text(sections_[s].entries[e]);
    const size_t eq = line.find('=');
    return eq == std::string_view::npos ? std::string() : std::string(line.substr(eq + 1));
}

void TBigIniFile::WriteString(const std::string& section, const std::string& key,
                              const std::string& value)
{
    std::string line = key + "=" + value;
    int s = findSectionFromLookup(section);
    if (s < 0) {
        sections_.push_back(Section{section, {}});
        s = static_cast<int>(sections_.size()) - 1;
        lookupPos_ = s;
    }
    Section& sec = sections_[s];
    const long e = findKey(sec, key);
    if (e < 0) {
        sec.entries.emplace_back();
        setText(sec.entries.back(), std::move(line));
        changed_ = true;
    } else if (text(sec.entries[e]) != line) {
        setText(sec.entries[e], std::move(line));
        changed_ = true;
    }
}

int32_t TBigIniFile::ReadInteger(const std::string& section, const std::string& key,
                                 int32_t def) const
{
    std::string value = ReadString(section, key, "");
    if (value.size() >= 2 && value[0] == '0' && (value[1] == 'x' || value[1] == 'X')) {
        std::string hex(1, '$');
        hex.append(value, 2, 255);
        value = std::move(hex);
    }
    const auto v = toInt32(value, kStoreIntegers);
    return v ? *v : def;
}

void TBigIniFile::WriteInteger(const std::string& section, const std::string& key, int32_t value)
{
    WriteString(section, key, toDecimal(value));
}

bool TBigIniFile::ReadBool(const std::string& section, const std::string& key, bool def) const
{
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

void TBigIniFile::WriteBool(const std::string& section, const std::string& key, bool value)
{
    WriteString(section, key, value ? "1" : "0");
}

void TBigIniFile::ReadSection(const std::string& section, StringList& target) const
{
    const int s = findSectionFromLast(section);
    if (s < 0)
        return;
    for (const Entry& entry : sections_[s].entries)
        target.emplace_back(keyOf(text(entry)));
}

void TBigIniFile::ReadSections(StringList& target) const
{
    target.clear();
    target.reserve(sections_.size());
    for (const Section& s : sections_)
        target.push_back(s.name);
}

void TBigIniFile::ReadSectionValues(const std::string& section, StringList& target) const
{
    const int s = findSectionFromLast(section);
    if (s < 0)
        return;
    // Callers append section after section to one list: reserving only the
    // exact size would reallocate the whole list on every call.
    const size_t needed = target.size() + sections_[s].entries.size();
    if (needed > target.capacity())
        target.reserve(std::max(needed, target.capacity() * 2));
    for (const Entry& entry : sections_[s].entries)
        target.emplace_back(text(entry));
}

void TBigIniFile::ReadSectionViews(const std::string& section,
                                   std::vector<std::string_view>& target) const
{
    const int s = findSectionFromLast(section);
    if (s < 0)
        return;
    for (const Entry& entry : sections_[s].entries)
        target.push_back(text(entry));
}

void TBigIniFile::EraseSection(const std::string& section)
{
    const int s = findSectionFromLast(section);
    if (s < 0)
        return;
    sections_.erase(sections_.begin() + s);
    changed_ = true;
    lastFound_ = 0;
    if (lookupPos_ >= static_cast<int>(sections_.size()))
        lookupPos_ = 0;
}

void TBigIniFile::ReplaceSection(const std::string& section, const StringList& entries)
{
    EraseSection(section);
    Section s{section, {}};
    s.entries.resize(entries.size());
    for (size_t i = 0; i < entries.size(); ++i)
        setText(s.entries[i], entries[i]);
    sections_.push_back(std::move(s));
    changed_ = true;
}

std::string TBigIniFile::contentText() const
{
    size_t size = 0;
    for (const Section& s : sections_) {
        if (s.entries.empty())
            continue;
        size += s.name.size() + 6;
        for (const Entry& e : s.entries)
            size += text(e).size() + 2;
    }
    std::string out;
    out.reserve(size);
    for (const Section& s : sections_) {
        if (s.entries.empty())
            continue;
        out += '[';
        out += s.name;
        out += "]\r\n";
        for (const Entry& e : s.entries) {
            out += text(e);
            out += "\r\n";
        }
        out += "\r\n";
    }
    return out;
}

void TBigIniFile::checkReadsBack() const
{
    // Loaded lines hold none of these characters; only written ones can.
    constexpr std::string_view kBreaks("\r\n\x1a", 3);
    const auto holdsBreak = [&](std::string_view t) { return t.find_first_of(kBreaks) != t.npos; };
    for (const Section& s : sections_) {
        std::string what;
        if (holdsBreak(s.name))
            what = "has a name that holds";
        for (const Entry& e : s.entries)
            if (what.empty() && e.owned() && holdsBreak(text(e)))
                what = "holds an entry \"" + std::string(keyOf(text(e))) + "\" with";
        if (!what.empty())
            throw Error("\"" + fileName_ + "\" was not written: section [" + s.name + "] " + what
                        + " a line break or Ctrl-Z, which the file cannot hold.");
    }
}

void TBigIniFile::UpdateFile()
{
    if (!changed_)
        return;
    if (readOnly_)
        throw Error("\"" + fileName_ + "\" is open for reading only and cannot be written.");
    checkReadsBack();
    if (!fileName_.empty())
        writeFileAtomic(fileName_, contentText());
    changed_ = false;
}

} // namespace qmx
