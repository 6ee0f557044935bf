#include "core/report/loader.h"

#include "core/report/fields.h"
#include "core/report/occurrence.h"
#include "core/util/error.h"
#include "core/util/fileio.h"
#include "core/util/lines.h"
#include "core/util/text.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <functional>
#include <initializer_list>
#include <iterator>
#include <string_view>

namespace qmx {

namespace {

struct FixedTag {
    std::string_view search;
    std::string_view prefix;
};

constexpr std::array<FixedTag, 23> kFixedTags{{
    {"=CURRENTDATE;", "%CURRENTDATE%="},
    {"=CURRENTTIME;", "%CURRENTTIME%="},
    {"=COMPUTERNAME;", "%COMPUTERNAME%="},
    {"=OSVERSION;", "%OSVERSION%="},
    {"=TOTALMEMORY;", "%TOTALMEMORY%="},
    {"=CPU;", "%CPU%="},
    {"=USERNAME;", "%USERNAME%="},
    {"=UPTIME;", "%UPTIME%="},
    {"=MESSAGE;", "%MESSAGE%="},
    {"=SWAPFILESIZE;", "%SWAPFILESIZE%="},
    {"=SWAPFILESETTING;", "%SWAPFILESETTING%="},
    {"=OWNER;", "%OWNER%="},
    {"=ORGANIZATION;", "%ORGANIZATION%="},
    {"=AVAILABLEMEMORY;", "%AVAILABLEMEMORY%="},
    {"=BIOSINFO;", "%BIOSINFO%="},
    {"=VIDEOCARD;", "%VIDEOCARD%="},
    {"=CLIENTVERSION;", "%CLIENTVERSION%="},
    {"=IPXADDRESS;", "%IPXADDRESS%="},
    {"=BIOSVIDEOINFO;", "%BIOSVIDEOINFO%="},
    {"=LASTBOOT;", "%LASTBOOT%="},
    {"=MONITORDRIVERDESCRIPTION;", "%MONITORDRIVERDESCRIPTION%="},
    {"=TIMEZONE;", "%TIMEZONE%="},
    {"=OWNER;", "%OWNER%="},
}};

// The General fields in page order, with their search texts.
constexpr std::array<std::string_view, 8> kGeneralTags{
    "=CURRENTDATE;", "=CURRENTTIME;", "=COMPUTERNAME;", "=OSVERSION;",
    "=TOTALMEMORY;", "=CPU;",         "=USERNAME;",     "=UPTIME;"};

constexpr std::string_view kOsSearch = "=OSVERSION";

// getvalue for many search texts at once: one pass over the lines finds the
// first occurrence of each, and the value is the rest of that line.
class TagValues {
public:
    TagValues(const std::vector<std::string_view>& lines, const Pump& pump) : lines_(lines)
    {
        for (const FixedTag& t : kFixedTags)
            add(t.search);
        for (std::string_view t : kGeneralTags)
            add(t);
        add(kOsSearch);
        found_ = firstOccurrences(lines_, patterns_, pump);
    }

    std::string value(std::string_view search) const
    {
        for (size_t i = 0; i < patterns_.size(); ++i)
            if (patterns_[i] == search) {
                if (!found_[i].found())
                    return {};
                return std::string(lines_[found_[i].line].substr(found_[i].column + search.size()));
            }
        return {};
    }

private:
    void add(std::string_view s)
    {
        for (std::string_view p : patterns_)
            if (p == s)
                return;
        patterns_.push_back(s);
    }

    const std::vector<std::string_view>& lines_;
    std::vector<std::string_view> patterns_;
    std::vector<LinePos> found_;
};

void addFileVariables(VariableList& vars, std::string_view line)
{
    static constexpr std::array<std::string_view, 8> names{
        ":SIZE%=",         ":DATE%=",           ":TIME%=",   ":COMPANY%=", ":INTERNALFILEVERSION%=",
        ":INTERNALNAME%=", ":PRODUCTVERSION%=", ":DEFAULT%="};
    const std::string_view key = fields::lineKey(line);
    std::array<std::string_view, 10> field;
    fields::fileFields(line, field);
    vars.append({"%FILE:", key, ":NAME%=", key});
    vars.append({"%FILE:", key, ":FULLNAME%=", field[1]});
    if (fields::fileNotFound(line))
        return;
    for (size_t k = 2; k <= 9; ++k)
        vars.append({"%FILE:", key, names[k - 2], field[k]});
}

void addRegistryVariables(VariableList& vars, std::string_view line)
{
    const std::string_view key = fields::lineKey(line);
    const auto parts = fields::registryParts(line);
    vars.append({"%REGISTRY:", key, ":KEY%=", key});
    vars.append({"%REGISTRY:", key, ":VALUE%=", parts.value});
    vars.append({"%REGISTRY:", key, ":DEFAULT%=", parts.verdict});
}

// The first entry of each multi-value list name, for extending it in place.
// Only multi-value lines add names beginning "%REGISTRY_MULTIVALUE:", so
// recording those as they are appended answers "the first entry of this name"
// exactly, without building the list's full look-up index during the load.
// An entry's growing text is kept beside it and stored once the lines are
// done: rewriting it at every line would copy it again and again.
struct ListEntry {
    VariableList::Id id;
    std::string text; // the entry, whose name is the list's name
    bool extended = false;
};

// The entries in a flat array and an open-addressing table of their names'
// hashes: a large report has tens of thousands of lists, and a node per
// name made every look-up a chase through scattered memory.
class ListNames {
public:
    ListEntry* find(std::string_view name)
    {
        if (slots_.empty())
            return nullptr;
        const uint64_t h = std::hash<std::string_view>()(name);
        for (size_t s = h & (slots_.size() - 1);; s = (s + 1) & (slots_.size() - 1)) {
            const uint64_t slot = slots_[s];
            if (slot == 0)
                return nullptr;
            if ((slot >> 32) == (h >> 32)) {
                ListEntry& e = entries_[static_cast<uint32_t>(slot) - 1];
                if (VariableList::nameOf(e.text) == name)
                    return &e;
            }
        }
    }

    // Records the entry unless its name already has one.
    void add(VariableList::Id id, std::string_view entry)
    {
        const std::string_view name = VariableList::nameOf(entry);
        if (find(name))
            return;
        entries_.push_back(ListEntry{id, std::string(entry)});
        if (entries_.size() * 2 > slots_.size()) {
            slots_.assign(std::max<size_t>(64, slots_.size() * 2), 0);
            for (size_t i = 0; i < entries_.size(); ++i)
                place(VariableList::nameOf(entries_[i].text), i);
        } else {
            place(name, entries_.size() - 1);
        }
    }

    const std::vector<ListEntry>& entries() const { return entries_; }

private:
    void place(std::string_view name, size_t index)
    {
        const uint64_t h = std::hash<std::string_view>()(name);
        size_t s = h & (slots_.size() - 1);
        while (slots_[s] != 0)
            s = (s + 1) & (slots_.size() - 1);
        slots_[s] = (h & 0xFFFFFFFF00000000ull) | static_cast<uint32_t>(index + 1);
    }

    std::vector<ListEntry> entries_;
    std::vector<uint64_t> slots_; // hash's high half, entry index + 1; 0 for none
};

void appendMultiValueEntry(VariableList& vars, ListNames& lists,
                           std::initializer_list<std::string_view> parts)
{
    const VariableList::Id id = vars.append(parts);
    const std::string_view entry = vars.text(id);
    const std::string_view name = VariableList::nameOf(entry);
    static constexpr std::string_view kAll = ":ALL_VALUES%";
    if (name.size() >= kAll.size() && name.substr(name.size() - kAll.size()) == kAll)
        lists.add(id, entry);
}

void storeExtendedLists(VariableList& vars, const ListNames& lists)
{
    for (const ListEntry& entry : lists.entries())
        if (entry.extended)
            vars.setText(entry.id, entry.text);
}

void addMultiValueVariables(VariableList& vars, ListNames& lists, std::string_view line)
{
    const std::string_view base = fields::multiValueBase(fields::lineKey(line));
    const std::string_view v = fields::entryData(line);
    const size_t eq = v.find('=');
    const std::string_view valueName = eq == std::string_view::npos ? v : v.substr(0, eq);
    const std::string_view valueData = eq == std::string_view::npos ? v : v.substr(eq + 1);

    std::string allName;
    allName.reserve(base.size() + 33);
    allName.append("%REGISTRY_MULTIVALUE:").append(base).append(":ALL_VALUES%");
    if (ListEntry* all = lists.find(allName)) {
        all->text.append(";").append(v);
        all->extended = true;
    } else {
        appendMultiValueEntry(vars, lists, {allName, "=", v});
    }
    appendMultiValueEntry(vars, lists,
                          {"%REGISTRY_MULTIVALUE:", base, ":", valueName, "%=", valueData});
}

// What a report line is, by the first of these tests that applies.
enum class LineKind : uint8_t { Header, Attached, Nic, File, MultiValue, Registry, Other };

LineKind classify(std::string_view line)
{
    if (!line.empty() && line[0] == '[')
        return LineKind::Header;
    // Every kind's text holds an "=": one look at each "=" of the line finds
    // them all, and the earliest kind in this order wins.
    static constexpr std::string_view kAttachedHead = "_0";
    static constexpr std::string_view kAfterEq[] = {"GETFILE;", "NIC;", "FILE;",
                                                    "REGISTRY_MULTIVALUE;", "REGISTRY;"};
    static constexpr LineKind kKinds[] = {LineKind::Attached, LineKind::Nic, LineKind::File,
                                          LineKind::MultiValue, LineKind::Registry};
    size_t best = std::size(kKinds);
    const char* const begin = line.data();
    const char* const end = begin + line.size();
    for (const char* eq = begin;
         (eq = static_cast<const char*>(std::memchr(eq, '=', static_cast<size_t>(end - eq))));
         ++eq) {
        const std::string_view rest(eq + 1, static_cast<size_t>(end - eq - 1));
        for (size_t k = 0; k < best; ++k)
            if (rest.starts_with(kAfterEq[k])
                && (k != 0 || (eq - begin >= 2 && std::string_view(eq - 2, 2) == kAttachedHead))) {
                best = k;
                break;
            }
        if (best == 0)
            break;
    }
    return best < std::size(kKinds) ? kKinds[best] : LineKind::Other;
}

Colour colourOf(LineKind k)
{
    switch (k) {
    case LineKind::Header: return Colour::Red;
    case LineKind::File: return Colour::Blue;
    case LineKind::MultiValue:
    case LineKind::Registry: return Colour::Green;
    default: return Colour::None;
    }
}

// The text that gives a coloured line its kind; the line contains it.
std::string_view markerOf(LineKind k)
{
    switch (k) {
    case LineKind::Header: return "[";
    case LineKind::File: return "=FILE;";
    case LineKind::MultiValue: return "=REGISTRY_MULTIVALUE;";
    case LineKind::Registry: return "=REGISTRY;";
    default: return {};
    }
}

struct Stepper {
    Progress* progress;
    void step() const
    {
        if (progress)
            progress->step();
    }
};

} // namespace

namespace {

// The steps before the line loop take a while on a large report; the pump
// runs between them so a window stays responsive.
void breathe(const LoadOptions& options)
{
    if (options.pump)
        options.pump();
}

// The text, its lines and the section store over it; takes the text over.
void openText(ReportDocument& doc, std::string content, const LoadOptions& options)
{
    doc.rawText = std::make_shared<const std::string>(std::move(content));
    breathe(options);
    doc.lines = splitLineViews(*doc.rawText, options.pump);
    breathe(options);
    doc.store =
        std::make_unique<TBigIniFile>(readOnly, doc.path, doc.rawText, doc.lines, options.pump);
    breathe(options);
}

// The Sections list, the fixed variables and the General fields.
void readFixedFields(ReportDocument& doc, const LoadOptions& options)
{
    const Stepper progress{options.progress};
    const std::vector<std::string_view>& lines = doc.lines;
    doc.store->ReadSections(doc.sections);
    doc.sectionsLabel = "Sections: " + toDecimal(static_cast<long long>(doc.sections.size()));
    progress.step();

    const TagValues tags(lines, options.pump);
    breathe(options);
    for (const FixedTag& t : kFixedTags) {
        doc.variables.append({t.prefix, tags.value(t.search)});
        progress.step();
    }

    {
        const std::string os = tags.value(kOsSearch);
        const std::string_view name = fields::before(fields::after(os, ';'), ';');
        if (name == "Windows 95")
            doc.variables.append("%OS%=WIN95");
        else if (name == "Windows 98")
            doc.variables.append("%OS%=WIN98");
        else if (name == "Windows NT")
            doc.variables.append("%OS%=WINNT");
        progress.step();
    }

    std::string* general[] = {&doc.general.date, &doc.general.time,   &doc.general.name,
                              &doc.general.os,   &doc.general.memory, &doc.general.cpu,
                              &doc.general.user, &doc.general.uptime};
    for (size_t i = 0; i < kGeneralTags.size(); ++i) {
        *general[i] = tags.value(kGeneralTags[i]);
        progress.step();
    }
}

// Every line is classified first, and the first occurrences of the coloured
// ones are found in one search before the line loop, so the search's working
// memory is gone before the variables and rows are built.
std::vector<LineKind> classifyAndColour(ReportDocument& doc, const LoadOptions& options)
{
    const std::vector<std::string_view>& lines = doc.lines;
    std::vector<LineKind> kinds(lines.size());
    {
        std::vector<size_t> colouredLines;
        for (size_t i = 0; i < lines.size(); ++i) {
            if (i % 8192 == 8191)
                breathe(options);
            kinds[i] = classify(lines[i]);
            if (colourOf(kinds[i]) != Colour::None)
                colouredLines.push_back(i);
        }
        // Each coloured line holds the text that made it one; the search
        // needs only look where that text occurs.
        std::vector<std::string_view> markers;
        markers.reserve(colouredLines.size());
        for (const size_t i : colouredLines)
            markers.push_back(markerOf(kinds[i]));
        const std::vector<LinePos> at =
            firstOccurrencesOfMarkedLines(lines, colouredLines, markers, options.pump);
        doc.textColours.reserve(colouredLines.size());
        for (size_t c = 0; c < colouredLines.size(); ++c) {
            const size_t i = colouredLines[c];
            doc.textColours.push_back({static_cast<uint32_t>(i), static_cast<uint32_t>(at[c].line),
                                       static_cast<uint32_t>(at[c].column),
                                       static_cast<uint32_t>(lines[i].size()), colourOf(kinds[i])});
        }
    }
    return kinds;
}

// The variables, table rows and lists of the lines, in report order.
void readLineEntries(ReportDocument& doc, const std::vector<LineKind>& kinds,
                     const LoadOptions& options)
{
    const Stepper progress{options.progress};
    const std::vector<std::string_view>& lines = doc.lines;
    prepareRegistryTable(doc.registry);
    prepareFilesTable(doc.files);
    // Rows refer to their lines in the report text instead of copying cells.
    doc.registry.rows.shareText(doc.rawText);
    doc.files.rows.shareText(doc.rawText);

    // The variables of a large report run to a million entries: size the
    // list once instead of letting it grow by doubling.
    {
        size_t entries = doc.variables.size();
        size_t registryRows = 0, fileRows = 0;
        for (const LineKind k : kinds) {
            entries += k == LineKind::File         ? 10
                       : k == LineKind::Registry   ? 3
                       : k == LineKind::MultiValue ? 2
                                                   : 0;
            registryRows += k == LineKind::Registry;
            fileRows += k == LineKind::File;
        }
        doc.variables.reserve(entries);
        doc.registry.rows.reserve(registryRows);
        doc.files.rows.reserve(fileRows);
    }
    ListNames multiValueLists;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (options.pump && i % 1024 == 1023)
            options.pump();
        const std::string_view line = lines[i];
        switch (kinds[i]) {
        case LineKind::Attached:
            doc.attached.emplace_back(line.substr(0, line.find("_0=GETFILE;")));
            break;
        case LineKind::Nic:
            doc.nics.emplace_back(fields::after(fields::after(line, '='), ';'));
            doc.nicShown = doc.nics.back();
            break;
        case LineKind::File:
            addFileRow(doc.files, line);
            addFileVariables(doc.variables, line);
            break;
        case LineKind::MultiValue:
            addMultiValueVariables(doc.variables, multiValueLists, line);
            break;
        case LineKind::Registry:
            addRegistryRow(doc.registry, line);
            addRegistryVariables(doc.variables, line);
            break;
        case LineKind::Header:
        case LineKind::Other: break;
        }
        progress.step();
    }
    storeExtendedLists(doc.variables, multiValueLists);
}

// A fresh document for the report at path.
void startDocument(ReportDocument& doc, const std::string& path)
{
    doc = ReportDocument{};
    doc.path = path;
}

// The load after the file's contents are at hand; takes them over.
void loadContent(ReportDocument& doc, std::string content, const LoadOptions& options)
{
    // Positions are kept in 32 bits; a file is refused long before this.
    if (content.size() > UINT32_MAX)
        throw Error("\"" + doc.path + "\" is too large to load.");
    openText(doc, std::move(content), options);
    if (options.progress)
        options.progress->setMaximum(static_cast<int>(doc.lines.size() + 33));
    readFixedFields(doc, options);
    const std::vector<LineKind> kinds = classifyAndColour(doc, options);
    readLineEntries(doc, kinds, options);
    if (options.runRules)
        options.runRules(doc);
    doc.loaded = true;
}

} // namespace

void loadall(ReportDocument& doc, const std::string& path, const LoadOptions& options)
{
    startDocument(doc, path);
    loadContent(doc, readWholeFile(path), options);
}

void loadReportText(ReportDocument& doc, const std::string& path, std::string content,
                    const LoadOptions& options)
{
    startDocument(doc, path);
    loadContent(doc, std::move(content), options);
}

} // namespace qmx
