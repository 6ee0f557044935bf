// The command line of qmxread-cli: one table-driven parser for every
// command. A command is a row of CommandSpec (its options, how many operands
// it takes, its handler); adding a command means adding a table of options,
// a handler and a row, nothing more.
#pragma once

#include <span>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace qmx::cli {

constexpr int kOk = 0;
constexpr int kFailed = 1;
constexpr int kUsageError = 2;

struct OptionSpec {
    const char* name;                // with its leading "--"
    bool takesValue = false;         // a value is never empty
    const char* choices = nullptr;   // the accepted values separated by '|', or none
    const char* badChoice = nullptr; // the reason given for a value outside choices
};

// What the parser found: the operands in order and each option given, in
// order (a repeated option keeps every value; value() gives the last).
class ParsedArgs {
public:
    std::vector<std::string> operands;

    bool has(const std::string& name) const;
    // The last value given for the option, or "" when it was not given.
    const std::string& value(const std::string& name) const;
    void add(std::string name, std::string value)
    {
        options_.emplace_back(std::move(name), std::move(value));
    }

private:
    std::vector<std::pair<std::string, std::string>> options_;
};

// The wording of a command's usage errors. %n stands for the option's name,
// %w for the whole word as given ("--name=value").
struct UsageWording {
    const char* unknownOption = "unknown option '%n'";
    const char* needsValue = "option %n needs a value";
    const char* takesNoValue = "option %n takes no value";
};

enum class HelpKind {
    None,             // --help is an unknown option
    Usage,            // --help prints the usage on stdout
    UsageAndSettings, // ... followed by the settings file in use
};

struct CommandSpec {
    const char* name;
    std::span<const OptionSpec> options;
    size_t minOperands;
    size_t maxOperands;
    const char* operandError; // the reason when the count of operands is wrong
    int (*run)(const ParsedArgs&);
    const char* usage; // shown after a usage error and by --help
    HelpKind help = HelpKind::UsageAndSettings;
    UsageWording wording = {};
    bool dashWordIsOption = false; // "-x" is an option (unknown unless -h), not an operand
    bool rawOperands = false;      // every word is an operand; only a leading "--" is dropped
};

// A usage error found by the parser or by a handler checking an option's
// value; the dispatcher prints it with the command's usage and exits 2.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum class ParseOutcome { Run, Help };

// Parses the words after the command name. Throws UsageError.
ParseOutcome parseArgs(const CommandSpec& command, const std::vector<std::string>& words,
                       ParsedArgs& out);

} // namespace qmx::cli
