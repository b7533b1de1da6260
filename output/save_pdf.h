// "SAVE AS PDF" of the main window: asks for a file name, writes every page of the list, in
// order, into that one PDF while the activity dialog shows, reports the outcome and offers to
// clear the list. The PDF itself comes from the GUI-free builder (pdf/pdf_builder.h); this
// module adds the dialogs, the remembered save folder and the busy window around it.
#pragma once

#include "document/command_context.h"

namespace vellumo::output {

// Runs the command with the main dialog as the owner of every question. Returns 0 when the PDF
// was written, 1 when nothing was done (no pages, cancelled), else a negative value (the user
// has been told or the log says why).
int OnSavePdf(const document::CommandContext& context);

}  // namespace vellumo::output
