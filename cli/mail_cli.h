// The "mail" command of vellumo-cli: sends a file as attachment through the SMTP server with the
// same sequence the program's windows use.
//
//   vellumo-cli mail --from ADDR --to ADDR [--subject TEXT] [--text TEXT] [--server HOST]
//                    [--port N] [--user ID] FILE
//
// The password comes from the environment variable VELLUMO_SMTP_PASSWORD (else from the stored
// settings in the defaults), never from the command line. Errors go to standard error; the exit
// status is 0 only when the server accepted the message, 1 when sending failed, 2 for a usage
// error. Ctrl+C during the transfer cancels it.
#pragma once

#include <string>

namespace vellumo::cli {

// Values of the stored mail settings, filled by the caller; options on the command line win.
struct MailDefaults {
    std::string from;         // "SMTP Email address"
    std::string server;       // "SMTP Server"
    std::string port = "25";  // "SMTP Port"
    std::string userId;       // "SMTP User-id"
    std::string password;     // "SMTP Password", already revealed
};

// argv[0] is the command name ("mail"); the options follow.
int RunMailCommand(int argc, char** argv, const MailDefaults& defaults);

}  // namespace vellumo::cli
