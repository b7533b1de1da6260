#include "cli/mail_cli.h"

#include <iconv.h>
#include <langinfo.h>
#include <signal.h>

#include <clocale>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "cli/option_parser.h"
#include "mail/mime_message.h"
#include "mail/smtp_send.h"
#include "platform/signal_cleanup.h"

namespace vellumo::cli {

using namespace vellumo::mail;

namespace {

constexpr char kUsage[] =
    "usage: vellumo-cli mail --from ADDR --to ADDR [--subject TEXT] [--text TEXT]\n"
    "                        [--server HOST] [--port N] [--user ID] FILE\n"
    "The password is read from the environment variable VELLUMO_SMTP_PASSWORD.\n";

// Exit status of a command ended by Ctrl+C, as the shell reports it for SIGINT.
constexpr int kExitInterrupted = 130;

// Set by Ctrl+C while the mail is sent: the Cancel of the command line.
volatile sig_atomic_t interrupted = 0;

enum : int { kFrom = kFirstLongOnlyOption, kTo, kSubject, kText, kServer, kPort, kUser, kPassword };

const std::vector<CommandOption> kMailOptions = {
    {kFrom, "from", 0, OptionValue::Required},
    {kTo, "to", 0, OptionValue::Required},
    {kSubject, "subject", 0, OptionValue::Required},
    {kText, "text", 0, OptionValue::Required},
    {kServer, "server", 0, OptionValue::Required},
    {kPort, "port", 0, OptionValue::Required},
    {kUser, "user", 0, OptionValue::Required},
    // Named only to be refused, with or without a value.
    {kPassword, "password", 0, OptionValue::Optional},
};

class CliListener : public MailSendListener {
public:
    void setActivityText(const std::string&) override {}
    void setProgressVisible(bool) override {}
    void setProgress(int) override {}
    void pumpEvents() override {}
    bool cancelRequested() override { return interrupted != 0; }
    // A Ctrl+C is never left over from something earlier: it always means stop.
    void clearCancel() override {}
    void endActivity() override {}
    void showMessage(const std::string& text, MailMessageKind) override {
        messages.push_back(text);
    }

    std::vector<std::string> messages;
};

// The name of the encoding the user's locale gives text on the command line.
std::string LocaleCodeset() {
    const char* current = std::setlocale(LC_CTYPE, nullptr);
    const std::string saved = current ? current : "C";
    std::setlocale(LC_CTYPE, "");
    const std::string codeset = nl_langinfo(CODESET);
    std::setlocale(LC_CTYPE, saved.c_str());
    return codeset;
}

// Text from the command line as UTF-8: taken as it is in a UTF-8 locale (when well-formed),
// converted from any other locale's encoding. False when it is not text of that encoding.
bool ArgumentToUtf8(const std::string& text, std::string& utf8) {
    const bool ascii =
        std::all_of(text.begin(), text.end(), [](char c) { return (unsigned char)c < 0x80; });
    if (ascii) {
        utf8 = text;
        return true;
    }
    const std::string codeset = LocaleCodeset();
    const bool utf8Locale = codeset == "UTF-8" || codeset == "utf8";
    // The C locale says nothing about bytes beyond ASCII; UTF-8 is what they nearly always are.
    const bool plainLocale = codeset == "ANSI_X3.4-1968" || codeset == "ASCII";
    if (utf8Locale || plainLocale) {
        utf8 = text;
        return mime::IsValidUtf8(text);
    }
    iconv_t cd = iconv_open("UTF-8", codeset.c_str());
    if (cd == (iconv_t)-1) return false;
    std::string out(text.size() * 4 + 4, '\0');
    char* in = const_cast<char*>(text.data());
    size_t inLeft = text.size();
    char* to = out.data();
    size_t outLeft = out.size();
    const size_t done = iconv(cd, &in, &inLeft, &to, &outLeft);
    iconv_close(cd);
    if (done == (size_t)-1 || inLeft != 0) return false;
    out.resize(out.size() - outLeft);
    utf8 = out;
    return mime::IsValidUtf8(utf8);
}

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

    bool haveTo = false;
    const ParsedCommandLine parsed =
        ParseCommandLine(argc, argv, kMailOptions, [&](int id, const char* value) -> std::string {
            switch (id) {
                case kFrom:
                    fields.from = value;
                    break;
                case kTo:
                    fields.to = value;
                    haveTo = true;
                    break;
                case kSubject:
                    fields.subject = value;
                    break;
                case kText:
                    fields.message = value;
                    break;
                case kServer:
                    fields.server = value;
                    break;
                case kPort:
                    fields.port = value;
                    break;
                case kUser:
                    fields.userId = value;
                    break;
                case kPassword:
                    return "the password is not accepted on the command line; set "
                           "VELLUMO_SMTP_PASSWORD";
            }
            return {};
        });
    if (parsed.outcome == ParseOutcome::Help) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (parsed.outcome == ParseOutcome::Wrong) return UsageError(parsed.problem);
    if (parsed.operands.size() > 1) return UsageError("only one file can be mailed");
    const std::string file = parsed.operands.empty() ? std::string() : parsed.operands.front();
    if (file.empty()) return UsageError("no file to mail");
    if (!haveTo || fields.to.empty()) return UsageError("no recipient (--to)");
    if (fields.from.empty()) return UsageError("no sender (--from)");
    if (fields.server.empty()) return UsageError("no mail server (--server)");
    // Every text goes out declared as UTF-8, so it must be UTF-8 by then.
    const std::pair<const char*, std::string*> texts[] = {{"--from", &fields.from},
                                                          {"--to", &fields.to},
                                                          {"--subject", &fields.subject},
                                                          {"--text", &fields.message}};
    for (const auto& [option, text] : texts) {
        if (!ArgumentToUtf8(*text, *text)) {
            std::fprintf(stderr,
                         "vellumo-cli mail: the value of %s is not text in the encoding of the "
                         "locale (%s)\n",
                         option, LocaleCodeset().c_str());
            return 2;
        }
    }

    CliListener listener;
    interrupted = 0;
    MailSendResult result = kMailNotComposed;
    {
        const vellumo::platform::InterruptAsCancel cancelOnInterrupt(interrupted);
        result = RunSendMail(fields, file, listener);
    }

    for (const auto& text : listener.messages) {
        if (result == kMailSent)
            std::printf("%s\n", text.c_str());
        else
            std::fprintf(stderr, "vellumo-cli mail: %s\n", text.c_str());
    }
    if (result == kMailCancelled) return kExitInterrupted;
    return result == kMailSent ? 0 : 1;
}

}  // namespace vellumo::cli
