// vellumo-cli mail: sends a file through the SMTP server, with the stored mail settings of the
// program as defaults for the sender, the server, the port, the user id and the password.
#include "cli/commands.h"
#include "cli/mail_cli.h"

#ifdef VELLUMO_CLI_SETTINGS
#include "platform/settings_store.h"
#endif

namespace vellumo::cli {

#ifdef VELLUMO_CLI_SETTINGS
using namespace vellumo::platform;
#endif
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
    return RunMailCommand(argc, argv, StoredMailDefaults());
}

}  // namespace vellumo::cli
