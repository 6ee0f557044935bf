// Feeds arbitrary bytes to the server report parser and checks what it
// builds: the status texts always agree with the line count, rows have
// their fixed cell counts, and list entries come from the report's lines.
#include "core/server/serverreport.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    int pumped = 0;
    const qmx::ServerReport r =
        qmx::parseServerReport(bytes, static_cast<long long>(size), [&pumped] { ++pumped; });
    if (r.status[1] != std::to_string(r.lines.size()) + " lines")
        __builtin_trap();
    if (r.status[2] != std::to_string(size / 1024) + " kb")
        __builtin_trap();
    // The lines read inside blocks are bounded by a multiple of the report.
    const size_t fromBlocks = r.patches.size() + r.modules.size() + r.startupZcf.size()
                              + r.autoexecZcf.size() + r.configSys.size() + r.autoexecBat.size()
                              + r.interrupts.size();
    if (fromBlocks > r.lines.size() * 8 + 4096)
        __builtin_trap();
    if (r.volumes.size() > r.lines.size())
        __builtin_trap();
    for (const std::string& m : r.modules)
        if (m.empty() || m.size() > 34 || m[0] == ' ')
            __builtin_trap();
    for (const std::string& p : r.patches)
        if (p.empty() || bytes.find(p) == std::string::npos)
            __builtin_trap();
    return 0;
}
