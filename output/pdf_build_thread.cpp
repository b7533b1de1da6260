#include "output/pdf_build_thread.h"

#include <QEventLoop>
#include <QMetaObject>
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <new>
#include <thread>

#include "pdf/pagemint.h"
#include "platform/cancel.h"
#include "platform/log.h"
#include "widgets/activity_dialog.h"

namespace vellumo::output {

using namespace vellumo::pdf;

namespace {

// The worker's listener: hands every call over to the window's thread. Page progress is posted
// and not waited for; a message box is waited for, since the build must not go on past what it
// is telling the user.
class RelayListener : public PdfBuildListener {
public:
    RelayListener(QObject* windowThreadContext, PdfBuildListener& window)
        : context_(windowThreadContext), window_(window) {}

    void pageStarted(int page, int pageCount, const std::string& file) override {
        QMetaObject::invokeMethod(
            context_, [this, page, pageCount, file] { window_.pageStarted(page, pageCount, file); },
            Qt::QueuedConnection);
    }
    void showMessage(const std::string& text, PdfMessageKind kind) override {
        runAndWait([&] { window_.showMessage(text, kind); });
    }
    void showMessageWithDetails(const std::string& text, PdfMessageKind kind,
                                const std::string& details) override {
        runAndWait([&] { window_.showMessageWithDetails(text, kind, details); });
    }
    bool stopRequested() override { return abandoned_ || vellumo::platform::cancelRequested == 1; }

    // The window's thread stops waiting for the worker (the application is quitting): a box not
    // shown yet is skipped and the build stops before its next page.
    void abandon() {
        std::lock_guard<std::mutex> lock(mutex_);
        abandoned_ = true;
        answered_.notify_all();
    }

private:
    void runAndWait(const std::function<void()>& call) {
        std::unique_lock<std::mutex> lock(mutex_);
        if (abandoned_) return;
        bool done = false;
        // Runs only while the window's thread waits in BuildPdfOnWorker's loop (the context
        // goes before anything else could deliver it), so call and done are still alive.
        QMetaObject::invokeMethod(
            context_,
            [this, &call, &done] {
                call();
                std::lock_guard<std::mutex> relock(mutex_);
                done = true;
                answered_.notify_all();
            },
            Qt::QueuedConnection);
        answered_.wait(lock, [&] { return done || abandoned_.load(); });
    }

    QObject* context_;
    PdfBuildListener& window_;
    std::mutex mutex_;
    std::condition_variable answered_;
    std::atomic<bool> abandoned_{false};
};

// The builder, with a memory shortage told like any other failed write instead of ending the
// program on the worker thread.
PdfBuildResult RunBuild(const std::vector<imaging::PageRef>& pages, const std::string& outPath,
                        const PdfBuildOptions& options, PdfBuildListener& listener) {
    try {
        return BuildPdf(pages, outPath, options, &listener);
    } catch (const std::bad_alloc&) {
        PGMT_Reset();
        PdfBuildResult result;
        result.code = kPgmtFailed;
        result.errorText = "not enough memory to build the PDF";
        const PdfResultText text = DescribeMakePdfResult(result.code, outPath, result.errorText);
        listener.showMessageWithDetails(text.message, PdfMessageKind::Warning, text.details);
        vellumo::platform::WriteLog(text.logLine);
        return result;
    }
}

}  // namespace

PdfBuildResult BuildPdfOnWorker(const std::vector<imaging::PageRef>& pages,
                                const std::string& outPath, const PdfBuildOptions& options,
                                PdfBuildListener& windowListener, QWidget* mainWindow) {
    // Deleted before returning: calls the worker posted and nobody delivered go with it.
    auto context = std::make_unique<QObject>();
    QEventLoop loop;
    RelayListener relay(context.get(), windowListener);
    std::atomic<bool> finished{false};
    PdfBuildResult result;

    // Cancel enables the main window at once, but the worker still ends its page: until then
    // no command may start.
    QPointer<QWidget> window(mainWindow);
    QMetaObject::Connection keepDisabled;
    if (widgets::activityDialog) {
        keepDisabled =
            QObject::connect(widgets::activityDialog.data(),
                             &widgets::CActivityDialog::cancelPressed, context.get(), [window] {
                                 if (window) window->setEnabled(false);
                             });
    }

    std::thread worker([&] {
        result = RunBuild(pages, outPath, options, relay);
        finished = true;
        // Posted after every page the worker reported, so the window shows them all first.
        QMetaObject::invokeMethod(
            context.get(), [&loop] { loop.quit(); }, Qt::QueuedConnection);
    });
    loop.exec();
    // Only the worker quits the loop; anything else ending it means the application is going.
    if (!finished) relay.abandon();
    worker.join();
    QObject::disconnect(keepDisabled);
    context.reset();
    return result;
}

}  // namespace vellumo::output
