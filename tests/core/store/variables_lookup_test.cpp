#include "core/store/variables.h"

#include "reference.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

using namespace qmx;

TEST(VariableLookup, FirstMatchIsInListOrderAndByTextPrefix)
{
    VariableList v;
    v.append("%B%=1");
    const auto ab = v.append("%A%B%=5"); // begins with %A%
    const auto a = v.append("%A%=1");
    v.append("%A%=2");
    EXPECT_EQ(v.findFirstWithPrefix("%A%"), ab);
    EXPECT_EQ(v.findFirstByName("%A%"), a);
    EXPECT_EQ(v.findFirstWithPrefix("%"), 0u);
    EXPECT_EQ(v.findFirstWithPrefix("%C%"), VariableList::npos);
    EXPECT_EQ(v.findAllWithPrefix("%A%").size(), 3u);
    EXPECT_EQ(v.eraseByName("%A%"), 2u);
    EXPECT_EQ(v.toVector(), (std::vector<std::string>{"%B%=1", "%A%B%=5"}));
    v.setText(ab, "%A%=9");
    EXPECT_EQ(v.findFirstByName("%A%"), ab);

    // Copies and moves keep a working index; a moved-from list is empty.
    VariableList copy = v;
    VariableList moved = std::move(v);
    EXPECT_TRUE(v.empty());
    EXPECT_EQ(v.findFirstWithPrefix(""), VariableList::npos);
    v.append("%N%=1");
    EXPECT_EQ(v.findFirstByName("%N%"), 0u);
    EXPECT_EQ(moved.findFirstByName("%A%"), ab);
    EXPECT_EQ(copy.findFirstByName("%A%"), ab);
    moved.erase(ab);
    EXPECT_EQ(moved.findFirstWithPrefix("%A%"), VariableList::npos);
    EXPECT_EQ(copy.findFirstWithPrefix("%A%"), ab);
}

// The index must answer exactly as a walk over the list does, whatever the
// mix of shared prefixes, duplicates, edits and erasures.
TEST(VariableLookup, IndexAgreesWithLinearScan)
{
    std::mt19937 rng(7);
    const char* alphabet = "%AB=";
    auto word = [&](size_t maxLen) {
        std::string s;
        const size_t n = rng() % (maxLen + 1);
        for (size_t i = 0; i < n; ++i)
            s += alphabet[rng() % 4];
        return s;
    };
    for (int round = 0; round < 40; ++round) {
        VariableList indexed;
        std::vector<VariableList::Id> ids;
        for (int op = 0; op < 300; ++op) {
            const unsigned pick = rng() % 10;
            if (pick < 6 || ids.empty()) {
                ids.push_back(indexed.append(word(6)));
            } else if (pick < 8) {
                const size_t k = rng() % ids.size();
                indexed.setText(ids[k], word(6));
            } else {
                indexed.eraseByName(VariableList::nameOf(indexed.text(ids[rng() % ids.size()])));
                // The surviving handles, in list order.
                ids = indexed.findAllWithPrefix("");
            }
            VariableList linear = indexed;
            linear.setLookup(&bench::linearLookup());
            for (int q = 0; q < 5; ++q) {
                const std::string p = word(4);
                ASSERT_EQ(indexed.findFirstWithPrefix(p), linear.findFirstWithPrefix(p)) << p;
                ASSERT_EQ(indexed.findFirstByName(p), linear.findFirstByName(p)) << p;
                ASSERT_EQ(indexed.findAllWithPrefix(p), linear.findAllWithPrefix(p)) << p;
            }
        }
    }
}

// Edge cases for both ways of answering: erased entries, an empty prefix,
// names holding "=" more than once, look-alike names, a name that is the
// whole entry text.
TEST(VariableLookup, EdgeCasesAgreeWithAndWithoutIndex)
{
    const std::vector<std::string> entries = {"%A_01%=1", "%A_1%=2", "%A=B%=3",
                                              "%A%",      "%A%=x=y", "%A%=4"};
    constexpr auto none = VariableList::npos;
    struct Case {
        const char* query;
        VariableList::Id firstWithPrefix, firstByName;
        size_t allWithPrefix;
    };
    // Entry 1 ("%A_1%=2") is erased before every look-up.
    const Case cases[] = {
        {"", 0, none, 5}, {"%A_1", none, none, 0}, {"%A_0", 0, none, 1},  {"%A_01%", 0, 0, 1},
        {"%A", 0, 2, 5}, // entry 2 is named "%A"
        {"%A%", 3, 3, 3}, {"%A%=x=y", 4, none, 1}, {"%A=B%", 2, none, 1}, {"%A%=4=", none, none, 0},
    };
    for (const bool linear : {false, true}) {
        VariableList v;
        for (const std::string& e : entries)
            v.append(e);
        v.erase(1);
        if (linear)
            v.setLookup(&bench::linearLookup());
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.query) + (linear ? " linear" : " indexed"));
            EXPECT_EQ(v.findFirstWithPrefix(c.query), c.firstWithPrefix);
            EXPECT_EQ(v.findFirstByName(c.query), c.firstByName);
            EXPECT_EQ(v.findAllWithPrefix(c.query).size(), c.allWithPrefix);
        }
        // Erasing by name goes through the plugged-in look-up's list too.
        EXPECT_EQ(v.eraseByName("%A%"), 3u);
        EXPECT_EQ(v.toVector(), (std::vector<std::string>{"%A_01%=1", "%A=B%=3"}));
    }
}

// An entry joined from parts is the same entry as its joined text, whether
// it fits the current chunk, fills it to the byte, or is long enough for a
// chunk of its own; entries appended after a long one still land in order,
// and look-ups made before and after find them alike.
TEST(VariableLookup, EntriesJoinedFromPartsEqualTheirText)
{
    const std::string longValue((1 << 20) / 4 + 1, 'v');
    const std::string fill((1 << 20) - 40, 'f');
    VariableList joined, plain;
    joined.findFirstByName("%A%"); // the index is built before the appends
    const auto both = [&](std::initializer_list<std::string_view> parts) {
        std::string text;
        for (const std::string_view p : parts)
            text += p;
        joined.append(parts);
        plain.append(text);
    };
    both({"%A%=", "1"});
    both({"", "%B%", "", "=", ""});
    both({"%C%=", longValue});
    both({"%D%=", fill});
    both({"%E%", "=", "after the long ones"});
    both({"%F%=x=y", ";"});
    both({});
    EXPECT_EQ(joined.toVector(), plain.toVector());
    for (const char* name : {"%A%", "%B%", "%C%", "%D%", "%E%", "%F%", ""})
        EXPECT_EQ(joined.findFirstByName(name), plain.findFirstByName(name)) << name;
}
