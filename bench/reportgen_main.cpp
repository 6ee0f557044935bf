// qmx-reportgen LINES OUT [SEED | adversarial | SHAPE]: writes a synthetic
// workstation report. SHAPE (brackets, multivalue, longline, parens,
// attached, sections) writes a report extreme in one way instead, LINES
// giving its count of lines (bytes for longline and parens, tags for
// attached, sections for sections).
// qmx-reportgen --server LINES OUT [SHAPE]: writes a synthetic server report,
// or one of the hostile SHAPEs alternating, neighbours (lines of 1 MiB) or
// overlapping.
#include "hostilegen.h"
#include "reportgen.h"
#include "servergen.h"

#include "core/util/error.h"
#include "core/util/fileio.h"

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv)
{
    const bool server = argc > 1 && std::string(argv[1]) == "--server";
    if (server) {
        --argc;
        ++argv;
    }
    if (argc < 3 || argc > 4) {
        std::fprintf(stderr, "usage: qmx-reportgen LINES OUT [SEED | adversarial | SHAPE]\n"
                             "       qmx-reportgen --server LINES OUT [SHAPE]\n");
        return 2;
    }
    char* end = nullptr;
    const unsigned long long lines = std::strtoull(argv[1], &end, 10);
    if (!end || *end != '\0') {
        std::fprintf(stderr, "qmx-reportgen: LINES must be a number\n");
        return 2;
    }
    qmx::bench::ReportShape shape;
    shape.lines = static_cast<size_t>(lines);
    const std::string third = argc == 4 ? argv[3] : "";
    const auto hostile = qmx::bench::hostileShapeNamed(third);
    const auto serverShape = qmx::bench::hostileServerShapeNamed(third);
    const size_t lineBytes =
        serverShape == qmx::bench::HostileServerShape::OverlappingFiles ? 40 : size_t(1) << 20;
    if (third == "adversarial")
        shape.adversarial = true;
    else if (!third.empty() && !hostile)
        shape.seed = static_cast<unsigned>(std::strtoul(third.c_str(), nullptr, 10));
    try {
        qmx::writeFileAtomic(argv[2],
                             server && serverShape ? qmx::bench::generateHostileServerReport(
                                 *serverShape, shape.lines, lineBytes)
                             : server  ? qmx::bench::generateServerReport(shape.lines)
                             : hostile ? qmx::bench::generateHostileReport(*hostile, shape.lines)
                                       : qmx::bench::generateReport(shape));
    } catch (const qmx::Error& e) {
        std::fprintf(stderr, "qmx-reportgen: %s\n", e.what());
        return 1;
    }
    return 0;
}
