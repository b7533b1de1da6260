#include "document/page_list_ops.h"

#include <algorithm>

#include "platform/dialogs.h"
#include "platform/log.h"

namespace vellumo::document {

using namespace vellumo::platform;

namespace {

void Warn(QWidget* owner, const char* text) {
    MessageBox(owner, QString::fromUtf8(text), MessageIcon::Exclamation);
}

}  // namespace

void DeletePage(PageDocument& document, QWidget* owner) {
    if (MessageBox(owner, QStringLiteral("Delete this image?"), MessageIcon::Question,
                   MessageButtons::YesNo) != Answer::Yes)
        return;
    WriteLog("Start delete image\r\n");
    const int deleted = document.currentItem;
    const int selected = document.selectedRow();
    if (!document.RemovePageAt(deleted)) return;
    document.PostPageCount();
    document.RebuildPageView();
    // The selection stays on its page; when that page went, the next one (or the new last one)
    // takes it, so that the user can go on deleting or looking from where they were.
    const int count = static_cast<int>(document.pages.size());
    if (count == 0) return;
    int keep = selected < 0 || selected == deleted ? deleted : selected;
    if (selected > deleted) --keep;
    document.selectRow(std::min(keep, count - 1));
}

void MovePageUp(PageDocument& document, QWidget* owner) {
    const int row = document.selectedRow();
    if (row < 0) return Warn(owner, "No page selected");
    if (row == 0) return;
    if (document.pageCounter() < 3) return Warn(owner, "No need to move page");
    MovePage(document, row, row - 1);
}

void MovePageDown(PageDocument& document, QWidget* owner) {
    const int row = document.selectedRow();
    if (row < 0) return Warn(owner, "No page selected");
    if (document.pageCounter() < 3) return Warn(owner, "No need to move page");
    if (row >= document.pageCounter() - 2) return;
    MovePage(document, row, row + 1);
}

bool MovePage(PageDocument& document, int from, int to) {
    const int count = static_cast<int>(document.pages.size());
    if (from < 0 || to < 0 || from >= count || to >= count || from == to) return false;
    const int step = to > from ? 1 : -1;
    document.BeginChange(PageAction::Move);
    for (int at = from; at != to; at += step) document.SwapPages(at, at + step);
    const bool moved = document.CommitChange();
    document.RebuildPageView();
    document.selectRow(moved ? to : from);
    return moved;
}

void ClearPages(PageDocument& document, QWidget* owner, const QString& question) {
    if (MessageBox(owner, question, MessageIcon::Question, MessageButtons::YesNo) == Answer::Yes) {
        document.FreeAllPages();
        WriteLog("Images and attachments deleted\r\n");
    } else {
        WriteLog("Images and attachments kept\r\n");
    }
    document.PostPageCount();
    document.RebuildPageView();
}

namespace {

// The first place where two lists differ; -1 when they are the same.
int FirstDifference(const PageTable& a, const PageTable& b) {
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i)
        if (a[i] != b[i]) return static_cast<int>(i);
    return a.size() == b.size() ? -1 : static_cast<int>(n);
}

void ShowChange(PageDocument& document, const PageTable& before) {
    document.PostPageCount();
    document.RebuildPageView();
    const int row = FirstDifference(before, document.pages);
    const int last = static_cast<int>(document.pages.size()) - 1;
    if (row >= 0 && last >= 0) document.selectRow(std::min(row, last));
}

}  // namespace

void UndoPageChange(PageDocument& document) {
    if (!document.CanUndo()) return;
    const PageTable before = document.pages;
    WriteLog("Undo " + document.UndoName() + "\n");
    if (document.Undo()) ShowChange(document, before);
}

void RedoPageChange(PageDocument& document) {
    if (!document.CanRedo()) return;
    const PageTable before = document.pages;
    WriteLog("Redo " + document.RedoName() + "\n");
    if (document.Redo()) ShowChange(document, before);
}

}  // namespace vellumo::document
