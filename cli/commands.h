// The subcommands of vellumo-cli. Each lives in its own file (cli/<name>_command.cpp) and is
// listed once in the table in main.cpp. A command gets its own name as argv[0] and the arguments
// after it, reads them with ParseCommandLine (its --help included) and returns the process's exit
// code: 0 success, 1 failure, 2 wrong usage.
#pragma once

namespace vellumo::cli {

struct CliCommand {
    const char* name;
    const char* summary;  // one line for the general help
    int (*run)(int argc, char** argv);
};

int RunPdfCommand(int argc, char** argv);
int RunMailCliCommand(int argc, char** argv);
int RunScanCommand(int argc, char** argv);

}  // namespace vellumo::cli
