// Copying one long line from the program's text views: the server window's
// Config Text (a line view), the report window's Config Text, and the
// scanner input editor (an editable text), by select-all and copy, against a
// plain Qt text view filled and copied the same way, which is what these
// views were before. Also the opening of a report or server report whose one
// long line is that size, with the longest stretch without window events.
// Every copy is checked to hold the whole text.
#include "guibench.h"

#include "gui/report/childwin.h"
#include "gui/scanedit/qmxgen.h"
#include "gui/server/srvcfg.h"
#include "gui/shell/mainform.h"
#include "gui/support/lineview.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

QTemporaryDir* g_dir = nullptr;
std::unique_ptr<qmx::TMainForm> g_main;

bool clipboardHolds(size_t bytes)
{
    return static_cast<size_t>(QApplication::clipboard()->text().size()) >= bytes;
}

// Selects everything in the view, copies it and shows the selection, timing
// only that, as a user waits for it.
template <class View> void timeCopy(benchmark::State& state, View* view, size_t bytes)
{
    view->setFocus();
    for (auto _ : state) {
        view->selectAll();
        view->copy();
        view->viewport()->repaint();
        state.PauseTiming();
        if (!clipboardHolds(bytes))
            state.SkipWithError("the copy does not hold the whole text");
        QApplication::clipboard()->clear();
        state.ResumeTiming();
    }
}

void BM_CopyPlainQtView(benchmark::State& state)
{
    const auto bytes = static_cast<size_t>(state.range(0));
    QPlainTextEdit edit;
    edit.setLineWrapMode(QPlainTextEdit::NoWrap);
    edit.setReadOnly(true);
    edit.setPlainText(QStringLiteral("[General]\nMemory=TOTALMEMORY;")
                      + QString(qsizetype(bytes), QLatin1Char('7')));
    edit.resize(800, 600);
    edit.show();
    QApplication::processEvents();
    timeCopy(state, &edit, bytes);
}

void BM_CopyServerText(benchmark::State& state)
{
    const auto bytes = static_cast<size_t>(state.range(0));
    qmx::Tsrvrcfg* w = g_main->NewServerChild(qmx::bench::longLineReport(*g_dir, bytes));
    timeCopy(state, w->Memo1, bytes);
    qmx::bench::closeAllChildren(*g_main);
}

void BM_CopyReportText(benchmark::State& state)
{
    const auto bytes = static_cast<size_t>(state.range(0));
    qmx::TForm1* w = g_main->NewReportChild(qmx::bench::longLineReport(*g_dir, bytes));
    timeCopy(state, w->findChild<qmx::LineView*>(QStringLiteral("RichEdit1")), bytes);
    qmx::bench::closeAllChildren(*g_main);
}

void BM_CopyEditorText(benchmark::State& state)
{
    const auto bytes = static_cast<size_t>(state.range(0));
    qmx::TCFGGen* w = g_main->NewEditorChild(qmx::bench::longLineReport(*g_dir, bytes));
    timeCopy(state, w->findChild<QPlainTextEdit*>(QStringLiteral("RichEdit1")), bytes);
    qmx::bench::closeAllChildren(*g_main);
}

void BM_OpenServerLongLine(benchmark::State& state)
{
    const QString path = qmx::bench::longLineReport(*g_dir, static_cast<size_t>(state.range(0)));
    qmx::bench::timeWindowOpening(
        state, *g_main, [&] { return g_main->NewServerChild(path); },
        [](const qmx::Tsrvrcfg& w) { return w.panelText(1) == QStringLiteral("3 lines"); });
}

void BM_OpenReportLongLine(benchmark::State& state)
{
    const QString path = qmx::bench::longLineReport(*g_dir, static_cast<size_t>(state.range(0)));
    qmx::bench::timeWindowOpening(
        state, *g_main, [&] { return g_main->NewReportChild(path); },
        [](const qmx::TForm1& w) { return !w.loading(); });
}

// The editor has no load of its own to watch: its opening is timed to the
// first paint, shown.
void BM_OpenEditorLongLine(benchmark::State& state)
{
    const QString path = qmx::bench::longLineReport(*g_dir, static_cast<size_t>(state.range(0)));
    for (auto _ : state) {
        qmx::TCFGGen* w = g_main->NewEditorChild(path);
        w->repaint();
        QApplication::processEvents();
        state.PauseTiming();
        qmx::bench::closeAllChildren(*g_main);
        state.ResumeTiming();
    }
}

// Baseline for the one-line fields: a Qt line edit given a long value of
// words, shown and painted, as "Current Key Value" was.
void BM_ShowValueInLineEdit(benchmark::State& state)
{
    QString value;
    while (value.size() < state.range(0))
        value += QStringLiteral("word%1 ").arg(value.size() % 997);
    for (auto _ : state) {
        QLineEdit edit;
        edit.setFont(QFont(QStringLiteral("MS Sans Serif"), 8)); // the report window's
        edit.resize(260, 24);
        edit.show();
        edit.setText(value);
        edit.repaint();
        QApplication::processEvents();
    }
}

void BM_ShowValueInLineView(benchmark::State& state)
{
    std::string value;
    while (value.size() < static_cast<size_t>(state.range(0)))
        value += "word" + std::to_string(value.size() % 997) + " ";
    for (auto _ : state) {
        qmx::LineView* view = qmx::LineView::singleLine();
        view->resize(260, view->height());
        view->show();
        view->setLines(std::vector<std::string>{value});
        view->repaint();
        QApplication::processEvents();
        delete view;
    }
}

// The Qt baselines grow too fast to go past 1 MB; the program's views are
// timed up to 10 MB.
void baselineSizes(benchmark::internal::Benchmark* b)
{
    b->Arg(250'000)->Arg(500'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond)->Iterations(1);
}
void viewSizes(benchmark::internal::Benchmark* b)
{
    b->Arg(250'000)->Arg(1'000'000)->Arg(10'000'000)->Unit(benchmark::kMillisecond)->Iterations(3);
}

BENCHMARK(BM_ShowValueInLineEdit)->Apply(baselineSizes);
BENCHMARK(BM_ShowValueInLineView)->Apply(viewSizes);
BENCHMARK(BM_CopyPlainQtView)->Apply(baselineSizes);
BENCHMARK(BM_CopyServerText)->Apply(viewSizes);
BENCHMARK(BM_CopyReportText)->Apply(viewSizes);
BENCHMARK(BM_CopyEditorText)->Apply(viewSizes);
BENCHMARK(BM_OpenServerLongLine)->Apply(viewSizes);
BENCHMARK(BM_OpenEditorLongLine)->Apply(viewSizes);
BENCHMARK(BM_OpenReportLongLine)->Apply(viewSizes);

} // namespace

int main(int argc, char** argv)
{
    return qmx::bench::runGuiBenchmarks(argc, argv, g_main, g_dir);
}
