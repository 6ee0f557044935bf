// One step of the find bar in a 100,000-line text (offscreen, the view shown
// and laid out): a search that wraps round the whole text without a match,
// the same right after an edit (the bar copies the text again), one whose
// only match is on the last line, and one from match to match of a frequent
// word. Baseline: scanning the same text once, case-blind, as a
// plain string. Target: one step under 50 ms.
#include "gui/find/findbar.h"
#include "reportgen.h"

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QVBoxLayout>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int kLines = 100000;

struct Fixture {
    QWidget window;
    QPlainTextEdit* view = nullptr;
    qmx::FindBar* bar = nullptr;

    Fixture()
    {
        auto* layout = new QVBoxLayout(&window);
        view = new QPlainTextEdit(&window);
        view->setObjectName(QStringLiteral("Text"));
        view->setLineWrapMode(QPlainTextEdit::NoWrap);
        qmx::bench::ReportShape shape;
        shape.lines = kLines - 1;
        QString text = QString::fromLatin1(qmx::bench::generateReport(shape));
        text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        text += QLatin1String("Last line holds the NEEDLE");
        view->setPlainText(text);
        layout->addWidget(qmx::FindBar::wrap(view));
        bar = window.findChild<qmx::FindBar*>(QStringLiteral("TextFindBar"));
        window.resize(1000, 700);
        window.show();
        bar->open();
        QApplication::processEvents();
    }
    void search(const QString& text, int caret)
    {
        bar->findChild<QLineEdit*>(QStringLiteral("FindEdit"))->setText(text);
        QTextCursor c(view->document());
        c.setPosition(caret);
        view->setTextCursor(c);
    }
};

std::unique_ptr<Fixture> g_fixture;

void BM_FindStepNoMatch(benchmark::State& state)
{
    g_fixture->search(QStringLiteral("absent-word"), 0);
    for (auto _ : state)
        benchmark::DoNotOptimize(g_fixture->bar->findNext());
}

void BM_FindStepMatchOnLastLine(benchmark::State& state)
{
    g_fixture->search(QStringLiteral("needle"), 0);
    for (auto _ : state) {
        state.PauseTiming();
        g_fixture->view->moveCursor(QTextCursor::Start);
        state.ResumeTiming();
        benchmark::DoNotOptimize(g_fixture->bar->findNext());
    }
}

// The first step after the text changed copies the text again.
void BM_FindStepNoMatchAfterAnEdit(benchmark::State& state)
{
    g_fixture->search(QStringLiteral("absent-word"), 0);
    for (auto _ : state) {
        state.PauseTiming();
        QTextCursor c(g_fixture->view->document());
        c.insertText(QStringLiteral("x"));
        c.deletePreviousChar();
        state.ResumeTiming();
        benchmark::DoNotOptimize(g_fixture->bar->findNext());
    }
}

void BM_FindStepFrequentWord(benchmark::State& state)
{
    g_fixture->search(QStringLiteral("registry"), 0);
    for (auto _ : state)
        benchmark::DoNotOptimize(g_fixture->bar->findNext());
}

// A step to the next match of the last line and back to the first line, each
// followed by the repaint of the scrolled view (run under Xvfb to see the
// paint cost; offscreen it is small).
void BM_FindStepWithRepaint(benchmark::State& state)
{
    g_fixture->search(QStringLiteral("needle"), 0);
    for (auto _ : state) {
        benchmark::DoNotOptimize(g_fixture->bar->findNext());
        g_fixture->view->viewport()->repaint();
    }
}

void BM_BaselineScanPlainText(benchmark::State& state)
{
    const QString text = g_fixture->view->document()->toPlainText();
    for (auto _ : state)
        benchmark::DoNotOptimize(
            text.indexOf(QStringLiteral("absent-word"), 0, Qt::CaseInsensitive));
}

BENCHMARK(BM_FindStepNoMatch)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindStepMatchOnLastLine)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindStepNoMatchAfterAnEdit)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindStepFrequentWord)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindStepWithRepaint)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BaselineScanPlainText)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    g_fixture = std::make_unique<Fixture>();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    g_fixture.reset();
    return 0;
}
