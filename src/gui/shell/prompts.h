// The questions and messages windows put to the user. Windows never open
// message boxes or file dialogs themselves: they ask the main window's
// Prompts, which the program backs with real dialogs and tests with a
// scripted fake.
#pragma once

#include <QString>

#include <functional>
#include <optional>
#include <string>

class QWidget;

namespace qmx {

// A file dialog's settings. The filter is a list of description|pattern
// pairs separated by "|"; filterIndex counts those pairs from 1.
struct FileDialogOptions {
    QString filter;
    int filterIndex = 1;
    QString defaultExt;
    QString fileName;
};

class Prompts {
public:
    virtual ~Prompts() = default;
    // A Yes/No question; true for Yes.
    virtual bool confirm(const QString& text) = 0;
    // An input box; nullopt when cancelled.
    virtual std::optional<QString> inputText(const QString& caption, const QString& prompt,
                                             const QString& defaultText) = 0;
    virtual std::optional<QString> openFile(const FileDialogOptions& dialog) = 0;
    virtual std::optional<QString> saveFile(const FileDialogOptions& dialog) = 0;
    // A folder chooser with caption as its title; nullopt when cancelled.
    virtual std::optional<QString> openFolder(const QString& caption) = 0;
    virtual void error(const QString& text) = 0;
    virtual void information(const QString& text) = 0;
};

// The real dialogs, opened over parent.
class QtPrompts : public Prompts {
public:
    explicit QtPrompts(QWidget* parent) : parent_(parent) {}
    bool confirm(const QString& text) override;
    std::optional<QString> inputText(const QString& caption, const QString& prompt,
                                     const QString& defaultText) override;
    std::optional<QString> openFile(const FileDialogOptions& dialog) override;
    std::optional<QString> saveFile(const FileDialogOptions& dialog) override;
    std::optional<QString> openFolder(const QString& caption) override;
    void error(const QString& text) override;
    void information(const QString& text) override;

    // "Desc|*.txt|All|*.*" as Qt's "Desc (*.txt);;All (*.*)".
    static QStringList qtFilters(const QString& filter);

private:
    QWidget* parent_;
};

// "Export CSV...": asks for a file name (defaultName offered) and writes the
// text that make gives, atomically, with the busy cursor; an error is shown
// through prompts.
void exportCsv(Prompts& prompts, const QString& defaultName,
               const std::function<std::string()>& make);

} // namespace qmx
