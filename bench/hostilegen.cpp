#include "hostilegen.h"

#include <algorithm>

namespace qmx::bench {

namespace {

const char* const kHead = "[General]\r\nDate=CURRENTDATE;01.02.1999\r\nName=COMPUTERNAME;WS-1\r\n";

std::string brackets(size_t count)
{
    std::string out = kHead;
    const std::string run(50, '[');
    for (size_t i = 0; i < count; ++i)
        out += run + "_" + std::to_string(i % 1000) + (i % 2 ? "]" : "") + "\r\n";
    return out;
}

std::string multiValue(size_t count)
{
    std::string out = std::string(kHead) + "[Protocols]\r\n";
    for (size_t i = 0; i < count; ++i)
        out += "Proto_" + std::to_string(i) + "=REGISTRY_MULTIVALUE;V" + std::to_string(i) + "="
               + std::to_string(i % 97) + "\r\n";
    return out;
}

std::string value(const std::string& unit, size_t bytes)
{
    std::string v;
    v.reserve(bytes + unit.size());
    while (v.size() + unit.size() <= bytes)
        v += unit;
    return v;
}

std::string attached(size_t count)
{
    std::string out = std::string(kHead) + "[Files]\r\nF_0=GETFILE;"
                      + std::to_string(count ? count - 1 : 0) + ";";
    for (size_t k = 0; k < count; ++k)
        out += "F_" + std::to_string(k) + "=GETFILE;";
    return out + "\r\n";
}

std::string sections(size_t count)
{
    std::string out = kHead;
    for (size_t i = 0; i < count; ++i)
        out += "[S" + std::to_string(i) + "]\r\nK" + std::to_string(i) + "=REGISTRY;v"
               + std::to_string(i % 7) + ";DEFAULT\r\n";
    return out;
}

const char* const kDisk = "******Disk Drive Configuration Information******";
const char* const kDiskInt = "    Int.........................: ";

std::string padded(std::string line, size_t bytes, char fill)
{
    line.resize(std::max(line.size(), bytes), fill);
    return line + "\r\n";
}

} // namespace

std::string generateHostileServerReport(HostileServerShape shape, size_t count, size_t lineBytes)
{
    const std::string separator = std::string(69, '-') + "\r\n";
    std::string out;
    switch (shape) {
    case HostileServerShape::AlternatingDisks:
        for (size_t i = 0; i < count; ++i)
            out += padded(i % 2 ? kDiskInt : kDisk, lineBytes, i % 2 ? '1' : '*');
        break;
    case HostileServerShape::OverlappingFiles:
        for (int i = 0; i < 9; ++i)
            out += "Top of file. [C:STARTUP.ZCF]\r\n";
        for (size_t i = 0; i < count; ++i)
            out += padded("LOAD LINE" + std::to_string(i), lineBytes, ' ');
        out += separator
               + "Engine Type...............: Uni\r\nTop of Modules List  2 modules loaded\r\n=\r\n"
                 "CLIB.ZLM\r\nSMP.ZLM   4.11\r\n"
               + separator;
        break;
    case HostileServerShape::DiskNeighbours:
        out = std::string(kDisk) + "\r\n=\r\n";
        for (size_t i = 0; i < count; ++i)
            out += padded(kDiskInt, lineBytes, '1');
        out += separator;
        break;
    }
    return out;
}

std::optional<HostileServerShape> hostileServerShapeNamed(std::string_view name)
{
    if (name == "alternating")
        return HostileServerShape::AlternatingDisks;
    if (name == "overlapping")
        return HostileServerShape::OverlappingFiles;
    if (name == "neighbours")
        return HostileServerShape::DiskNeighbours;
    return std::nullopt;
}

std::string generateHostileReport(HostileShape shape, size_t count)
{
    switch (shape) {
    case HostileShape::Brackets: return brackets(count);
    case HostileShape::MultiValue: return multiValue(count);
    case HostileShape::LongLine:
        return std::string(kHead) + "Memory=TOTALMEMORY;" + std::string(count, '7')
               + "\r\nCPU=CPU;486\r\n";
    case HostileShape::Parens:
        return std::string(kHead) + "Memory=TOTALMEMORY;" + value("(1=1)&", count)
               + "(1=1)\r\nCPU=CPU;486\r\n";
    case HostileShape::Attached: return attached(count);
    case HostileShape::Sections: return sections(count);
    }
    return kHead;
}

std::optional<HostileShape> hostileShapeNamed(std::string_view name)
{
    if (name == "brackets")
        return HostileShape::Brackets;
    if (name == "multivalue")
        return HostileShape::MultiValue;
    if (name == "longline")
        return HostileShape::LongLine;
    if (name == "parens")
        return HostileShape::Parens;
    if (name == "attached")
        return HostileShape::Attached;
    if (name == "sections")
        return HostileShape::Sections;
    return std::nullopt;
}

} // namespace qmx::bench
