// LineView: the program's read-only text view. It shows a list of lines in a
// fixed-pitch font and draws only the rows and columns on screen, so a report
// of a hundred thousand lines, or one line of ten megabytes, opens at once and
// scrolls freely. The user selects with the mouse (click, drag, shift+click,
// double-click for a word) and the keyboard (shift with the arrows, Home,
// End, the page keys, Ctrl+A) and copies with Ctrl+C or Edit > Copy; the
// copy holds the selected text whole and costs time linear in its length.
// Lines may carry colours, and wrap at the view's width when asked.
#pragma once

#include "gui/support/linetext.h"
#include "gui/support/searchable.h"

#include <QAbstractScrollArea>

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qmx {

class LineView : public QAbstractScrollArea, public Searchable {
    Q_OBJECT
public:
    using Colouring = LineText::Colouring;

    explicit LineView(QWidget* parent = nullptr);
    // A one-line field: no vertical scroll bar, the height of one row.
    static LineView* singleLine(QWidget* parent = nullptr);

    // Shows the lines (views into owner's text, kept alive by the view) with
    // the caret at the start and nothing selected.
    void setLines(std::vector<std::string_view> lines, std::shared_ptr<const void> owner);
    void setLines(const std::vector<std::string>& lines);
    void clear() { setLines(std::vector<std::string>{}); }
    // Later colourings win where two overlap; their lines index setLines'.
    void setColouring(std::vector<Colouring> colours);

    void setWordWrap(bool on);
    bool wordWrap() const { return wrap_; }

    qsizetype lineCount() const { return static_cast<qsizetype>(text_.lineCount()); }
    QString lineText(qsizetype line) const;
    QColor colourAt(qsizetype line, qsizetype column) const;
    QString toPlainText() const { return text_.text(0, text_.length()); }
    qsizetype caretPosition() const { return caret_; }
    bool hasSelection() const { return anchor_ != caret_; }
    // The first row on screen.
    qsizetype firstVisibleRow() const;

    QWidget* searchWidget() override { return this; }
    QString searchText() const override { return toPlainText(); }
    quint64 textRevision() const override { return revision_; }
    qsizetype selectionStart() const override { return std::min(anchor_, caret_); }
    qsizetype selectionEnd() const override { return std::max(anchor_, caret_); }
    QString selectedText() const override { return text_.text(anchor_, caret_); }
    void selectRange(qsizetype anchor, qsizetype caret) override;

public Q_SLOTS:
    void copy();
    void selectAll();

Q_SIGNALS:
    void selectionChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    qreal charWidth() const;
    int rowHeight() const;
    int visibleRows() const;
    qsizetype positionAt(const QPoint& point) const;
    // Moves the caret, keeping the anchor when extending a selection, and
    // scrolls the caret into view.
    void moveTo(qsizetype position, bool extend);
    // Where a navigation key takes the caret; none for other keys.
    std::optional<qsizetype> keyTarget(const QKeyEvent* event) const;
    void ensureCaretVisible();
    void relayout();
    void paintRow(QPainter& painter, const LineText::Row& row, int y);

    LineText text_;
    qsizetype anchor_ = 0;
    qsizetype caret_ = 0;
    quint64 revision_ = 0;
    bool wrap_ = false;
    bool dragging_ = false;
    std::vector<QColor> colours_; // scratch for painting one row
};

} // namespace qmx
