// An IF condition's %NAME% references are replaced in one pass; the trace
// lines and the condition must match the literal one-reference-at-a-time
// rebuild on every shape of reference.
#include "literal.h"

#include "core/rules/interpreter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace qmx;
using Lines = std::vector<std::string>;

namespace {

// The trace lines of the reference replacement, and the condition the
// evaluator got (read back from the last trace line when one was written).
Lines replacementTrace(const Lines& out)
{
    Lines trace;
    for (const std::string& l : out)
        for (const char* label :
             {"TheVar: ", "FoundVar: ", "Var not found: ", "Condition with replaced vars: "})
            if (l.starts_with(label))
                trace.push_back(l);
    return trace;
}

} // namespace

TEST(ReferenceReplacement, MatchesTheLiteralRebuild)
{
    VariableList vars;
    for (const char* e : {"%A%=1", "%AB%=2", "%X_01%=one", "%X_1%= padded ", "%P%=%50%%", "%Q%=%%",
                          "%B%=", "%S%=a;b", "%S%=later"})
        vars.append(e);
    const std::string conditions[] = {
        "(%A%=1)",
        "%A%%AB%",                 // adjacent references
        "(%X_1%=%X_01%)",          // look-alike names
        "%A",                      // unclosed: the rest is the reference
        "(1=1) & %",               // a lone "%" at the end
        "%%",                      // an empty name
        "%P% = 50",                // a value holding "%"
        "(%Q%=)",                  // a value of only "%": found, and empty
        "(%B%=1) | (%NONE%=2)",    // blank value and missing name
        "%S% = A;B",               // the first entry of a repeated name
        "%A%%A%%A%%NONE%%A%%A%%A", // many, the last unclosed
        "no references",
    };
    for (const std::string& c : conditions) {
        SCOPED_TRACE(c);
        Lines expected;
        bench::literalReplaceReferences(vars, c, expected);
        Lines out;
        RuleInterpreter(vars, out, true, {}).processrule("IF " + c + " THEN X");
        EXPECT_EQ(replacementTrace(out), expected);
    }
}
