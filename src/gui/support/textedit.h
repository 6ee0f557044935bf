// TextEdit: the program's editable text control. It copies the selection as
// plain text built in one pass over the selected lines, so copying costs
// time linear in what is copied however long a line is; the stock control
// also prepares a formatted copy, which grows much faster on one long line.
#pragma once

#include <QPlainTextEdit>

namespace qmx {

class TextEdit : public QPlainTextEdit {
    Q_OBJECT
public:
    using QPlainTextEdit::QPlainTextEdit;

    // The text between two positions in either order, lines joined by '\n'.
    QString textBetween(int from, int to) const;

protected:
    QMimeData* createMimeDataFromSelection() const override;
};

} // namespace qmx
