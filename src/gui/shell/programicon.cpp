#include "gui/shell/programicon.h"

#include <QSize>
#include <QString>

// The pictures live in a static library: naming their initialiser here keeps
// the linker from leaving them out of the program.
static void initProgramIconResource()
{
    Q_INIT_RESOURCE(programicon);
}

namespace qmx {

QIcon programIcon()
{
    initProgramIconResource();
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/qmxread/qmxread-%1.png").arg(size), QSize(size, size));
    return icon;
}

} // namespace qmx
