#include "widgets/activity_dialog.h"
#include "platform/cancel.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QWindow>

#include "platform/message_text.h"
#include "widgets/dialog_units.h"

namespace vellumo::widgets {

using namespace vellumo::platform;

QPointer<CActivityDialog> activityDialog;
// The flag its Cancel raises is platform::cancelRequested.

namespace {

template <class W>
W* Place(W* widget, int id, const QRect& dialogUnits) {
    widget->setObjectName(QString::number(id));
    widget->setGeometry(DialogUnitsToPixels(dialogUnits));
    return widget;
}

}  // namespace

CActivityDialog::CActivityDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setWindowTitle(QStringLiteral("Vellumo"));
    setFont(TemplateFont());
    setFixedSize(DialogUnitsToPixels(QSize(245, 82)));
    // A status window: showing it must not pull the focus away from where the user works.
    setAttribute(Qt::WA_ShowWithoutActivating);

    status_ = Place(new QLabel(this), IDC_STATUS, QRect(0, 21, 244, 9));
    status_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    setStatusText(QStringLiteral("Looking for scanner..."));
    line_ = Place(new QLabel(this), IDC_LINE, QRect(4, 5, 240, 8));
    line_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    progress_ = Place(new QProgressBar(this), IDC_PROGRESS, QRect(5, 43, 234, 7));
    progress_->setRange(0, 100);
    progress_->setTextVisible(false);
    progress_->setAlignment(Qt::AlignCenter);
    progress_->hide();
    cancel_ = Place(new QPushButton(tr("Cancel"), this), IDCANCEL, QRect(97, 62, 50, 14));
    cancel_->setDefault(true);
    cancel_->setAutoDefault(true);
    connect(cancel_, &QPushButton::clicked, this, &CActivityDialog::OnCancel);
}

void CActivityDialog::placeOver(const QWidget* window) {
    if (!window) return;
    // The main dialog is a layer inside the skin window: the place on the screen is the
    // top-level window's.
    const QWidget* topLevel = window->window();
    const QRect over = topLevel->frameGeometry();
    // Before it is first shown the dialog has no frame yet: it will get one as wide as the
    // window's, which the centring must count.
    int width = frameGeometry().width();
    if (width == this->width()) width += over.width() - topLevel->width();
    move(over.left() + (over.width() - width) / 2, over.top() + 10);
}

void CActivityDialog::showActivity() {
    if (isVisible()) return;
    placeOver(mainWindow_);
    if (mainWindow_ && mainWindow_->window()->windowHandle()) {
        winId();
        windowHandle()->setTransientParent(mainWindow_->window()->windowHandle());
    }
    show();
}

void CActivityDialog::hideActivity() {
    hide();
}

void CActivityDialog::setStatusText(const QString& text) {
    english_ = text;
    const QString shown = TranslatedMessage(text);
    status_->setText(shown);
    // Screen readers announce it: the status line is also the dialog's description.
    setAccessibleDescription(shown);
}

QString CActivityDialog::statusText() const {
    return english_;
}

void CActivityDialog::setCancelVisible(bool visible) {
    cancel_->setVisible(visible);
}

void CActivityDialog::setProgressVisible(bool visible) {
    progress_->setVisible(visible);
}

void CActivityDialog::setProgressPercent(int percent) {
    // A page count shown before leaves its range and text behind; a transfer starts afresh.
    if (progress_->maximum() != 100 || progress_->isTextVisible()) resetProgress();
    progress_->setValue(qBound(0, percent, 100));
}

void CActivityDialog::setProgressPage(int page, int pageCount) {
    if (pageCount < 1) return resetProgress();
    progress_->setFormat(tr("Page %1 of %2").arg(page).arg(pageCount));
    progress_->setTextVisible(true);
    progress_->setRange(0, pageCount);
    progress_->setValue(qBound(0, page, pageCount));
}

void CActivityDialog::resetProgress() {
    progress_->setTextVisible(false);
    progress_->setFormat(QStringLiteral("%p%"));
    progress_->setRange(0, 100);
    progress_->reset();
}

QWidget* CActivityDialog::control(int id) const {
    return findChild<QWidget*>(QString::number(id), Qt::FindDirectChildrenOnly);
}

void CActivityDialog::OnCancel() {
    cancelRequested = 1;
    hide();
    if (mainWindow_) mainWindow_->setEnabled(true);
    emit cancelPressed();
}

void CActivityDialog::reject() {
    // Escape: the same as the Cancel button; the dialog stays for the next operation.
    OnCancel();
}

void CActivityDialog::closeEvent(QCloseEvent* event) {
    event->ignore();
    OnCancel();
}

CActivityDialog* CreateActivityDialog(QWidget* mainWindow) {
    if (!activityDialog) {
        // Not a child of the main window: operations disable that window while the dialog
        // must stay usable, so it only stays in front of it and goes when it goes.
        activityDialog = new CActivityDialog(nullptr);
        activityDialog->setMainWindow(mainWindow);
        if (mainWindow) {
            QObject::connect(mainWindow, &QObject::destroyed, activityDialog.data(),
                             [] { delete activityDialog.data(); });
        }
        activityDialog->hide();
        activityDialog->placeOver(mainWindow);
    }
    return activityDialog;
}

namespace {

// Counts every event the application delivers, to tell a round that did work from an empty
// queue: the event dispatchers do not all report posted events as work done.
class DeliveryCounter : public QObject {
public:
    int count = 0;

protected:
    bool eventFilter(QObject*, QEvent*) override {
        ++count;
        return false;
    }
};

}  // namespace

void PumpActivityMessages() {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || !activityDialog) return;
    DeliveryCounter counter;
    app->installEventFilter(&counter);
    // Each round delivers what is waiting, posted events first, in the order they were posted;
    // events posted meanwhile wait for the next round. A round that delivered nothing found the
    // queue empty. A timer that fires on every round would keep the queue busy for ever, so
    // the rounds are bounded.
    for (int round = 0; round < 10000 && activityDialog; ++round) {
        counter.count = 0;
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        if (counter.count == 0) break;
    }
    app->removeEventFilter(&counter);
}

}  // namespace vellumo::widgets
