// The options of every vellumo-cli command, read in one style with getopt_long: long options as
// --name VALUE or --name=VALUE (or an unambiguous beginning of the name), short ones as -o VALUE
// or -oVALUE, options and operands in any order, and "--" ending the options. Each command
// describes its options in a table and takes their values itself; -h and --help are every
// command's.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace vellumo::cli {

enum class OptionValue {
    None,      // --name
    Required,  // --name VALUE, --name=VALUE, -n VALUE, -nVALUE
    Optional,  // --name or --name=VALUE
};

struct CommandOption {
    int id;                // the command's code for the option; a letter for a short option
    const char* longName;  // without the leading "--"
    char shortName;        // 0 when the option has no one-letter form
    OptionValue value;
    const char* missingValue = "";  // the problem told when a required value is missing
};

// Codes for options that have no one-letter form.
constexpr int kFirstLongOnlyOption = 256;

enum class ParseOutcome {
    Ok,
    Help,   // -h or --help was given (it wins over any wrong option around it)
    Wrong,  // `problem` says what is wrong
};

struct ParsedCommandLine {
    ParseOutcome outcome = ParseOutcome::Ok;
    std::string problem;
    std::vector<std::string> operands;  // the arguments that are not options, in order
};

// Takes one option the table names, value null when it has none; returns the problem with its
// value, empty when it is fine.
using TakeOption = std::function<std::string(int id, const char* value)>;

// Reads argv[1..argc-1] (argv[0] is the command's name). An option the table does not name is
// reported as "unknown <what> --name". The first problem is kept; the reading goes on so that a
// later --help still wins.
ParsedCommandLine ParseCommandLine(int argc, char** argv, const std::vector<CommandOption>& options,
                                   const TakeOption& take, const char* what = "option");

// Joins option tables (a command's own and the shared ones).
std::vector<CommandOption> JoinOptions(std::vector<CommandOption> first,
                                       const std::vector<CommandOption>& second);

}  // namespace vellumo::cli
