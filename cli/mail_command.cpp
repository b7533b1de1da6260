// vellumo-cli mail: sends a file through the SMTP server, with the stored mail settings of the
// program as defaults for the sender, the server, the port, the user id and the password.
#include <string>
#include <vector>

#include "cli/commands.h"
#include "mail/mail_cli.h"

#ifdef VELLUMO_CLI_SETTINGS
#include "platform/settings_store.h"
#endif

namespace vellumo::cli {

#ifdef VELLUMO_CLI_SETTINGS
using namespace vellumo::platform;
#endif
using namespace vellumo::mail;

namespace {

MailDefaults StoredMailDefaults() {
    MailDefaults defaults;
#ifdef VELLUMO_CLI_SETTINGS
    defaults.from = SettingsStore::read(setting::SmtpEmailAddress).toStdString();
    defaults.server = SettingsStore::read(setting::SmtpServer).toStdString();
    defaults.port = SettingsStore::read(setting::SmtpPort).toStdString();
    defaults.userId = SettingsStore::read(setting::SmtpUserId).toStdString();
    defaults.password = SettingsStore::readPassword().toStdString();
#endif
    return defaults;
}

}  // namespace

int RunMailCliCommand(int argc, char** argv) {
    // The mail command wants its own name in front of its options.
    std::vector<std::string> args = {"mail"};
    args.insert(args.end(), argv, argv + argc);
    std::vector<char*> pointers;
    for (auto& a : args) pointers.push_back(a.data());
    pointers.push_back(nullptr);
    return RunMailCommand((int)args.size(), pointers.data(), StoredMailDefaults());
}

void PrintMailHelp() {
    char name[] = "mail";
    char help[] = "--help";
    char* argv[] = {name, help, nullptr};
    RunMailCommand(2, argv, MailDefaults{});
}

}  // namespace vellumo::cli
