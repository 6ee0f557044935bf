#include "shell/textchild.h"

#include "report/loader.h"
#include "shell/mainform.h"
#include "shell/textcodec.h"
#include "util/fileio.h"

#include <QAction>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace qmx {

TextChild::TextChild(TMainForm* main, QWidget* parent) : ChildWindow(main, parent)
{
    setObjectName(QStringLiteral("TextChild"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    layout->addWidget(Memo1);
    resize(560, 380);
}

void TextChild::loadall(const QString& path)
{
    const auto lines = splitLines(readWholeFile(fromQString(path)));
    Memo1->setPlainText(toQStringList(lines).join(QLatin1Char('\n')));
}

void TextChild::FormActivate()
{
    // The menu states of a scanner input file window.
    main_->menuEntry(0, 4)->setEnabled(true);
    main_->menuEntry(0, 5)->setEnabled(true);
    main_->menuEntry(2, 1)->setEnabled(true);
    main_->topLevelEntry(4)->setEnabled(false);
}

} // namespace qmx
