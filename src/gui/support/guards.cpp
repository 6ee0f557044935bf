#include "gui/support/guards.h"

#include "core/util/error.h"
#include "gui/support/textcodec.h"

namespace qmx {

QString errorText(const std::exception& e)
{
    // Core messages carry report text, which is Windows-1252.
    return toQString(errorMessage(e));
}

} // namespace qmx
