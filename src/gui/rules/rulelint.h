// The rule linter as the Options dialog's editor shows it, without widgets:
// it lints the rule text a short while after the last change, so typing
// never waits for it, and answers what the editor asks: the warnings of a
// line, the one at a place, the next one after the caret, the count line and
// the tool-tip text.
#pragma once

#include "core/lint/linter.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>
#include <string>
#include <vector>

namespace qmx {

class RuleLint : public QObject {
    Q_OBJECT
public:
    // Pause after the last change before the text is linted.
    static constexpr int kDelayMs = 250;

    // ruleText gives the rule text as the interpreter gets it (lines joined
    // by CR LF).
    explicit RuleLint(std::function<std::string()> ruleText, QObject* parent = nullptr);

    // The report whose variables references are checked against (the one
    // open in front, say), asked at each lint; none when it gives nullptr.
    void setReport(std::function<const VariableList*()> report) { report_ = std::move(report); }

    // The text changed: lint it once changes pause.
    void textChanged() { timer_.start(); }
    void lintNow();
    bool pending() const { return timer_.isActive(); }

    const std::vector<LintWarning>& warnings() const { return warnings_; }
    // "No warnings", "1 error", "2 errors, 1 warning", ...
    QString summary() const;
    // The index of the first warning after line:column (1-based), from the
    // top again when none follows; -1 when there are none.
    int nextAfter(int line, int column) const;
    // The warning covering line:column, or nullptr.
    const LintWarning* at(int line, int column) const;
    // The warning with its code's help, as rich text.
    static QString toolTip(const LintWarning& warning);

Q_SIGNALS:
    // New warnings: old holds the ones they replace.
    void linted(const std::vector<LintWarning>& old);

private:
    std::function<std::string()> ruleText_;
    std::function<const VariableList*()> report_;
    QTimer timer_;
    std::vector<LintWarning> warnings_;
};

} // namespace qmx
