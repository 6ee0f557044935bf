#include "support/guards.h"

#include "support/textcodec.h"
#include "util/error.h"

namespace qmx {

QString errorText(const std::exception& e)
{
    // Core messages carry report text, which is Windows-1252.
    return toQString(errorMessage(e));
}

} // namespace qmx
