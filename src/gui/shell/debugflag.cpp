#include "gui/shell/debugflag.h"

namespace qmx {

namespace {
bool g_debug = false;
}

bool debugFlag()
{
    return g_debug;
}

void settleDebugFlag(const QStringList& arguments)
{
    g_debug = false;
    for (const QString& a : arguments)
        if (a.toUpper() == QLatin1String("/D"))
            g_debug = true;
}

} // namespace qmx
