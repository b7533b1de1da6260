// The background queue as the windows and the save flow use it: every page's result once, by
// callback; cancelled and replaced pages without one; the pages a save waits for first; a wait
// that can be stopped; a queue that can be dropped while it works.
#include "ocr/recognition_queue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <map>
#include <mutex>

#include "ocr_checks.h"
#include "platform/log.h"
#include "support/test_support.h"
#include "support/text_pages.h"

using namespace vellumo::ocr;
using Clock = std::chrono::steady_clock;

namespace {

// Small pages of known text, rendered once for the whole file.
class Queue : public testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = new testsupport::TempDir;
        for (int i = 0; i < 4; ++i) {
            testsupport::TextPagePlan plan;
            plan.pageWidthPt = 360;
            plan.pageHeightPt = 160;
            plan.words = 24;
            plan.firstWord = 40 * i;
            plan.dpi = 200;
            testsupport::TextPage page;
            std::string error;
            ASSERT_TRUE(testsupport::RenderTextPage(
                plan, dir_->file("p" + std::to_string(i) + ".png"), page, error))
                << error;
            pages_.push_back(page);
        }
        testsupport::TextPagePlan longer;
        longer.words = 450;
        testsupport::TextPage page;
        std::string error;
        ASSERT_TRUE(testsupport::RenderTextPage(longer, dir_->file("long.png"), page, error))
            << error;
        pages_.push_back(page);
    }
    static void TearDownTestSuite() {
        delete dir_;
        dir_ = nullptr;
        pages_.clear();
    }
    static const testsupport::TextPage& page(int i) { return pages_[static_cast<size_t>(i)]; }
    static const std::string& longPage() { return pages_.back().path; }

    // Results as the callback delivers them, in order.
    struct Delivered {
        std::mutex mutex;
        std::vector<std::pair<PageId, RecognitionResult>> results;
        RecognitionQueue::ResultCallback callback() {
            return [this](PageId id, const RecognitionResult& r) {
                std::lock_guard<std::mutex> lock(mutex);
                results.emplace_back(id, r);
            };
        }
        std::vector<PageId> ids() {
            std::lock_guard<std::mutex> lock(mutex);
            std::vector<PageId> out;
            for (const auto& [id, r] : results) out.push_back(id);
            return out;
        }
        size_t count() {
            std::lock_guard<std::mutex> lock(mutex);
            return results.size();
        }
    };

private:
    static testsupport::TempDir* dir_;
    static std::vector<testsupport::TextPage> pages_;
};

testsupport::TempDir* Queue::dir_ = nullptr;
std::vector<testsupport::TextPage> Queue::pages_;

}  // namespace

TEST_F(Queue, EveryPageIsDeliveredOnceWithItsText) {
    Delivered delivered;
    std::vector<std::pair<int, int>> progress;
    {
        RecognitionQueue queue(delivered.callback(), 2);
        EXPECT_EQ(queue.workerCount(), 2);
        for (int i = 0; i < 4; ++i) queue.submit(100 + i, page(i).path, "eng");
        EXPECT_EQ(queue.pendingCount(), 4);
        const auto result = queue.waitFor({100, 101, 102, 103}, [&](int done, int total) {
            progress.emplace_back(done, total);
            return true;
        });
        EXPECT_EQ(result, RecognitionQueue::WaitResult::Done);
        EXPECT_EQ(queue.pendingCount(), 0);
        EXPECT_FALSE(queue.busy(100));
    }
    ASSERT_EQ(delivered.count(), 4u);
    std::map<PageId, RecognitionResult> byId(delivered.results.begin(), delivered.results.end());
    for (int i = 0; i < 4; ++i) {
        const RecognitionResult& r = byId.at(100 + i);
        ASSERT_EQ(r.status, RecognitionStatus::Ok) << r.reason;
        EXPECT_GE(ocrtest::CommonWords(ocrtest::Words(page(i)), ocrtest::Words(*r.text)), 22);
    }
    // Progress starts at once, only grows, and ends with every page done.
    ASSERT_FALSE(progress.empty());
    EXPECT_EQ(progress.front().second, 4);
    EXPECT_EQ(progress.back(), std::make_pair(4, 4));
    EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
}

TEST_F(Queue, CancelledAndReplacedPagesDeliverNothing) {
    Delivered delivered;
    RecognitionQueue queue(delivered.callback(), 1);
    queue.submit(1, longPage(), "eng");  // keeps the worker busy
    queue.submit(2, page(0).path, "eng");
    queue.submit(3, page(1).path, "eng");
    queue.cancel(2);
    EXPECT_FALSE(queue.busy(2));
    // The page changed (say it was turned): its new file replaces the old one.
    queue.submit(3, page(2).path, "eng");
    queue.cancel(1);  // stops the long page in its engine
    EXPECT_EQ(queue.waitFor({1, 2, 3}, nullptr), RecognitionQueue::WaitResult::Done);
    ASSERT_EQ(delivered.ids(), std::vector<PageId>{3});
    const RecognitionResult& r = delivered.results[0].second;
    ASSERT_EQ(r.status, RecognitionStatus::Ok);
    EXPECT_GE(ocrtest::CommonWords(ocrtest::Words(page(2)), ocrtest::Words(*r.text)), 22);
}

TEST_F(Queue, PagesWaitedForComeFirst) {
    Delivered delivered;
    RecognitionQueue queue(delivered.callback(), 1);
    for (int i = 0; i < 4; ++i) queue.submit(10 + i, page(i).path, "eng");
    EXPECT_EQ(queue.waitFor({13}, nullptr), RecognitionQueue::WaitResult::Done);
    const std::vector<PageId> early = delivered.ids();
    ASSERT_FALSE(early.empty());
    EXPECT_EQ(early.back(), 13u);
    // At most the page already under way came before it.
    EXPECT_LE(early.size(), 2u);
    queue.waitFor({10, 11, 12}, nullptr);
    EXPECT_EQ(delivered.count(), 4u);
}

TEST_F(Queue, AWaitCanBeStoppedWhileRecognitionGoesOn) {
    Delivered delivered;
    RecognitionQueue queue(delivered.callback(), 1);
    queue.submit(7, longPage(), "eng");
    int calls = 0;
    const auto started = Clock::now();
    const auto result = queue.waitFor(
        {7},
        [&](int, int) {
            // A window keeps its events going on every call; the user presses Cancel on the
            // third.
            return ++calls < 3;
        },
        std::chrono::milliseconds(20));
    EXPECT_EQ(result, RecognitionQueue::WaitResult::Stopped);
    EXPECT_EQ(calls, 3);
    EXPECT_LT(Clock::now() - started, std::chrono::seconds(2));
    EXPECT_TRUE(queue.busy(7));
    // The page is still recognised for the next save.
    EXPECT_EQ(queue.waitFor({7}, nullptr), RecognitionQueue::WaitResult::Done);
    ASSERT_EQ(delivered.ids(), std::vector<PageId>{7});
    EXPECT_EQ(delivered.results[0].second.status, RecognitionStatus::Ok);
}

TEST_F(Queue, DroppingABusyQueueStopsItsWork) {
    Delivered delivered;
    const auto started = Clock::now();
    {
        RecognitionQueue queue(delivered.callback(), 2);
        queue.submit(1, longPage(), "eng");
        queue.submit(2, longPage(), "eng");
        queue.submit(3, page(0).path, "eng");
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
    }
    const auto took = Clock::now() - started;
    // The long pages take several seconds each; dropping the queue does not wait for them.
    EXPECT_LT(took, std::chrono::seconds(4));
    EXPECT_EQ(delivered.count(), 0u);
}

TEST_F(Queue, FailuresAreDeliveredAndLogged) {
    testsupport::IsolatedHome home;
    vellumo::platform::loggingOn = 1;
    vellumo::platform::logPath = home.path() + "/log.mdm";
    Delivered delivered;
    {
        RecognitionQueue queue(delivered.callback(), 2);
        queue.submit(1, home.path() + "/missing.png", "eng");
        queue.submit(2, page(0).path, "zzz");
        queue.submit(3, page(1).path, "eng");
        queue.waitFor({1, 2, 3}, nullptr);
    }
    vellumo::platform::loggingOn = 0;
    std::map<PageId, RecognitionResult> byId(delivered.results.begin(), delivered.results.end());
    ASSERT_EQ(byId.size(), 3u);
    EXPECT_EQ(byId[1].status, RecognitionStatus::Unreadable);
    EXPECT_EQ(byId[2].status, RecognitionStatus::MissingLanguage);
    EXPECT_EQ(byId[2].reason, "Text recognition needs the package tesseract-ocr-zzz");
    EXPECT_EQ(byId[3].status, RecognitionStatus::Ok);
    const std::vector<std::string> log = testsupport::logMessages(home.path() + "/log.mdm");
    auto logged = [&log](const std::string& part) {
        return std::any_of(log.begin(), log.end(), [&part](const std::string& line) {
            return line.find(part) != std::string::npos;
        });
    };
    EXPECT_TRUE(logged("No text recognised in " + home.path() +
                       "/missing.png: the file cannot be read as an image"));
    EXPECT_TRUE(logged("Text recognition needs the package tesseract-ocr-zzz"));
    EXPECT_TRUE(logged("Recognised ")) << "a page read well is logged too";
}
