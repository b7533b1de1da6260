#include "mainwnd/page_commands.h"

#include <map>

namespace {
std::map<int, MainCommand>& Commands() {
    static std::map<int, MainCommand> commands;
    return commands;
}
}  // namespace

void RegisterMainCommand(int id, MainCommand command) {
    if (command)
        Commands()[id] = std::move(command);
    else
        Commands().erase(id);
}

MainCommand FindMainCommand(int id) {
    const auto it = Commands().find(id);
    return it == Commands().end() ? MainCommand() : it->second;
}

bool HasMainCommand(int id) {
    return static_cast<bool>(FindMainCommand(id));
}
