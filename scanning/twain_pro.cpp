#include "scanning/twain_pro.h"

#include <QApplication>
#include <QCoreApplication>
#include <QCursor>
#include <QThread>
#include <cstdio>

#include "editing/preview_dlg.h"
#include "platform/cancel.h"
#include "platform/dialogs.h"
#include "platform/log.h"
#include "platform/messages.h"
#include "platform/settings_store.h"
#include "platform/window_message.h"
#include "scan/page_transfer.h"
#include "scan/scan_session.h"
#include "scan/source_selection.h"
#include "widgets/activity_dialog.h"

namespace vellumo::scanning {

using namespace vellumo::imaging;
using namespace vellumo::scan;
using namespace vellumo::widgets;
using editing::CPreviewDlg;
using platform::cancelRequested;
using platform::loggingOn;
using platform::PostWindowMessage;
using platform::SettingsStore;
using platform::WriteLog;
namespace msg = platform::msg;
namespace setting = platform::setting;

CTwainPRO* twainPro = nullptr;

// ---- the event sink ----------------------------------------------------------------------------

void CTwainPROEventHandler::Invoke(int dispatchId, int argument) {
    const int low = argument & 0xFFFF;
    if (dispatchId == 1)
        OnEvent1(low);
    else if (dispatchId == 2)
        OnImageTransferred(low);
}

CTwainPRO::CTwainPRO(const document::CommandContext& context) : owner(context) {
    component_.SetDispatcher([this](std::function<void()> work) { Post(std::move(work)); });
    cancelWatch_.setInterval(100);
    connect(&cancelWatch_, &QTimer::timeout, this, [this] { StopIfCancelled(); });
}

void CTwainPRO::StopIfCancelled() {
    if (cancelRequested && component_.Acquiring()) {
        WriteLog("Cancelling the scan\n");
        component_.CancelAcquire();
    }
}

CTwainPRO::~CTwainPRO() {
    if (discovery_.joinable()) discovery_.join();
    cancelWatch_.stop();
    // Ends any acquisition; its events still queued are dropped by the component.
    component_.CloseSession();
}

void CTwainPRO::OnEvent1(int argument) {
    if (event1Callback) event1Callback(this, id, argument);
}

void CTwainPRO::OnImageTransferred(int argument) {
    if (event2Callback) event2Callback(this, id, argument);
}

void CTwainPRO::Post(std::function<void()> work) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        queue_.push_back(std::move(work));
    }
    QMetaObject::invokeMethod(
        this, [this] { Drain(); }, Qt::QueuedConnection);
}

void CTwainPRO::Drain() {
    // An image event may run a modal preview, whose loop delivers the next posted event: that
    // one waits here until the current one has ended.
    if (draining_) return;
    draining_ = true;
    for (;;) {
        std::function<void()> work;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (queue_.empty()) break;
            work = std::move(queue_.front());
            queue_.pop_front();
        }
        work();
    }
    draining_ = false;
}

void CTwainPRO::StartDiscovery(std::function<void()> whenFound) {
    discovery_ = std::thread([this, whenFound = std::move(whenFound)] {
        try {
            component_.OpenSourceManager();
        } catch (const ScannerError&) {
            // The start-up selection asks again on the GUI thread and reports the failure.
        }
        QMetaObject::invokeMethod(this, whenFound, Qt::QueuedConnection);
    });
}

void CTwainPRO::WaitUntilReady() {
    if (ready_) return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    while (!ready_) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        if (!ready_) QThread::msleep(10);
    }
    QApplication::restoreOverrideCursor();
}

void CTwainPRO::MarkReady(bool succeeded) {
    if (discovery_.joinable()) discovery_.join();
    ready_ = true;
    startupOk_ = succeeded;
    emit becameReady();
}

void CTwainPRO::WatchCancel(bool on) {
    if (on)
        cancelWatch_.start();
    else
        cancelWatch_.stop();
}

// ---- the windows a scan uses -------------------------------------------------------------------

namespace {

// A message box with the caption "Vellumo" and an OK button, with or without the exclamation
// icon.
void ShowScanMessage(QWidget* parent, const std::string& text, bool exclamation) {
    platform::MessageBox(
        parent, QString::fromStdString(text),
        exclamation ? platform::MessageIcon::Exclamation : platform::MessageIcon::None,
        platform::MessageButtons::Ok);
}

class MainScanUi : public ScanUi {
public:
    explicit MainScanUi(QWidget* mainWindow) : main_(mainWindow) {}
    ~MainScanUi() override {
        if (waitCursor_) QApplication::restoreOverrideCursor();
    }
    void MessageBox(const std::string& text, MessageIcon icon) override {
        ShowScanMessage(main_, text, icon == MessageIcon::Exclamation);
    }
    void Beep() override { QApplication::beep(); }
    void ShowWaitCursor() override {
        if (waitCursor_) return;
        waitCursor_ = true;
        QApplication::setOverrideCursor(Qt::WaitCursor);
    }
    void SetActivityText(const std::string& text) override {
        if (activityDialog) activityDialog->setStatusText(QString::fromStdString(text));
    }
    void ShowActivity() override {
        if (activityDialog) activityDialog->showActivity();
    }
    void HideActivity() override {
        if (activityDialog) activityDialog->hideActivity();
    }
    void ShowCancelButton(bool show) override {
        if (activityDialog) activityDialog->setCancelVisible(show);
    }
    void EnableMainWindow(bool enable) override {
        if (main_) main_->setEnabled(enable);
    }
    void PumpMessages() override { PumpActivityMessages(); }
    std::optional<PrinterInfo> DefaultPrinter() override {
        const platform::PrinterInfo printer = platform::Dialogs()->defaultPrinter();
        if (!printer.found) return std::nullopt;
        return PrinterInfo{printer.name, printer.paper == platform::PaperSize::A4};
    }
    void PostScanFinished() override {
        if (main_) PostWindowMessage(main_, msg::UM_SCANFINISHED);
    }

private:
    QPointer<QWidget> main_;
    bool waitCursor_ = false;
};

SettingsAccess StoreAccess() {
    SettingsAccess access;
    access.getText = [](const std::string& name, const std::string& defaultValue) {
        return SettingsStore::readText(name.c_str(), QString::fromStdString(defaultValue))
            .toStdString();
    };
    access.setText = [](const std::string& name, const std::string& value) {
        SettingsStore::writeText(name.c_str(), QString::fromStdString(value));
    };
    return access;
}

}  // namespace

std::unique_ptr<ScanUi> MakeMainScanUi(QWidget* mainWindow) {
    return std::make_unique<MainScanUi>(mainWindow);
}

// ---- start-up and end --------------------------------------------------------------------------

void ConnectScanner(const document::CommandContext& context) {
    DisconnectScanner();
    twainPro = new CTwainPRO(context);
    twainPro->event2Callback = OnTransferComplete;
    QPointer<QWidget> owner(context.window);
    CTwainPRO* sink = twainPro;
    sink->component().SetAcquireEndCallback([owner](const AcquireEnd& end) {
        MainScanUi ui(owner.data());
        OnAcquireEnded(end, ui);
    });
    // Discovery already writes its SANE calls to the log when the log is on.
    if (loggingOn) sink->component().TraceLog(1);
    sink->StartDiscovery([sink, owner] {
        if (twainPro != sink) return;
        bool ok = false;
        if (owner) {
            MainScanUi ui(owner.data());
            ok = SelectStartupSource(sink->component(), ui, StoreAccess(), owner.data(),
                                     [sink](void*, int, int argument) {
                                         sink->Invoke(kEventImageTransferred, argument);
                                     });
        }
        sink->MarkReady(ok);
    });
}

void DisconnectScanner() {
    if (!twainPro) return;
    CTwainPRO* sink = twainPro;
    twainPro = nullptr;
    sink->component().SetEventCallback(kEventImageTransferred, nullptr);
    sink->component().SetAcquireEndCallback(nullptr);
    delete sink;
}

// ---- a scan ------------------------------------------------------------------------------------

void OnScanPage(const document::CommandContext& context) {
    if (!twainPro) return;
    QWidget* dialog = context.window;
    twainPro->WaitUntilReady();
    // A discarded preview gives the window back while the feeder may still be running: a
    // second scan cannot start on top of it.
    if (twainPro->component().Acquiring()) {
        WriteLog("Scanner is still busy\n");
        ShowScanMessage(dialog, "The scanner is still busy with the last scan", true);
        return;
    }
    MainScanUi ui(dialog);
    ScanSettings settings;
    settings.scanMode = context.settings->scanMode;
    settings.brightnessLevel = context.settings->brightnessLevel;
    settings.duplex = context.settings->duplex;
    settings.noFeeder = context.settings->noFeeder;
    settings.getText = StoreAccess().getText;
    twainPro->scanStep = 0;
    if (vellumo::scan::OnScanPage(twainPro->component(), ui, settings)) twainPro->WatchCancel(true);
}

void OnTransferComplete(void* sink, int, int) {
    if (!twainPro || sink != twainPro) return;
    const document::CommandContext context = twainPro->owner;
    document::PageDocument& document = *context.document;
    QWidget* dialog = context.window;
    if (!dialog) return;
    ScannerComponent& component = twainPro->component();
    // Saving this page clears the cancel flag: a Cancel pressed since the last check of the
    // watch must stop the scanner first, or the rest of the feeder would still be scanned.
    twainPro->StopIfCancelled();
    WriteLog("Transfer complete\n");
    // The component keeps the image until the next one arrives or the session closes; this
    // reference keeps it for as long as the conversion needs it.
    const std::shared_ptr<const std::vector<uint8_t>> dib = component.ImageHandle();

    TransferHooks hooks;
    hooks.showMessage = [dialog](const std::string& text) { ShowScanMessage(dialog, text, false); };
    hooks.keep = [context](ImageBuffer& workingImage) {
        if (context.settings->showPreview == 0) return true;
        if (activityDialog) activityDialog->hideActivity();
        // The main dialog is disabled during the scan; the preview belongs to the skin window
        // so that it takes input.
        CPreviewDlg preview(workingImage, context.skinWindow);
        // Through the dialog seam, so that tests answer the preview like any other question.
        return platform::Dialogs()->execDialog(preview) == QDialog::Accepted;
    };
    hooks.beforeSave = [&document](const ImageBuffer& image) {
        cancelRequested = 0;
        if (activityDialog) {
            activityDialog->setCancelVisible(true);
            activityDialog->showActivity();
            activityDialog->setStatusText(QStringLiteral("Saving image to temporary file ...."));
        }
        document.MakeThumbnail(image);
    };
    hooks.makePagePath = [&document] { return document.MakeTempPagePath(); };

    const TransferResult result =
        ProcessScannedImage(dib.get(), document.workingImage, document.pageCounter(),
                            MakeTransferSettings(SettingsStore::read(setting::Invert),
                                                 SettingsStore::read(setting::AutoCrop)),
                            hooks);
    const bool last = component.PendingTransfers() == 0;
    if (result.outcome == TransferOutcome::Kept || result.outcome == TransferOutcome::SaveFailed) {
        if (result.outcome == TransferOutcome::Kept) {
            // Journaled page by page, so a crash in the middle of a feeder keeps what came.
            document.BeginChange(document::PageAction::Scan, twainPro->scanStep);
            document.AppendPage(result.path, 1);
            if (document.CommitChange()) {
                twainPro->scanStep = document.lastStep();
                WriteLog("Saving image done\n");
            }
        }
        if (last) PostWindowMessage(dialog, msg::UM_SCANFINISHED);
        if (activityDialog) {
            activityDialog->setStatusText(
                QString::fromStdString("Scanning from " + currentSourceName + " ...."));
            activityDialog->showActivity();
        }
        return;
    }
    // Not kept: the user gets the window back at once.
    if (last) PostWindowMessage(dialog, msg::UM_SCANFINISHED);
    if (activityDialog) activityDialog->hideActivity();
    dialog->setEnabled(true);
}

void OnScanFinished(const document::CommandContext& context) {
    if (twainPro) {
        twainPro->WatchCancel(false);
        MainScanUi ui(context.window);
        FinishScan(twainPro->component(), ui);
    } else {
        WriteLog("All images processed\n");
        if (activityDialog) activityDialog->hideActivity();
        context.window->setEnabled(true);
    }
    context.document->PostPageCount();
    context.document->RebuildPageView();
}

}  // namespace vellumo::scanning
