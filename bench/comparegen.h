// Generator of a set of workstation reports for timing the comparison: the
// reports of one site, sharing most sections and keys in the same order,
// each with a few keys of its own, a few keys missing, a few values that
// differ, some keys and sections spelled in another case, and empty values.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qmx::bench {

struct CompareSetShape {
    size_t reports = 10;
    size_t keys = 10000; // about this many keys per report
    size_t keysPerSection = 100;
    unsigned seed = 1;
};

inline std::vector<std::string> generateCompareSet(const CompareSetShape& shape)
{
    uint64_t state = shape.seed * 0x9E3779B97F4A7C15ull + 7;
    auto next = [&state] {
        uint64_t z = (state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    };
    auto chance = [&next](unsigned perMille) { return next() % 1000 < perMille; };

    std::vector<std::string> out;
    for (size_t rep = 0; rep < shape.reports; ++rep) {
        std::string text = "[General]\r\nName=COMPUTERNAME;WS-" + std::to_string(rep)
                           + "\r\nOS=OSVERSION;Windows NT;4.0\r\nMem=TOTALMEMORY;65536 KB\r\n";
        size_t written = 3;
        for (size_t s = 0; written < shape.keys; ++s) {
            const std::string section = "Registry Section " + std::to_string(s);
            text += "[" + (chance(5) ? "REGISTRY SECTION " + std::to_string(s) : section) + "]\r\n";
            for (size_t k = 0; k < shape.keysPerSection && written < shape.keys; ++k) {
                if (chance(20))
                    continue; // missing here
                std::string key = "Value" + std::to_string(s * shape.keysPerSection + k);
                if (chance(10))
                    key = "VALUE" + key.substr(5);
                std::string value =
                    "REGISTRY;HKLM\\Software\\Vendor\\Product" + std::to_string(k) + ";";
                if (chance(50))
                    value += "build " + std::to_string(rep);
                else if (!chance(30))
                    value += "DEFAULT";
                text += key + "=" + value + "\r\n";
                ++written;
                if (chance(20)) {
                    text += "Local" + std::to_string(rep) + "_" + std::to_string(k)
                            + "=FILE;C:\\X;1\r\n";
                    ++written;
                }
            }
        }
        out.push_back(std::move(text));
    }
    return out;
}

} // namespace qmx::bench
