// The evaluator's reduction against the literal one that rebuilds the text
// every pass: the same outcome and the same work, on random conditions over
// a small alphabet rich in parentheses, quotes and operators, and on shapes
// built to break shortcuts.
#include "core/rules/expression.h"

#include "literal.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

using namespace qmx;

namespace {

void expectSame(const std::string& condition)
{
    const bench::LiteralOutcome want = bench::literalReduction(condition);
    ExpressionEvaluator e;
    EXPECT_EQ(e.ProcessExpression(condition), want.value) << "condition: " << condition;
    EXPECT_EQ(e.steps(), want.passes + want.operators) << "condition: " << condition;
}

// Joins texts by appending, which also keeps the compiler's overlap
// warnings on literal-plus-string chains away.
std::string join(std::initializer_list<std::string> parts)
{
    std::string r;
    for (const std::string& p : parts)
        r += p;
    return r;
}

std::string repeat(const std::string& s, size_t n)
{
    std::string r;
    for (size_t i = 0; i < n; ++i)
        r += s;
    return r;
}

} // namespace

TEST(ExpressionDifferential, RandomConditions)
{
    std::mt19937 rng(11);
    const std::string alphabet[] = {"(", ")", "(", ")", "&", "|",  "=",    "!=",    "<",  ">=",
                                    "^", "'", " ", "A", "1", "10", "TRUE", "FALSE", "\t", "a"};
    for (int round = 0; round < 4000; ++round) {
        std::string c;
        const size_t len = rng() % (round < 2000 ? 12 : 60);
        for (size_t i = 0; i < len; ++i)
            c += alphabet[rng() % std::size(alphabet)];
        expectSame(c);
    }
}

TEST(ExpressionDifferential, ShapesThatBreakShortcuts)
{
    // clang-format off
    const std::string cases[] = {
        "", " ", "(", ")", "()", ")(", "TRUE", " FALSE ", "TRUE)", "(TRUE", "((TRUE))",
        "TRUE)TRUE", "T)RUE", "TR(UE", "(A=A)(B=B)", "(A=A)TRUE", "TRUE(A=A)", "FALSE)&(TRUE",
        join({repeat("(1=1)&", 200), "(1=1)"}),
        repeat("(1=1)&", 200),                        // ends in a dangling "&"
        join({repeat("(", 300), "A=A", repeat(")", 300)}),
        join({repeat("(", 300), "A=A", repeat(")", 299)}), // one ")" short
        join({repeat("(", 299), "A=A", repeat(")", 300)}), // one ")" over
        join({repeat("(", 300), "A=A"}),
        join({"A=A", repeat(")", 300)}),
        join({repeat(")(", 200), "A=A"}),
        join({repeat("(A=A)", 100), repeat(")", 50)}),
        "'(' = '('", "('A)B'='A)B')", "(A=A))&((B=B)", "((A=A)&(B=C))|(C=C)",
        "(((1<2)&(2<3))&((3<4)|(4<3)))", "(TRUE)&(FALSE)", "(TRUE&TRUE)", "TRUE&TRUE)",
        join({"(", repeat("TRUE&", 100), "TRUE)"}),
    };
    // clang-format on
    for (const std::string& c : cases)
        expectSame(c);
}

TEST(ExpressionDifferential, DeepNestingNeedsNoStack)
{
    // 100,000 levels: a recursive reduction would overflow the stack here.
    const size_t depth = 100000;
    const std::string nested = join({std::string(depth, '('), "A=A", std::string(depth, ')')});
    ExpressionEvaluator e;
    EXPECT_FALSE(e.ProcessExpression(nested)); // the outer groups see "TRUE" without operator
    EXPECT_TRUE(
        e.ProcessExpression(join({std::string(depth, '('), "A=A", repeat(")&TRUE", depth)})));
    EXPECT_LE(e.steps(), 4 * (nested.size() + 1) + 7 * depth);
}
