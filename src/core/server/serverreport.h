// The server configuration report: a plain-text file written by the server's
// configuration module, read by fixed heading lines and the blocks under
// them. One pass over the lines fills the data the server window shows:
// header fields, the patch and module lists, four start-up file texts, the
// interrupts and volumes tables and the status-bar texts. A block ends at a
// separator line or at the next heading that opens a block, so a heading
// whose separator is missing never swallows the blocks after it.
#pragma once

#include "core/util/progress.h"

#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace qmx {

// Texts the window's labels show until a heading sets them.
inline constexpr std::string_view kOtherZlmsDesign = "Other ZLMs:";
inline constexpr std::string_view kConfigCreatedDesign = "- Config created";
inline constexpr std::string_view kProducedByDesign = "- Produced by CONFIG.ZLM ";

// Lists and table cells are views into the report's text, never copies: a
// line may be read by two blocks and be the neighbour of several rows, and a
// copy each time would make a report of long lines cost many times its size.
using TextLines = std::vector<std::string_view>;
using VolumeRow =
    std::array<std::string_view, 5>; // name, size, free, purgable blocks, purgable space
using InterruptRow =
    std::array<std::string_view, 4>; // interrupt, device type, driver, mirror status

struct ServerReport {
    // The whole file; lines are views into it (split at CR LF, CR or LF).
    // Copies of a report share the text, so their views stay valid.
    std::shared_ptr<const std::string> text;
    TextLines lines;

    // The Server Info fields, Edit1 to Edit6.
    std::string osVersion, serverName, totalMemory, license, engineType, internalNet;
    std::string label2{kOtherZlmsDesign};
    std::string label9{kConfigCreatedDesign};
    std::string label10{kProducedByDesign};

    TextLines patches, modules;
    TextLines startupZcf, autoexecZcf, configSys, autoexecBat;
    std::vector<VolumeRow> volumes;
    std::vector<InterruptRow> interrupts;
    // Status-bar panels; panel 0 is never written.
    std::array<std::string, 5> status;
};

// Parses report text already in memory. fileSize is the file's size in
// bytes, or negative when it could not be determined. pump, when set, is
// called regularly so a window can let events run.
ServerReport parseServerReport(std::string text, long long fileSize, const Pump& pump = {});

// Reads and parses the report at path. Throws qmx::Error
// "Cannot open file PATH" when the file cannot be read.
ServerReport loadServerReport(const std::string& path, const Pump& pump = {});

// The two views of a line's text after its first ":": the field value drops
// the one character after the colon, the trimmed value is trimmed instead.
// Without a colon they are the line less its first character, and the whole
// line trimmed.
std::string_view fieldValue(std::string_view line);
std::string_view trimmedValue(std::string_view line);

} // namespace qmx
