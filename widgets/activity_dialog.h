// The status window of long operations (scanning, saving scanned pages, building and mailing a
// PDF, SMTP transfers): one line of status text, a Cancel button and a progress bar for
// transfers. An operation clears cancelRequested, shows the dialog, disables the main window
// and then, at safe points, calls PumpActivityMessages and tests cancelRequested; at the end
// it hides the dialog and enables the main window again.
#pragma once

#include <QDialog>
#include <QPointer>

class QLabel;
class QProgressBar;
class QPushButton;

namespace vellumo::widgets {

class CActivityDialog : public QDialog {
    Q_OBJECT
public:
    // Control identifiers of the dialog.
    enum : int { IDCANCEL = 2, IDC_STATUS = 1021, IDC_LINE = 2701, IDC_PROGRESS = 2990 };

    explicit CActivityDialog(QWidget* parent = nullptr);

    // The window that Cancel enables again: the program's main window.
    void setMainWindow(QWidget* window) { mainWindow_ = window; }
    QWidget* mainWindow() const { return mainWindow_; }
    // Moves the dialog so that its top edge lies 10 pixels below the top edge of the window
    // holding `window`, centred over it, keeping its own size.
    void placeOver(const QWidget* window);

    // Shows the dialog over the main window (placed afresh, the window may have been moved)
    // without taking the focus; a second call only keeps it shown.
    void showActivity();
    void hideActivity();
    // The status line, given in English and shown in the user's language.
    void setStatusText(const QString& text);
    QString statusText() const;
    void setCancelVisible(bool visible);
    void setProgressVisible(bool visible);
    // Percent done of a transfer: a bar from 0 to 100 without text.
    void setProgressPercent(int percent);
    // Page `page` of `pageCount` of a long page-by-page job: the bar counts pages and reads
    // "Page 2 of 5".
    void setProgressPage(int page, int pageCount);
    // Back to an empty percent bar (hidden or not, as it was).
    void resetProgress();

    // The control with the given identifier, or nullptr.
    QWidget* control(int id) const;

public slots:
    // Cancel button or Escape: raise the cancel flag, hide, enable the main window. The
    // operation itself stops when it next tests the flag.
    void OnCancel();

signals:
    // Cancel or Escape was pressed (after the flag is raised and the main window enabled).
    void cancelPressed();

protected:
    void reject() override;
    void closeEvent(QCloseEvent* event) override;

private:
    QLabel* status_;
    QLabel* line_;
    QPushButton* cancel_;
    QProgressBar* progress_;
    QString english_;  // the status as the operation gave it
    QPointer<QWidget> mainWindow_;
};

// The one activity dialog, living as long as the main dialog; null until it is made.
extern QPointer<CActivityDialog> activityDialog;
// The cancel flag the dialog raises is platform::cancelRequested (platform/cancel.h).

// Makes the hidden activity dialog for the main window (once; later calls return the same
// one): shown in front of that window, destroyed with it, Cancel enables it again, placed 10
// pixels below its top edge and centred over it. It is not a child widget of the window, so
// disabling the window leaves the dialog usable.
CActivityDialog* CreateActivityDialog(QWidget* mainWindow);

// Delivers every event waiting for the GUI thread (painting, timers, posted messages, the
// activity dialog's own keys and clicks) and returns when none is left. Stops at once when
// the activity dialog no longer exists.
void PumpActivityMessages();

}  // namespace vellumo::widgets
