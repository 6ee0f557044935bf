// A small find bar for a plain text view: Ctrl+F in the view opens it below
// the text, Enter or F3 finds the next match, Shift+Enter or Shift+F3 the
// previous one, Escape closes it. Matching is case-blind and continues from
// the other end of the text when it runs off one end. The search runs on the
// text the view shows.
#pragma once

#include <QWidget>

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
    static QWidget* wrap(QPlainTextEdit* view);

    explicit FindBar(QPlainTextEdit* view, QWidget* parent = nullptr);

    // Ctrl+F: shows the bar with the search text selected; a selection on
    // one line of the view becomes the search text.
    void open();
    // Selects the next (previous) match after (before) the view's selection
    // or caret; false when the text holds no match at all.
    bool findNext();
    bool findPrevious();

    QString searchText() const;
    QPlainTextEdit* view() const { return view_; }

private:
    bool find(bool backward, bool fromSelectionStart);
    void close();

    QPlainTextEdit* view_;
    QLineEdit* FindEdit = nullptr;
    QToolButton* FindPrevious = nullptr;
    QToolButton* FindNext = nullptr;
    QToolButton* FindClose = nullptr;
    QLabel* FindStatus = nullptr;
};

} // namespace qmx
