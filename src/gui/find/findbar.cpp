#include "find/findbar.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QShortcut>
#include <QStyle>
#include <QTextBlock>
#include <QTextDocument>
#include <QToolButton>
#include <QVBoxLayout>

namespace qmx {

namespace {

QToolButton* makeButton(QWidget* parent, const char* name, const QString& text, const QString& tip)
{
    auto* b = new QToolButton(parent);
    b->setObjectName(QLatin1String(name));
    b->setText(text);
    b->setToolTip(tip);
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

// Enter finds the next match and Shift+Enter the previous; the line edit
// itself would only signal returnPressed for both.
class SearchEdit : public QLineEdit {
public:
    SearchEdit(QWidget* parent, FindBar* bar) : QLineEdit(parent), bar_(bar) {}

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            if (event->modifiers() & Qt::ShiftModifier)
                bar_->findPrevious();
            else
                bar_->findNext();
            return;
        }
        QLineEdit::keyPressEvent(event);
    }

private:
    FindBar* bar_;
};

} // namespace

QWidget* FindBar::wrap(QPlainTextEdit* view)
{
    auto* box = new QWidget(view->parentWidget());
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(view);
    auto* bar = new FindBar(view, box);
    layout->addWidget(bar);

    // The keys work while the view or the bar has the focus.
    auto shortcut = [box](const QKeySequence& keys, auto action) {
        auto* s = new QShortcut(keys, box);
        s->setContext(Qt::WidgetWithChildrenShortcut);
        QObject::connect(s, &QShortcut::activated, box, action);
    };
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_F), [bar] { bar->open(); });
    shortcut(QKeySequence(Qt::Key_F3), [bar] {
        if (bar->searchText().isEmpty())
            bar->open();
        else
            bar->findNext();
    });
    shortcut(QKeySequence(Qt::SHIFT | Qt::Key_F3), [bar] {
        if (bar->searchText().isEmpty())
            bar->open();
        else
            bar->findPrevious();
    });
    return box;
}

FindBar::FindBar(QPlainTextEdit* view, QWidget* parent) : QWidget(parent), view_(view)
{
    setObjectName(view->objectName() + QStringLiteral("FindBar"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    auto* label = new QLabel(tr("Find:"), this);
    FindEdit = new SearchEdit(this, this);
    FindEdit->setObjectName(QStringLiteral("FindEdit"));
    FindEdit->setClearButtonEnabled(true);
    label->setBuddy(FindEdit);
    FindPrevious =
        makeButton(this, "FindPrevious", tr("Previous"), tr("Find the previous match (Shift+F3)"));
    FindNext = makeButton(this, "FindNext", tr("Next"), tr("Find the next match (F3)"));
    FindClose = makeButton(this, "FindClose", QString(), tr("Close the find bar (Esc)"));
    FindClose->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
    FindStatus = new QLabel(this);
    FindStatus->setObjectName(QStringLiteral("FindStatus"));
    layout->addWidget(label);
    layout->addWidget(FindEdit, 1);
    layout->addWidget(FindPrevious);
    layout->addWidget(FindNext);
    layout->addWidget(FindStatus, 1);
    layout->addWidget(FindClose);

    connect(FindNext, &QToolButton::clicked, this, &FindBar::findNext);
    connect(FindPrevious, &QToolButton::clicked, this, &FindBar::findPrevious);
    connect(FindClose, &QToolButton::clicked, this, &FindBar::close);
    // Typing looks again from the start of the current match, so the match
    // grows with the text instead of jumping ahead.
    connect(FindEdit, &QLineEdit::textEdited, this, [this] { find(false, true); });
    connect(view_->document(), &QTextDocument::contentsChanged, this, [this] { stale_ = true; });
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WidgetWithChildrenShortcut);
    connect(escape, &QShortcut::activated, this, &FindBar::close);
    hide();
}

QString FindBar::searchText() const
{
    return FindEdit->text();
}

void FindBar::open()
{
    const QTextCursor c = view_->textCursor();
    if (c.hasSelection() && c.block().contains(c.selectionStart())
        && c.block().contains(c.selectionEnd()))
        FindEdit->setText(c.selectedText());
    show();
    FindEdit->setFocus(Qt::ShortcutFocusReason);
    FindEdit->selectAll();
}

void FindBar::close()
{
    hide();
    FindStatus->clear();
    text_.clear();
    stale_ = true;
    view_->setFocus(Qt::OtherFocusReason);
}

bool FindBar::findNext()
{
    return find(false, false);
}

bool FindBar::findPrevious()
{
    return find(true, false);
}

qsizetype FindBar::match(const QString& needle, qsizetype from, bool backward)
{
    if (stale_) {
        // Positions agree with the document's: one character per block end.
        text_ = view_->document()->toPlainText();
        stale_ = false;
    }
    if (backward)
        return from < 0 ? -1 : text_.lastIndexOf(needle, from, Qt::CaseInsensitive);
    return text_.indexOf(needle, from, Qt::CaseInsensitive);
}

bool FindBar::find(bool backward, bool fromSelectionStart)
{
    const QString needle = FindEdit->text();
    FindStatus->clear();
    if (needle.isEmpty())
        return false;
    QTextCursor cursor = view_->textCursor();
    // Forward: after the current match (or from its start while typing);
    // backward: a match starting before the current one.
    const qsizetype from = backward             ? cursor.selectionStart() - 1
                           : fromSelectionStart ? cursor.selectionStart()
                                                : cursor.selectionEnd();
    qsizetype at = match(needle, from, backward);
    if (at < 0) {
        // Round the end of the text to the other end.
        at = match(needle, backward ? text_.size() - needle.size() : 0, backward);
        if (at >= 0)
            FindStatus->setText(backward ? tr("Continued from the end")
                                         : tr("Continued from the start"));
    }
    if (at < 0) {
        FindStatus->setText(tr("Not found"));
        return false;
    }
    cursor.setPosition(static_cast<int>(at));
    cursor.setPosition(static_cast<int>(at + needle.size()), QTextCursor::KeepAnchor);
    view_->setTextCursor(cursor);
    return true;
}

} // namespace qmx
