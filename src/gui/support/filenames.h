// File names between Qt and the core. A path is bytes in the local 8-bit
// encoding of the file system, whatever the text of the files it names; it
// never goes through the Windows-1252 report-text codec, which would turn a
// folder such as "Prüfung" into a name no file has.
#pragma once

#include <QString>

#include <string>

namespace qmx {

// The bytes the core opens, as QFile::encodeName gives them.
std::string localPath(const QString& path);
// The name a window shows for bytes from the core, as QFile::decodeName.
QString fromLocalPath(const std::string& path);

} // namespace qmx
