#include "shell/childkinds.h"

#include "compare/cmpreslt.h"
#include "report/childwin.h"
#include "scanedit/qmxgen.h"
#include "server/srvcfg.h"
#include "util/error.h"

#include <iterator>

namespace qmx {

namespace {

ChildWindow* createReport(TMainForm& main)
{
    return new TForm1(&main);
}
ChildWindow* createScannerInput(TMainForm& main)
{
    return new TCFGGen(&main);
}
ChildWindow* createServerReport(TMainForm& main)
{
    return new Tsrvrcfg(&main);
}
ChildWindow* createCompareResult(TMainForm& main)
{
    return new TfrmCompareResults(&main);
}

// One row per kind, in the order of ChildKind.
const ChildKindInfo kKinds[] = {
    {ChildKind::Report, createReport, "*.TXT", 1, QSize()},
    {ChildKind::ScannerInput, createScannerInput, "*.INI", 2, TCFGGen::kDesignSize},
    {ChildKind::ServerReport, createServerReport, "*.TXT", 3, QSize(874, 606)},
    {ChildKind::CompareResult, createCompareResult, "", 0, QSize(696, 480)},
};

} // namespace

const ChildKindInfo& childKind(ChildKind kind)
{
    const auto index = static_cast<size_t>(kind);
    if (index >= std::size(kKinds) || kKinds[index].kind != kind)
        throw Error("Unknown kind of window.");
    return kKinds[index];
}

} // namespace qmx
