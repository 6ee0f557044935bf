// The program's own icon, the picture its desktop entry shows. Every window
// carries it, and the About box shows it large. It is built into the program
// as pictures of the common sizes, so no image plugin has to be present at
// run time to read the vector original.
#pragma once

#include <QIcon>

namespace qmx {

QIcon programIcon();

} // namespace qmx
