// The command line of qmxread-cli: the command, its operands and options.
#pragma once

#include "ruletext.h"

#include <optional>
#include <string>
#include <vector>

namespace qmx::cli {

enum class Command { Report, Variables, Analyze, Attached, Eval, Help };

struct CommandLine {
    Command command = Command::Help;
    std::vector<std::string> operands;
    RuleSource rules;
    bool debug = false;
    bool noRules = false;
};

// Parses argv[1..]. On a usage error returns nothing and sets error to a
// one-line reason.
std::optional<CommandLine> parseCommandLine(const std::vector<std::string>& args, std::string& error);

extern const char* const kUsage;

} // namespace qmx::cli
