// "MAIL AS PDF": one PDF of all pages, built into "Images.pdf" in a private folder of its own in
// the temporary folder and handed to the mail delivery: the SMTP send with the send-mail dialog
// when "ViaSMTP" is on, else the desktop's mail client. The PDF is deleted afterwards, except
// one the mail client took: that stays for a day, as the client reads it only when the user
// sends. Then the user may clear the page list.
#pragma once

#include "document/command_context.h"

class QWidget;

namespace vellumo::output {

// The command itself ("MAIL AS PDF").
void OnMailAsPdf(const document::CommandContext& context);

// Hands mailAttachmentPath to the desktop's mail client, which opens its compose window with
// the file attached. 0 when the client took the mail; nonzero otherwise, after telling the
// user why ("Could not find MAPI DLL" when there is no mail client). Questions are owned by
// `owner` (the main dialog).
int SendMailMapi(QWidget* owner);

}  // namespace vellumo::output
