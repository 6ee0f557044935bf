// The rule editor with its lint, against the bare editor in the same run:
// a keystroke must cost about the same (linting waits for a pause), loading
// a rule set pays for the colouring once, and the lint after a pause (lint,
// then underlines redrawn) stays well below what a user notices.
#include "rulegen.h"

#include "core/util/lines.h"
#include "gui/rules/ruleeditor.h"
#include "gui/support/textcodec.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QTextBlock>

#include <benchmark/benchmark.h>

#include <memory>

using namespace qmx;

namespace {

struct Editor {
    QPlainTextEdit edit;
    std::unique_ptr<RuleEditorLint> lint;

    explicit Editor(bool linted)
    {
        edit.resize(800, 600);
        if (linted)
            lint = std::make_unique<RuleEditorLint>(
                &edit, [this] { return joinLines(splitLines(fromQString(edit.toPlainText()))); },
                nullptr);
        edit.show();
    }
};

QString ruleSet(int statements)
{
    return toQString(bench::makeRuleSet(statements))
        .replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

// Arg 0: bare editor; 1: with the lint.
void BM_Keystroke(benchmark::State& state)
{
    Editor e(state.range(0) != 0);
    e.edit.setPlainText(ruleSet(2000));
    if (e.lint)
        e.lint->lint().lintNow();
    QTextCursor c(e.edit.document()->findBlockByNumber(1000));
    e.edit.setTextCursor(c);
    QApplication::processEvents();
    for (auto _ : state) {
        e.edit.insertPlainText(QStringLiteral("X"));
        QApplication::processEvents();
    }
}
BENCHMARK(BM_Keystroke)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_LoadRuleSet(benchmark::State& state)
{
    const QString text = ruleSet(2000);
    Editor e(state.range(0) != 0);
    for (auto _ : state) {
        e.edit.setPlainText(text);
        QApplication::processEvents();
    }
}
BENCHMARK(BM_LoadRuleSet)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The work after a pause in typing: lint, count line, underlines.
void BM_LintAfterPause(benchmark::State& state)
{
    Editor e(true);
    e.edit.setPlainText(ruleSet(2000) + QStringLiteral("\nPRNT \"X\";\nSET %A% =1;"));
    for (auto _ : state) {
        e.lint->lint().lintNow();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_LintAfterPause)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
