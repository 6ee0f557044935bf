#include "shell/childkinds.h"

#include "compare/cmpreslt.h"
#include "compare/compare.h"
#include "fleet/findingswin.h"
#include "report/childwin.h"
#include "report/prgres.h"
#include "rules/rules.h"
#include "scanedit/entrydialog.h"
#include "scanedit/qmxgen.h"
#include "server/srvcfg.h"
#include "shell/about.h"
#include "shell/fopenfrm.h"
#include "shell/workspace.h"
#include "util/error.h"

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
