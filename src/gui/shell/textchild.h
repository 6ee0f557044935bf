// A plain text child window for scanner input files. It shows the file as
// text and nothing more: the scanner input editor with its command palette
// and save handling will take its place.
#pragma once

#include "shell/childwindow.h"

class QPlainTextEdit;

namespace qmx {

class TextChild : public ChildWindow {
    Q_OBJECT
public:
    explicit TextChild(TMainForm* main, QWidget* parent = nullptr);
    // Reads the file into the text; throws qmx::Error when it cannot.
    void loadall(const QString& path);

    std::optional<CommandStates> commandStates() const override;
    void loadFile(const QString& path) override { loadall(path); }

private:
    QPlainTextEdit* Memo1 = nullptr;
};

} // namespace qmx
