// Shared set-up of the main-window tests: a private home (settings, temporary and documents
// folders), logging on, a scripted dialog answerer, an empty page table, and helpers that make
// real page files.
#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <optional>
#include <string>
#include <vector>

#include "document/page_document.h"
#include "imaging/codecs.h"
#include "imaging/convert.h"
#include "imaging/imaging.h"
#include "mainwnd/page_view.h"
#include "mainwnd/vellumo_dlg.h"
#include "platform/documents.h"
#include "platform/log.h"
#include "platform/messages.h"
#include "platform/scripted_dialogs.h"
#include "platform/settings_store.h"
#include "platform/window_message.h"
#include "res/resources.h"
#include "tests/support/test_support.h"

using namespace vellumo::platform;
using namespace vellumo::imaging;
using namespace vellumo::res;
using namespace vellumo::document;
using namespace vellumo::mainwnd;

// Records every window message it receives.
class MessageRecorder : public vellumo::platform::MessageWindow<QObject> {
public:
    std::vector<std::pair<unsigned, vellumo::platform::WPARAM>> received;
    std::optional<vellumo::platform::WPARAM> last(unsigned message) const {
        for (auto it = received.rbegin(); it != received.rend(); ++it)
            if (it->first == message) return it->second;
        return std::nullopt;
    }

protected:
    vellumo::platform::LRESULT messageMap(unsigned message, vellumo::platform::WPARAM wParam,
                                          vellumo::platform::LPARAM) override {
        received.emplace_back(message, wParam);
        return 0;
    }
};

inline void ProcessEventsFor(int ms) {
    QElapsedTimer timer;
    timer.start();
    do {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    } while (timer.elapsed() < ms);
}

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        InitVellumoResources();
        QCoreApplication::setOrganizationName(QStringLiteral("Brackwin"));
        QCoreApplication::setApplicationName(QStringLiteral("Vellumo"));
        home_.emplace();
        vellumo::platform::SettingsStore::write(setting::LogFile, 1);
        // Pages are not read for text here: its log lines arrive from the background.
        vellumo::platform::SettingsStore::write(setting::OCR, 0);
        InitLogPath();
        vellumo::platform::loggingOn = 1;
        document_.emplace();
        dialogs_.emplace();
    }
    void TearDown() override {
        document_.reset();
        dialogs_.reset();
        vellumo::platform::loggingOn = 0;
        home_.reset();
    }

    vellumo::platform::ScriptedDialogs& dialogs() { return *dialogs_; }
    // The pages: the running main dialog's, else the test's own document.
    vellumo::document::PageDocument& doc() {
        return vellumo::mainwnd::mainDialog ? vellumo::mainwnd::mainDialog->document() : *document_;
    }
    std::string log() const { return testsupport::readFile(vellumo::platform::logPath); }
    std::string tempDir() const { return home_->tempDir(); }
    std::string homeDir() const { return home_->path(); }

    // A real image file written by ImageMagick.
    std::string makeImageFile(const std::string& name, int w, int h, const char* colour = "black") {
        const std::string path = home_->path() + "/" + name;
        EXPECT_EQ(testsupport::run("convert -size " + std::to_string(w) + "x" + std::to_string(h) +
                                   " xc:" + colour + " " + testsupport::shellQuote(path)),
                  0);
        return path;
    }
    // Loads a file and appends it as a page with its thumbnail.
    void appendFilePage(const std::string& path, int isScanned) {
        vellumo::imaging::ScopedImage image;
        ASSERT_EQ(ReadImageFile(path.c_str(), image.image), 0) << path;
        ASSERT_EQ(doc().MakeThumbnail(image.image), 0);
        doc().AppendPage(path, isScanned);
    }
    // A scanned page: a temporary page file as the scanner writes it.
    std::string appendScannedPage() {
        const std::string path = doc().MakeTempPagePath();
        EXPECT_FALSE(path.empty());
        vellumo::imaging::ScopedImage image;
        EXPECT_EQ(AllocateImage(image.image, 40, 60, 8), 0);
        FillImageArea(200, image.image);
        EXPECT_EQ(SaveTiff(path.c_str(), image.image, 1), 0);
        EXPECT_EQ(doc().MakeThumbnail(image.image), 0);
        doc().AppendPage(path, 1);
        return path;
    }
    // Gives the page at `row` a working copy, a new version of it, as a transform does.
    std::string addWorkingCopy(int row) {
        const std::string path = doc().MakeTempPagePath();
        testsupport::writeFile(path, "working copy");
        Page page = *doc().pages[static_cast<size_t>(row)];
        page.workingPath = path;
        EXPECT_TRUE(doc().ReplacePage(row, std::move(page)));
        return path;
    }

private:
    std::optional<testsupport::IsolatedHome> home_;
    std::optional<vellumo::platform::ScriptedDialogs> dialogs_;
    std::optional<vellumo::document::PageDocument> document_;
};
