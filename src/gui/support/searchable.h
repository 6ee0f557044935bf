// What the find bar needs from a text view, so that one bar serves the
// editable text controls and the read-only line views alike. Positions count
// characters in the whole text with one character per line break.
#pragma once

#include <QString>
#include <QtGlobal>

class QWidget;

namespace qmx {

class Searchable {
public:
    virtual ~Searchable() = default;
    // The control the bar sits under and hands the focus back to.
    virtual QWidget* searchWidget() = 0;
    // The whole text, lines joined by '\n'.
    virtual QString searchText() const = 0;
    // Changes whenever the text does, so a copy of it can be reused until then.
    virtual quint64 textRevision() const = 0;
    virtual qsizetype selectionStart() const = 0;
    virtual qsizetype selectionEnd() const = 0;
    // The selection, lines joined by '\n'.
    virtual QString selectedText() const = 0;
    // Selects from anchor to caret and brings the caret into view.
    virtual void selectRange(qsizetype anchor, qsizetype caret) = 0;
};

} // namespace qmx
