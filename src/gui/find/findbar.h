// A small find bar for a text view: Ctrl+F in the view opens it below
// the text, Enter or F3 finds the next match, Shift+Enter or Shift+F3 the
// previous one, Escape closes it. Matching is case-blind and continues from
// the other end of the text when it runs off one end. The search runs on a
// copy of the text the view shows, taken at the first search after a change:
// scanning one string is several times faster than asking the document
// block by block, which keeps a step in a 100,000-line text well under
// 50 ms. The bar reaches the view through the Searchable interface, which
// the line views implement and an adapter provides for editable texts.
#pragma once

#include "gui/support/searchable.h"

#include <QWidget>

#include <memory>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QToolButton;

namespace qmx {

class FindBar : public QWidget {
    Q_OBJECT
public:
    // Puts the view and a hidden find bar for it into one container and
    // returns the container, for the caller to lay out where the view would
    // go. The bar's object name is the view's followed by "FindBar".
    static QWidget* wrap(Searchable* view);
    static QWidget* wrap(QPlainTextEdit* view);

    FindBar(Searchable* view, QWidget* parent);
    ~FindBar() override;

    // Ctrl+F: shows the bar with the search text selected; a selection on
    // one line of the view becomes the search text.
    void open();
    // Selects the next (previous) match after (before) the view's selection
    // or caret; false when the text holds no match at all.
    bool findNext();
    bool findPrevious();

    QString searchText() const;
    QWidget* view() const { return view_->searchWidget(); }
    Searchable* target() const { return view_; }

private:
    static QWidget* wrap(Searchable* view, bool ownTarget);
    bool find(bool backward, bool fromSelectionStart);
    // Start of the match at or after `from` (at or before, backward); -1 for
    // none.
    qsizetype match(const QString& needle, qsizetype from, bool backward);
    void close();
    void setStatus(const QString& text);

    std::unique_ptr<Searchable> adapter_; // for an editable text
    Searchable* view_;
    QLineEdit* FindEdit = nullptr;
    QToolButton* FindPrevious = nullptr;
    QToolButton* FindNext = nullptr;
    QToolButton* FindClose = nullptr;
    QLabel* FindStatus = nullptr;
    QString text_;
    quint64 revision_ = 0;
    bool stale_ = true;
};

} // namespace qmx
