#include "editing/page_cleanup_commands.h"

#include <utility>
#include <vector>

#include "document/page_processing.h"
#include "platform/log.h"

namespace vellumo::editing {

using namespace vellumo::platform;

namespace {

bool CleanCurrentPage(const document::CommandContext& context,
                      const cleanup::CleanupOptions& options) {
    if (!context.processing) return false;
    return context.processing->CleanPage(context.document->currentItem, options);
}

}  // namespace

bool StraightenPage(const document::CommandContext& context) {
    WriteLog("Start straighten\n");
    cleanup::CleanupOptions options;
    options.straighten = true;
    return CleanCurrentPage(context, options);
}

bool TurnPageUpright(const document::CommandContext& context) {
    WriteLog("Start turn upright\n");
    cleanup::CleanupOptions options;
    options.upright = true;
    return CleanCurrentPage(context, options);
}

bool HasBlankPages(const document::PageDocument& document) {
    for (const auto& page : document.pages)
        if (page->blank) return true;
    return false;
}

int DeleteBlankPages(const document::CommandContext& context) {
    document::PageDocument& document = *context.document;
    int removed = 0;
    // One step: an undo brings them all back.
    document.BeginChange(document::PageAction::Delete);
    for (int row = static_cast<int>(document.pages.size()) - 1; row >= 0; --row) {
        if (!document.pages[static_cast<size_t>(row)]->blank) continue;
        WriteLogF("Deleting blank page %d\n", row + 1);
        if (document.RemovePageAt(row)) ++removed;
    }
    document.CommitChange();
    if (removed == 0) return 0;
    document.currentItem = 0;
    document.PostPageCount();
    document.RebuildPageView();
    return removed;
}

bool ReorderPages(const document::CommandContext& context, cleanup::PageOrder order) {
    document::PageDocument& document = *context.document;
    const int count = static_cast<int>(document.pages.size());
    if (count < 2) return false;
    WriteLogF("%s of %d pages\n", cleanup::PageOrderText(order), count);
    // The new order is reached by swaps, all one step the user can undo.
    const std::vector<int> positions = cleanup::ReorderedPositions(order, count);
    std::vector<int> at(static_cast<size_t>(count)), row(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) at[static_cast<size_t>(i)] = row[static_cast<size_t>(i)] = i;
    document.BeginChange(document::PageAction::Move);
    for (int i = 0; i < count; ++i) {
        const int from = row[static_cast<size_t>(positions[static_cast<size_t>(i)])];
        if (from == i) continue;
        document.SwapPages(i, from);
        const int moved = at[static_cast<size_t>(i)];
        std::swap(at[static_cast<size_t>(i)], at[static_cast<size_t>(from)]);
        row[static_cast<size_t>(moved)] = from;
        row[static_cast<size_t>(positions[static_cast<size_t>(i)])] = i;
    }
    document.CommitChange();
    document.currentItem = 0;
    document.RebuildPageView();
    return true;
}

}  // namespace vellumo::editing
