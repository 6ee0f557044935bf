// What the Options dialog refuses at its edge, before anything reaches the
// settings file: control characters typed or pasted into a rule text (a
// Ctrl-Z there would end the file when it is next read), and rule-set names
// holding characters the file's Windows-1252 text cannot store.
#pragma once

#include <QObject>
#include <QString>

class QPlainTextEdit;

namespace qmx {

// Watches an editor and takes out every control character other than tab
// as soon as an edit brings one in, then reports how many went.
class ControlCharacterFilter : public QObject {
    Q_OBJECT
public:
    explicit ControlCharacterFilter(QPlainTextEdit* editor);

Q_SIGNALS:
    void removed(int count);

private:
    void noteChange(int position, int removedChars, int addedChars);
    void filter();

    QPlainTextEdit* editor_;
    int from_ = -1; // the range the edits since the last check brought in
    int to_ = -1;
    bool filtering_ = false;
};

// The characters of text that Windows-1252 cannot store, each once, as
// "Ω (U+03A9)" joined by ", "; empty when every character can be stored.
QString unstorableCharacters(const QString& text);

} // namespace qmx
