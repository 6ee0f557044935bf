#include "gui/rules/ruleeditor.h"

#include "gui/support/textcodec.h"

#include <QHBoxLayout>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QToolButton>
#include <QToolTip>

#include <algorithm>
#include <set>

namespace qmx {

namespace {

bool isKeyword(const QString& word)
{
    // BEGIN and END count in capitals only, as the interpreter finds them.
    if (word == QLatin1String("BEGIN") || word == QLatin1String("END"))
        return true;
    for (const char* k : {"SET", "IF", "THEN", "ELSE", "PRINT", "SUGGEST"})
        if (word.compare(QLatin1String(k), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

bool isAsciiLetter(QChar c)
{
    return c.unicode() < 128 && c.isLetter();
}

constexpr int kInLiteral = 1; // block state: a literal runs on into the next line

} // namespace

RuleHighlighter::RuleHighlighter(QTextDocument* document, const RuleLint& lint)
    : QSyntaxHighlighter(document), lint_(lint)
{
    keyword_.setForeground(QColor(0, 0, 160));
    keyword_.setFontWeight(QFont::Bold);
    variable_.setForeground(QColor(0, 110, 110));
    literal_.setForeground(QColor(160, 0, 0));
    comment_.setForeground(QColor(110, 110, 110));
    comment_.setFontItalic(true);
}

void RuleHighlighter::highlightBlock(const QString& text)
{
    const int len = static_cast<int>(text.size());
    bool inLiteral = previousBlockState() == kInLiteral;
    if (!inLiteral && text.trimmed().startsWith(QLatin1String("//"))) {
        setFormat(0, len, comment_);
        len > 0 ? underline(text) : void();
        setCurrentBlockState(0);
        return;
    }
    for (int i = 0; i < len;) {
        const QChar c = text[i];
        if (inLiteral || c == QLatin1Char('"')) {
            const int close = text.indexOf(QLatin1Char('"'), inLiteral ? i : i + 1);
            const int end = close < 0 ? len : close + 1;
            setFormat(i, end - i, literal_);
            inLiteral = close < 0;
            i = end;
        } else if (c == QLatin1Char('%')) {
            const int close = text.indexOf(QLatin1Char('%'), i + 1);
            const int end = close < 0 ? len : close + 1;
            setFormat(i, end - i, variable_);
            i = end;
        } else if (c == QLatin1Char('/') && text.mid(i, 2) == QLatin1String("//")
                   && (text.left(i).trimmed().isEmpty()
                       || text.left(i).trimmed().endsWith(QLatin1Char(';')))) {
            setFormat(i, len - i, comment_); // a comment after a statement
            i = len;
        } else if (isAsciiLetter(c)) {
            int j = i;
            while (j < len && isAsciiLetter(text[j]))
                ++j;
            if (isKeyword(text.mid(i, j - i)))
                setFormat(i, j - i, keyword_);
            i = j;
        } else {
            ++i;
        }
    }
    setCurrentBlockState(inLiteral ? kInLiteral : 0);
    underline(text);
}

// A wavy underline over each warning of this line, red for errors.
void RuleHighlighter::underline(const QString& text)
{
    const int line = currentBlock().blockNumber() + 1;
    const auto& ws = lint_.warnings();
    auto it = std::lower_bound(ws.begin(), ws.end(), line,
                               [](const LintWarning& w, int l) { return w.line < l; });
    const int len = static_cast<int>(text.size());
    for (; it != ws.end() && it->line == line && len > 0; ++it) {
        const int start = std::min(it->column - 1, len - 1);
        const int end = std::min(len, start + static_cast<int>(it->length));
        for (int k = start; k < end; ++k) {
            QTextCharFormat f = format(k);
            f.setUnderlineStyle(QTextCharFormat::WaveUnderline);
            f.setUnderlineColor(it->severity == LintSeverity::Error ? QColor(220, 0, 0)
                                                                    : QColor(230, 140, 0));
            setFormat(k, 1, f);
        }
    }
}

void RuleHighlighter::warningsChanged(const std::vector<LintWarning>& old)
{
    std::set<int> lines;
    for (const LintWarning& w : old)
        lines.insert(w.line);
    for (const LintWarning& w : lint_.warnings())
        lines.insert(w.line);
    for (const int line : lines) {
        const QTextBlock block = document()->findBlockByNumber(line - 1);
        if (block.isValid())
            rehighlightBlock(block);
    }
}

RuleEditorLint::RuleEditorLint(QPlainTextEdit* editor, std::function<std::string()> ruleText,
                               QWidget* parent)
    : QWidget(parent), editor_(editor), lint_(std::move(ruleText))
{
    setObjectName(QStringLiteral("LintBar"));
    highlighter_ = new RuleHighlighter(editor->document(), lint_);
    label_ = new QLabel(lint_.summary(), this);
    label_->setObjectName(QStringLiteral("LintStatus"));
    next_ = new QToolButton(this);
    next_->setObjectName(QStringLiteral("LintNext"));
    next_->setText(tr("&Next Warning"));
    next_->setToolTip(tr("Go to the next warning (F8)"));
    next_->setEnabled(false);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(label_, 1);
    row->addWidget(next_);

    connect(editor, &QPlainTextEdit::textChanged, &lint_, &RuleLint::textChanged);
    // Until the pending lint has run, the text may hold warnings.
    connect(editor, &QPlainTextEdit::textChanged, next_, [this] { next_->setEnabled(true); });
    connect(&lint_, &RuleLint::linted, this, &RuleEditorLint::refresh);
    connect(next_, &QToolButton::clicked, this, &RuleEditorLint::showNext);
    editor->viewport()->installEventFilter(this);
    editor->installEventFilter(this);
}

void RuleEditorLint::refresh(const std::vector<LintWarning>& old)
{
    highlighter_->warningsChanged(old);
    label_->setText(lint_.summary());
    next_->setEnabled(!lint_.warnings().empty());
}

void RuleEditorLint::showNext()
{
    if (lint_.pending())
        lint_.lintNow();
    QTextCursor cursor = editor_->textCursor();
    const int index = lint_.nextAfter(cursor.blockNumber() + 1, cursor.positionInBlock() + 1);
    if (index < 0)
        return;
    const LintWarning& w = lint_.warnings()[static_cast<size_t>(index)];
    const QTextBlock block = editor_->document()->findBlockByNumber(w.line - 1);
    cursor.setPosition(block.position() + std::min(w.column - 1, std::max(0, block.length() - 1)));
    editor_->setTextCursor(cursor);
    editor_->ensureCursorVisible();
    editor_->setFocus();
    label_->setText(QStringLiteral("%1 \u2014 %2:%3: %4 [%5]")
                        .arg(lint_.summary())
                        .arg(w.line)
                        .arg(w.column)
                        .arg(toQString(w.message), toQString(w.code)));
}

void RuleEditorLint::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    lint_.textChanged();
}

bool RuleEditorLint::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == editor_ && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent*>(event)->key() == Qt::Key_F8) {
        showNext();
        return true;
    }
    // The type first: the editor is no scroll area any more while it is being
    // destroyed, and events still reach this filter then.
    if (event->type() != QEvent::ToolTip || watched != editor_->viewport())
        return QWidget::eventFilter(watched, event);
    auto* help = static_cast<QHelpEvent*>(event);
    const QTextCursor at = editor_->cursorForPosition(help->pos());
    const int line = at.blockNumber() + 1, column = at.positionInBlock() + 1;
    // The caret position nearest the mouse may lie after the character under it.
    const LintWarning* w = lint_.at(line, column);
    if (!w)
        w = lint_.at(line, column - 1);
    if (w)
        QToolTip::showText(help->globalPos(), RuleLint::toolTip(*w), editor_->viewport());
    else
        QToolTip::hideText();
    return true;
}

} // namespace qmx
