#include "mainwnd/page_drop.h"

#include <QApplication>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QScrollBar>
#include <QUrl>

#include "document/page_list_ops.h"
#include "mainwnd/commands.h"
#include "mainwnd/page_view.h"
#include "mainwnd/vellumo_dlg.h"

namespace vellumo::mainwnd {

namespace {

// Within this many pixels of the top or bottom edge a drag scrolls the list.
constexpr int kScrollMargin = 28;
constexpr int kScrollIntervalMs = 40;

QByteArray PageDragMark(int row) {
    return QByteArray::number(QCoreApplication::applicationPid()) + ' ' + QByteArray::number(row);
}

}  // namespace

void MarkPageDrag(QMimeData& data, int row) {
    data.setData(QString::fromLatin1(kPageDragFormat), PageDragMark(row));
}

int DraggedPageRow(const QMimeData& data) {
    const QString format = QString::fromLatin1(kPageDragFormat);
    if (!data.hasFormat(format)) return -1;
    const QList<QByteArray> parts = data.data(format).split(' ');
    if (parts.size() != 2) return -1;
    bool pidOk = false, rowOk = false;
    const qint64 pid = parts[0].toLongLong(&pidOk);
    const int row = parts[1].toInt(&rowOk);
    // A page of another Vellumo's list is not one of ours.
    if (!pidOk || !rowOk || pid != QCoreApplication::applicationPid() || row < 0) return -1;
    return row;
}

QStringList DroppedFiles(const QMimeData& data) {
    QStringList files;
    if (!data.hasUrls()) return files;
    for (const QUrl& url : data.urls())
        if (url.isLocalFile() && !url.toLocalFile().isEmpty()) files << url.toLocalFile();
    return files;
}

CPageDrop::CPageDrop(CPageView* view, QWidget* owner)
    : QObject(view), view_(view), viewport_(view->viewport()), owner_(owner) {
    scrollTimer_.setInterval(kScrollIntervalMs);
    connect(&scrollTimer_, &QTimer::timeout, this, [this] {
        if (!view_ || scrollStep_ == 0) return scrollTimer_.stop();
        QScrollBar* bar = view_->verticalScrollBar();
        bar->setValue(bar->value() + scrollStep_ * qMax(bar->singleStep(), 8));
    });
}

int CPageDrop::dropRow(const QPoint& viewportPos) const {
    if (!view_ || view_->count() == 0) return -1;
    if (QListWidgetItem* hit = view_->itemAt(viewportPos)) return view_->row(hit);
    int best = view_->count() - 1;
    qint64 bestDistance = -1;
    for (int r = 0; r < view_->count(); ++r) {
        const QPoint d = view_->visualItemRect(view_->item(r)).center() - viewportPos;
        const qint64 distance = qint64(d.x()) * d.x() + qint64(d.y()) * d.y();
        if (bestDistance < 0 || distance < bestDistance) {
            bestDistance = distance;
            best = r;
        }
    }
    return best;
}

bool CPageDrop::acceptDrag(QDropEvent* event) const {
    // Nothing joins or moves while a long operation or a question holds the program.
    const bool open =
        view_ && view_->isVisible() && view_->isEnabled() && !OtherModalWindowOpen(*view_);
    const QMimeData* data = event->mimeData();
    const bool takes = open && data &&
                       (DraggedPageRow(*data) >= 0 || !DroppedFiles(*data).isEmpty()) &&
                       (event->possibleActions() & Qt::CopyAction);
    if (!takes) {
        event->ignore();
        return false;
    }
    // Copy, never move: a file manager deletes the files of a drop taken as a move, and the
    // list's own drag would remove the dragged item from the view.
    event->setDropAction(Qt::CopyAction);
    event->accept();
    return true;
}

void CPageDrop::scrollNearEdge(const QPoint& viewportPos) {
    const int height = view_->viewport()->height();
    scrollStep_ = viewportPos.y() < kScrollMargin            ? -1
                  : viewportPos.y() > height - kScrollMargin ? 1
                                                             : 0;
    if (scrollStep_ != 0 && !scrollTimer_.isActive())
        scrollTimer_.start();
    else if (scrollStep_ == 0)
        scrollTimer_.stop();
}

void CPageDrop::drop(QDropEvent* event) {
    const QMimeData* data = event->mimeData();
    const int from = DraggedPageRow(*data);
    auto* dialog = qobject_cast<CVellumoDlg*>(owner_.data());
    if (!dialog) return;
    if (from >= 0) {
        document::MovePage(dialog->document(), from, dropRow(event->position().toPoint()));
        return;
    }
    // The load asks questions; the program that sent the files gets its answer first.
    const QStringList files = DroppedFiles(*data);
    QPointer<CVellumoDlg> owner = dialog;
    QTimer::singleShot(0, this, [owner, files] {
        if (owner) LoadDroppedFiles(*owner, files);
    });
}

bool CPageDrop::eventFilter(QObject* watched, QEvent* event) {
    if (!viewport_ || watched != viewport_.data()) return false;
    switch (event->type()) {
        case QEvent::DragEnter:
            acceptDrag(static_cast<QDropEvent*>(event));
            return true;
        case QEvent::DragMove: {
            auto* move = static_cast<QDragMoveEvent*>(event);
            if (acceptDrag(move)) scrollNearEdge(move->position().toPoint());
            return true;
        }
        case QEvent::DragLeave:
            scrollTimer_.stop();
            return false;
        case QEvent::Drop: {
            scrollTimer_.stop();
            auto* dropped = static_cast<QDropEvent*>(event);
            if (acceptDrag(dropped)) drop(dropped);
            return true;
        }
        default:
            return false;
    }
}

void InstallPageDrop(CPageView* view, QWidget* owner) {
    if (!view) return;
    view->setAcceptDrops(true);
    view->viewport()->setAcceptDrops(true);
    view->setDragEnabled(true);
    view->setDragDropMode(QAbstractItemView::DragDrop);
    view->setDefaultDropAction(Qt::CopyAction);
    view->viewport()->installEventFilter(new CPageDrop(view, owner));
}

}  // namespace vellumo::mainwnd
