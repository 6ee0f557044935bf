#include "core/rules/expression.h"

#include <gtest/gtest.h>

#include <string>

using namespace qmx;

namespace {

struct Case {
    const char* condition;
    bool expected;
};

void expectAll(std::initializer_list<Case> cases)
{
    ExpressionEvaluator e;
    for (const Case& c : cases) {
        EXPECT_EQ(e.ProcessExpression(c.condition), c.expected) << "condition: " << c.condition;
        EXPECT_TRUE(e.result() == "TRUE" || e.result() == "FALSE") << c.condition;
    }
}

} // namespace

TEST(Expression, BareWordsAndGroupsWithoutOperator)
{
    expectAll({
        {"TRUE", true},
        {"  TRUE\t", true},
        {"true", false},
        {"FALSE", false},
        {"(TRUE)", false},
        {"((A=A))", false},
        {"", false},
        {"   ", false},
        {"HELLO", false},
        {"!A", false},
        {"1+1*2", false},
    });
}

TEST(Expression, TextEquality)
{
    expectAll({
        {"a=A", true},
        {"A = A", true},
        {"010=10", false}, // "=" never compares numbers
        {"10!=010", true},
        {"A!=B", true},
        {"A!=A", false},
        {"\xe9t\xe9=\xc9T\xc9", true}, // accented letters are upper-cased too
        {"=", true},                   // two empty operands
        {"=A", false},
        {"'A=B'='A=B'", true}, // quoted "=" is operand text
        {"'A=B'='a=b'", true},
        {"'A=B", false}, // unclosed quote shields the rest
        {"A=B'='", false},
    });
}

TEST(Expression, Ordering)
{
    expectAll({
        {"10<9", false},
        {"9<10", true},
        {"-1<0", true},
        {"+7>6", true},
        {"$10>15", true}, // hexadecimal forms count as numbers
        {"0x10>15", true},
        {"x10>15", true},
        {"$10>$F", true},
        {"10<=10", true},
        {"9>=10", false},
        {"5>ABC", true}, // right operand that is no number counts as 0
        {"-5>ABC", false},
        {"0>=ABC", true},
        {"10.1>9", false},      // left not a number: text
                                // order
        {"2147483648<3", true}, // out of range: text order
        {"ABC<ABD", true},
        {"AB<ABC", true}, // a prefix sorts first
        {"ABC>AB", true},
        {"\xe9>A", true}, // bytes compare unsigned
        {"A<=A", true},
        {"B>=A", true},
        {"<", false},
        {"<=", true},
    });
}

TEST(Expression, LogicAndContains)
{
    expectAll({
        {"TRUE&TRUE", true},
        {"TRUE&true", true}, // the group is upper-cased first
        {"TRUE&1", false},
        {"FALSE|TRUE", true},
        {"FALSE|FALSE", false},
        {"ABC^B", true},
        {"B^ABC", true},
        {"ABC^D", false},
        {"TRUE ^", false}, // an empty operand occurs nowhere
        {"^A", false},
        {"(1=1)|(2=3)", true},
        {"(1=1)&(2=3)", false},
        {"(A=A) & (B=B) & (C=C)", true},
        {"(1=1) & (5<10)", true},
    });
}

TEST(Expression, LeftFoldWithoutPrecedence)
{
    expectAll({
        {"TRUE | FALSE & FALSE", false}, // (TRUE | FALSE) & FALSE
        {"FALSE & FALSE | TRUE", true},
        {"1=1=TRUE", true},   // (1=1) = TRUE
        {"A=A=A", false},     // TRUE = A
        {"A=1 & B=2", false}, // ((A=1) & B) = 2
        {"2<3=TRUE", true},
        {"A==A", false}, // two "=": (A = "") = A
        {"A=<B", false}, // "=<" is two operators
        {"TRUE&TRUE&TRUE&TRUE|FALSE", true},
    });
}

TEST(Expression, UnbalancedParentheses)
{
    expectAll({
        {"(A=A", true},
        {"A=A)", true},
        {"A=A) & (B=C", false},
        {"(A=A))", false}, // "TRUE)" leaves the group "TRUE" without operator
        {")", false},
        {"(", false},
        {"((((", false},
        {"'(A=A)'", false}, // parentheses are not shielded by quotes
    });
}

TEST(Expression, LongOperatorChainsStayLinear)
{
    std::string chain = "TRUE";
    for (int i = 0; i < 200000; ++i)
        chain += "&TRUE";
    ExpressionEvaluator e;
    EXPECT_TRUE(e.ProcessExpression(chain));
    EXPECT_LE(e.steps(), 2 * (chain.size() + 1));

    // Only the innermost group holds the operator; the outer ones see "TRUE".
    std::string nested(20000, '(');
    nested += "A=A";
    EXPECT_FALSE(e.ProcessExpression(nested));
    EXPECT_TRUE(e.ProcessExpression(nested.substr(19999)));
}

TEST(Expression, EvaluateExpressionDecidesOneGroup)
{
    ExpressionEvaluator e;
    std::string r;
    e.EvaluateExpression("b=B", r);
    EXPECT_EQ(r, "TRUE");
    e.EvaluateExpression("TRUE", r);
    EXPECT_EQ(r, "FALSE");
    e.EvaluateExpression("1<2 & TRUE", r);
    EXPECT_EQ(r, "TRUE");
}

TEST(Expression, OperatorPosition)
{
    const std::pair<const char*, int> cases[] = {
        {"", 0},     {"ABC", 0},  {"A=B", 2},   {"a<=b", 2},  {"A!=B", 2},
        {"A>=B", 2}, {"A=<B", 3}, {"A&B|C", 4}, {"'A=B'", 0}, {"A=B'='", 2},
        {"=", 1},    {"<<=", 2},  {"A^B", 2},   {"'x'<y", 4},
    };
    for (const auto& [text, pos] : cases)
        EXPECT_EQ(ExpressionEvaluator::GetOperatorPosition(text), pos) << text;
}
