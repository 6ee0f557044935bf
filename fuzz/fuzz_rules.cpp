// Fuzz target for the rule engine: any text, run as a condition and as a rule
// text, must yield an outcome and end within work proportional to its length,
// counted in steps and in time. The time bound is generous (instrumented code
// is slow) but linear, so a path whose time grows with the square of the
// input is caught on large inputs (seed with fuzz/seeds.sh, -max_len=262144).
#include "core/rules/expression.h"
#include "core/rules/interpreter.h"
#include "core/store/variables.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <time.h>
#include <vector>

namespace {

void fail(const char* what, unsigned long long got, unsigned long long bound)
{
    std::fprintf(stderr, "%s: %llu steps, bound %llu\n", what, got, bound);
    std::abort();
}

qmx::VariableList makeVariables()
{
    qmx::VariableList v;
    for (const char* e :
         {"%X%=1", "%Y%=5", "%CPU%=486", "%OS%=WINNT", "%A%B%=(1=1)", "%P%=%Q%",
          "%EMPTY%=", "%NOEQ%", "%S%= 'A=B' ", "%L%=((((", "%OWNER%=Ann", "%OWNER%=Bob"})
        v.append(e);
    return v;
}

// Processor time, not wall time, so a busy machine does not trip the bound.
double cpuSeconds()
{
    timespec t{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

// One second plus 50 microseconds per byte: 11 s for 200 KB, which a linear
// pass over 200 KB never comes near even instrumented, while one whose time
// grows with the square of the input goes far past it.
void checkTime(double start, size_t size)
{
    const double spent = cpuSeconds() - start;
    const double bound = 1.0 + 50e-6 * static_cast<double>(size);
    if (spent > bound) {
        std::fprintf(stderr, "slow input: %.2f s of processor time for %zu bytes, bound %.2f s\n",
                     spent, size, bound);
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const unsigned long long n = size + 1;
    const double start = cpuSeconds();

    qmx::ExpressionEvaluator e;
    e.ProcessExpression(text);
    if (e.result() != "TRUE" && e.result() != "FALSE")
        std::abort();
    if (e.steps() > 2 * n)
        fail("evaluator", e.steps(), 2 * n);
    const int pos = qmx::ExpressionEvaluator::GetOperatorPosition(text);
    if (pos < 0 || static_cast<size_t>(pos) > size)
        std::abort();

    for (bool debug : {false, true}) {
        qmx::VariableList vars = makeVariables();
        std::vector<std::string> out;
        qmx::RuleInterpreter ri(vars, out, debug, [&text] { return text; });
        ri.dorules("Not");
        if (ri.steps() > 4 * n)
            fail("interpreter", ri.steps(), 4 * n);
    }
    checkTime(start, size);
    return 0;
}
