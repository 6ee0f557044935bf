#include "gui/rules/ruleedits.h"

#include "gui/support/textcodec.h"

#include <QPlainTextEdit>
#include <QSet>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

namespace qmx {

ControlCharacterFilter::ControlCharacterFilter(QPlainTextEdit* editor)
    : QObject(editor), editor_(editor)
{
    // Only the text an edit brings in is looked at, so a long rule text
    // costs nothing per keystroke.
    connect(editor->document(), &QTextDocument::contentsChange, this,
            &ControlCharacterFilter::noteChange);
    connect(editor, &QPlainTextEdit::textChanged, this, &ControlCharacterFilter::filter);
}

void ControlCharacterFilter::noteChange(int position, int removedChars, int addedChars)
{
    if (filtering_ || addedChars <= 0)
        return;
    // Earlier noted positions after this edit have moved with it.
    if (from_ >= 0 && to_ > position)
        to_ += addedChars - removedChars;
    from_ = from_ < 0 ? position : std::min(from_, position);
    to_ = std::max(to_, position + addedChars);
}

void ControlCharacterFilter::filter()
{
    if (filtering_ || from_ < 0)
        return;
    QTextDocument* doc = editor_->document();
    const int end = std::min(to_, doc->characterCount());
    QList<int> found;
    for (int i = std::max(from_, 0); i < end; ++i) {
        const QChar c = doc->characterAt(i);
        if (c.unicode() < 32 && c != QLatin1Char('\t'))
            found << i;
    }
    from_ = to_ = -1;
    if (found.isEmpty())
        return;
    filtering_ = true;
    QTextCursor cursor(doc);
    cursor.joinPreviousEditBlock();
    for (auto it = found.crbegin(); it != found.crend(); ++it) {
        cursor.setPosition(*it);
        cursor.deleteChar();
    }
    cursor.endEditBlock();
    filtering_ = false;
    Q_EMIT removed(static_cast<int>(found.size()));
}

QString unstorableCharacters(const QString& text)
{
    QStringList out;
    QSet<char32_t> seen;
    for (const char32_t c : text.toUcs4()) {
        const QString one = QString::fromUcs4(&c, 1);
        if (c == U'?' || fromQString(one) != "?" || seen.contains(c))
            continue;
        seen.insert(c);
        const QString code =
            QString::number(uint(c), 16).toUpper().rightJustified(4, QLatin1Char('0'));
        out << QStringLiteral("%1 (U+%2)").arg(one, code);
    }
    return out.join(QStringLiteral(", "));
}

} // namespace qmx
