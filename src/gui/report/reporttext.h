// The report's raw text view. Laying out one very long line costs time that
// grows with the square of its length, so a line longer than kShownChars is
// shown cut, with a visible note of how much is hidden; copying a selection
// still gives the report's own text, cut lines in full. Used for the Config
// Text view and the section's keys.
#pragma once

#include <QPlainTextEdit>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace qmx {

class ReportTextView : public QPlainTextEdit {
public:
    static constexpr int kShownChars = 10000;

    explicit ReportTextView(QWidget* parent = nullptr);

    // The report lines the view shows, as views into owner's text, which
    // the view keeps alive. Once the shown text is edited, copying gives the
    // edited text instead.
    void setSourceLines(std::vector<std::string_view> lines, std::shared_ptr<const std::string> owner)
    {
        lines_ = std::move(lines);
        owner_ = std::move(owner);
    }

    // Shows lines, each as shownText gives it, and keeps a copy as the source.
    void showLines(const std::vector<std::string>& lines);

    // The text shown for one report line: the line itself, or its first
    // kShownChars characters and a note.
    static QString shownText(std::string_view line);

    // The report text between two positions of the shown text, as copying
    // gives it: a position inside a note stands for the end of its line.
    QString sourceText(int from, int to) const;

protected:
    QMimeData* createMimeDataFromSelection() const override;

private:
    std::vector<std::string_view> lines_;
    std::shared_ptr<const std::string> owner_;
};

} // namespace qmx
