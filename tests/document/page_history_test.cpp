// Undo and redo of every action on the page list, checked by the pixels and the order of the
// pages; the journal that keeps the list across a crash, the recovery that offers it back, and
// the files that go once nothing can bring their pages back.
#include <sys/resource.h>

#include <QTranslator>

#include <csignal>
#include <filesystem>
#include <map>
#include <random>
#include <set>

#include "document/journal_store.h"
#include "document/page_journal.h"
#include "document/page_list_ops.h"
#include "document/session_folder.h"
#include "document/session_start.h"
#include "editing/load_page.h"
#include "editing/page_transforms.h"
#include "platform/message_text.h"
#include "tests/support/mainwnd_fixture.h"

using namespace vellumo::document;
using namespace vellumo::editing;
namespace fs = std::filesystem;

namespace {

using testsupport::fileExists;

// What a page looks like: its pixels and their layout, hashed (FNV-1a).
uint64_t PixelHash(const std::string& path) {
    ScopedImage image;
    if (ReadImageFile(path.c_str(), image.image) != 0) return 0;
    uint64_t hash = 1469598103934665603ull;
    auto add = [&hash](uint8_t byte) { hash = (hash ^ byte) * 1099511628211ull; };
    const uint32_t w = static_cast<uint32_t>(ImageWidth(image.image));
    const uint32_t h = static_cast<uint32_t>(ImageHeight(image.image));
    for (uint32_t v : {w, h, static_cast<uint32_t>(BitsPerPixel(image.image))})
        for (int i = 0; i < 4; ++i) add(static_cast<uint8_t>(v >> (8 * i)));
    const size_t rowBytes = (static_cast<size_t>(w) * BitsPerPixel(image.image) + 7) / 8;
    for (uint32_t y = 0; y < h; ++y) {
        const uint8_t* row = RowPointer(image.image, y);
        for (size_t x = 0; x < rowBytes; ++x) add(row[x]);
    }
    return hash;
}

std::vector<std::string> FilesIn(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

class PageHistoryTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        context_.document = &doc();
        context_.settings = &settings_;
        startSession(doc());
    }
    void TearDown() override {
        doc().EndSession();
        MainWindowTest::TearDown();
    }

    // A document of its own session, as a start without anything to restore makes.
    void startSession(PageDocument& document) {
        StartPageSession(document, nullptr);
        ASSERT_NE(document.session(), nullptr);
    }
    std::string root() const { return PageFolderRoot(); }

    // A picture of its own: `n` sets its size and its shade, so that every page differs and a
    // turn or a mirror changes its pixels.
    std::string makePage(int n) {
        const std::string name = "page" + std::to_string(n) + ".png";
        const int w = 20 + n % 17, h = 11 + n % 5;
        const std::string path = homeDir() + "/" + name;
        const std::string shade = std::to_string(n * 37 % 256);
        EXPECT_EQ(
            testsupport::run("convert -size " + std::to_string(w) + "x" + std::to_string(h) +
                             " gradient:'rgb(" + shade + ",0,0)-rgb(0,0," + shade + ")'" +
                             " -fill white -draw 'point 1,1' " + testsupport::shellQuote(path)),
            0);
        return path;
    }
    void load(std::vector<std::string> files) {
        QStringList list;
        for (const std::string& f : files) list << QString::fromStdString(f);
        LoadPageFiles(context_, list);
    }
    // The pages of one scan as the scanner hands them over: each page a file written at transfer
    // and a change of its own that adds to the scan's step.
    void scan(int pages) {
        uint64_t step = 0;
        for (int i = 0; i < pages; ++i) {
            const std::string path = doc().MakeTempPagePath();
            ASSERT_FALSE(path.empty());
            ScopedImage image;
            ASSERT_EQ(AllocateImage(image.image, 30 + i, 40, 8), 0);
            FillImageArea(static_cast<uint8_t>(60 + 40 * i), image.image);
            ASSERT_EQ(SaveTiff(path.c_str(), image.image, 1), 0);
            ASSERT_EQ(doc().MakeThumbnail(image.image), 0);
            doc().BeginChange(PageAction::Scan, step);
            doc().AppendPage(path, 1);
            ASSERT_TRUE(doc().CommitChange());
            step = doc().lastStep();
        }
    }
    int transform(int row, PageTransform what) {
        doc().currentItem = row;
        return TransformPage(context_, what);
    }
    // The list as the user sees it: each page by the hash of its pixels, in order.
    std::vector<uint64_t> snapshot() {
        std::vector<uint64_t> hashes;
        for (const PageRecord& page : doc().pages) {
            EXPECT_TRUE(fileExists(PagePath(*page))) << PagePath(*page);
            hashes.push_back(PixelHash(PagePath(*page)));
        }
        return hashes;
    }

    MainSettings settings_;
    CommandContext context_;
};

// ---- Each action, undone and done again ----

struct ActionCase {
    const char* name;
    const char* undoName;
    std::function<void()> act;
};

TEST_F(PageHistoryTest, EveryActionIsUndoneAndRedoneExactly) {
    const std::string a = makePage(1), b = makePage(2), c = makePage(3), d = makePage(4),
                      e = makePage(5);
    const std::vector<ActionCase> cases = {
        {"load", "load",
         [&] {
             load({d, e});
         }},
        {"scan", "scan", [&] { scan(2); }},
        {"delete", "delete",
         [&] {
             dialogs().answerMessage(Answer::Yes);
             doc().currentItem = 1;
             DeletePage(doc(), nullptr);
         }},
        {"move", "move", [&] { EXPECT_TRUE(MovePage(doc(), 0, 2)); }},
        {"rotate right", "rotate right",
         [&] { EXPECT_EQ(transform(1, PageTransform::RotateRight), 0); }},
        {"rotate left", "rotate left",
         [&] { EXPECT_EQ(transform(0, PageTransform::RotateLeft), 0); }},
        {"invert", "invert", [&] { EXPECT_EQ(transform(2, PageTransform::Invert), 0); }},
        {"mirror", "mirror", [&] { EXPECT_EQ(transform(1, PageTransform::Mirror), 0); }},
        {"clear", "clear list",
         [&] {
             dialogs().answerMessage(Answer::Yes);
             ClearPages(doc(), nullptr, QStringLiteral("Clear list of pages to save or send?"));
         }},
    };
    for (const ActionCase& action : cases) {
        SCOPED_TRACE(action.name);
        doc().EndSession();
        startSession(doc());
        load({a, b});
        scan(1);
        ASSERT_EQ(doc().pages.size(), 3u);
        // A working copy under the page, so that taking a transform back is no mere file swap.
        ASSERT_EQ(transform(2, PageTransform::Invert), 0);
        const std::vector<uint64_t> before = snapshot();

        action.act();
        const std::vector<uint64_t> after = snapshot();
        ASSERT_NE(after, before);
        ASSERT_TRUE(doc().CanUndo());
        EXPECT_EQ(doc().UndoName(), action.undoName);

        ASSERT_TRUE(doc().Undo());
        EXPECT_EQ(snapshot(), before);
        EXPECT_EQ(doc().RedoName(), action.undoName);
        ASSERT_TRUE(doc().Redo());
        EXPECT_EQ(snapshot(), after);
        ASSERT_TRUE(doc().Undo());
        EXPECT_EQ(snapshot(), before);
        // The thumbnails of pages that came back are made again from their files.
        EXPECT_TRUE(doc().WaitForThumbnails());
        for (const PageRecord& page : doc().pages)
            EXPECT_FALSE(doc().pageImageList.image(page->imageIndex).isNull());
    }
    // The user's own files were never touched.
    for (const std::string& f : {a, b, c, d, e}) EXPECT_TRUE(fileExists(f)) << f;
}

TEST_F(PageHistoryTest, UndoRedoThroughTheCommandsAndTheirWords) {
    CPageView view;
    vellumo::mainwnd::ConnectPageView(doc(), &view, nullptr);
    load({makePage(1), makePage(2)});
    EXPECT_EQ(view.count(), 2);
    ASSERT_EQ(transform(0, PageTransform::RotateRight), 0);
    UndoPageChange(doc());
    EXPECT_EQ(doc().RedoName(), "rotate right");
    UndoPageChange(doc());
    EXPECT_EQ(view.count(), 0);
    EXPECT_FALSE(doc().CanUndo());
    RedoPageChange(doc());
    EXPECT_EQ(view.count(), 2);
    EXPECT_EQ(doc().UndoName(), "load");
    // A new change after an undo leaves nothing to redo.
    doc().currentItem = 0;
    dialogs().answerMessage(Answer::Yes);
    DeletePage(doc(), nullptr);
    EXPECT_FALSE(doc().CanRedo());
    EXPECT_EQ(doc().UndoName(), "delete");
}

TEST_F(PageHistoryTest, FiftyStepsAndMoreCanBeUndone) {
    load({makePage(1), makePage(2), makePage(3)});
    const std::vector<uint64_t> start = snapshot();
    for (int i = 0; i < 60; ++i) ASSERT_TRUE(MovePage(doc(), i % 3, (i + 1) % 3));
    for (int i = 0; i < 60; ++i) ASSERT_TRUE(doc().Undo()) << i;
    EXPECT_EQ(snapshot(), start);
    EXPECT_EQ(doc().UndoName(), "load");
}

// ---- A random session against a model of the list ----

TEST_F(PageHistoryTest, RandomActionsMatchAModelOfTheList) {
    std::mt19937 random(17);
    std::vector<std::string> files;
    for (int i = 0; i < 12; ++i) files.push_back(makePage(i + 10));

    using List = std::vector<uint64_t>;
    List model;
    std::vector<List> undo, redo;
    auto done = [&](const List& before) {
        undo.push_back(before);
        if (undo.size() > UndoHistory::kMaxSteps) undo.erase(undo.begin());
        redo.clear();
    };
    auto pick = [&](size_t n) { return static_cast<int>(random() % n); };

    for (int step = 0; step < 200; ++step) {
        const List before = model;
        const int what = pick(10);
        SCOPED_TRACE("step " + std::to_string(step) + " action " + std::to_string(what));
        if (what == 0 || model.empty()) {
            const std::string file = files[static_cast<size_t>(pick(files.size()))];
            load({file});
            model.push_back(PixelHash(file));
            done(before);
        } else if (what == 1) {
            scan(1);
            model.push_back(PixelHash(PagePath(*doc().pages.back())));
            done(before);
        } else if (what == 2) {
            const int row = pick(model.size());
            dialogs().answerMessage(Answer::Yes);
            doc().currentItem = row;
            DeletePage(doc(), nullptr);
            model.erase(model.begin() + row);
            done(before);
        } else if (what == 3 && model.size() > 1) {
            const int from = pick(model.size());
            int to = pick(model.size() - 1);
            if (to >= from) ++to;
            ASSERT_TRUE(MovePage(doc(), from, to));
            const uint64_t moved = model[static_cast<size_t>(from)];
            model.erase(model.begin() + from);
            model.insert(model.begin() + to, moved);
            done(before);
        } else if (what == 4) {
            const int row = pick(model.size());
            const auto kind = static_cast<PageTransform>(pick(4));
            ASSERT_EQ(transform(row, kind), 0);
            // The transform's own result is the transforms' tests' business; here it is the
            // new picture of the page.
            model[static_cast<size_t>(row)] =
                PixelHash(PagePath(*doc().pages[static_cast<size_t>(row)]));
            done(before);
        } else if (what == 5 && pick(3) == 0) {
            dialogs().answerMessage(Answer::Yes);
            ClearPages(doc(), nullptr, QStringLiteral("Clear list of pages to save or send?"));
            model.clear();
            if (!before.empty()) done(before);
        } else if (what <= 7) {
            EXPECT_EQ(doc().CanUndo(), !undo.empty());
            if (!undo.empty()) {
                ASSERT_TRUE(doc().Undo());
                redo.push_back(model);
                model = undo.back();
                undo.pop_back();
            }
        } else {
            EXPECT_EQ(doc().CanRedo(), !redo.empty());
            if (!redo.empty()) {
                ASSERT_TRUE(doc().Redo());
                undo.push_back(model);
                model = redo.back();
                redo.pop_back();
            }
        }
        ASSERT_EQ(snapshot(), model);
    }

    // The journal on the disk holds this very list.
    doc().FlushJournal();
    const JournalStore::Reading reading = JournalStore::ReadNewest(doc().session()->path());
    ASSERT_EQ(reading.found, JournalStore::Found::Journal);
    ASSERT_EQ(reading.contents.list.size(), doc().pages.size());
    for (size_t i = 0; i < doc().pages.size(); ++i)
        EXPECT_EQ(reading.contents.list[i], doc().pages[i]->id);

    // Every file of the folder is one the list, the history or the journal needs.
    std::set<std::string> needed;
    for (const Page& page : reading.contents.pages) {
        if (page.isScanned) needed.insert(page.sourcePath);
        if (!page.workingPath.empty()) needed.insert(page.workingPath);
    }
    for (const std::string& name : FilesIn(doc().session()->path())) {
        if (name == "lock" || JournalStore::IsJournalFileName(name)) continue;
        EXPECT_TRUE(needed.count(doc().session()->file(name))) << name << " is left over";
    }
    for (const std::string& path : needed) EXPECT_TRUE(fileExists(path)) << path;

    // A clean end leaves the private folder empty, and the user's files where they were.
    doc().EndSession();
    EXPECT_EQ(FilesIn(root()), std::vector<std::string>());
    for (const std::string& f : files) EXPECT_TRUE(fileExists(f));
}

// ---- Files and memory ----

TEST_F(PageHistoryTest, FilesGoWhenNoUndoCanBringThemBack) {
    scan(1);
    const std::string scanned = doc().pages[0]->sourcePath;
    EXPECT_TRUE(doc().session()->holds(scanned));
    EXPECT_TRUE(IsPageFileName(scanned.substr(scanned.rfind('/') + 1)));
    // Many more transforms than the history keeps: the oldest copies go with their steps.
    std::vector<std::string> copies;
    for (size_t i = 0; i < UndoHistory::kMaxSteps + 10; ++i) {
        ASSERT_EQ(transform(0, PageTransform::Invert), 0);
        copies.push_back(doc().pages[0]->workingPath);
    }
    doc().FlushJournal();
    EXPECT_FALSE(fileExists(copies.front()));
    EXPECT_TRUE(fileExists(copies.back()));
    size_t pageFiles = 0;
    for (const std::string& name : FilesIn(doc().session()->path()))
        pageFiles += IsPageFileName(name);
    EXPECT_LE(pageFiles, UndoHistory::kMaxSteps + 2);

    // A deleted page's thumbnail gives its memory back, and gets it again when it comes back.
    const int slot = doc().pages[0]->imageIndex;
    EXPECT_FALSE(doc().pageImageList.image(slot).isNull());
    dialogs().answerMessage(Answer::Yes);
    doc().currentItem = 0;
    DeletePage(doc(), nullptr);
    EXPECT_TRUE(doc().pageImageList.image(slot).isNull());
    ASSERT_TRUE(doc().Undo());
    EXPECT_TRUE(doc().WaitForThumbnails());
    EXPECT_FALSE(doc().pageImageList.image(slot).isNull());

    // The folder is the user's alone.
    EXPECT_EQ(fs::status(root()).permissions() & fs::perms::all, fs::perms::owner_all);
    EXPECT_EQ(fs::status(doc().session()->path()).permissions() & fs::perms::all,
              fs::perms::owner_all);
    EXPECT_EQ(root(), homeDir() + "/.local/state/vellumo/pages");
}

TEST_F(PageHistoryTest, AJournalThatCannotBeWrittenRefusesTheChange) {
    load({makePage(1), makePage(2)});
    const std::vector<uint64_t> before = snapshot();
    doc().FlushJournal();
    const std::vector<std::string> folderBefore = FilesIn(doc().session()->path());

    // A disk that takes no more: files may not grow beyond a few bytes.
    struct sigaction ignore {
    }, old{};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGXFSZ, &ignore, &old);
    rlimit limit{}, saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    limit = saved;
    limit.rlim_cur = 16;
    setrlimit(RLIMIT_FSIZE, &limit);
    dialogs().answerMessage(Answer::Yes);
    doc().currentItem = 0;
    DeletePage(doc(), nullptr);
    const int rotated = transform(1, PageTransform::RotateRight);
    setrlimit(RLIMIT_FSIZE, &saved);
    sigaction(SIGXFSZ, &old, nullptr);

    EXPECT_NE(rotated, 0);
    EXPECT_EQ(snapshot(), before);
    EXPECT_EQ(doc().UndoName(), "load");
    const QStringList messages = dialogs().messages();
    ASSERT_GE(messages.size(), 3) << messages.join(QStringLiteral(" | ")).toStdString();
    EXPECT_TRUE(messages[1].startsWith(QStringLiteral("The change was not made")))
        << messages[1].toStdString();
    // Nothing of the refused changes is left, and the journal still holds the list.
    doc().FlushJournal();
    EXPECT_EQ(FilesIn(doc().session()->path()), folderBefore);
    const JournalStore::Reading reading = JournalStore::ReadNewest(doc().session()->path());
    ASSERT_EQ(reading.found, JournalStore::Found::Journal);
    EXPECT_EQ(reading.contents.list.size(), 2u);

    // With room again, changes go on.
    ASSERT_EQ(transform(1, PageTransform::RotateRight), 0);
    EXPECT_NE(snapshot(), before);
}

// ---- The journal ----

TEST(PageJournal, FieldsRoundTripAndDamageIsFound) {
    Page odd;
    odd.id = 7;
    odd.sourcePath = "/home/ann/My scans/a=b,c%d\n.png";
    odd.workingPath = "/state/VWabcdef.tmp.TIF";
    Page scanned;
    scanned.id = 8;
    scanned.isScanned = 1;
    scanned.sourcePath = "/state/VWzzzzzz.tmp.TIF";
    std::map<uint64_t, const Page*> versions{{7, &odd}, {8, &scanned}};
    auto keep = [](const Page& p) { return std::make_shared<const Page>(p); };
    const PageTable list{keep(scanned), keep(odd)};
    UndoHistory history;
    history.push({PageAction::RotateLeft, 3,
                  std::make_shared<const PageTable>(PageTable{keep(odd)}),
                  std::make_shared<const PageTable>(list)});
    const std::string text = FormatJournal(42, versions, list, history);

    JournalContents contents;
    std::string error;
    ASSERT_TRUE(ParseJournal(text, contents, error)) << error;
    EXPECT_EQ(contents.sequence, 42u);
    EXPECT_EQ(contents.list, (std::vector<uint64_t>{8, 7}));
    ASSERT_EQ(contents.pages.size(), 2u);
    for (const Page& page : contents.pages) {
        const Page& expected = page.id == 7 ? odd : scanned;
        EXPECT_EQ(page.sourcePath, expected.sourcePath);
        EXPECT_EQ(page.workingPath, expected.workingPath);
        EXPECT_EQ(page.isScanned, expected.isScanned);
    }
    ASSERT_EQ(contents.undo.size(), 1u);
    EXPECT_EQ(contents.undo[0].action, PageAction::RotateLeft);
    EXPECT_EQ(contents.undo[0].before, std::vector<uint64_t>{7});

    // A field of a later version is passed over; a page line must still be whole.
    std::string newer = text;
    newer.insert(newer.find("page id=7") + 9, " text=hello%20there");
    // The checksum covers the text: recompute by writing again is the writer's job, so a reader
    // must refuse the edited text as it stands.
    EXPECT_FALSE(ParseJournal(newer, contents, error));

    // Cut short anywhere, or one byte changed, it is never taken for a list.
    for (size_t cut : {size_t{0}, text.size() / 3, text.size() / 2, text.size() - 2})
        EXPECT_FALSE(ParseJournal(text.substr(0, cut), contents, error)) << cut;
    std::string flipped = text;
    flipped[flipped.find("list") + 8] ^= 1;
    EXPECT_FALSE(ParseJournal(flipped, contents, error));
}

// ---- Recovery at start ----

class RecoveryTest : public PageHistoryTest {
protected:
    // Leaves the session's folder as a killed instance would: a copy under a session name of its
    // own whose lock nobody holds.
    std::string abandonCopy() {
        doc().FlushJournal();
        const std::string copy = root() + "/session-crashd";
        fs::copy(doc().session()->path(), copy, fs::copy_options::recursive);
        // The copy names the first folder's files; a killed instance's journal names its own.
        for (const std::string& name : FilesIn(copy)) {
            if (!JournalStore::IsJournalFileName(name)) continue;
            std::string text = testsupport::readFile(copy + "/" + name);
            JournalContents contents;
            std::string error;
            EXPECT_TRUE(ParseJournal(text, contents, error)) << error;
            rewritePaths(copy, contents);
        }
        return copy;
    }
    void rewritePaths(const std::string& copy, JournalContents& contents) {
        // Rewritten through the writer, so that the checksum is right.
        const std::string from = doc().session()->path();
        std::vector<std::shared_ptr<const Page>> keep;
        std::map<uint64_t, const Page*> versions;
        std::map<uint64_t, PageRecord> byId;
        for (Page page : contents.pages) {
            for (std::string* p : {&page.sourcePath, &page.workingPath})
                if (p->rfind(from, 0) == 0) *p = copy + p->substr(from.size());
            auto record = std::make_shared<const Page>(page);
            byId[page.id] = record;
            versions[page.id] = record.get();
        }
        auto table = [&](const std::vector<uint64_t>& ids) {
            PageTable t;
            for (uint64_t id : ids) t.push_back(byId.at(id));
            return std::make_shared<const PageTable>(t);
        };
        UndoHistory history;
        for (const auto& step : contents.undo)
            history.push({step.action, step.serial, table(step.before), table(step.after)});
        testsupport::writeFile(copy + "/journal", FormatJournal(contents.sequence, versions,
                                                                *table(contents.list), history));
        for (const std::string& name : FilesIn(copy))
            if (name != "journal" && JournalStore::IsJournalFileName(name))
                fs::remove(copy + "/" + name);
    }
};

TEST_F(RecoveryTest, YesBringsThePagesBackInOrderWithTheirHistory) {
    load({makePage(1), makePage(2), makePage(3)});
    ASSERT_EQ(transform(1, PageTransform::RotateLeft), 0);
    ASSERT_TRUE(MovePage(doc(), 0, 2));
    const std::vector<uint64_t> expected = snapshot();
    const std::string copy = abandonCopy();

    PageDocument second;
    dialogs().clear();
    dialogs().answerMessage(Answer::Yes);
    StartPageSession(second, nullptr);
    ASSERT_EQ(dialogs().asked().size(), 1u);
    EXPECT_EQ(dialogs().asked()[0].text,
              QStringLiteral(
                  "Vellumo was not closed properly. Restore the 3 pages of the last session?"));
    EXPECT_EQ(dialogs().asked()[0].caption, QStringLiteral("Vellumo"));
    EXPECT_EQ(dialogs().asked()[0].buttons, MessageButtons::YesNo);
    ASSERT_NE(second.session(), nullptr);
    EXPECT_EQ(second.session()->path(), copy);
    std::vector<uint64_t> restored;
    for (const PageRecord& page : second.pages) restored.push_back(PixelHash(PagePath(*page)));
    EXPECT_EQ(restored, expected);
    EXPECT_TRUE(second.WaitForThumbnails());
    for (const PageRecord& page : second.pages)
        EXPECT_FALSE(second.pageImageList.image(page->imageIndex).isNull());
    // The history came with them.
    EXPECT_EQ(second.UndoName(), "move");
    ASSERT_TRUE(second.Undo());
    ASSERT_TRUE(second.Undo());
    restored.clear();
    for (const PageRecord& page : second.pages) restored.push_back(PixelHash(PagePath(*page)));
    EXPECT_EQ(restored.size(), 3u);
    EXPECT_EQ(restored[0], expected[2]);

    // The running first instance was never offered, and a clean end leaves only it.
    second.EndSession();
    EXPECT_EQ(FilesIn(root()),
              std::vector<std::string>{doc().session()->path().substr(root().size() + 1)});
}

TEST_F(RecoveryTest, NoRemovesTheFilesAndARunningSessionIsNeverOffered) {
    load({makePage(1)});
    scan(2);
    const std::string copy = abandonCopy();
    PageDocument second;
    dialogs().clear();
    dialogs().answerMessage(Answer::No);
    StartPageSession(second, nullptr);
    ASSERT_EQ(dialogs().asked().size(), 1u);
    EXPECT_FALSE(fs::exists(copy));
    EXPECT_TRUE(second.pages.empty());
    ASSERT_NE(second.session(), nullptr);

    // Both sessions running: a third start asks nothing and takes neither.
    PageDocument third;
    dialogs().clear();
    StartPageSession(third, nullptr);
    EXPECT_TRUE(dialogs().asked().empty());
    EXPECT_EQ(doc().pages.size(), 3u);
    for (const PageRecord& page : doc().pages) EXPECT_TRUE(fileExists(PagePath(*page)));
    third.EndSession();
    second.EndSession();
    doc().EndSession();
    EXPECT_EQ(FilesIn(root()), std::vector<std::string>());
}

TEST_F(RecoveryTest, MissingFilesAreCountedAndADamagedJournalIsSetAsideOnce) {
    scan(3);
    std::string copy = abandonCopy();
    // One page's file is gone.
    const std::string lost =
        copy + doc().pages[1]->sourcePath.substr(doc().session()->path().size());
    ASSERT_TRUE(fs::remove(lost));
    {
        PageDocument second;
        dialogs().clear();
        dialogs().answerMessage(Answer::Yes);
        StartPageSession(second, nullptr);
        EXPECT_EQ(second.pages.size(), 2u);
        ASSERT_EQ(dialogs().messages().size(), 2);
        EXPECT_EQ(dialogs().messages()[1],
                  QStringLiteral("1 page could not be restored because its file is missing."));
        for (const PageRecord& page : second.pages) EXPECT_TRUE(fileExists(PagePath(*page)));
    }

    // A journal cut short: kept aside, told once, never asked about.
    copy = abandonCopy();
    const std::string journal = copy + "/journal";
    const std::string text = testsupport::readFile(journal);
    testsupport::writeFile(journal, text.substr(0, text.size() / 2));
    for (int start = 0; start < 2; ++start) {
        PageDocument next;
        dialogs().clear();
        StartPageSession(next, nullptr);
        if (start == 0) {
            ASSERT_EQ(dialogs().messages().size(), 1);
            EXPECT_TRUE(dialogs().messages()[0].contains(QStringLiteral("was set aside")));
            EXPECT_EQ(dialogs().asked()[0].icon, MessageIcon::Exclamation);
        } else {
            EXPECT_TRUE(dialogs().asked().empty());
        }
    }
    EXPECT_FALSE(fs::exists(copy));
    int aside = 0;
    for (const std::string& name : FilesIn(root())) {
        if (name.rfind("damaged-", 0) != 0) continue;
        ++aside;
        EXPECT_EQ(testsupport::readFile(root() + "/" + name + "/journal"),
                  text.substr(0, text.size() / 2));
    }
    EXPECT_EQ(aside, 1);
}

// The question and the messages of a restart, and the names in "Undo …", reach a German user in
// German, their numbers carried over.
TEST(PageHistoryLanguage, RecoveryTextsAndChangeNamesAreTranslated) {
    InitVellumoResources();
    QTranslator german;
    ASSERT_TRUE(german.load(QStringLiteral(":/i18n/vellumo_de.qm")));
    QCoreApplication::installTranslator(&german);
    EXPECT_EQ(
        vellumo::platform::TranslatedMessage(QStringLiteral(
            "Vellumo was not closed properly. Restore the 12 pages of the last session?")),
        QStringLiteral("Vellumo wurde nicht ordnungsgem\u00e4\u00df beendet. Die 12 Seiten der "
                       "letzten Sitzung wiederherstellen?"));
    EXPECT_EQ(vellumo::platform::TranslatedMessage(
                  QStringLiteral("4 pages could not be restored because their files are missing.")),
              QStringLiteral("4 Seiten konnten nicht wiederhergestellt werden, weil ihre Dateien "
                             "fehlen."));
    for (PageAction action :
         {PageAction::Load, PageAction::Scan, PageAction::Delete, PageAction::Move,
          PageAction::RotateRight, PageAction::RotateLeft, PageAction::Invert, PageAction::Mirror,
          PageAction::Clear, PageAction::Edit}) {
        const char* name = ActionName(action);
        EXPECT_NE(QCoreApplication::translate("PageAction", name), QString::fromUtf8(name)) << name;
    }
    QCoreApplication::removeTranslator(&german);
}

}  // namespace
