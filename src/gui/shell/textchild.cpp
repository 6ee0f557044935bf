#include "shell/textchild.h"

#include "report/loader.h"
#include "shell/textcodec.h"
#include "util/fileio.h"
#include "util/lines.h"

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

std::optional<CommandStates> TextChild::commandStates() const
{
    return CommandStates{.save = true, .saveAs = true, .run = true, .compare = false};
}

} // namespace qmx
