// The process-wide debug flag of the /D switch. The main window settles it
// from the command line before any other window exists; report windows keep
// their Variables page and the rules write trace lines while it is set.
#pragma once

#include <QStringList>

namespace qmx {

bool debugFlag();
// Sets the flag exactly when one argument, upper-cased, is "/D". The first
// element of arguments is an argument, not the program path.
void settleDebugFlag(const QStringList& arguments);

} // namespace qmx
