// The page view: the list control that shows the page document as thumbnails in icon view, with
// the page menu and a click that opens a page in the viewer. The view holds no page data of its
// own: it is rebuilt from the document whenever the document says it changed.
#pragma once

#include <QListWidget>
#include <QString>
#include <QStringList>

#include "document/page_document.h"

class QMenu;
class QObject;

namespace vellumo::mainwnd {

class CPageView : public QListWidget {
    Q_OBJECT
public:
    explicit CPageView(QWidget* parent = nullptr);

    // The document the view shows; set once by ConnectPageView.
    void setDocument(document::PageDocument* document) { document_ = document; }
    // Refills the items from the page table and makes the last one visible.
    void rebuild();
    // The list index of the selected item, -1 when none.
    int selectedRow() const;
    // Selects and focuses the item and makes it visible.
    void selectRow(int row);
    // Shows the page's new thumbnail and scrolls it into sight.
    void refreshRow(int row);
    // Shows every page's thumbnail and marks (waiting for text, blank) as they are now.
    void refreshMarks();

    // The page menu, from the command table: entries in menu order, each carrying its command
    // id as data, disabled when the command cannot be chosen now. Off a page (`onPage` false)
    // only the entries that act on the whole list.
    void BuildPageMenu(QMenu& menu, bool onPage = true) const;
    // Right click at a point of the viewport: logs, and when a page lies under the point makes
    // it the current item and returns true.
    bool rightClickAt(const QPoint& viewportPos);

    // Opens the selected page: "viewer" beside the program when it is there, else the desktop's
    // image viewer. Failures are not reported.
    void OpenInViewer();

signals:
    // The user chose a page-menu command for the page at `currentItem`.
    void pageCommand(int id);

protected:
    // A drag of a thumbnail carries the mark of a page of this list (mainwnd/page_drop.h), and
    // nothing else.
    QMimeData* mimeData(const QList<QListWidgetItem*>& items) const override;

private:
    void showContextMenu(const QPoint& viewportPos);

    document::PageDocument* document_ = nullptr;
};

// Makes the view and the skin window the document's views: the view is rebuilt from the table
// and follows its selection, the skin window is told the page count (UM_PAGECOUNT).
void ConnectPageView(document::PageDocument& document, CPageView* view, QObject* skinWindow);

// The separate viewer program: beside this program, else the installed helper; "" when there is
// none.
QString ViewerPath();
// The viewer's command line for the page at `row` of the document: "--show row+1", then
// "--page K FILE" for every page of the list in order.
QStringList ViewerArguments(const document::PageDocument& document, int row);

}  // namespace vellumo::mainwnd
