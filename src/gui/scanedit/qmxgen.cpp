#include "gui/scanedit/qmxgen.h"

#include "core/scanedit/scaninput.h"
#include "core/util/fileio.h"
#include "core/util/lines.h"
#include "gui/find/findbar.h"
#include "gui/scanedit/entrydialog.h"
#include "gui/shell/workspace.h"
#include "gui/support/filenames.h"
#include "gui/support/guards.h"
#include "gui/support/textcodec.h"
#include "gui/support/textedit.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QFileInfo>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPointer>
#include <QSplitter>
#include <QTextBlock>
#include <QTextDocument>

#include <algorithm>

namespace qmx {

QString editorText(const QPlainTextEdit* edit)
{
    QString text = edit->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return text;
}

TCFGGen::TCFGGen(Workspace& workspace, EntryDialog* registry, EntryDialog* file, QWidget* parent)
    : ChildWindow(workspace, parent), registry_(registry), file_(file)
{
    setObjectName(QStringLiteral("CFGGen"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    Splitter1 = new QSplitter(Qt::Horizontal, this);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    Splitter1->setHandleWidth(3);
    Splitter1->setChildrenCollapsible(false);
    layout->addWidget(Splitter1);

    ListBox1 = new QListWidget(Splitter1);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
    for (const std::string& command : paletteCommands())
        ListBox1->addItem(toQString(command));
    connect(ListBox1, &QListWidget::itemDoubleClicked, this, [this] { ListBox1DblClick(); });

    RichEdit1 = new TextEdit(Splitter1);
    RichEdit1->setObjectName(QStringLiteral("RichEdit1"));
    RichEdit1->setLineWrapMode(QPlainTextEdit::NoWrap);
    RichEdit1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RichEdit1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RichEdit1->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    QStringList lines;
    for (const std::string& l : newScanInputLines())
        lines << toQString(l);
    RichEdit1->setPlainText(lines.join(QLatin1Char('\n')));
    connect(RichEdit1, &QPlainTextEdit::textChanged, this, &TCFGGen::RichEdit1Change);
    Splitter1->addWidget(FindBar::wrap(RichEdit1));

    Splitter1->setStretchFactor(0, 0);
    Splitter1->setStretchFactor(1, 1);
    Splitter1->setSizes({134, kDesignSize.width() - 134});
    resize(kDesignSize);
    changed_ = false;
}

TCFGGen::~TCFGGen()
{
    // Destroyed while waiting: let the wait unwind; it touches nothing of
    // this window once it sees the window gone.
    if (wait_)
        wait_->quit();
}

void TCFGGen::loadall(const QString& path)
{
    const auto lines = splitLines(readWholeFile(localPath(path)));
    RichEdit1->setPlainText(toQStringList(lines).join(QLatin1Char('\n')));
    changed_ = false;
    filePath_ = QFileInfo(path).absoluteFilePath();
}

void TCFGGen::RichEdit1Change()
{
    changed_ = true;
}

std::optional<CommandStates> TCFGGen::commandStates() const
{
    return CommandStates{.save = true, .saveAs = true, .run = true, .compare = false};
}

void TCFGGen::ListBox1DblClick()
{
    if (awaitingEntry())
        return;
    QList<QListWidgetItem*> items = ListBox1->selectedItems();
    std::sort(items.begin(), items.end(), [this](QListWidgetItem* a, QListWidgetItem* b) {
        return ListBox1->row(a) < ListBox1->row(b);
    });
    QPointer<TCFGGen> self(this);
    for (QListWidgetItem* item : items) {
        const QString name = item->text();
        const std::string command = fromQString(name);
        std::optional<QString> result = QString();
        switch (dialogForCommand(command)) {
        case CommandDialog::Registry: result = awaitEntry(registry_); break;
        case CommandDialog::File: result = awaitEntry(file_); break;
        case CommandDialog::None: break;
        }
        if (!self || !result)
            return;
        insertLine(toQString(commandLine(command, fromQString(*result))));
    }
}

std::optional<QString> TCFGGen::awaitEntry(EntryDialog* dialog)
{
    if (!dialog)
        return std::nullopt;
    QPointer<EntryDialog> guard(dialog);
    QPointer<TCFGGen> self(this);
    abandoned_ = false;
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
    QEventLoop loop;
    connect(dialog, &EntryDialog::hidden, &loop, &QEventLoop::quit);
    wait_ = &loop;
    if (dialog->isVisible())
        loop.exec();
    if (!self)
        return std::nullopt;
    wait_ = nullptr;
    // The loop also ends when the program quits; only a hidden dialog
    // answers.
    if (abandoned_ || !guard || guard->isVisible())
        return std::nullopt;
    return guard->resultLine();
}

void TCFGGen::abandonInput()
{
    if (!wait_)
        return;
    abandoned_ = true;
    wait_->quit();
    for (EntryDialog* d : {registry_.data(), file_.data()})
        if (d)
            d->hide();
}

void TCFGGen::insertLine(const QString& line)
{
    // Through the cursor, so the view, the scroll position and the undo
    // history stay as they are; the result is the whole text with the line
    // inserted at the caret (the start of any selection, which is kept).
    QTextCursor cursor = RichEdit1->textCursor();
    const int at = cursor.selectionStart();
    cursor.setPosition(at);
    cursor.insertText(line);
    RichEdit1->setTextCursor(cursor);
}

bool TCFGGen::saveTo(const QString& path)
{
    const std::string bytes = scanInputFileBytes(fromQString(editorText(RichEdit1)));
    const bool ok = guarded(workspace_.prompts(), [&] {
        BusyCursor busy;
        writeFileAtomic(localPath(path), bytes);
    });
    if (!ok)
        return false;
    changed_ = false;
    filePath_ = QFileInfo(path).absoluteFilePath();
    return true;
}

bool TCFGGen::saveAs()
{
    FileDialogOptions& dialog = workspace_.saveDialog();
    const std::optional<QString> path = workspace_.prompts().saveFile(dialog);
    if (!path)
        return false;
    dialog.fileName = *path;
    if (!saveTo(*path))
        return false;
    setWindowTitle(*path);
    return true;
}

bool TCFGGen::save()
{
    return filePath_.isEmpty() ? saveAs() : saveTo(filePath_);
}

bool TCFGGen::queryClose()
{
    if (!changed_)
        return true;
    // At program end several editors may ask in turn: the one asking is in
    // front and named, so the user knows which text the answer is for.
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()); sub && sub->mdiArea())
        sub->mdiArea()->setActiveSubWindow(sub);
    if (!workspace_.prompts().confirm(caption() + QStringLiteral("\n\n")
                                      + tr("Would you like to save the changes?")))
        return true;
    return saveAs();
}

void TCFGGen::closeEvent(QCloseEvent* event)
{
    if (awaitingEntry()) {
        workspace_.showStatus(
            tr("The editor waits for the entry dialog: press its Ok or close it first."), 5000);
        event->ignore();
        return;
    }
    if (!queryClose()) {
        event->ignore();
        return;
    }
    ChildWindow::closeEvent(event);
}

} // namespace qmx
