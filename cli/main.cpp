// vellumo-cli: the command-line front end over the same engine as the windows.
#include <cstdio>
#include <cstring>
#include <iterator>

#include "cli/commands.h"
#include "platform/memory_policy.h"
#include "platform/signal_cleanup.h"

using namespace vellumo::cli;

namespace {

const CliCommand kCommands[] = {
    {"pdf", "build one PDF from image files", RunPdfCommand},
    {"mail", "send a file by email through the SMTP server", RunMailCliCommand},
    {"scan", "scan pages into one PDF", RunScanCommand},
};

void PrintHelp() {
    std::printf(
        "Usage: vellumo-cli COMMAND [OPTIONS] ...\n       vellumo-cli COMMAND --help\n\n"
        "Commands:\n");
    for (const CliCommand& c : kCommands) std::printf("  %-8s %s\n", c.name, c.summary);
}

}  // namespace

int main(int argc, char** argv) {
    vellumo::platform::ReturnLargeBlocksToTheSystem();
    // A command ended by a signal leaves no partial output and no temporary files behind.
    vellumo::platform::InstallSignalCleanup();
    if (argc < 2) {
        PrintHelp();
        return 2;
    }
    if (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0 ||
        std::strcmp(argv[1], "help") == 0) {
        PrintHelp();
        return 0;
    }
    for (const CliCommand& c : kCommands)
        if (std::strcmp(argv[1], c.name) == 0) return c.run(argc - 1, argv + 1);
    std::fprintf(stderr, "vellumo-cli: unknown command '%s' (try vellumo-cli --help)\n", argv[1]);
    return 2;
}
