#include "core/report/loader.h"
#include "core/util/progress.h"

#include <gtest/gtest.h>

using namespace qmx;

namespace {

const std::string kBasic = std::string(QMX_TEST_DATA) + "/report_basic.txt";

// A long operation of the kind the update and the comparison run: it names
// each unit in the status text and stops between units when asked.
int runUnits(Progress& progress, int units, int cancelBefore)
{
    progress.setMaximum(units);
    int done = 0;
    for (int i = 0; i < units; ++i) {
        if (i == cancelBefore)
            progress.requestCancel();
        progress.throwIfCancelled();
        progress.setStatus("unit " + std::to_string(i));
        progress.step();
        ++done;
    }
    return done;
}

} // namespace

TEST(Progress, CancelStopsBetweenUnits)
{
    struct Case {
        int units, cancelBefore, done;
        bool cancelled;
        const char* status;
    };
    const Case cases[] = {
        {3, -1, 3, false, "unit 2"}, // never asked
        {3, 0, 0, true, ""},         // asked before the first unit
        {3, 2, 2, true, "unit 1"},   // asked before the last unit
        {3, 3, 3, false, "unit 2"},  // asked only after the work ended
        {0, 0, 0, false, ""},        // no work at all
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.units) + " units, cancel before "
                     + std::to_string(c.cancelBefore));
        CountingProgress progress;
        bool cancelled = false;
        try {
            runUnits(progress, c.units, c.cancelBefore);
        } catch (const Cancelled& e) {
            cancelled = true;
            EXPECT_STREQ(e.what(), "The operation was cancelled.");
        }
        EXPECT_EQ(cancelled, c.cancelled);
        EXPECT_EQ(progress.position(), c.done);
        EXPECT_EQ(progress.status(), c.status);
    }
}

TEST(Progress, CancelRequestLastsUntilCleared)
{
    CountingProgress progress;
    EXPECT_FALSE(progress.cancelRequested());
    progress.requestCancel();
    progress.requestCancel();
    EXPECT_TRUE(progress.cancelRequested());
    EXPECT_THROW(progress.throwIfCancelled(), Cancelled);
    EXPECT_THROW(progress.throwIfCancelled(), Error);
    progress.clearCancel();
    EXPECT_NO_THROW(progress.throwIfCancelled());
}

// The report loader neither stops on a request nor writes a status text: a
// load with the request set reads the whole report as one without.
TEST(Progress, ReportLoaderIgnoresCancelRequest)
{
    ReportDocument plain, asked;
    CountingProgress plainProgress, askedProgress;
    askedProgress.requestCancel();
    LoadOptions o;
    o.progress = &plainProgress;
    loadall(plain, kBasic, o);
    o.progress = &askedProgress;
    loadall(asked, kBasic, o);
    EXPECT_TRUE(asked.loaded);
    EXPECT_EQ(asked.lines, plain.lines);
    EXPECT_EQ(asked.variables.toVector(), plain.variables.toVector());
    EXPECT_EQ(askedProgress.position(), plainProgress.position());
    EXPECT_GT(askedProgress.position(), 0);
    EXPECT_EQ(askedProgress.status(), "");
}
