// The subcommands of vellumo-cli. Each lives in its own file (cli/<name>_command.cpp) and is
// listed once in the table in main.cpp. A command gets the arguments after its name and
// returns the process's exit code: 0 success, 1 failure, 2 wrong usage.
#pragma once

namespace vellumo::cli {

struct CliCommand {
    const char* name;
    const char* summary;  // one line for the general help
    int (*run)(int argc, char** argv);
    void (*help)();  // prints the command's usage to standard output
};

int RunPdfCommand(int argc, char** argv);
void PrintPdfHelp();

int RunMailCliCommand(int argc, char** argv);
void PrintMailHelp();
int RunScanCommand(int argc, char** argv);
void PrintScanHelp();

}  // namespace vellumo::cli
