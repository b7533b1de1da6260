// The texts of the mail components: the string table of the SMTP send (ids 3100 to 3210), the
// literal texts of the test mail and of the desktop mail hand-off. One place for every text the
// user sees while mailing, so the dialogs, the send sequence and the command line agree.
#pragma once

#include <string>

namespace vellumo::mail {

enum MailStringId {
    IDS_MAIL_NO_TEMP_PATH = 3100,
    IDS_MAIL_NO_TEMP_FILE = 3110,
    IDS_MAIL_MIME_INIT = 3120,
    IDS_MAIL_CREATE_MESSAGE = 3130,
    IDS_MAIL_ATTACH = 3140,
    IDS_MAIL_SMTP_INIT = 3150,
    IDS_MAIL_AUTH_NEEDED = 3160,
    IDS_MAIL_SENT = 3170,
    IDS_MAIL_DELIVERY_FAILED = 3180,
    IDS_MAIL_SENDING = 3190,
    IDS_MAIL_CONNECTING = 3200,
    IDS_MAIL_LOGGING_IN = 3210,
};

// The text of a string-table id; "" for an id that is not in the table.
const char* MailString(int id);

// Literal texts of the test mail sent from the Email settings page.
extern const char kTestMailSending[];         // "Sending mail, please wait ..."
extern const char kTestMailNoTempPath[];      // "Unable to determine temporary file path"
extern const char kTestMailNoTempFile[];      // "Unable to create temporary file"
extern const char kTestMailMimeInit[];        // "Unable to initialize MIME"
extern const char kTestMailCreateMessage[];   // "Unable to create message"
extern const char kTestMailSmtpInit[];        // "Unable to initialize SMTP"
extern const char kTestMailAuthNeeded[];      // the 3160 text
extern const char kTestMailSubject[];         // "Test"
extern const char kTestMailBody[];            // "Test"
extern const char kTestMailDeliveryFailed[];  // "Unable to deliver message to %s: %s"
extern const char kTestMailSent[];            // "Message successfully sent to %s"

// Texts of the hand-off to the desktop's mail client.
extern const char kMapiNotFound[];      // "Could not find MAPI DLL"
extern const char kMapiInvalid[];       // "Invalid MAPI DLL"
extern const char kMapiNoMemory[];      // "No memory during MAPI send mail"
extern const char kMapiSendError[];     // "Error during MAPI send mail"
extern const char kMapiEndedWithout[];  // "*** Mail application ended without errors ***"

}  // namespace vellumo::mail
