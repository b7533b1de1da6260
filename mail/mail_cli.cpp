#include "mail/mail_cli.h"

#include <signal.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "mail/smtp_send.h"

namespace vellumo::mail {

namespace {

constexpr char kUsage[] =
    "usage: vellumo-cli mail --from ADDR --to ADDR [--subject TEXT] [--text TEXT]\n"
    "                        [--server HOST] [--port N] [--user ID] FILE\n"
    "The password is read from the environment variable VELLUMO_SMTP_PASSWORD.\n";

volatile sig_atomic_t interrupted = 0;

void OnInterrupt(int) {
    interrupted = 1;
}

class CliListener : public MailSendListener {
public:
    void setActivityText(const std::string&) override {}
    void setProgressVisible(bool) override {}
    void setProgress(int) override {}
    void pumpEvents() override {}
    bool cancelRequested() override { return interrupted != 0; }
    void clearCancel() override { interrupted = 0; }
    void endActivity() override {}
    void showMessage(const std::string& text, MailMessageKind) override {
        messages.push_back(text);
    }

    std::vector<std::string> messages;
};

int UsageError(const std::string& problem) {
    std::fprintf(stderr, "vellumo-cli mail: %s\n%s", problem.c_str(), kUsage);
    return 2;
}

}  // namespace

int RunMailCommand(int argc, char** argv, const MailDefaults& defaults) {
    SmtpMailFields fields;
    fields.from = defaults.from;
    fields.server = defaults.server;
    fields.port = defaults.port;
    fields.userId = defaults.userId;
    fields.password = defaults.password;
    if (const char* password = std::getenv("VELLUMO_SMTP_PASSWORD")) fields.password = password;

    std::string file;
    bool haveTo = false;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (arg.rfind("--", 0) != 0 || arg == "--") {
            if (arg == "--" && i + 1 < argc) arg = argv[++i];
            if (!file.empty()) return UsageError("only one file can be mailed");
            file = arg;
            continue;
        }
        std::string name = arg, value;
        bool inlineValue = false;
        if (const auto eq = arg.find('='); eq != std::string::npos) {
            name = arg.substr(0, eq);
            value = arg.substr(eq + 1);
            inlineValue = true;
        }
        if (name == "--password")
            return UsageError(
                "the password is not accepted on the command line; set "
                "VELLUMO_SMTP_PASSWORD");
        std::string* target = nullptr;
        if (name == "--from")
            target = &fields.from;
        else if (name == "--to")
            target = &fields.to, haveTo = true;
        else if (name == "--subject")
            target = &fields.subject;
        else if (name == "--text")
            target = &fields.message;
        else if (name == "--server")
            target = &fields.server;
        else if (name == "--port")
            target = &fields.port;
        else if (name == "--user")
            target = &fields.userId;
        if (!target) return UsageError("unknown option " + name);
        if (!inlineValue) {
            if (i + 1 >= argc) return UsageError("option " + name + " needs a value");
            value = argv[++i];
        }
        *target = value;
    }
    if (file.empty()) return UsageError("no file to mail");
    if (!haveTo || fields.to.empty()) return UsageError("no recipient (--to)");
    if (fields.from.empty()) return UsageError("no sender (--from)");
    if (fields.server.empty()) return UsageError("no mail server (--server)");

    CliListener listener;
    interrupted = 0;
    struct sigaction action {
    }, previous{};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, &previous);
    const MailSendResult result = RunSendMail(fields, file, listener);
    sigaction(SIGINT, &previous, nullptr);

    for (const auto& text : listener.messages) {
        if (result == kMailSent)
            std::printf("%s\n", text.c_str());
        else
            std::fprintf(stderr, "vellumo-cli mail: %s\n", text.c_str());
    }
    return result == kMailSent ? 0 : 1;
}

}  // namespace vellumo::mail
