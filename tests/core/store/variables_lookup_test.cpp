#include "store/variables.h"

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
            linear.setLookup(VariableList::Lookup::LinearScan);
            for (int q = 0; q < 5; ++q) {
                const std::string p = word(4);
                ASSERT_EQ(indexed.findFirstWithPrefix(p), linear.findFirstWithPrefix(p)) << p;
                ASSERT_EQ(indexed.findFirstByName(p), linear.findFirstByName(p)) << p;
                ASSERT_EQ(indexed.findAllWithPrefix(p), linear.findAllWithPrefix(p)) << p;
            }
        }
    }
}
