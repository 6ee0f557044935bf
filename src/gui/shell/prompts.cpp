#include "gui/shell/prompts.h"

#include "core/util/fileio.h"
#include "gui/support/filenames.h"
#include "gui/support/guards.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace qmx {

namespace {

std::optional<QString> runFileDialog(QWidget* parent, const FileDialogOptions& options,
                                     QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(parent);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    const QStringList filters = QtPrompts::qtFilters(options.filter);
    dialog.setNameFilters(filters);
    if (options.filterIndex >= 1 && options.filterIndex <= filters.size())
        dialog.selectNameFilter(filters.at(options.filterIndex - 1));
    QString ext = options.defaultExt;
    ext.remove(QLatin1String("*.")).remove(QLatin1Char('.'));
    dialog.setDefaultSuffix(ext);
    if (!options.fileName.isEmpty())
        dialog.selectFile(options.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().first();
}

} // namespace

QStringList QtPrompts::qtFilters(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts.at(i + 1);
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        QString desc = parts.at(i);
        // Qt reads the patterns from the last parentheses; drop any the
        // description already shows so they are not taken twice.
        const qsizetype paren = desc.lastIndexOf(QLatin1Char('('));
        if (paren > 0)
            desc = desc.left(paren).trimmed();
        out << desc + QLatin1String(" (") + patterns + QLatin1Char(')');
    }
    return out;
}

bool QtPrompts::confirm(const QString& text)
{
    return QMessageBox::question(parent_, QApplication::applicationDisplayName(), text,
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
           == QMessageBox::Yes;
}

std::optional<QString> QtPrompts::inputText(const QString& caption, const QString& prompt,
                                            const QString& defaultText)
{
    bool ok = false;
    const QString text =
        QInputDialog::getText(parent_, caption, prompt, QLineEdit::Normal, defaultText, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

std::optional<QString> QtPrompts::openFile(const FileDialogOptions& dialog)
{
    return runFileDialog(parent_, dialog, QFileDialog::AcceptOpen);
}

std::optional<QString> QtPrompts::saveFile(const FileDialogOptions& dialog)
{
    return runFileDialog(parent_, dialog, QFileDialog::AcceptSave);
}

std::optional<QString> QtPrompts::openFolder(const QString& caption)
{
    const QString dir = QFileDialog::getExistingDirectory(parent_, caption);
    if (dir.isEmpty())
        return std::nullopt;
    return dir;
}

void QtPrompts::error(const QString& text)
{
    QMessageBox::critical(parent_, QApplication::applicationDisplayName(), text);
}

void QtPrompts::information(const QString& text)
{
    QMessageBox::information(parent_, QApplication::applicationDisplayName(), text);
}

void exportCsv(Prompts& prompts, const QString& defaultName,
               const std::function<std::string()>& make)
{
    guarded(prompts, [&] {
        FileDialogOptions dialog;
        dialog.filter = QObject::tr("CSV Files (*.csv)|*.csv|All Files (*.*)|*.*");
        dialog.defaultExt = QStringLiteral("*.csv");
        dialog.fileName = defaultName;
        const auto path = prompts.saveFile(dialog);
        if (!path)
            return;
        BusyCursor busy;
        writeFileAtomic(localPath(*path), make());
    });
}

} // namespace qmx
