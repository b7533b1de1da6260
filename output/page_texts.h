// The recognised text that goes into a PDF from the window: the pages still waiting for theirs
// are recognised now, with "Recognising text, page j of n" in the activity dialog and its
// Cancel, and missing language data is told once.
#pragma once

#include <memory>
#include <vector>

#include "document/command_context.h"
#include "ocr/page_text.h"

class QWidget;

namespace vellumo::output {

// Fills texts by page position (empty when recognition is off). False when the user pressed
// Cancel while waiting: nothing is to be written.
bool CollectPageTexts(const document::CommandContext& context, QWidget* owner,
                      std::vector<std::shared_ptr<const ocr::PageText>>& texts);

}  // namespace vellumo::output
