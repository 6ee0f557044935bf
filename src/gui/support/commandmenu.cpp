#include "gui/support/commandmenu.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QHash>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPointer>
#include <QShortcutEvent>

namespace qmx {

namespace {

// Runs the command of an entry the user clicks or calls by its letter,
// before the menu bar would open the entry's menu.
class CommandEntries : public QObject {
public:
    explicit CommandEntries(QMenuBar* bar) : QObject(bar), bar_(bar)
    {
        setObjectName(QLatin1String(kName));
        bar->installEventFilter(this);
    }
    static constexpr const char* kName = "CommandEntries";

    void add(QAction* entry, QAction* command) { commands_.insert(entry, command); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != bar_)
            return false;
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick: {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() != Qt::LeftButton)
                return false;
            return run(bar_->actionAt(mouse->position().toPoint()));
        }
        case QEvent::Shortcut: {
            const QKeySequence keys = static_cast<QShortcutEvent*>(event)->key();
            for (auto it = commands_.cbegin(); it != commands_.cend(); ++it)
                if (keys == QKeySequence::mnemonic(it.key()->text()))
                    return run(it.key());
            return false;
        }
        default: return false;
        }
    }

private:
    bool run(QAction* entry)
    {
        const QPointer<QAction> command = commands_.value(entry);
        if (!command)
            return false;
        if (command->isEnabled()) {
            // A menu left open by the click's way across the bar goes first.
            while (QWidget* popup = QApplication::activePopupWidget())
                if (!popup->close())
                    break;
            command->trigger();
        }
        return true;
    }

    QMenuBar* bar_;
    QHash<QAction*, QPointer<QAction>> commands_;
};

} // namespace

QMenu* addCommandMenu(QMenuBar* bar, QAction* command)
{
    auto* entries = dynamic_cast<CommandEntries*>(
        bar->findChild<QObject*>(QLatin1String(CommandEntries::kName), Qt::FindDirectChildrenOnly));
    if (!entries)
        entries = new CommandEntries(bar);
    QMenu* menu = bar->addMenu(command->text());
    menu->addAction(command);
    QAction* entry = menu->menuAction();
    entries->add(entry, command);
    auto follow = [entry, command] {
        entry->setEnabled(command->isEnabled());
        entry->setStatusTip(command->statusTip());
    };
    follow();
    QObject::connect(command, &QAction::changed, menu, follow);
    return menu;
}

} // namespace qmx
