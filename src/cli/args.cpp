#include "cli/args.h"

#include <getopt.h>

#include <algorithm>

namespace qmx::cli {

bool ParsedArgs::has(const std::string& name) const
{
    return std::any_of(options_.begin(), options_.end(),
                       [&](const auto& o) { return o.first == name; });
}

const std::string& ParsedArgs::value(const std::string& name) const
{
    static const std::string none;
    for (auto it = options_.rbegin(); it != options_.rend(); ++it)
        if (it->first == name)
            return it->second;
    return none;
}

namespace {

std::string worded(const char* format, const std::string& name, const std::string& word)
{
    std::string out;
    for (const char* p = format; *p; ++p) {
        if (p[0] == '%' && (p[1] == 'n' || p[1] == 'w')) {
            out += *++p == 'n' ? name : word;
            continue;
        }
        out += *p;
    }
    return out;
}

bool isChoice(const OptionSpec& option, const std::string& value)
{
    std::string_view rest = option.choices;
    while (true) {
        const size_t bar = rest.find('|');
        if (rest.substr(0, bar) == value)
            return true;
        if (bar == std::string_view::npos)
            return false;
        rest.remove_prefix(bar + 1);
    }
}

// The option's value as getopt_long found it (nullptr: none), checked
// against the option's rules. An empty value is a missing one.
std::string checkedValue(const CommandSpec& command, const OptionSpec& option, const char* value)
{
    const std::string text = value ? value : "";
    if (text.empty())
        throw UsageError(worded(command.wording.needsValue, option.name, option.name));
    if (option.choices && !isChoice(option, text))
        throw UsageError(option.badChoice);
    return text;
}

// Parses the "--name[=value]" word at words[i], with the value taken from
// the next word when the option has one and no "=". Returns the index of the
// next word to look at. getopt_long would also take an unambiguous
// abbreviation; a name must be given in full, so that adding an option never
// changes what an existing command line means.
size_t parseLongOption(const CommandSpec& command, const std::vector<std::string>& words, size_t i,
                       ParsedArgs& out)
{
    const std::string& word = words[i];
    const std::string name = word.substr(0, word.find('='));
    const auto& options = command.options;
    const auto known = std::find_if(options.begin(), options.end(),
                                    [&](const OptionSpec& o) { return name == o.name; });
    if (known == options.end())
        throw UsageError(worded(command.wording.unknownOption, name, word));

    std::vector<option> table;
    for (const OptionSpec& o : options)
        table.push_back({o.name + 2, o.takesValue ? required_argument : no_argument, nullptr, 1});
    table.push_back({nullptr, 0, nullptr, 0});
    // argv[0] is skipped by getopt_long; it parses this word and possibly the next.
    std::vector<char*> argv{const_cast<char*>(command.name)};
    for (size_t k = i; k < std::min(i + 2, words.size()); ++k)
        argv.push_back(const_cast<char*>(words[k].c_str()));
    argv.push_back(nullptr);
    opterr = 0;
    optind = 0; // a fresh start: no state left from an earlier word
    int index = -1;
    const int found =
        getopt_long(static_cast<int>(argv.size() - 1), argv.data(), "+:", table.data(), &index);
    if (found == '?')
        throw UsageError(worded(command.wording.takesNoValue, name, word));
    const OptionSpec& option = *known;
    out.add(option.name, option.takesValue
                             ? checkedValue(command, option, found == ':' ? nullptr : optarg)
                             : "");
    return i + static_cast<size_t>(optind - 1);
}

} // namespace

ParseOutcome parseArgs(const CommandSpec& command, const std::vector<std::string>& words,
                       ParsedArgs& out)
{
    const bool helpAllowed = command.help != HelpKind::None;
    bool optionsEnded = command.rawOperands;
    size_t i = command.rawOperands && !words.empty() && words[0] == "--" ? 1 : 0;
    while (i < words.size()) {
        const std::string& w = words[i];
        const bool dashed = !optionsEnded && w.size() > 1 && w[0] == '-';
        if (!dashed || (w[1] != '-' && !command.dashWordIsOption)) {
            // A command without operands names the stray word as it names an unknown option.
            if (command.maxOperands == 0)
                throw UsageError(worded(command.wording.unknownOption, w, w));
            out.operands.push_back(w);
            ++i;
        } else if (w == "--") {
            optionsEnded = true;
            ++i;
        } else if (helpAllowed && (w == "--help" || (command.dashWordIsOption && w == "-h"))) {
            return ParseOutcome::Help;
        } else if (w[1] != '-') {
            throw UsageError(worded(command.wording.unknownOption, w, w));
        } else {
            i = parseLongOption(command, words, i, out);
        }
    }
    if (out.operands.size() < command.minOperands || out.operands.size() > command.maxOperands)
        throw UsageError(command.operandError);
    return ParseOutcome::Run;
}

} // namespace qmx::cli
