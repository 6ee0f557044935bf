// Scanner input files as text: the text of a new file, the palette of scan
// commands, the parameter lines built by the registry and file entry
// dialogs, the insertion of a command line at the caret, and the bytes a
// file is saved as. The editor window only shows and edits; every rule about
// the text lives here.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace qmx {

// The lines of a new scanner input file.
const std::vector<std::string>& newScanInputLines();

// The scan commands of the palette, sorted without regard to case.
std::vector<std::string> paletteCommands();

// Which entry dialog a command needs before its line can be built. The
// command names are compared exactly, with case.
enum class CommandDialog { None, Registry, File };
CommandDialog dialogForCommand(std::string_view command);

// "N=N" for a plain command; "N=N;" followed by the dialog's result line for
// one that needs a dialog.
std::string commandLine(std::string_view command, std::string_view resultLine = {});

// "Read on": the platform a registry value or file is read on.
enum class ReadOn { All, WindowsNT, Windows9x };
// "Type" of a registry value.
enum class RegistryType { String, Binary, Integer, AllValues, AllKeys };

// The fields shared by both entry dialogs.
struct EntryScope {
    ReadOn readOn = ReadOn::All;
    bool onlyForClientVersion = false;
    std::string clientVersion;
};

struct RegistryEntry {
    EntryScope scope;
    RegistryType type = RegistryType::String;
    std::string key;
    std::string defaultValue;
};

struct FileEntry {
    EntryScope scope;
    std::string fileName;
};

// platform;version;TYPE;key;default - field texts copied as typed.
std::string registryLine(const RegistryEntry& entry);
// platform;version;file
std::string fileLine(const FileEntry& entry);

// The text with line inserted at the caret (a byte offset; one past the end
// appends). No line break is added on either side.
std::string insertAtCaret(std::string_view text, size_t caret, std::string_view line);

// The bytes of a saved file: every line of text (lines separated by "\n"; a
// final "\n" adds no line) followed by CR LF, then one more CR LF.
std::string scanInputFileBytes(std::string_view text);

} // namespace qmx
