#include "gui/support/filenames.h"

#include <QFile>

namespace qmx {

std::string localPath(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

QString fromLocalPath(const std::string& path)
{
    return QFile::decodeName(QByteArray::fromStdString(path));
}

} // namespace qmx
