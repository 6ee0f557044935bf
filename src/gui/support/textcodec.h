// Conversion between the core's Windows-1252 byte strings and Qt's Unicode
// strings. Reports and settings never leave the core decoded; every window
// converts here, at its edge, and nowhere else.
#pragma once

#include <QString>
#include <QStringList>

#include <string>
#include <string_view>
#include <vector>

namespace qmx {

// Each byte becomes one character; the five bytes Windows-1252 leaves
// undefined map to the C1 control with the same code so they survive a
// round trip.
QString toQString(std::string_view bytes);
QStringList toQStringList(const std::vector<std::string>& list);
// Characters outside Windows-1252 become '?'.
std::string fromQString(const QString& text);

} // namespace qmx
