// The scanner input editor on a large file (offscreen): opening it from the
// File command's creation routine until the window has been laid out and
// painted, against reading and splitting the same file in the core; and one
// palette insertion in the middle of it, against typing one character at the
// same place. Targets: open under 0.3 s, one insertion under 50 ms.
#include "core/report/loader.h"
#include "core/util/fileio.h"
#include "core/util/lines.h"
#include "gui/scanedit/qmxgen.h"
#include "gui/shell/mainform.h"
#include "guibench.h"

#include <QApplication>
#include <QFile>
#include <QListWidget>
#include <QMdiArea>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTextBlock>

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

QTemporaryDir* g_dir = nullptr;

QPlainTextEdit* textOf(qmx::TCFGGen* e)
{
    return e->findChild<QPlainTextEdit*>(QStringLiteral("RichEdit1"));
}
std::unique_ptr<qmx::TMainForm> g_main;

QString scanInputFile(int lines)
{
    const QString path = g_dir->filePath(QStringLiteral("scan-%1.ini").arg(lines));
    if (QFile::exists(path))
        return path;
    std::string text = "[QMXSCAN_PARAMETERS]\r\nOutput_File=%Application_Path\\ipx.txt\r\n"
                       "Write_Type=OverWrite\r\n\r\n[Report]\r\n";
    for (int i = 5; i < lines; ++i) {
        switch (i % 3) {
        case 0:
            text += "Registry=Registry;WINNT;;STRING;HKEY_LOCAL_MACHINE\\Software\\Vendor\\Key"
                    + std::to_string(i) + "\\Value;1\r\n";
            break;
        case 1:
            text += "File=File;;4.83;C:\\WINDOWS\\SYSTEM\\file" + std::to_string(i) + ".dll\r\n";
            break;
        default: text += "CPU=CPU\r\n";
        }
    }
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(text.data(), static_cast<qint64>(text.size()));
    return path;
}

void BM_CoreReadAndSplit(benchmark::State& state)
{
    const std::string path = scanInputFile(static_cast<int>(state.range(0))).toStdString();
    for (auto _ : state) {
        auto lines = qmx::splitLines(qmx::readWholeFile(path));
        benchmark::DoNotOptimize(lines.data());
    }
}

void BM_OpenEditor(benchmark::State& state)
{
    const QString path = scanInputFile(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        qmx::TCFGGen* e = g_main->NewEditorChild(path);
        QApplication::processEvents();
        state.PauseTiming();
        if (textOf(e)->document()->blockCount() != state.range(0) || e->changed())
            state.SkipWithError("the file was not opened as it is");
        g_main->mdiArea()->closeAllSubWindows();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QApplication::processEvents();
        state.ResumeTiming();
    }
}

// One editor on the file, caret at the start of its middle line.
qmx::TCFGGen* editorInTheMiddle(int lines)
{
    static qmx::TCFGGen* editor = nullptr;
    if (!editor) {
        editor = g_main->NewEditorChild(scanInputFile(lines));
        QTextCursor c(textOf(editor)->document()->findBlockByNumber(lines / 2));
        textOf(editor)->setTextCursor(c);
        editor->findChild<QListWidget*>(QStringLiteral("ListBox1"))
            ->setCurrentItem(editor->findChild<QListWidget*>(QStringLiteral("ListBox1"))
                                 ->findItems(QStringLiteral("CPU"), Qt::MatchExactly)
                                 .first());
        QApplication::processEvents();
    }
    return editor;
}

void BM_TypeOneCharacter(benchmark::State& state)
{
    qmx::TCFGGen* e = editorInTheMiddle(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        textOf(e)->insertPlainText(QStringLiteral("x"));
        QApplication::processEvents();
    }
}

void BM_PaletteInsertion(benchmark::State& state)
{
    qmx::TCFGGen* e = editorInTheMiddle(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        e->ListBox1DblClick();
        QApplication::processEvents();
    }
}

BENCHMARK(BM_CoreReadAndSplit)->Arg(20000)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_OpenEditor)->Arg(20000)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_TypeOneCharacter)->Arg(20000)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_PaletteInsertion)->Arg(20000)->Unit(benchmark::kMillisecond)->MinTime(1.0);

} // namespace

int main(int argc, char** argv)
{
    return qmx::bench::runGuiBenchmarks(argc, argv, g_main, g_dir);
}
