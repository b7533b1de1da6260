// Drag and drop on the page list. Image files dropped on it are loaded the way "LOAD PAGE"
// loads the files the user picks, in the dropped order; a thumbnail dragged within the list
// moves its page to the place it is dropped on, the way repeated "Move up" or "Move down"
// would. Anything else dropped there (text, addresses of other machines) is refused.
#pragma once

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>
class QDropEvent;
class QMimeData;
class QWidget;

namespace vellumo::mainwnd {

class CPageView;

// The format that marks a drag as a page of this program's list: the process and the row.
inline constexpr char kPageDragFormat[] = "application/x-vellumo-page-row";

// Adds the mark of a drag of the page at `row` to data made by the list's model.
void MarkPageDrag(QMimeData& data, int row);
// The row of the page a drag of this process's list carries, or -1 when it is none.
int DraggedPageRow(const QMimeData& data);
// The local files and folders a drop carries, in the order they were dropped.
QStringList DroppedFiles(const QMimeData& data);

// Watches the list's viewport for drags and drops; made by InstallPageDrop.
class CPageDrop : public QObject {
    Q_OBJECT
public:
    CPageDrop(CPageView* view, QWidget* owner);

    // The list index a drop at the viewport point lands on: the page under it, else the
    // nearest one; -1 when the list is empty.
    int dropRow(const QPoint& viewportPos) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Accepts the drag when it is one the list takes; false when it is refused.
    bool acceptDrag(QDropEvent* event) const;
    void drop(QDropEvent* event);
    void scrollNearEdge(const QPoint& viewportPos);

    QPointer<CPageView> view_;
    // The list's viewport, whose events are filtered: compared without touching the list, which
    // may be half destroyed when the viewport's last events arrive.
    QPointer<QWidget> viewport_;
    QPointer<QWidget> owner_;
    QTimer scrollTimer_;
    int scrollStep_ = 0;
};

// Lets the view take drops and start drags of its thumbnails; the questions of a load are
// owned by `owner` (the main dialog).
void InstallPageDrop(CPageView* view, QWidget* owner);

}  // namespace vellumo::mainwnd
