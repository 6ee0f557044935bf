#include "core/report/firstmatch.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

using namespace qmx;

namespace {

// The literal answer: the first line and column where pattern occurs.
LinePos literalFirst(const std::vector<std::string>& lines, const std::string& pattern)
{
    for (size_t j = 0; j < lines.size(); ++j) {
        const size_t at = lines[j].find(pattern);
        if (at != std::string::npos)
            return {j, at};
    }
    return {};
}

} // namespace

TEST(FirstMatchAutomaton, AgreesWithLiteralSearchOnRandomText)
{
    std::mt19937 rng(3);
    for (int round = 0; round < 200; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        const std::string alphabet = round % 2 ? "ab" : "a[b\xff";
        std::vector<std::string> lines(1 + rng() % 40);
        for (auto& l : lines)
            for (size_t c = rng() % 25; c > 0; --c)
                l += alphabet[rng() % alphabet.size()];
        std::vector<std::string> patterns;
        for (size_t k = rng() % 30; k > 0; --k) {
            std::string p;
            for (size_t c = 1 + rng() % 6; c > 0; --c)
                p += alphabet[rng() % alphabet.size()];
            if (std::find(patterns.begin(), patterns.end(), p) == patterns.end())
                patterns.push_back(p);
        }
        std::vector<std::string_view> pv(patterns.begin(), patterns.end()),
            lv(lines.begin(), lines.end());
        std::vector<LinePos> found(patterns.size());
        FirstMatchAutomaton(pv).scan(lv, lines.size(), found);
        for (size_t i = 0; i < patterns.size(); ++i)
            EXPECT_EQ(found[i], literalFirst(lines, patterns[i]))
                << "pattern '" << patterns[i] << "'";
    }
}

TEST(FirstMatchAutomaton, EdgeCases)
{
    const std::vector<std::string> lines = {"[[[", "", "a[[[b", "[[[[[[_01", "[[[[[[_1"};
    const std::vector<std::string_view> lv(lines.begin(), lines.end());
    const struct {
        std::string pattern;
        LinePos expected;
    } cases[] = {
        {"[[[[", {3, 0}}, {"[[[", {0, 0}},   {"[_1", {4, 5}}, {"[_01", {3, 5}}, {"_1", {4, 6}},
        {"b", {2, 4}},    {"a[[[b", {2, 0}}, {"[[[[[[[", {}}, {"", {0, 0}},     {"1", {3, 8}},
    };
    std::vector<std::string_view> patterns;
    for (const auto& c : cases)
        patterns.push_back(c.pattern);
    std::vector<LinePos> found(patterns.size());
    FirstMatchAutomaton(patterns).scan(lv, lines.size(), found);
    for (size_t i = 0; i < patterns.size(); ++i)
        EXPECT_EQ(found[i], cases[i].expected) << "pattern '" << cases[i].pattern << "'";

    // Answers given before the scan stay; the scan stops at endLine.
    std::vector<LinePos> partial(patterns.size());
    partial[0] = {9, 9};
    FirstMatchAutomaton(patterns).scan(lv, 3, partial);
    EXPECT_EQ(partial[0], (LinePos{9, 9}));
    EXPECT_EQ(partial[1], (LinePos{0, 0}));
    EXPECT_FALSE(partial[2].found()); // "[_1" is only in line 4
    EXPECT_EQ(partial[6], (LinePos{2, 0}));
}
