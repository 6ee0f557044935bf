#include "hostilegen.h"

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
        out += "Proto_" + std::to_string(i) + "=REGISTRY_MULTIVALUE;V" + std::to_string(i) + "=" +
               std::to_string(i % 97) + "\r\n";
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

} // namespace

std::string generateHostileReport(HostileShape shape, size_t count)
{
    switch (shape) {
    case HostileShape::Brackets:
        return brackets(count);
    case HostileShape::MultiValue:
        return multiValue(count);
    case HostileShape::LongLine:
        return std::string(kHead) + "Memory=TOTALMEMORY;" + std::string(count, '7') + "\r\nCPU=CPU;486\r\n";
    case HostileShape::Parens:
        return std::string(kHead) + "Memory=TOTALMEMORY;" + value("(1=1)&", count) + "(1=1)\r\nCPU=CPU;486\r\n";
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
    return std::nullopt;
}

} // namespace qmx::bench
