#include "cli/option_parser.h"

#include <getopt.h>

#include <algorithm>
#include <cstring>

namespace vellumo::cli {

namespace {

constexpr int kHelp = 'h';
constexpr int kOperand = 1;  // getopt_long's code for an operand when options are "-" led

const CommandOption kHelpOption{kHelp, "help", 'h', OptionValue::None};

int HasArgument(OptionValue value) {
    switch (value) {
        case OptionValue::None:
            return no_argument;
        case OptionValue::Required:
            return required_argument;
        case OptionValue::Optional:
            return optional_argument;
    }
    return no_argument;
}

const CommandOption* FindById(const std::vector<CommandOption>& options, int id) {
    const auto it = std::find_if(options.begin(), options.end(),
                                 [id](const CommandOption& o) { return o.id == id; });
    return it == options.end() ? nullptr : &*it;
}

// Why getopt_long refused a long option ("--name" or "--name=value" as given).
std::string RefusedLongOption(const std::vector<CommandOption>& options, const char* given,
                              const char* what) {
    const std::string text = given;
    const std::string name = text.substr(2, text.find('=') - 2);
    int matches = 0;
    for (const CommandOption& o : options) {
        if (name == o.longName && text.find('=') != std::string::npos)
            return "option --" + name + " takes no value";
        if (!name.empty() && std::strncmp(o.longName, name.c_str(), name.size()) == 0) ++matches;
    }
    if (matches > 1) return "ambiguous option --" + name;
    return std::string("unknown ") + what + " --" + name;
}

std::string MissingValue(const CommandOption* option, int id) {
    if (option && *option->missingValue) return option->missingValue;
    if (option) return std::string("option --") + option->longName + " needs a value";
    return std::string("option -") + static_cast<char>(id) + " needs a value";
}

}  // namespace

std::vector<CommandOption> JoinOptions(std::vector<CommandOption> first,
                                       const std::vector<CommandOption>& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

ParsedCommandLine ParseCommandLine(int argc, char** argv, const std::vector<CommandOption>& options,
                                   const TakeOption& take, const char* what) {
    std::vector<CommandOption> all = options;
    all.push_back(kHelpOption);
    // "-": operands come back in their place, whatever POSIXLY_CORRECT says, so options may
    // follow the files; ":": a missing value is told apart from an unknown option.
    std::string shortOptions = "-:";
    std::vector<option> longOptions;
    for (const CommandOption& o : all) {
        longOptions.push_back({o.longName, HasArgument(o.value), nullptr, o.id});
        if (!o.shortName) continue;
        shortOptions += o.shortName;
        if (o.value == OptionValue::Required) shortOptions += ':';
        if (o.value == OptionValue::Optional) shortOptions += "::";
    }
    longOptions.push_back({nullptr, 0, nullptr, 0});

    // getopt_long reorders what it reads: it works on a copy of the caller's list.
    std::vector<char*> args(argv, argv + argc);
    args.push_back(nullptr);
    ParsedCommandLine result;
    bool help = false;
    auto fail = [&result](const std::string& problem) {
        if (result.problem.empty()) result.problem = problem;
    };
    optind = 0;  // a fresh start of glibc's getopt, for every command run in this process
    opterr = 0;  // the problems are told here, in the command's words
    for (;;) {
        const int c =
            getopt_long(argc, args.data(), shortOptions.c_str(), longOptions.data(), nullptr);
        if (c == -1) break;
        if (c == kOperand) {
            result.operands.push_back(optarg);
        } else if (c == kHelp) {
            help = true;
        } else if (c == ':') {
            fail(MissingValue(FindById(all, optopt), optopt));
        } else if (c == '?') {
            const char* given = args[static_cast<size_t>(optind - 1)];
            if (std::strncmp(given, "--", 2) == 0)
                fail(RefusedLongOption(all, given, what));
            else
                fail(std::string("unknown ") + what + " -" + static_cast<char>(optopt));
        } else if (const std::string problem = take(c, optarg); !problem.empty()) {
            fail(problem);
        }
    }
    for (int i = optind; i < argc; ++i) result.operands.push_back(args[static_cast<size_t>(i)]);
    result.outcome = help                     ? ParseOutcome::Help
                     : result.problem.empty() ? ParseOutcome::Ok
                                              : ParseOutcome::Wrong;
    return result;
}

}  // namespace vellumo::cli
