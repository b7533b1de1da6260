#include "mainwnd/page_view.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QMenu>
#include <QMimeData>
#include <QPointer>
#include <QScrollBar>
#include <algorithm>

#include "mainwnd/commands.h"
#include "mainwnd/page_drop.h"
#include "mainwnd/page_marks.h"
#include "mainwnd/vellumo_dlg.h"
#include "platform/dialogs.h"
#include "platform/install_dirs.h"
#include "platform/log.h"
#include "platform/messages.h"
#include "platform/window_message.h"

namespace vellumo::mainwnd {

using namespace vellumo::document;

using namespace vellumo::platform;

namespace {

const QColor kListGrey(227, 227, 227);

// The item's mark of its page version (only compared, never written through).
QVariant PageData(const document::Page& page) {
    return QVariant::fromValue(const_cast<void*>(static_cast<const void*>(&page)));
}

// The page's name: "Scanned" or its file, and for the later pages of a multi-page file which
// page of it it is.
QString PageName(const document::Page& page) {
    if (page.isScanned) return QCoreApplication::translate("CPageView", "Scanned");
    QString name = QString::fromStdString(page.sourcePath);
    if (page.pageIndex > 0)
        name += QCoreApplication::translate("CPageView", " (page %1)").arg(page.pageIndex + 1);
    return name;
}

// What the list shows under the thumbnail: the page's number, then its name.
QString ItemText(int row, const document::Page& page) {
    return QStringLiteral("%1 - %2").arg(row + 1).arg(PageName(page));
}

// What assistive technology reads for the page: its place in the list and its name.
QString AccessibleItemText(int number, const document::Page& page) {
    return QCoreApplication::translate("CPageView", "Page %1: %2").arg(number).arg(PageName(page));
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
    connect(this, &QListWidget::itemClicked, this, [this] { OpenInViewer(); });
    setItemDelegate(new CPageMarkDelegate(this));
}

void CPageView::rebuild() {
    // New pages are shown at the end; any other change (a delete, a move, a transform) leaves
    // the list where the user was, with the same place selected.
    const int before = count();
    const int selected = selectedRow();
    const int scrolled = verticalScrollBar()->value();
    clear();
    if (!document_ || document_->pageCounter() < 2) return;
    int row = 0;
    for (const auto& page : document_->pages) {
        auto* item = new QListWidgetItem(document_->pageImageList.icon(page->imageIndex),
                                         ItemText(row++, *page));
        item->setData(Qt::UserRole, PageData(*page));
        item->setTextAlignment(Qt::AlignHCenter | Qt::AlignTop);
        item->setData(Qt::AccessibleTextRole, AccessibleItemText(count() + 1, *page));
        SetPageMarks(*item, *page);
        addItem(item);
    }
    if (count() > before) {
        scrollToItem(item(count() - 1));
        return;
    }
    doItemsLayout();
    verticalScrollBar()->setValue(scrolled);
    if (selected >= 0) {
        QListWidgetItem* keep = item(qMin(selected, count() - 1));
        setCurrentItem(keep);
        keep->setSelected(true);
    }
}

void CPageView::refreshMarks() {
    if (!document_) return;
    const int n = std::min(count(), static_cast<int>(document_->pages.size()));
    for (int r = 0; r < n; ++r) {
        const document::Page& page = *document_->pages[static_cast<size_t>(r)];
        QListWidgetItem* it = item(r);
        it->setIcon(document_->pageImageList.icon(page.imageIndex));
        SetPageMarks(*it, page);
    }
    viewport()->update();
}

int CPageView::selectedRow() const {
    const QList<QListWidgetItem*> chosen = selectedItems();
    return chosen.isEmpty() ? -1 : row(chosen.first());
}

void CPageView::refreshRow(int r) {
    QListWidgetItem* it = item(r);
    if (!it || !document_ || r >= static_cast<int>(document_->pages.size())) return;
    const document::Page& page = *document_->pages[static_cast<size_t>(r)];
    it->setIcon(document_->pageImageList.icon(page.imageIndex));
    it->setData(Qt::UserRole, PageData(page));
    SetPageMarks(*it, page);
    viewport()->update();
    scrollToItem(it, QAbstractItemView::EnsureVisible);
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

void CPageView::BuildPageMenu(QMenu& menu, bool onPage) const {
    const auto* dialog = qobject_cast<const CVellumoDlg*>(parentWidget());
    int group = 0;
    for (const Command& command : Commands()) {
        if (command.menuGroup == 0 || (!onPage && command.actsOnPage)) continue;
        if (group != 0 && command.menuGroup != group) menu.addSeparator();
        group = command.menuGroup;
        QAction* action =
            menu.addAction(dialog ? CommandText(command, *dialog)
                                  : QCoreApplication::translate("Command", command.text));
        action->setData(command.id);
        action->setEnabled(!command.enabled || !dialog || command.enabled(*dialog));
    }
}

bool CPageView::rightClickAt(const QPoint& viewportPos) {
    QListWidgetItem* hit = itemAt(viewportPos);
    WriteLog("OnClickListThumbRight\n");
    if (!hit) return false;
    if (document_) document_->currentItem = row(hit);
    return true;
}

void CPageView::showContextMenu(const QPoint& viewportPos) {
    // Off the pages the menu holds what acts on the whole list: "Undo" and "Redo", so that a
    // cleared list can be brought back.
    const bool onPage = rightClickAt(viewportPos);
    QMenu menu(window());
    BuildPageMenu(menu, onPage);
    const QList<QAction*> entries = menu.actions();
    if (std::none_of(entries.begin(), entries.end(), [](QAction* a) { return a->isEnabled(); }))
        return;
    QAction* chosen = menu.exec(viewport()->mapToGlobal(viewportPos));
    if (chosen) emit pageCommand(chosen->data().toInt());
}

void ConnectPageView(document::PageDocument& document, CPageView* view, QObject* skinWindow) {
    QPointer<QObject> skin(skinWindow);
    QPointer<CPageView> list(view);
    document::PageDocument* model = &document;
    if (view) {
        view->setDocument(model);
        document.thumbnailScale = view->devicePixelRatioF();
    }
    document.views.postPageCount = [skin, model] {
        PostWindowMessage(skin.data(), msg::UM_PAGECOUNT,
                          static_cast<WPARAM>(model->pageCounter()));
    };
    document.views.rebuild = [list] {
        if (list) list->rebuild();
    };
    document.views.selectedRow = [list] { return list ? list->selectedRow() : -1; };
    document.views.selectRow = [list](int row) {
        if (list) list->selectRow(row);
    };
    document.views.refreshPage = [list](int row) {
        if (list) list->refreshRow(row);
    };
    document.views.warn = [list](const QString& text) {
        MessageBox(list ? list->window() : nullptr, text, MessageIcon::Exclamation,
                   MessageButtons::Ok);
    };
    document.views.refreshMarks = [list] {
        if (list) list->refreshMarks();
    };
}

QString ViewerPath() {
    return QString::fromStdString(
        FindHelperProgram(QCoreApplication::applicationDirPath().toStdString(), "viewer"));
}

QStringList ViewerArguments(const document::PageDocument& document, int row) {
    // Every page of the list in order, each as the page of its file it is, so that Page Up and
    // Page Down in the viewer walk through the list.
    QStringList arguments{QStringLiteral("--show"), QString::number(row + 1)};
    for (const auto& page : document.pages) {
        QString path = QString::fromStdString(PagePath(*page));
        if (path.startsWith(QLatin1Char('-'))) path.prepend(QStringLiteral("./"));
        arguments << QStringLiteral("--page") << QString::number(PageRefOf(*page).index + 1)
                  << path;
    }
    return arguments;
}

void CPageView::OpenInViewer() {
    const int row = selectedRow();
    if (!document_ || row < 0 || row >= static_cast<int>(document_->pages.size())) return;
    const QString path =
        QString::fromStdString(PagePath(*document_->pages[static_cast<size_t>(row)]));
    const QString viewer = ViewerPath();
    if (!viewer.isEmpty())
        Dialogs()->startProgram(viewer, ViewerArguments(*document_, row));
    else
        Dialogs()->openFile(path);
}

}  // namespace vellumo::mainwnd
