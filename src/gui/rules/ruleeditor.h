// The lint around the Options dialog's rule editor: a highlighter that
// colours keywords, variables, literals and comments and underlines each
// warning at its place, the warning's text and help as the tool-tip over it,
// and a line under the editor that counts the warnings and jumps to the next.
#pragma once

#include "gui/rules/rulelint.h"

#include <QSyntaxHighlighter>
#include <QTextCharFormat>
#include <QWidget>

#include <functional>
#include <string>
#include <vector>

class QLabel;
class QPlainTextEdit;
class QToolButton;

namespace qmx {

class RuleHighlighter : public QSyntaxHighlighter {
    Q_OBJECT
public:
    RuleHighlighter(QTextDocument* document, const RuleLint& lint);
    // Draws again the lines whose warnings changed.
    void warningsChanged(const std::vector<LintWarning>& old);

protected:
    void highlightBlock(const QString& text) override;

private:
    void underline(const QString& text);

    const RuleLint& lint_;
    QTextCharFormat keyword_, variable_, literal_, comment_;
};

// The count line under the editor ("LintStatus" and the "LintNext" button);
// it owns the linter and the highlighter of the editor it is given.
class RuleEditorLint : public QWidget {
    Q_OBJECT
public:
    RuleEditorLint(QPlainTextEdit* editor, std::function<std::string()> ruleText, QWidget* parent);

    RuleLint& lint() { return lint_; }
    // Moves the caret to the next warning after it, from the top again
    // after the last one.
    void showNext();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // The report in front may have changed while the editor was hidden.
    void showEvent(QShowEvent* event) override;

private:
    void refresh(const std::vector<LintWarning>& old);

    QPlainTextEdit* editor_;
    RuleLint lint_;
    RuleHighlighter* highlighter_;
    QLabel* label_;
    QToolButton* next_;
};

} // namespace qmx
