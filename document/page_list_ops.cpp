#include "document/page_list_ops.h"

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
    if (!document.RemovePageAt(document.currentItem)) return;
    document.PostPageCount();
    document.RebuildPageView();
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
    for (int at = from; at != to; at += step) document.SwapPages(at, at + step);
    document.RebuildPageView();
    document.selectRow(to);
    return true;
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

}  // namespace vellumo::document
