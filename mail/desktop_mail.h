// Hands a file to the desktop's mail client as an attachment named "Images.pdf", through
// xdg-email (freedesktop.org). The mail client opens its compose window; the user picks the
// recipient and sends or discards the message there.
//
// The tool runs in a session of its own (setsid, so it has no controlling terminal), with
// standard input from /dev/null, its output collected, and BROWSER removed from its
// environment: a text-mode browser that xdg-email may fall back to cannot wait for keyboard
// input and fails at once instead. A tool that has not finished within the timeout is left
// running (it may have become the mail client itself) and the call returns
// kDesktopMailStillRunning, so the program never waits forever.
#pragma once

#include <functional>
#include <string>

// Results; 0 and 1 have the meanings of the system's mail interface.
enum DesktopMailResult {
    kDesktopMailSuccess = 0,
    kDesktopMailUserAbort = 1,
    kDesktopMailFailed = 2,        // the tool reported an error
    kDesktopMailNoFile = 4,        // the file to attach does not exist or cannot be read
    kDesktopMailStillRunning = 5,  // the tool did not finish in time
    kDesktopMailNotFound = -1,     // no xdg-email on PATH: no mail client to hand over to
};

struct DesktopMailOptions {
    int timeoutSeconds = 120;
    // The tool's own name, looked up on PATH.
    std::string tool = "xdg-email";
};

// Hands path over. When its file name is not "Images.pdf", a link (or copy) under that name in
// a private folder of the temporary directory is attached instead; it is left there, because
// the mail client may read it after the tool has returned. errorText (optional) receives what
// the tool wrote to its error output.
DesktopMailResult SendMailDesktop(const std::string& path, const DesktopMailOptions& options = {},
                                  std::string* errorText = nullptr);

// The message the program shows for a result: "Could not find MAPI DLL" when no tool was
// found, "Error during MAPI send mail" for other failures, "" for success and user abort.
std::string DesktopMailMessage(DesktopMailResult result);

// The whole hand-off as the program runs it for "MAIL AS PDF" without SMTP: the log lines of
// each stage, the message for a failure (through showMessage; OK button, no icon) and the
// result for the caller's own log line. The caller disables its windows around the call.
DesktopMailResult RunDesktopMail(const std::string& attachmentPath,
                                 const std::function<void(const std::string&)>& showMessage,
                                 const DesktopMailOptions& options = {});
