// The page view: the list control that shows the page table as thumbnails in icon view, and
// the operations on the list that ask the user, show the result and tell the skin window the
// new page count. The view holds no page data of its own: it is rebuilt from the table.
#pragma once

#include <QListWidget>
#include <QString>

class QMenu;
class QObject;

class CPageView : public QListWidget {
    Q_OBJECT
public:
    static constexpr int kId = 2920;
    explicit CPageView(QWidget* parent = nullptr);

    // Refills the items from the page table and makes the last one visible.
    void rebuild();
    // The list index of the selected item, -1 when none.
    int selectedRow() const;
    // Selects and focuses the item and makes it visible.
    void selectRow(int row);

    // The page context menu (entries in menu order, each carrying its command id as data).
    static void BuildPageMenu(QMenu& menu);
    // Right click at a point of the viewport: logs, and when a page lies under the point makes
    // it the current item and returns true.
    bool rightClickAt(const QPoint& viewportPos);

signals:
    // The user chose a context-menu command for the page at `currentItem`.
    void pageCommand(int id);

protected:
    // A drag of a thumbnail carries the mark of a page of this list (mainwnd/page_drop.h), and
    // nothing else.
    QMimeData* mimeData(const QList<QListWidgetItem*>& items) const override;

private:
    void showContextMenu(const QPoint& viewportPos);
};

// The windows the page operations work with; the main dialog sets them up.
struct PageListWindows {
    CPageView* view = nullptr;      // may be null: the operations then only change the table
    QWidget* owner = nullptr;       // parent of the questions
    QObject* skinWindow = nullptr;  // receives UM_PAGECOUNT
};
extern PageListWindows pageListWindows;

// Posts UM_PAGECOUNT with the page counter to the skin window.
void PostPageCount();
void RebuildPageView();
// "&Delete" of the context menu: asks, deletes the page at `currentItem` and its files.
void DeletePage();
void MovePageUp();
void MovePageDown();
// Moves the page at `from` to the place `to` by neighbour swaps, the way repeated "Move up" or
// "Move down" would, then rebuilds the view and selects the page at its new place. False
// (nothing changed) when either place is outside the list or both are the same.
bool MovePage(int from, int to);
// Asks the question; Yes frees every page (deleting working copies). Either way the count is
// posted and the view rebuilt.
void ClearPages(const QString& question);
// Opens the selected page: "viewer" beside the program when it is there, else the desktop's
// image viewer. Failures are not reported.
void OpenInViewer();
// The path of the separate viewer program beside this program.
QString ViewerPath();
// The viewer's command line for the page at `row`: "--show row+1", then "--page K FILE" for
// every page of the list in order.
QStringList ViewerArguments(int row);
