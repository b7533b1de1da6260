// The page menu's clean-up commands: "Straighten" and "Turn upright" for the page at
// `currentItem` (run in the background like the clean-up of scanned pages), "Delete blank pages",
// and the orders of a stack scanned fronts first, then backs, on a one-sided feeder.
#pragma once

#include "cleanup/page_order.h"
#include "document/command_context.h"

namespace vellumo::editing {

// Straightens or turns upright the page at `currentItem` in the background. False when there is
// no such page or no background work to run it.
bool StraightenPage(const document::CommandContext& context);
bool TurnPageUpright(const document::CommandContext& context);

// Whether any page of the list is marked blank.
bool HasBlankPages(const document::PageDocument& document);
// Removes every page marked blank (a scanned page's files with it, a loaded page's own file
// never). Returns how many went.
int DeleteBlankPages(const document::CommandContext& context);

// Puts the whole list into the order; the view is rebuilt. False when the list has fewer than
// two pages.
bool ReorderPages(const document::CommandContext& context, cleanup::PageOrder order);

}  // namespace vellumo::editing
