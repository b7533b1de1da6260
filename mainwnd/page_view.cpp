#include "mainwnd/page_view.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QMenu>
#include <QMimeData>

#include "mainwnd/page_commands.h"
#include "mainwnd/page_drop.h"
#include "mainwnd/page_list.h"
#include "platform/dialogs.h"
#include "platform/log.h"
#include "platform/messages.h"
#include "platform/window_message.h"

using namespace vellumo::platform;

PageListWindows pageListWindows;

namespace {

const QColor kListGrey(227, 227, 227);

QString ItemText(const Page& page) {
    return page.isScanned ? QStringLiteral("Scanned") : QString::fromStdString(page.sourcePath);
}

void Warn(const char* text) {
    MessageBox(pageListWindows.owner, QString::fromUtf8(text), MessageIcon::Exclamation);
}

}  // namespace

CPageView::CPageView(QWidget* parent) : QListWidget(parent) {
    setObjectName(QStringLiteral("pageList"));
    setViewMode(QListView::IconMode);
    setIconSize(QSize(PageImageList::kCellSize, PageImageList::kCellSize));
    setMovement(QListView::Static);
    setResizeMode(QListView::Adjust);
    setFlow(QListView::LeftToRight);
    setWrapping(true);
    setWordWrap(true);
    setTextElideMode(Qt::ElideMiddle);
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setFrameShape(QFrame::StyledPanel);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setStyleSheet(
        QStringLiteral("QListWidget#pageList { background: rgb(227,227,227); "
                       "color: black; border: 1px solid rgb(160,160,160); }"));
    QPalette p = palette();
    p.setColor(QPalette::Base, kListGrey);
    p.setColor(QPalette::Window, kListGrey);
    p.setColor(QPalette::Text, Qt::black);
    setPalette(p);
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this, &CPageView::showContextMenu);
    connect(this, &QListWidget::itemClicked, this, [] { OpenInViewer(); });
}

void CPageView::rebuild() {
    clear();
    if (pageCounter < 2) return;
    for (const auto& page : pages) {
        auto* item = new QListWidgetItem(pageImageList.icon(page->imageIndex), ItemText(*page));
        item->setData(Qt::UserRole, QVariant::fromValue(static_cast<void*>(page.get())));
        item->setTextAlignment(Qt::AlignHCenter | Qt::AlignTop);
        addItem(item);
    }
    scrollToItem(item(count() - 1));
}

int CPageView::selectedRow() const {
    const QList<QListWidgetItem*> chosen = selectedItems();
    return chosen.isEmpty() ? -1 : row(chosen.first());
}

void CPageView::selectRow(int r) {
    QListWidgetItem* it = item(r);
    if (!it) return;
    setCurrentItem(it);
    it->setSelected(true);
    setFocus();
    scrollToItem(it);
}

QMimeData* CPageView::mimeData(const QList<QListWidgetItem*>& items) const {
    // Only the mark: the items' own data (a page pointer) means nothing outside this list.
    auto* data = new QMimeData;
    if (items.size() == 1) MarkPageDrag(*data, row(items.first()));
    return data;
}

void CPageView::BuildPageMenu(QMenu& menu) {
    auto add = [&menu](const char* text, int id, bool enabled) {
        QAction* action = menu.addAction(QString::fromUtf8(text));
        action->setData(id);
        action->setEnabled(enabled);
    };
    add("Rotate &right", cmd::RotateRight, HasMainCommand(cmd::RotateRight));
    add("Rotate &left", cmd::RotateLeft, HasMainCommand(cmd::RotateLeft));
    add("&Invert", cmd::Invert, HasMainCommand(cmd::Invert));
    add("&Mirror", cmd::Mirror, HasMainCommand(cmd::Mirror));
    menu.addSeparator();
    add("&Delete", cmd::Delete, true);
    menu.addSeparator();
    add("Move &up", cmd::MoveUp, true);
    add("Move do&wn", cmd::MoveDown, true);
}

bool CPageView::rightClickAt(const QPoint& viewportPos) {
    QListWidgetItem* hit = itemAt(viewportPos);
    WriteLog("OnClickListThumbRight\n");
    if (!hit) return false;
    ::currentItem = row(hit);
    return true;
}

void CPageView::showContextMenu(const QPoint& viewportPos) {
    if (!rightClickAt(viewportPos)) return;
    QMenu menu(window());
    BuildPageMenu(menu);
    QAction* chosen = menu.exec(viewport()->mapToGlobal(viewportPos));
    if (chosen) emit pageCommand(chosen->data().toInt());
}

void PostPageCount() {
    PostWindowMessage(pageListWindows.skinWindow, msg::UM_PAGECOUNT,
                      static_cast<WPARAM>(static_cast<int>(pageCounter)));
}

void RebuildPageView() {
    if (pageListWindows.view) pageListWindows.view->rebuild();
}

void DeletePage() {
    if (MessageBox(pageListWindows.owner, QStringLiteral("Delete this image?"),
                   MessageIcon::Question, MessageButtons::YesNo) != Answer::Yes)
        return;
    WriteLog("Start delete image\r\n");
    if (!RemovePageAt(currentItem)) return;
    PostPageCount();
    RebuildPageView();
}

void MovePageUp() {
    const int row = pageListWindows.view ? pageListWindows.view->selectedRow() : -1;
    if (row < 0) return Warn("No page selected");
    if (row == 0) return;
    if (pageCounter < 3) return Warn("No need to move page");
    MovePage(row, row - 1);
}

void MovePageDown() {
    const int row = pageListWindows.view ? pageListWindows.view->selectedRow() : -1;
    if (row < 0) return Warn("No page selected");
    if (pageCounter < 3) return Warn("No need to move page");
    if (row >= pageCounter - 2) return;
    MovePage(row, row + 1);
}

bool MovePage(int from, int to) {
    const int count = static_cast<int>(pages.size());
    if (from < 0 || to < 0 || from >= count || to >= count || from == to) return false;
    const int step = to > from ? 1 : -1;
    for (int at = from; at != to; at += step) SwapPages(at, at + step);
    RebuildPageView();
    if (pageListWindows.view) pageListWindows.view->selectRow(to);
    return true;
}

void ClearPages(const QString& question) {
    if (MessageBox(pageListWindows.owner, question, MessageIcon::Question, MessageButtons::YesNo) ==
        Answer::Yes) {
        FreeAllPages();
        WriteLog("Images and attachments deleted\r\n");
    } else {
        WriteLog("Images and attachments kept\r\n");
    }
    PostPageCount();
    RebuildPageView();
}

QString ViewerPath() {
    return QCoreApplication::applicationDirPath() + QStringLiteral("/viewer");
}

void OpenInViewer() {
    const int row = pageListWindows.view ? pageListWindows.view->selectedRow() : -1;
    if (row < 0 || row >= static_cast<int>(pages.size())) return;
    const QString path = QString::fromStdString(PagePath(*pages[static_cast<size_t>(row)]));
    const QFileInfo viewer(ViewerPath());
    if (viewer.isFile() && viewer.isExecutable())
        Dialogs()->startProgram(viewer.filePath(), {path});
    else
        Dialogs()->openFile(path);
}
