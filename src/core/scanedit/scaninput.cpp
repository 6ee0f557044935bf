#include "core/scanedit/scaninput.h"

#include "core/util/text.h"

#include <algorithm>
#include <array>

namespace qmx {

namespace {

std::string_view platformPart(ReadOn readOn)
{
    switch (readOn) {
    case ReadOn::WindowsNT: return "WINNT;";
    case ReadOn::Windows9x: return "WIN9X;";
    case ReadOn::All: break;
    }
    return ";";
}

std::string_view typeWord(RegistryType type)
{
    switch (type) {
    case RegistryType::Binary: return "BINARY";
    case RegistryType::Integer: return "INTEGER";
    case RegistryType::AllValues: return "ALLVALUES";
    case RegistryType::AllKeys: return "ALLKEYS";
    case RegistryType::String: break;
    }
    return "STRING";
}

// Platform and client version: the two fields both dialogs start with. A
// version typed while the check box is clear is ignored.
std::string scopePart(const EntryScope& scope)
{
    std::string out(platformPart(scope.readOn));
    if (scope.onlyForClientVersion)
        out += scope.clientVersion;
    out += ';';
    return out;
}

} // namespace

const std::vector<std::string>& newScanInputLines()
{
    static const std::vector<std::string> lines = {"[QMXSCAN_PARAMETERS]",
                                                   "Output_File=%Application_Path\\ipx.txt",
                                                   "Write_Type=OverWrite",
                                                   "",
                                                   "[Report]",
                                                   "Date=CURRENTDate",
                                                   "Time=CURRENTTime"};
    return lines;
}

std::vector<std::string> paletteCommands()
{
    static constexpr std::array<std::string_view, 33> kCommands = {"AvailableMemory",
                                                                   "Beep",
                                                                   "BIOSInfo",
                                                                   "BiosVideoInfo",
                                                                   "ComputerName",
                                                                   "CPU",
                                                                   "CurrentDate",
                                                                   "CurrentTime",
                                                                   "DriveInformation",
                                                                   "DrivesPresent",
                                                                   "Environment",
                                                                   "File",
                                                                   "GetFile",
                                                                   "IPAddress",
                                                                   "IPXAddress",
                                                                   "LastBoot",
                                                                   "Message",
                                                                   "MonitorDriverDescription",
                                                                   "NIC",
                                                                   "Organization",
                                                                   "OSVersion",
                                                                   "Owner",
                                                                   "Printer",
                                                                   "Question",
                                                                   "Registry",
                                                                   "SoundInfo",
                                                                   "SwapFileSetting",
                                                                   "SwapFileSize",
                                                                   "TimeZone",
                                                                   "TotalMemory",
                                                                   "UpTime",
                                                                   "UserName",
                                                                   "VideoCard"};
    std::vector<std::string> out(kCommands.begin(), kCommands.end());
    std::stable_sort(out.begin(), out.end(), [](const std::string& a, const std::string& b) {
        return compareNoCase(a, b) < 0;
    });
    return out;
}

CommandDialog dialogForCommand(std::string_view command)
{
    if (command == "Registry")
        return CommandDialog::Registry;
    if (command == "File" || command == "GetFile")
        return CommandDialog::File;
    return CommandDialog::None;
}

std::string commandLine(std::string_view command, std::string_view resultLine)
{
    std::string out;
    out.reserve(command.size() * 2 + resultLine.size() + 2);
    out.append(command).append("=").append(command);
    if (dialogForCommand(command) != CommandDialog::None)
        out.append(";").append(resultLine);
    return out;
}

std::string registryLine(const RegistryEntry& entry)
{
    std::string out = scopePart(entry.scope);
    out.append(typeWord(entry.type)).append(";");
    out.append(entry.key).append(";").append(entry.defaultValue);
    return out;
}

std::string fileLine(const FileEntry& entry)
{
    return scopePart(entry.scope) + entry.fileName;
}

std::string insertAtCaret(std::string_view text, size_t caret, std::string_view line)
{
    caret = std::min(caret, text.size());
    std::string out;
    out.reserve(text.size() + line.size());
    out.append(text.substr(0, caret)).append(line).append(text.substr(caret));
    return out;
}

std::string scanInputFileBytes(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + text.size() / 16 + 4);
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = std::min(text.find('\n', start), text.size());
        out.append(text.substr(start, end - start)).append("\r\n");
        start = end + 1;
    }
    out.append("\r\n");
    return out;
}

} // namespace qmx
