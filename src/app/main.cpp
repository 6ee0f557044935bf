// Start-up of the desktop program: the application, the main window (which
// settles the /D switch), then the shared dialogs, hidden, and the event loop.
#include "core/setup/programinfo.h"
#include "core/setup/settingslocation.h"
#include "core/util/fileio.h"
#include "gui/report/childwin.h"
#include "gui/rules/rules.h"
#include "gui/shell/application.h"
#include "gui/shell/mainform.h"
#include "gui/shell/sessionend.h"
#include "gui/support/filenames.h"

#include <QApplication>
#include <QDir>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTabWidget>
#include <QTimer>

#include <iostream>
#include <memory>
#include <string>
#include <vector>

namespace {

// QMX_SCREENSHOTS=DIR with QMX_SCREENSHOT_REPORT=FILE: open the report, save
// one picture of the main window per report page and one of the Options
// dialog's pages into DIR, and quit. Used to document the windows.
void takeScreenshots(qmx::TMainForm& main, const QString& dir, const QString& report)
{
    QDir().mkpath(dir);
    main.compareList().append(report);
    qmx::TForm1* form = main.NewReportChild(report);
    if (auto* sub = main.mdiArea()->activeSubWindow())
        sub->move(8, 8);
    auto* sections = form->findChild<QListWidget*>(QStringLiteral("ListBox1"));
    auto* keys = form->findChild<QListWidget*>(QStringLiteral("ListBox2"));
    auto* attached = form->findChild<QListWidget*>(QStringLiteral("ListBox3"));
    // Something chosen on the browsing pages, so they show content.
    if (sections->count() > 1) {
        sections->setCurrentRow(1);
        keys->setCurrentRow(0);
    }
    if (attached->count() > 0)
        attached->setCurrentRow(0);
    QApplication::processEvents();
    auto* pages = form->findChild<QTabWidget*>(QStringLiteral("PageControl1"));
    for (int i = 0; i < pages->count(); ++i) {
        pages->setCurrentIndex(i);
        QApplication::processEvents();
        main.grab().save(QStringLiteral("%1/report-%2.png").arg(dir).arg(i));
    }
    qmx::Tfrules* rules = main.rules();
    rules->show();
    auto* rulePages = rules->findChild<QTabWidget*>(QStringLiteral("PageControl1"));
    for (int i = 0; i < rulePages->count(); ++i) {
        rulePages->setCurrentIndex(i);
        QApplication::processEvents();
        rules->grab().save(QStringLiteral("%1/options-%2.png").arg(dir).arg(i));
    }
    rules->hide();
}

} // namespace

int main(int argc, char* argv[])
{
    // --version and --help answer without a window system.
    qmx::ignoreFileSizeLimitSignal();
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (const auto info = qmx::desktopInfoText(args)) {
        std::cout << *info;
        return 0;
    }
    qmx::Application app(argc, argv);
    // From here a kill or a logout runs the orderly exit instead of ending
    // the process where it stands.
    qmx::SessionEnd sessionEnd;

    auto main = std::make_unique<qmx::TMainForm>(QApplication::arguments().mid(1));
    app.setMainForm(main.get());
    const qmx::LocatedSettings settings =
        qmx::locateSettingsFile(qmx::desktopSettingsOverride(args));
    main->createSharedDialogs(qmx::fromLocalPath(settings.path), settings.problem);
    main->showMaximized();
    QObject::connect(&sessionEnd, &qmx::SessionEnd::ended, main.get(), &qmx::TMainForm::endSession);

    const QString shots = qEnvironmentVariable("QMX_SCREENSHOTS");
    if (!shots.isEmpty()) {
        QTimer::singleShot(0, main.get(), [&] {
            takeScreenshots(*main, shots, qEnvironmentVariable("QMX_SCREENSHOT_REPORT"));
            main->close();
        });
    }

    const int rc = app.exec();
    // The workspace writes the settings file as it goes.
    main.reset();
    return rc;
}
