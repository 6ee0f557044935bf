#include "gui/shell/childkinds.h"

#include "core/util/error.h"
#include "gui/compare/cmpreslt.h"
#include "gui/compare/compare.h"
#include "gui/fleet/findingswin.h"
#include "gui/report/childwin.h"
#include "gui/report/prgres.h"
#include "gui/rules/rules.h"
#include "gui/scanedit/entrydialog.h"
#include "gui/scanedit/qmxgen.h"
#include "gui/server/srvcfg.h"
#include "gui/shell/about.h"
#include "gui/shell/fopenfrm.h"
#include "gui/shell/workspace.h"

#include <iterator>

namespace qmx {

namespace {

ChildWindow* createReport(const ChildContext& c)
{
    return new TForm1(c.workspace);
}
ChildWindow* createScannerInput(const ChildContext& c)
{
    return new TCFGGen(c.workspace, c.dialogs.faddreg, c.dialogs.ffile);
}
ChildWindow* createServerReport(const ChildContext& c)
{
    return new Tsrvrcfg(c.workspace);
}
ChildWindow* createCompareResult(const ChildContext& c)
{
    return new TfrmCompareResults(c.workspace);
}
ChildWindow* createFindings(const ChildContext& c)
{
    return new FindingsWindow(c.workspace);
}

// One row per kind, in the order of ChildKind.
const ChildKindInfo kKinds[] = {
    {ChildKind::Report, createReport, "*.TXT", 1, RecentKind::Report, QSize()},
    {ChildKind::ScannerInput, createScannerInput, "*.INI", 2, RecentKind::ScannerInput,
     TCFGGen::kDesignSize},
    {ChildKind::ServerReport, createServerReport, "*.TXT", 3, RecentKind::ServerReport,
     QSize(874, 606)},
    {ChildKind::CompareResult, createCompareResult, "", 0, std::nullopt, QSize(696, 480)},
    {ChildKind::Findings, createFindings, "", 0, std::nullopt, QSize(960, 520)},
};

} // namespace

const ChildKindInfo& childKind(ChildKind kind)
{
    const auto index = static_cast<size_t>(kind);
    if (index >= std::size(kKinds) || kKinds[index].kind != kind)
        throw Error("Unknown kind of window.");
    return kKinds[index];
}

SharedDialogs makeSharedDialogs(Workspace& workspace, QWidget* frame, const QString& settingsPath)
{
    SharedDialogs d;
    d.about = new TAboutBox(frame);
    d.about->setSettingsFile(settingsPath);
    d.faddreg = new Tfaddreg(frame);
    d.ffile = new TFFile(frame);
    d.rules = new Tfrules(workspace, frame);
    d.fopen = new TFOpen(frame);
    d.compare = new TfrmCompare(workspace, frame);
    d.progress = new TForm2(frame);
    workspace.setProgressDisplay(d.progress);
    d.aboutDialog = d.about;
    d.rulesDialog = d.rules;
    d.compareDialog = d.compare;
    d.modeless = {d.faddreg, d.ffile, d.rules, d.progress, d.fopen, d.compare};
    return d;
}

TForm1* asReport(ChildWindow* child)
{
    return qobject_cast<TForm1*>(child);
}
TCFGGen* asScannerInput(ChildWindow* child)
{
    return qobject_cast<TCFGGen*>(child);
}
Tsrvrcfg* asServerReport(ChildWindow* child)
{
    return qobject_cast<Tsrvrcfg*>(child);
}
TfrmCompareResults* asCompareResult(ChildWindow* child)
{
    return qobject_cast<TfrmCompareResults*>(child);
}
FindingsWindow* asFindings(ChildWindow* child)
{
    return qobject_cast<FindingsWindow*>(child);
}

} // namespace qmx
