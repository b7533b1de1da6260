// Pages recognised in a process of their own: the same text as in the program, and every way the
// process can fail (over its time, cancelled, crashed, talking nonsense, not runnable at all)
// costs at most that page's text, never the program or the next page.
#include "ocr/recognition_worker.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <optional>
#include <thread>

#include "ocr/page_text_wire.h"
#include "ocr/worker_protocol.h"
#include "ocr_checks.h"
#include "support/test_support.h"
#include "support/text_pages.h"

using namespace vellumo::ocr;
using ocrtest::Render;
using ocrtest::SmallPage;
using testsupport::TextPage;
using testsupport::TextPagePlan;
using vellumo::imaging::PageRef;

namespace {

double SecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

bool ProcessGone(pid_t pid) {
    return ::kill(pid, 0) != 0 && errno == ESRCH;
}

// A stand-in for the recognition program: a shell script.
std::string Script(testsupport::TempDir& dir, const std::string& name, const std::string& body) {
    const std::string path = dir.file(name);
    std::ofstream(path) << "#!/bin/sh\n" << body << "\n";
    ::chmod(path.c_str(), 0700);
    return path;
}

}  // namespace

TEST(RecognitionProcess, ReadsWhatTheProgramReadsAndStaysForTheNextPage) {
    testsupport::TempDir dir;
    TextPagePlan plan = SmallPage();
    plan.columns = 2;
    const TextPage page = Render(plan, dir.file("page.png"));
    ASSERT_FALSE(RecognitionWorkerProgram().empty());
    RecognitionWorker apart, here("");
    const RecognitionResult a = apart.recognise(PageRef{page.path, 0}, "eng");
    const RecognitionResult b = here.recognise(PageRef{page.path, 0}, "eng");
    ASSERT_EQ(a.status, RecognitionStatus::Ok) << a.reason;
    ASSERT_EQ(b.status, RecognitionStatus::Ok) << b.reason;
    EXPECT_GT(a.text->wordCount(), 20);
    EXPECT_EQ(EncodePageText(*a.text), EncodePageText(*b.text));
    EXPECT_EQ(here.processId(), 0);

    const pid_t process = apart.processId();
    ASSERT_GT(process, 0);
    EXPECT_EQ(apart.recognise(PageRef{page.path, 0}, "eng").status, RecognitionStatus::Ok);
    EXPECT_EQ(apart.processId(), process);
    // A worker that ends ends its process.
    std::optional<RecognitionWorker> another(std::in_place);
    ASSERT_EQ(another->recognise(PageRef{page.path, 0}, "eng").status, RecognitionStatus::Ok);
    const pid_t itsProcess = another->processId();
    ASSERT_GT(itsProcess, 0);
    another.reset();
    EXPECT_TRUE(ProcessGone(itsProcess));
    // Statuses other than Ok come back with their reasons.
    const RecognitionResult missing = apart.recognise(PageRef{dir.file("none.png"), 0}, "eng");
    EXPECT_EQ(missing.status, RecognitionStatus::Unreadable);
    EXPECT_FALSE(missing.reason.empty());
    EXPECT_EQ(apart.recognise(PageRef{page.path, 0}, "xx").status,
              RecognitionStatus::MissingLanguage);
}

TEST(RecognitionProcess, AnswersCutShortOrOverlongAreRefused) {
    testsupport::TempDir dir;
    const TextPage page = Render(SmallPage(), dir.file("page.png"));
    RecognitionWorker here("");
    const RecognitionResult r = here.recognise(PageRef{page.path, 0}, "eng");
    ASSERT_EQ(r.status, RecognitionStatus::Ok) << r.reason;
    const std::string whole = EncodePageText(*r.text);
    PageText decoded;
    ASSERT_TRUE(DecodePageText(whole, decoded));
    EXPECT_EQ(decoded.plainText(), r.text->plainText());
    for (size_t n = 0; n < whole.size(); n += 7)
        EXPECT_FALSE(DecodePageText(whole.substr(0, n), decoded)) << n;
    EXPECT_FALSE(DecodePageText(whole + "x", decoded));

    WorkerRequest request{PageRef{"/tmp/a page.tif", 3}, "eng+deu"}, back;
    const std::string bytes = EncodeRequest(request);
    ASSERT_TRUE(DecodeRequest(bytes, back));
    EXPECT_EQ(back.page.path, request.page.path);
    EXPECT_EQ(back.page.index, 3);
    EXPECT_EQ(back.languages, "eng+deu");
    for (size_t n = 0; n < bytes.size(); ++n) EXPECT_FALSE(DecodeRequest(bytes.substr(0, n), back));
    RecognitionResult result;
    EXPECT_FALSE(DecodeResult(std::string(1, '\x7f'), result));
    EXPECT_EQ(result.status, RecognitionStatus::EngineFailed);
}

// Some pictures (fine regular textures) keep the engine's layout analysis busy for an hour,
// beyond the reach of its own cancel. A full page of text against a limit far below what it
// needs stands in for them.
TEST(RecognitionProcess, APageOverItsTimeIsStoppedAndTheNextPageGetsANewProcess) {
    testsupport::TempDir dir;
    TextPagePlan plan;
    plan.words = 400;
    const TextPage page = Render(plan, dir.file("long.png"));
    RecognitionWorker worker;
    ASSERT_EQ(worker.recognise(PageRef{page.path, 0}, "eng").status, RecognitionStatus::Ok);
    const pid_t first = worker.processId();
    worker.setTimeLimit(std::chrono::milliseconds(200));
    const auto started = std::chrono::steady_clock::now();
    const RecognitionResult late = worker.recognise(PageRef{page.path, 0}, "eng");
    EXPECT_EQ(late.status, RecognitionStatus::EngineFailed);
    EXPECT_NE(late.reason.find("took longer than 0.2 s"), std::string::npos) << late.reason;
    EXPECT_LT(SecondsSince(started), 1.5);
    EXPECT_EQ(worker.processId(), 0);
    EXPECT_TRUE(ProcessGone(first));

    worker.setTimeLimit(kPageTimeLimit);
    const RecognitionResult full = worker.recognise(PageRef{page.path, 0}, "eng");
    ASSERT_EQ(full.status, RecognitionStatus::Ok) << full.reason;
    EXPECT_GT(full.text->wordCount(), 300);
    EXPECT_NE(worker.processId(), first);
}

TEST(RecognitionProcess, CancelEndsThePageAtOnce) {
    testsupport::TempDir dir;
    TextPagePlan plan;
    plan.words = 400;
    const TextPage page = Render(plan, dir.file("long.png"));
    // A process that never answers stands in for a page the engine never finishes.
    RecognitionWorker worker(Script(dir, "silent", "exec sleep 600"));
    std::atomic<bool> cancel{false};
    std::thread pressCancel([&cancel] {
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        cancel = true;
    });
    const auto started = std::chrono::steady_clock::now();
    const RecognitionResult r = worker.recognise(PageRef{page.path, 0}, "eng", &cancel);
    pressCancel.join();
    EXPECT_EQ(r.status, RecognitionStatus::Cancelled);
    EXPECT_LT(SecondsSince(started), 1.5);
    EXPECT_EQ(worker.processId(), 0);
}

TEST(RecognitionProcess, AProcessThatCrashesOrTalksNonsenseCostsOnlyThatPage) {
    testsupport::TempDir dir;
    const TextPage page = Render(SmallPage(), dir.file("page.png"));
    struct Case {
        const char* name;
        const char* script;
        const char* reason;
    };
    const Case cases[] = {
        {"crash", "kill -SEGV $$", "signal 11"},
        {"quits", "exit 3", "exit status 3"},
        {"quits-reading", "head -c 8 <&3 >/dev/null; exit 3", "exit status 3"},
        {"nonsense", "printf 'JUNKJUNK' >&3", "ended on the page"},
        // A whole message, but no page text in it.
        {"damaged", "printf '\\005\\000\\000\\000\\000abcd' >&3; exec sleep 600", "damaged"},
    };
    for (const Case& c : cases) {
        RecognitionWorker worker(Script(dir, c.name, c.script));
        for (int page_ = 0; page_ < 2; ++page_) {
            const RecognitionResult r = worker.recognise(PageRef{page.path, 0}, "eng");
            EXPECT_EQ(r.status, RecognitionStatus::EngineFailed) << c.name;
            EXPECT_NE(r.reason.find(c.reason), std::string::npos) << c.name << ": " << r.reason;
        }
    }
}

TEST(RecognitionProcess, AProgramThatCannotRunLeavesThePagesToTheProgram) {
    testsupport::TempDir dir;
    const TextPage page = Render(SmallPage(), dir.file("page.png"));
    // A library missing: the system's loader ends the program with 127.
    for (const std::string& program :
         {Script(dir, "no-library", "exit 127"), dir.file("not-there")}) {
        RecognitionWorker worker(program);
        const RecognitionResult r = worker.recognise(PageRef{page.path, 0}, "eng");
        ASSERT_EQ(r.status, RecognitionStatus::Ok) << program << ": " << r.reason;
        EXPECT_GT(r.text->wordCount(), 20);
        EXPECT_EQ(worker.processId(), 0);
    }
}
