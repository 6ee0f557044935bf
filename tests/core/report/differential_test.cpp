// The loader's colouring, variable building and the attached-file extraction
// against plain, literal versions of the same rules (whole-text searches,
// linear scans of the variable list, one pass over all lines per file line),
// on generated reports including adversarial ones.
#include "core/report/attached.h"
#include "core/report/loader.h"
#include "core/report/occurrence.h"

#include "core/util/error.h"
#include "core/util/text.h"
#include "reference.h"
#include "reportgen.h"
#include "tempdir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

using namespace qmx;

namespace {

using Lines = std::vector<std::string>;

// ---- literal reference ----------------------------------------------------

std::string joined(const Lines& lines)
{
    std::string t;
    for (const auto& l : lines)
        t += l + "\r\n";
    return t;
}

LinePos positionOf(const Lines& lines, size_t offset)
{
    size_t start = 0;
    for (size_t j = 0; j < lines.size(); ++j) {
        const size_t end = start + lines[j].size() + 2;
        if (offset < end)
            return {j, offset - start};
        start = end;
    }
    return {};
}

std::string refGetvalue(const std::string& text, const std::string& s)
{
    const size_t at = text.find(s);
    if (at == std::string::npos)
        return "";
    const size_t cr = text.find('\r', at + s.size());
    return text.substr(at + s.size(), cr - at - s.size());
}

std::string del(const std::string& s, char c) // drop up to and including the first c
{
    const size_t p = s.find(c);
    return p == std::string::npos ? s : s.substr(p + 1);
}

std::string cut(const std::string& s, char c) // keep the text before the first c
{
    const size_t p = s.find(c);
    return p == std::string::npos ? s : s.substr(0, p);
}

struct RefReport {
    Lines variables;
    std::vector<TextColour> colours;
    Lines attached;
    Lines nics;
};

RefReport refLoad(const Lines& lines)
{
    RefReport r;
    const std::string text = joined(lines);
    for (const char* t : bench::kFixedTags)
        r.variables.push_back(std::string("%") + t
                              + "%=" + refGetvalue(text, std::string("=") + t + ";"));
    const std::string os = cut(del(refGetvalue(text, "=OSVERSION"), ';'), ';');
    for (const std::string v : {"95", "98", "NT"})
        if (os == "Windows " + v)
            r.variables.push_back("%OS%=WIN" + v);

    auto colour = [&](size_t i, Colour c) {
        const LinePos p = positionOf(lines, text.find(lines[i]));
        r.colours.push_back(
            {uint32_t(i), uint32_t(p.line), uint32_t(p.column), uint32_t(lines[i].size()), c});
    };
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string& l = lines[i];
        const std::string key = cut(l, '=');
        if (!l.empty() && l[0] == '[') {
            colour(i, Colour::Red);
        } else if (l.find("_0=GETFILE;") != std::string::npos) {
            r.attached.push_back(l.substr(0, l.find("_0=GETFILE;")));
        } else if (l.find("=NIC;") != std::string::npos) {
            r.nics.push_back(del(del(l, '='), ';'));
        } else if (l.find("=FILE;") != std::string::npos) {
            colour(i, Colour::Blue);
            auto field = [&](int k) {
                std::string s = l;
                for (int n = 0; n < k; ++n)
                    s = del(s, ';');
                return cut(s, ';');
            };
            r.variables.push_back("%FILE:" + key + ":NAME%=" + key);
            r.variables.push_back("%FILE:" + key + ":FULLNAME%=" + field(1));
            if (l.find("File Not Found!") == std::string::npos) {
                const char* names[] = {
                    "SIZE",         "DATE",           "TIME",   "COMPANY", "INTERNALFILEVERSION",
                    "INTERNALNAME", "PRODUCTVERSION", "DEFAULT"};
                for (int k = 2; k <= 9; ++k)
                    r.variables.push_back("%FILE:" + key + ":" + names[k - 2] + "%=" + field(k));
            }
        } else if (l.find("=REGISTRY_MULTIVALUE;") != std::string::npos) {
            colour(i, Colour::Green);
            const size_t us = key.rfind('_');
            const std::string base =
                us == std::string::npos ? key.substr(0, key.size() - 1) : key.substr(0, us);
            const std::string v = del(del(l, '='), ';');
            const std::string name = "%REGISTRY_MULTIVALUE:" + base + ":ALL_VALUES%";
            bool extended = false;
            for (std::string& e : r.variables)
                if (cut(e, '=') == name) {
                    e += ";" + v;
                    extended = true;
                    break;
                }
            if (!extended)
                r.variables.push_back(name + "=" + v);
            const bool hasEq = v.find('=') != std::string::npos;
            r.variables.push_back("%REGISTRY_MULTIVALUE:" + base + ":" + (hasEq ? cut(v, '=') : v)
                                  + "%=" + (hasEq ? del(v, '=') : v));
        } else if (l.find("=REGISTRY;") != std::string::npos) {
            colour(i, Colour::Green);
            const std::string data = del(del(l, '='), ';');
            const size_t p = data.rfind(';');
            const std::string value = p == std::string::npos
                                          ? data.substr(0, data.empty() ? 0 : data.size() - 1)
                                          : data.substr(0, p);
            const std::string verdict = p == std::string::npos ? "" : data.substr(p + 1);
            r.variables.push_back("%REGISTRY:" + key + ":KEY%=" + key);
            r.variables.push_back("%REGISTRY:" + key + ":VALUE%=" + value);
            r.variables.push_back("%REGISTRY:" + key + ":DEFAULT%=" + verdict);
        }
    }
    return r;
}

void refExtract(const Lines& lines, const std::string& f, Lines& out)
{
    const std::string first = f + "_0=GETFILE;";
    int32_t n = 0;
    for (const std::string& l : lines) {
        if (l.find(first) == std::string::npos)
            continue;
        const std::string count = cut(l.size() > first.size() ? l.substr(first.size()) : "", ';');
        if (count == "FILE NOT FOUND") {
            out.push_back("FILE NOT FOUND!!!");
            n = -1;
        } else {
            const auto v = toInt32(count);
            if (!v)
                throw invalidInteger(count);
            n = *v;
        }
    }
    // Each line goes under the tag of the file that it holds leftmost.
    std::vector<size_t> leftmost(lines.size(), std::string::npos);
    std::vector<int32_t> under(lines.size(), -1);
    for (int32_t k = 0; k <= n; ++k)
        for (size_t i = 0; i < lines.size(); ++i) {
            const size_t at = lines[i].find(f + "_" + std::to_string(k) + "=GETFILE;");
            if (at < leftmost[i]) {
                leftmost[i] = at;
                under[i] = k;
            }
        }
    for (int32_t k = 0; k <= n; ++k) {
        const size_t len =
            (f + "_" + std::to_string(k) + "=GETFILE;").size() + std::to_string(n).size() + 1;
        for (size_t i = 0; i < lines.size(); ++i)
            if (under[i] == k)
                out.push_back(lines[i].size() > len ? lines[i].substr(len) : "");
    }
}

// ---- comparisons ----------------------------------------------------------

void expectSameColours(const std::vector<TextColour>& got, const std::vector<TextColour>& want)
{
    ASSERT_EQ(got.size(), want.size());
    for (size_t i = 0; i < got.size(); ++i) {
        SCOPED_TRACE("coloured line " + std::to_string(want[i].line));
        EXPECT_EQ(got[i].line, want[i].line);
        EXPECT_EQ(got[i].atLine, want[i].atLine);
        EXPECT_EQ(got[i].column, want[i].column);
        EXPECT_EQ(got[i].length, want[i].length);
        EXPECT_EQ(got[i].color, want[i].color);
    }
}

void expectSameExtraction(const Lines& lines, const std::string& name)
{
    SCOPED_TRACE("attached file '" + name + "'");
    Lines want, got;
    std::string wantError, gotError;
    try {
        refExtract(lines, name, want);
    } catch (const Error& e) {
        wantError = e.what();
    }
    try {
        extractAttached(lines, name, got);
    } catch (const Error& e) {
        gotError = e.what();
    }
    EXPECT_EQ(gotError, wantError);
    EXPECT_EQ(got, want);
}

void checkReport(const std::string& text)
{
    test::TempDir dir;
    const std::string path = dir.file("report.txt");
    test::writeBytes(path, text);
    ReportDocument doc;
    loadall(doc, path);
    const Lines lines(doc.lines.begin(), doc.lines.end());
    const RefReport ref = refLoad(lines);
    EXPECT_EQ(doc.variables.toVector(), ref.variables);
    EXPECT_EQ(doc.attached, ref.attached);
    EXPECT_EQ(doc.nics, ref.nics);
    expectSameColours(doc.textColours, ref.colours);

    Lines names = doc.attached;
    for (const char* extra :
         {"F", "XF", "TWICE", "HOST", "INNER", "", "F_1", "Attached", "ATT1", "NOPE"})
        names.push_back(extra);
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
    for (const std::string& n : names)
        expectSameExtraction(lines, n);
}

} // namespace

TEST(Differential, GeneratedReports)
{
    for (unsigned seed = 1; seed <= 3; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        bench::ReportShape shape;
        shape.lines = 3000;
        shape.seed = seed;
        shape.bigAttached = 600;
        checkReport(bench::generateReport(shape));
    }
}

TEST(Differential, AdversarialReports)
{
    for (unsigned seed = 1; seed <= 4; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        bench::ReportShape shape;
        shape.lines = 2500;
        shape.seed = seed;
        shape.bigAttached = 300;
        shape.adversarial = true;
        checkReport(bench::generateReport(shape));
    }
}

// Many multi-value lines extending the same lists, with bases that hold the
// separator "_" more than once, look-alike numbers, a value named ALL_VALUES
// (whose own entry then has the list's name) and values with ";" and "=" at
// their edges.
TEST(Differential, MultiValueListsGrowInPlace)
{
    std::string text = "[Registry]\r\n";
    const char* keys[] = {"A_B_1", "A_B_01", "A_B_10", "A_1", "AB", "A_B_ALL", "A__"};
    const char* values[] = {
        "v=1", ";edge;", "=lead", "trail=", "ALL_VALUES=x", "plain", "", "a=b=c"};
    for (int i = 0; i < 700; ++i)
        text += std::string(keys[i % std::size(keys)]) + "=REGISTRY_MULTIVALUE;"
                + values[(i / 3) % std::size(values)] + "\r\n";
    text += "A_B_9=REGISTRY;x;DEFAULT\r\nA_B_2=REGISTRY_MULTIVALUE;last\r\n";
    checkReport(text);
}

TEST(Differential, BadCountsAndNestedFirstLines)
{
    // clang-format off
    const Lines lines = {
        "A_0=GETFILE;2;x", "A_1=GETFILE;2;B_0=GETFILE;FILE NOT FOUND", "B_0=GETFILE;1;y",
        "A_2=GETFILE;2;zA_0=GETFILE;x", "B_1=GETFILE;1;B_0=GETFILE;oops;", "C_0=GETFILE;0x1;c",
        "C_1=GETFILE;1;d", "D_0=GETFILE;12;big", "D_12=GETFILE;12;end", "E_0=GETFILE;-1;neg",
        "E_0=GETFILE;0;",
    };
    // clang-format on
    for (const char* n : {"A", "B", "C", "D", "E", "_", "0"})
        expectSameExtraction(lines, n);
}

// Random lines over a tiny alphabet make every kind of substring relation
// (short and long, prefix, suffix, inner, repeated) common.
TEST(Differential, FirstOccurrenceOfLinesOnRandomText)
{
    std::mt19937 rng(7);
    for (int round = 0; round < 60; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        const char* alphabet = round % 3 == 0 ? "ab" : (round % 3 == 1 ? "ab[=;" : "abcdefgh");
        const size_t alen = std::char_traits<char>::length(alphabet);
        Lines lines(50 + rng() % 300);
        for (auto& l : lines) {
            const size_t len = rng() % (round % 2 ? 30 : 12);
            for (size_t c = 0; c < len; ++c)
                l += alphabet[rng() % alen];
        }
        std::vector<size_t> queries;
        for (size_t i = 0; i < lines.size(); ++i)
            if (rng() % 3)
                queries.push_back(i);
        const std::string text = joined(lines);
        // Each query is looked for through a marker it holds; the markers are
        // short and frequent, so keys collide and queries share groups. A
        // query holding none of them goes with the empty marker.
        std::vector<std::string_view> markerOfQuery;
        for (const size_t i : queries) {
            std::string_view marker;
            for (const std::string_view m : {"[", "=;", "a=", "ab", "b"})
                if (lines[i].find(m) != std::string::npos) {
                    marker = m;
                    break;
                }
            markerOfQuery.push_back(marker);
        }
        const auto got = firstOccurrencesOfMarkedLines(
            std::vector<std::string_view>(lines.begin(), lines.end()), queries, markerOfQuery);
        for (size_t q = 0; q < queries.size(); ++q) {
            const LinePos want = positionOf(lines, text.find(lines[queries[q]]));
            ASSERT_EQ(got[q], want) << "query line " << queries[q] << " '" << lines[queries[q]]
                                    << "' marker '" << markerOfQuery[q] << "'";
        }

        // Mixed first bytes, and one first byte for all (the search then
        // skips from one candidate byte to the next).
        const std::vector<std::string> patternSets[] = {
            {"a", "ab;", "=", "[a", "hgf", "bbbbbbbbbbbb", "zz", ""},
            {"a", "ab", "aab", "a;=", "azz", "abababab"},
        };
        for (const auto& pats : patternSets) {
            std::vector<std::string_view> views(pats.begin(), pats.end());
            const auto found = firstOccurrences(lines, views);
            for (size_t p = 0; p < pats.size(); ++p) {
                const size_t at = text.find(pats[p]);
                const LinePos want =
                    at == std::string::npos || lines.empty() ? LinePos{} : positionOf(lines, at);
                EXPECT_EQ(found[p], want) << "pattern '" << pats[p] << "'";
            }
        }
    }
}

// Lines that repeat their marker many times, as "[" fifty times with a short
// tail, make the marker search give up and hand over to the automaton; the
// answers must still be the literal first occurrences. Tails are look-alike
// numbers (_1, _01, _10), and some lines are prefixes or inner parts of
// others.
TEST(Differential, FirstOccurrenceOfRepetitiveMarkerLines)
{
    for (const size_t runs : {50u, 7u, 1u}) {
        SCOPED_TRACE("run of " + std::to_string(runs));
        Lines lines;
        for (size_t i = 0; i < 1500; ++i) {
            const std::string head(runs + (i % 3 == 0 ? 1 : 0), '[');
            switch (i % 5) {
            case 0: lines.push_back(head + "_" + std::to_string(i % 40)); break;
            case 1: lines.push_back(head + "_0" + std::to_string(i % 40)); break;
            case 2: lines.push_back(head); break;
            case 3: lines.push_back("x" + head + "]"); break;
            default: lines.push_back(head + "]=REGISTRY;" + std::to_string(i % 7)); break;
            }
        }
        std::vector<size_t> queries;
        std::vector<std::string_view> markers;
        for (size_t i = 0; i < lines.size(); ++i) {
            queries.push_back(i);
            markers.push_back(
                lines[i].find("=REGISTRY;") != std::string::npos && i % 2 ? "=REGISTRY;" : "[");
        }
        const std::string text = joined(lines);
        const auto got = firstOccurrencesOfMarkedLines(
            std::vector<std::string_view>(lines.begin(), lines.end()), queries, markers);
        for (size_t q = 0; q < queries.size(); ++q)
            ASSERT_EQ(got[q], positionOf(lines, text.find(lines[q])))
                << "line " << q << " '" << lines[q] << "'";
    }
}

// Lines whose kind hangs on one byte: the attached-file tag needs "_0" right
// before its "=", the earlier kind in the order wins when a line holds
// several, and a kind's text may sit anywhere in the line, after other "="
// signs or at its very end.
TEST(Differential, LineKindsAtTheirEdges)
{
    // clang-format off
    const Lines lines = {
        "[Mixed]", "A_0=GETFILE;1;x", "0=GETFILE;1;not attached",
        "_0=GETFILE;1;attached at the start", "A_00=GETFILE;1;x", "K=REGISTRY;v;DEFAULT=NIC;card",
        "K=FILE;C:\\A.DLL;1;2;3;4;5;6;7;SAME;B_0=GETFILE;2;y", "K=REGISTRY_MULTIVALUE;a=b=FILE;",
        "K=REGISTRY_MULTIVALUE", "x==REGISTRY;", "=REGISTRY;",
        "v=1;w=2;K=REGISTRY;late;NON-DEFAULT", "K=REGISTRY_MULTIVALUE;=REGISTRY;", "no kind = here",
        "=",
    };
    // clang-format on
    checkReport(joined(lines));
}
