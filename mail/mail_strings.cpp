#include "mail/mail_strings.h"

namespace vellumo::mail {

namespace {

struct MailStringEntry {
    int id;
    const char* text;
};

constexpr MailStringEntry kMailStrings[] = {
    {IDS_MAIL_NO_TEMP_PATH, "Unable to determine temporary file path"},
    {IDS_MAIL_NO_TEMP_FILE, "Unable to create temporary file"},
    {IDS_MAIL_MIME_INIT, "Unable to initialize MIME"},
    {IDS_MAIL_CREATE_MESSAGE, "Unable to create message"},
    {IDS_MAIL_ATTACH, "Unable to attach file"},
    {IDS_MAIL_SMTP_INIT, "Unable to initialize SMTP"},
    {IDS_MAIL_AUTH_NEEDED,
     "SMTP server requires authentication, but you did not specify a user-id and password for "
     "this server!"},
    {IDS_MAIL_SENT, "Message successfully sent"},
    {IDS_MAIL_DELIVERY_FAILED, "Unable to deliver message to"},
    {IDS_MAIL_SENDING, "Sending mail message, please wait ..."},
    {IDS_MAIL_CONNECTING, "Connecting to mail server, please wait ..."},
    {IDS_MAIL_LOGGING_IN, "Logging in to mail server, please wait ..."},
};

}  // namespace

const char* MailString(int id) {
    for (const auto& entry : kMailStrings)
        if (entry.id == id) return entry.text;
    return "";
}

const char kTestMailSending[] = "Sending mail, please wait ...";
const char kTestMailNoTempPath[] = "Unable to determine temporary file path";
const char kTestMailNoTempFile[] = "Unable to create temporary file";
const char kTestMailMimeInit[] = "Unable to initialize MIME";
const char kTestMailCreateMessage[] = "Unable to create message";
const char kTestMailSmtpInit[] = "Unable to initialize SMTP";
const char kTestMailAuthNeeded[] =
    "SMTP server requires authentication, but you did not specify a user-id and password for "
    "this server!";
const char kTestMailSubject[] = "Test";
const char kTestMailBody[] = "Test";
const char kTestMailDeliveryFailed[] = "Unable to deliver message to %s: %s";
const char kTestMailSent[] = "Message successfully sent to %s";

const char kMapiNotFound[] = "Could not find MAPI DLL";
const char kMapiInvalid[] = "Invalid MAPI DLL";
const char kMapiNoMemory[] = "No memory during MAPI send mail";
const char kMapiSendError[] = "Error during MAPI send mail";
const char kMapiEndedWithout[] = "*** Mail application ended without errors ***";

}  // namespace vellumo::mail
