#include "core/fleet/reportfiles.h"

#include "core/util/error.h"
#include "core/util/text.h"

#include <algorithm>
#include <filesystem>

namespace qmx {

namespace fs = std::filesystem;

std::vector<std::string> expandReportPaths(const std::vector<std::string>& args)
{
    std::vector<std::string> paths;
    for (const std::string& arg : args) {
        std::error_code ec;
        if (!fs::is_directory(arg, ec)) {
            paths.push_back(arg);
            continue;
        }
        std::vector<std::string> names;
        for (fs::directory_iterator it(arg, ec), end; !ec && it != end; it.increment(ec)) {
            const std::string name = it->path().filename().string();
            std::error_code typeError;
            if (name.size() > 4
                && equalsNoCase(std::string_view(name).substr(name.size() - 4), ".txt")
                && it->is_regular_file(typeError))
                names.push_back(name);
        }
        if (ec)
            throw Error("Cannot list directory \"" + arg + "\": " + ec.message());
        std::sort(names.begin(), names.end());
        const std::string prefix = arg.ends_with('/') ? arg : arg + "/";
        for (const std::string& name : names)
            paths.push_back(prefix + name);
    }
    return paths;
}

} // namespace qmx
