// The pages' background work as the running window does it: text recognised as pages join the
// list and written under the pictures of a saved PDF (pdftotext reads it back), the window's
// event loop answering meanwhile, Cancel while waiting for text, missing language data, scanned
// pages cleaned up (straightened, blank pages marked or dropped), the clean-up and ordering
// entries of the page menu, and the "Documents" settings page. Real files, the real window,
// questions answered by a script.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QMenu>
#include <QTimer>
#include <cstdio>
#include <ctime>
#include <memory>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "document/page_processing.h"
#include "imaging/codecs.h"
#include "imaging/imaging.h"
#include "mainwnd/controls.h"
#include "mainwnd/page_marks.h"
#include "mainwnd/page_view.h"
#include "mainwnd/vellumo_dlg.h"
#include "mainwnd/vellumo_translucent_dlg.h"
#include "ocr/languages.h"
#include "platform/cancel.h"
#include "platform/log.h"
#include "platform/scripted_dialogs.h"
#include "platform/settings_store.h"
#include "prefs/tab_documents_dlg.h"
#include "res/resources.h"
#include "scanning/twain_pro.h"
#include "tests/support/test_support.h"
#include "tests/support/text_pages.h"
#include "widgets/activity_dialog.h"

namespace ctl = vellumo::mainwnd::id;
namespace ocr = vellumo::ocr;
namespace prefs = vellumo::prefs;

using namespace vellumo::platform;
using namespace vellumo::res;
using namespace vellumo::widgets;
using namespace vellumo::document;
using namespace vellumo::mainwnd;
using namespace vellumo::scanning;

namespace {

using testsupport::capture;
using testsupport::fileExists;
using testsupport::readFile;
using testsupport::run;
using testsupport::shellQuote;

testsupport::IsolatedHome* home = nullptr;
struct HomeEnvironment : ::testing::Environment {
    void SetUp() override { home = new testsupport::IsolatedHome; }
    void TearDown() override {
        delete home;
        home = nullptr;
    }
};
[[maybe_unused]] const auto* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new HomeEnvironment);

// Answers the save question, and can press Cancel a moment after it.
class CancellingDialogs : public ScriptedDialogs {
public:
    SaveFileAnswer saveFile(QWidget* parent, const SaveFileRequest& request) override {
        if (cancelAfterMs >= 0) QTimer::singleShot(cancelAfterMs, [] { cancelRequested = 1; });
        return ScriptedDialogs::saveFile(parent, request);
    }
    int cancelAfterMs = -1;
};

class PageProcessingTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!ocr::MissingLanguages("eng").empty()) GTEST_SKIP() << "tesseract-ocr-eng missing";
        ASSERT_TRUE(testsupport::haveTool("pdftotext"));
        ASSERT_TRUE(testsupport::haveTool("gs"));
        SettingsStore::write(setting::CurrentDirSave, QString::fromStdString(dir_.path() + "/"));
        SettingsStore::write(setting::OCR, 1);
        SettingsStore::write(setting::OCRLanguages, QStringLiteral("eng"));
        SettingsStore::write(setting::Deskew, 1);
        SettingsStore::write(setting::AutoRotate, 0);
        SettingsStore::write(setting::BlankPages, 1);
        InitVellumoResources();
        skin_ = std::make_unique<CVellumoTranslucentDlg>(MainDialogFactory());
        skin_->show();
        QCoreApplication::processEvents();
        ASSERT_TRUE(mainDialog);
        if (twainPro) twainPro->WaitUntilReady();
        log_ = dir_.file("Vellumo_log.mdm");
        logPath = log_;
        loggingOn = 1;
    }
    void TearDown() override {
        if (mainDialog) Doc().FreeAllPages();
        skin_.reset();
        loggingOn = 0;
        cancelRequested = 0;
        if (home) QDir::setCurrent(QString::fromStdString(home->path()));
    }

    static PageDocument& Doc() { return mainDialog->document(); }
    static PageProcessing& Work() { return mainDialog->processing(); }

    // A page of English text rendered by Ghostscript.
    std::string TextPage(const std::string& name, double skew = 0, int words = 60, int dpi = 200) {
        testsupport::TextPagePlan plan;
        plan.dpi = dpi;
        plan.words = words;
        plan.skewDegrees = skew;
        plan.pointSize = 14;
        testsupport::TextPage page;
        std::string error;
        EXPECT_TRUE(testsupport::RenderTextPage(plan, dir_.file(name), page, error)) << error;
        return page.path;
    }
    // A white page of the size of a scan, with a few specks, as a scanned page file.
    std::string BlankScan() {
        const std::string path = Doc().MakeTempPagePath();
        EXPECT_EQ(run("/usr/bin/convert -size 1240x1754 xc:white -fill black -draw 'point 300,400'"
                      " -draw 'point 900,1200' -type grayscale -depth 8 -units PixelsPerInch"
                      " -density 150 -compress lzw " +
                      shellQuote(path)),
                  0);
        return path;
    }
    // Appends a file as the scanner's transfer does: thumbnail first, then the page.
    void AppendScanned(const std::string& path) {
        vellumo::imaging::ScopedImage image;
        ASSERT_EQ(vellumo::imaging::ReadImageFile(path.c_str(), image.image), 0) << path;
        ASSERT_EQ(Doc().MakeThumbnail(image.image), 0);
        Doc().AppendPage(path, 1);
        Doc().PostPageCount();
        Doc().RebuildPageView();
    }
    void Load(const std::vector<std::string>& files) {
        QStringList list;
        for (const std::string& file : files) list << QString::fromStdString(file);
        dialogs_.answerOpenFiles(list);
        mainDialog->OnCommand(ctl::LoadPage);
        QCoreApplication::processEvents();
        ASSERT_EQ(Doc().pages.size(), files.size());
    }
    // Lets the background work finish, keeping the event loop running.
    static bool WaitIdle(int timeoutMs = 90000) {
        QElapsedTimer timer;
        timer.start();
        while (Work().pendingCount() > 0 && timer.elapsed() < timeoutMs)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QCoreApplication::processEvents();
        return Work().pendingCount() == 0;
    }
    std::string Save(const std::string& name) {
        const std::string out = dir_.file(name);
        dialogs_.answerSaveFile(QString::fromStdString(out));
        dialogs_.answerMessage(Answer::Ok);
        dialogs_.answerMessage(Answer::No);  // keep the pages
        mainDialog->OnCommand(ctl::SavePdf);
        QCoreApplication::processEvents();
        return out;
    }
    std::vector<std::string> LogLines() const {
        std::vector<std::string> lines;
        std::istringstream in(fileExists(log_) ? readFile(log_) : "");
        std::string line;
        while (std::getline(in, line)) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            const auto dash = line.find(" - ");
            lines.push_back(dash == std::string::npos ? line : line.substr(dash + 3));
        }
        return lines;
    }
    bool LogMatches(const std::string& pattern) const {
        const std::regex re(pattern);
        for (const std::string& line : LogLines())
            if (std::regex_match(line, re)) return true;
        return false;
    }
    static QListWidgetItem* Item(int row) { return mainDialog->pageView()->item(row); }
    static std::string PdfText(const std::string& pdf) {
        return capture("pdftotext -layout " + shellQuote(pdf) + " - 2>/dev/null");
    }

    testsupport::TempDir dir_;
    std::string log_;
    CancellingDialogs dialogs_;
    std::unique_ptr<CVellumoTranslucentDlg> skin_;
};

// ---- Text recognition ----

TEST_F(PageProcessingTest, LoadedPagesAreRecognisedInTheBackgroundAndTheSavedPdfIsSearchable) {
    Load({TextPage("one.png"), TextPage("two.png", 0, 40)});
    // Both wait for their text at first, and their thumbnails say so.
    EXPECT_TRUE(Doc().pages[0]->waitingForText);
    EXPECT_TRUE(Item(0)->data(kWaitingForTextRole).toBool());
    ASSERT_TRUE(WaitIdle());
    for (int row = 0; row < 2; ++row) {
        const Page& page = *Doc().pages[static_cast<size_t>(row)];
        EXPECT_FALSE(page.waitingForText);
        ASSERT_TRUE(page.text) << row;
        EXPECT_GT(page.text->wordCount(), 20);
        EXPECT_FALSE(Item(row)->data(kWaitingForTextRole).toBool());
    }
    const std::string pdf = Save("searchable.pdf");
    ASSERT_TRUE(fileExists(pdf));
    EXPECT_EQ(run("qpdf --check " + shellQuote(pdf) + " >/dev/null 2>&1"), 0);
    const std::vector<std::string>& prose = testsupport::ProseWords("eng");
    const std::string text = PdfText(pdf);
    int found = 0;
    for (int i = 0; i < 20; ++i)
        if (text.find(prose[static_cast<size_t>(i)]) != std::string::npos) ++found;
    EXPECT_GE(found, 18) << text;
}

TEST_F(PageProcessingTest, EachPageOfAMultiPageTiffIsRecognisedFromItsOwnPicture) {
    // Two pages of different text and size in one TIFF: the second page's text must come from
    // the second picture, not from the file's first page.
    const std::string first = TextPage("first.png", 0, 60, 200);
    const std::string second = TextPage("second.png", 0, 8, 150);
    const std::string tiff = dir_.file("both.tif");
    ASSERT_EQ(run("/usr/bin/convert " + shellQuote(first) + " " + shellQuote(second) +
                  " -compress lzw " + shellQuote(tiff)),
              0);
    dialogs_.answerOpenFiles({QString::fromStdString(tiff)});
    mainDialog->OnCommand(ctl::LoadPage);
    QCoreApplication::processEvents();
    ASSERT_EQ(Doc().pages.size(), 2u);
    ASSERT_EQ(Doc().pages[1]->pageIndex, 1);
    ASSERT_TRUE(WaitIdle());
    const Page& one = *Doc().pages[0];
    const Page& two = *Doc().pages[1];
    ASSERT_TRUE(one.text && two.text);
    vellumo::imaging::ScopedImage secondImage;
    ASSERT_EQ(vellumo::imaging::ReadImageFile(second.c_str(), secondImage.image), 0);
    EXPECT_EQ(two.text->imageWidth, static_cast<int>(ImageWidth(secondImage.image)));
    EXPECT_GT(one.text->wordCount(), 40);
    EXPECT_LE(two.text->wordCount(), 12);
}

TEST_F(PageProcessingTest, AChangedPageLosesItsTextAndIsRecognisedAgain) {
    Load({TextPage("one.png")});
    ASSERT_TRUE(WaitIdle());
    ASSERT_TRUE(Doc().pages[0]->text);
    Doc().currentItem = 0;
    mainDialog->OnCommand(ctl::RotateRight);
    // The text of the old picture is gone at once; the turned page is read again.
    EXPECT_FALSE(Doc().pages[0]->text);
    EXPECT_TRUE(Doc().pages[0]->waitingForText);
    ASSERT_TRUE(WaitIdle());
    ASSERT_TRUE(Doc().pages[0]->text);
    // Recognised on the turned picture: it is now wider than high.
    EXPECT_GT(Doc().pages[0]->text->imageWidth, Doc().pages[0]->text->imageHeight);
}

TEST_F(PageProcessingTest, PagesStillWaitingAreRecognisedWhenSavingWithProgress) {
    SettingsStore::write(setting::OCR, 0);
    Load({TextPage("one.png"), TextPage("two.png")});
    ASSERT_TRUE(WaitIdle());
    EXPECT_FALSE(Doc().pages[0]->text);  // recognition was off when they joined
    SettingsStore::write(setting::OCR, 1);
    QStringList statuses;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (activityDialog && activityDialog->isVisible()) {
            const QString status = activityDialog->statusText();
            if (statuses.isEmpty() || statuses.back() != status) statuses << status;
        }
    });
    watch.start(5);
    const std::string pdf = Save("late.pdf");
    watch.stop();
    EXPECT_TRUE(statuses.contains(QStringLiteral("Recognising text, page 1 of 2")))
        << statuses.join('|').toStdString();
    EXPECT_NE(PdfText(pdf).find(testsupport::ProseWords("eng")[3]), std::string::npos);
    EXPECT_FALSE(activityDialog->isVisible());
    EXPECT_TRUE(mainDialog->isEnabled());
}

TEST_F(PageProcessingTest, CancelWhileWaitingForTextWritesNothingAndKeepsTheOldFile) {
    SettingsStore::write(setting::OCR, 0);
    Load({TextPage("one.png", 0, 200, 300), TextPage("two.png", 0, 200, 300),
          TextPage("three.png", 0, 200, 300)});
    ASSERT_TRUE(WaitIdle());
    SettingsStore::write(setting::OCR, 1);
    const std::string out = dir_.file("old.pdf");
    testsupport::writeFile(out, "the user's old PDF");
    dialogs_.cancelAfterMs = 150;
    dialogs_.answerSaveFile(QString::fromStdString(out));
    mainDialog->OnCommand(ctl::SavePdf);
    QCoreApplication::processEvents();
    EXPECT_EQ(readFile(out), "the user's old PDF");
    EXPECT_TRUE(LogMatches("Cancelled"));
    for (const QString& message : dialogs_.messages())
        EXPECT_FALSE(message.contains(QStringLiteral("Successfully"))) << message.toStdString();
    EXPECT_EQ(Doc().pages.size(), 3u);  // nothing offered to clear
    EXPECT_FALSE(activityDialog->isVisible());
    EXPECT_TRUE(mainDialog->isEnabled());
}

// The time this thread has run, in milliseconds.
double ThreadCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1000.0 + static_cast<double>(t.tv_nsec) / 1e6;
}

TEST_F(PageProcessingTest, TheEventLoopAnswersWithin50MsWhileRecognitionRuns) {
    Load({TextPage("one.png", 0, 200, 300), TextPage("two.png", 0, 200, 300),
          TextPage("three.png", 0, 200, 300)});
    // Between two ticks of a 5 ms timer the window's thread may be kept from running by a busy
    // machine, which is no stall of ours; what the window itself does between two ticks (its
    // own time on the processor) is what must stay short.
    QElapsedTimer clock;
    clock.start();
    qint64 last = clock.elapsed(), longestWall = 0;
    double lastCpu = ThreadCpuMs(), longestCpu = 0;
    int ticks = 0;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        const double cpu = ThreadCpuMs();
        longestWall = std::max(longestWall, now - last);
        longestCpu = std::max(longestCpu, cpu - lastCpu);
        last = now;
        lastCpu = cpu;
        ++ticks;
    });
    tick.start(5);
    QElapsedTimer limit;
    limit.start();
    while (Work().pendingCount() > 0 && limit.elapsed() < 120000)
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 50);
    tick.stop();
    ASSERT_EQ(Work().pendingCount(), 0);
    EXPECT_GT(ticks, 20);
    EXPECT_LT(longestCpu, 50.0) << "the window's longest own work between two ticks, ms";
    RecordProperty("LongestOwnWorkMs", static_cast<int>(longestCpu + 0.5));
    RecordProperty("LongestWallGapMs", static_cast<int>(longestWall));
    std::printf(
        "event loop: longest own work between ticks %.1f ms, longest wall gap %lld ms, "
        "%d ticks\n",
        longestCpu, static_cast<long long>(longestWall), ticks);
}

TEST_F(PageProcessingTest, MissingLanguageDataIsToldOnceAndThePdfIsStillWritten) {
    SettingsStore::write(setting::OCRLanguages, QStringLiteral("eng+zzq"));
    Load({TextPage("one.png")});
    ASSERT_TRUE(WaitIdle());
    const std::string first = Save("first.pdf");
    ASSERT_TRUE(fileExists(first));
    EXPECT_TRUE(dialogs_.messages().contains(
        QStringLiteral("Text recognition needs the package tesseract-ocr-zzq")))
        << dialogs_.messages().join('|').toStdString();
    dialogs_.clear();
    const std::string second = Save("second.pdf");
    ASSERT_TRUE(fileExists(second));
    for (const QString& message : dialogs_.messages())
        EXPECT_FALSE(message.contains(QStringLiteral("tesseract-ocr"))) << message.toStdString();
}

// ---- Clean-up of scanned pages and the page menu ----

TEST_F(PageProcessingTest, AScannedBlankPageIsMarkedAndDeleteBlankPagesRemovesIt) {
    SettingsStore::write(setting::OCR, 0);
    const std::string text = Doc().MakeTempPagePath();
    ASSERT_EQ(run("cp " + shellQuote(TextPage("text.png")) + " " + shellQuote(text + ".png")), 0);
    ASSERT_EQ(
        run("/usr/bin/convert " + shellQuote(text + ".png") + " -compress lzw " + shellQuote(text)),
        0);
    AppendScanned(text);
    const std::string blank = BlankScan();
    AppendScanned(blank);
    ASSERT_TRUE(WaitIdle());
    ASSERT_EQ(Doc().pages.size(), 2u);
    EXPECT_FALSE(Doc().pages[0]->blank);
    EXPECT_TRUE(Doc().pages[1]->blank);
    EXPECT_TRUE(Item(1)->data(kBlankPageRole).toBool());
    EXPECT_FALSE(Item(0)->data(kBlankPageRole).toBool());
    EXPECT_TRUE(LogMatches("Page 2 is blank"));

    // The entry is offered in the page menu, and removes the blank page in one step that an
    // undo takes back: its file stays while the undo can bring it back.
    QMenu menu;
    mainDialog->pageView()->BuildPageMenu(menu);
    bool offered = false;
    for (QAction* action : menu.actions())
        if (action->text() == QStringLiteral("Delete blank pages")) offered = action->isEnabled();
    EXPECT_TRUE(offered);
    mainDialog->OnCommand(ctl::DeleteBlankPages);
    ASSERT_EQ(Doc().pages.size(), 1u);
    EXPECT_EQ(Doc().pages[0]->sourcePath, text);
    EXPECT_TRUE(fileExists(blank));
    EXPECT_EQ(mainDialog->pageView()->count(), 1);
    mainDialog->OnCommand(ctl::Undo);
    ASSERT_EQ(Doc().pages.size(), 2u);
    EXPECT_EQ(Doc().pages[1]->sourcePath, blank);
    EXPECT_EQ(mainDialog->pageView()->count(), 2);
    mainDialog->OnCommand(ctl::Redo);
    ASSERT_EQ(Doc().pages.size(), 1u);
    EXPECT_EQ(Doc().pages[0]->sourcePath, text);
}

TEST_F(PageProcessingTest, BlankPagesAreDroppedAtScanTimeWhenChosen) {
    SettingsStore::write(setting::OCR, 0);
    SettingsStore::write(setting::BlankPages, 2);
    AppendScanned(BlankScan());
    ASSERT_TRUE(WaitIdle());
    EXPECT_TRUE(Doc().pages.empty());
    EXPECT_TRUE(LogMatches("Dropped blank page 1"));
}

TEST_F(PageProcessingTest, AScannedSkewedPageIsStraightenedAndThenRecognised) {
    const std::string rendered = TextPage("skewed.png", 3.0, 120);
    const std::string scanned = Doc().MakeTempPagePath();
    ASSERT_EQ(
        run("/usr/bin/convert " + shellQuote(rendered) + " -compress lzw " + shellQuote(scanned)),
        0);
    AppendScanned(scanned);
    ASSERT_TRUE(WaitIdle());
    const Page& page = *Doc().pages[0];
    EXPECT_FALSE(page.workingPath.empty());
    EXPECT_TRUE(LogMatches("Straightened page 1 by -[23]\\.[0-9][0-9] degrees")) << readFile(log_);
    ASSERT_TRUE(page.text);
    EXPECT_GT(page.text->wordCount(), 60);
}

TEST_F(PageProcessingTest, StraightenFromThePageMenuLeavesTheUsersFileAlone) {
    SettingsStore::write(setting::OCR, 0);
    const std::string file = TextPage("skewed.png", -2.0, 120);
    const std::string before = readFile(file);
    Load({file});
    ASSERT_TRUE(WaitIdle());
    EXPECT_TRUE(Doc().pages[0]->workingPath.empty());  // loaded pages are not cleaned by themselves
    Doc().currentItem = 0;
    mainDialog->OnCommand(ctl::Straighten);
    EXPECT_TRUE(Doc().pages[0]->waitingForText);
    ASSERT_TRUE(WaitIdle());
    EXPECT_FALSE(Doc().pages[0]->workingPath.empty());
    EXPECT_EQ(readFile(file), before);
    EXPECT_TRUE(LogMatches("Straightened page 1 by [12]\\.[0-9][0-9] degrees")) << readFile(log_);
}

TEST_F(PageProcessingTest, InterleaveAndReverseOrderTheWholeList) {
    SettingsStore::write(setting::OCR, 0);
    std::vector<std::string> files;
    for (const char* name : {"f1.png", "f2.png", "f3.png", "b1.png", "b2.png", "b3.png"}) {
        files.push_back(dir_.file(name));
        ASSERT_EQ(run("/usr/bin/convert -size 40x40 xc:white " + shellQuote(files.back())), 0);
    }
    Load(files);
    auto order = [] {
        std::string names;
        for (const auto& page : Doc().pages)
            names += page->sourcePath.substr(page->sourcePath.size() - 6, 2) + " ";
        return names;
    };
    mainDialog->OnCommand(ctl::Interleave);
    EXPECT_EQ(order(), "f1 b1 f2 b2 f3 b3 ");
    EXPECT_EQ(mainDialog->pageView()->count(), 6);
    mainDialog->OnCommand(ctl::ReverseOrder);
    EXPECT_EQ(order(), "b3 f3 b2 f2 b1 f1 ");

    Doc().FreeAllPages();
    Doc().RebuildPageView();
    Load(files);
    mainDialog->OnCommand(ctl::InterleaveBacksReversed);
    EXPECT_EQ(order(), "f1 b3 f2 b2 f3 b1 ");
}

// ---- The Documents settings page ----

class DocumentsPageTest : public PageProcessingTest {
protected:
    prefs::CTabDocumentsDlg* OpenDocuments() {
        mainDialog->OnCommand(ctl::SettingsTab);
        mainDialog->OnCommand(ctl::DocumentsTab);
        ProcessEvents(300);  // the page loads on a timer after it is shown
        auto* page =
            qobject_cast<prefs::CTabDocumentsDlg*>(mainDialog->prefPages().at(3).window.data());
        return page;
    }
    static void ProcessEvents(int ms) {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    static QAbstractButton* Box(prefs::CTabDocumentsDlg* page, int id) {
        return page->control<QAbstractButton>(id);
    }
};

TEST_F(DocumentsPageTest, ShowsTheStoredSettingsAndStoresChangesWhenLeft) {
    SettingsStore::write(setting::OCR, 1);
    SettingsStore::write(setting::Deskew, 0);
    SettingsStore::write(setting::AutoRotate, 1);
    SettingsStore::write(setting::BlankPages, 2);
    prefs::CTabDocumentsDlg* page = OpenDocuments();
    ASSERT_NE(page, nullptr);
    ASSERT_TRUE(page->isVisible());
    EXPECT_TRUE(Box(page, page->kSearchable)->isChecked());
    EXPECT_FALSE(Box(page, page->kStraighten)->isChecked());
    EXPECT_TRUE(Box(page, page->kUpright)->isChecked());
    EXPECT_TRUE(Box(page, page->kBlankDrop)->isChecked());
    // Every installed language has a box; the stored one is ticked.
    const std::vector<std::string> installed = ocr::InstalledLanguages();
    ASSERT_GE(page->languageBoxes().size(), installed.size());
    for (const auto& [code, box] : page->languageBoxes())
        EXPECT_EQ(box->isChecked(), code == "eng") << code;

    Box(page, page->kSearchable)->click();
    Box(page, page->kStraighten)->click();
    Box(page, page->kBlankOff)->click();
    mainDialog->OnCommand(ctl::GeneralTab);  // leaving the page stores it
    EXPECT_EQ(SettingsStore::read(setting::OCR), 0);
    EXPECT_EQ(SettingsStore::read(setting::Deskew), 1);
    EXPECT_EQ(SettingsStore::read(setting::AutoRotate), 1);
    EXPECT_EQ(SettingsStore::read(setting::BlankPages), 0);
    EXPECT_EQ(SettingsStore::read(setting::OCRLanguages), QStringLiteral("eng"));

    // Shown again, it starts from what was stored.
    page = OpenDocuments();
    EXPECT_FALSE(Box(page, page->kSearchable)->isChecked());
    EXPECT_TRUE(Box(page, page->kBlankOff)->isChecked());
}

TEST_F(DocumentsPageTest, TheLastTickedLanguageStaysTickedAndAMissingOneIsShown) {
    SettingsStore::write(setting::OCRLanguages, QStringLiteral("zzq+eng"));
    prefs::CTabDocumentsDlg* page = OpenDocuments();
    ASSERT_NE(page, nullptr);
    prefs::CButtonST* eng = nullptr;
    prefs::CButtonST* missing = nullptr;
    for (const auto& [code, box] : page->languageBoxes()) {
        if (code == "eng") eng = box;
        if (code == "zzq") missing = box;
    }
    ASSERT_TRUE(eng && missing);
    EXPECT_TRUE(missing->text().contains(QStringLiteral("not installed")));
    EXPECT_TRUE(missing->isChecked());
    missing->click();  // untick the missing one
    EXPECT_FALSE(missing->isChecked());
    eng->click();  // the last one cannot go
    EXPECT_TRUE(eng->isChecked());
    mainDialog->OnCommand(ctl::EmailTab);
    EXPECT_EQ(SettingsStore::read(setting::OCRLanguages), QStringLiteral("eng"));
}

}  // namespace
