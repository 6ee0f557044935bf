#include "gui/find/findbar.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
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

// The outcome of the last search. It takes what room the bar has left and
// never widens the bar, which would squeeze whatever stands beside the view:
// a text that does not fit ends in an ellipsis and shows whole as a tip.
class StatusLabel : public QLabel {
public:
    explicit StatusLabel(QWidget* parent) : QLabel(parent)
    {
        setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        const QRect room = contentsRect();
        style()->drawItemText(
            &painter, room, Qt::AlignLeft | Qt::AlignVCenter, palette(), isEnabled(),
            fontMetrics().elidedText(text(), Qt::ElideRight, room.width()), foregroundRole());
    }
};

// An editable text as the bar sees it. Its paragraph separators are line
// breaks; the document counts each as one character too.
class PlainTextSearch : public Searchable {
public:
    explicit PlainTextSearch(QPlainTextEdit* edit) : edit_(edit)
    {
        QObject::connect(edit->document(), &QTextDocument::contentsChanged, edit,
                         [this] { ++revision_; });
    }
    QWidget* searchWidget() override { return edit_; }
    QString searchText() const override { return edit_->document()->toPlainText(); }
    quint64 textRevision() const override { return revision_; }
    qsizetype selectionStart() const override { return edit_->textCursor().selectionStart(); }
    qsizetype selectionEnd() const override { return edit_->textCursor().selectionEnd(); }
    QString selectedText() const override
    {
        return edit_->textCursor().selectedText().replace(QChar::ParagraphSeparator,
                                                          QLatin1Char('\n'));
    }
    void selectRange(qsizetype anchor, qsizetype caret) override
    {
        QTextCursor cursor = edit_->textCursor();
        cursor.setPosition(static_cast<int>(anchor));
        cursor.setPosition(static_cast<int>(caret), QTextCursor::KeepAnchor);
        edit_->setTextCursor(cursor);
    }

private:
    QPlainTextEdit* edit_;
    quint64 revision_ = 0;
};

} // namespace

QWidget* FindBar::wrap(QPlainTextEdit* view)
{
    return wrap(new PlainTextSearch(view), true);
}

QWidget* FindBar::wrap(Searchable* view)
{
    return wrap(view, false);
}

QWidget* FindBar::wrap(Searchable* target, bool ownTarget)
{
    QWidget* view = target->searchWidget();
    auto* box = new QWidget(view->parentWidget());
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(view);
    auto* bar = new FindBar(target, box);
    if (ownTarget)
        bar->adapter_.reset(target);
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

FindBar::FindBar(Searchable* view, QWidget* parent) : QWidget(parent), view_(view)
{
    setObjectName(view->searchWidget()->objectName() + QStringLiteral("FindBar"));
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
    // Arrows rather than words leave the room to the search text and its
    // outcome; the words stay as the buttons' names.
    FindPrevious->setIcon(
        QIcon::fromTheme(QStringLiteral("go-up"), style()->standardIcon(QStyle::SP_ArrowUp)));
    FindNext->setIcon(
        QIcon::fromTheme(QStringLiteral("go-down"), style()->standardIcon(QStyle::SP_ArrowDown)));
    FindClose = makeButton(this, "FindClose", QString(), tr("Close the find bar (Esc)"));
    FindClose->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
    FindStatus = new StatusLabel(this);
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
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WidgetWithChildrenShortcut);
    connect(escape, &QShortcut::activated, this, &FindBar::close);
    hide();
}

QString FindBar::searchText() const
{
    return FindEdit->text();
}

FindBar::~FindBar() = default;

void FindBar::open()
{
    const QString selected = view_->selectedText();
    if (!selected.isEmpty() && !selected.contains(QLatin1Char('\n')))
        FindEdit->setText(selected);
    show();
    FindEdit->setFocus(Qt::ShortcutFocusReason);
    FindEdit->selectAll();
}

void FindBar::close()
{
    hide();
    setStatus(QString());
    text_.clear();
    stale_ = true;
    view_->searchWidget()->setFocus(Qt::OtherFocusReason);
}

void FindBar::setStatus(const QString& text)
{
    FindStatus->setText(text);
    FindStatus->setToolTip(text);
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
    if (stale_ || revision_ != view_->textRevision()) {
        // Positions agree with the view's: one character per line break.
        text_ = view_->searchText();
        revision_ = view_->textRevision();
        stale_ = false;
    }
    if (backward)
        return from < 0 ? -1 : text_.lastIndexOf(needle, from, Qt::CaseInsensitive);
    return text_.indexOf(needle, from, Qt::CaseInsensitive);
}

bool FindBar::find(bool backward, bool fromSelectionStart)
{
    const QString needle = FindEdit->text();
    setStatus(QString());
    if (needle.isEmpty())
        return false;
    // Forward: after the current match (or from its start while typing);
    // backward: a match starting before the current one.
    const qsizetype from = backward             ? view_->selectionStart() - 1
                           : fromSelectionStart ? view_->selectionStart()
                                                : view_->selectionEnd();
    qsizetype at = match(needle, from, backward);
    if (at < 0) {
        // Round the end of the text to the other end.
        at = match(needle, backward ? text_.size() - needle.size() : 0, backward);
        if (at >= 0)
            setStatus(backward ? tr("Continued from the end") : tr("Continued from the start"));
    }
    if (at < 0) {
        setStatus(tr("Not found"));
        return false;
    }
    view_->selectRange(at, at + needle.size());
    return true;
}

} // namespace qmx
