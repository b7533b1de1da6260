#include "editing/load_page.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "mainwnd/page_view.h"
#include "mainwnd/vellumo_dlg.h"
#include "platform/messages.h"
#include "platform/window_message.h"
#include "tests/support/editing_fixtures.h"

using namespace vellumo::document;
using namespace vellumo::editing;

using namespace vellumo::platform;
using namespace vellumo::mainwnd;

namespace editing {
namespace {

using testsupport::fileExists;
using testsupport::shellQuote;

// Stands in for the skin window: notes the page counts it is sent.
class SkinRecorder : public MessageWindow<QWidget> {
public:
    std::vector<WPARAM> pageCounts;

protected:
    LRESULT messageMap(unsigned message, WPARAM wParam, LPARAM) override {
        if (message == msg::UM_PAGECOUNT) pageCounts.push_back(wParam);
        return 0;
    }
};

class LoadPage : public EditingTest {
protected:
    void SetUp() override {
        EditingTest::SetUp();
        document_.FreeAllPages();
        vellumo::mainwnd::ConnectPageView(document_, &view, &skin);
        settings_.currentDir = QString::fromStdString(dir_.path() + "/");
    }
    void TearDown() override {
        document_.FreeAllPages();
        document_.views = {};
        EditingTest::TearDown();
    }
    // Writes a picture with the program's own codec.
    std::string writeTiff(const std::string& name, int kind, int w, int h) {
        Image image;
        if (kind == 1)
            MakeBilevel(image.buffer, w, h);
        else if (kind == 8)
            MakeGrey(image.buffer, w, h);
        else
            MakeColour(image.buffer, w, h);
        const std::string path = dir_.file(name);
        EXPECT_EQ(SaveTiff(path.c_str(), image.buffer, 0), 0);
        return path;
    }
    ScriptedDialogs dialogs;
    CPageView view;
    SkinRecorder skin;
};

TEST_F(LoadPage, TiffNamedJpgIsReadAsTiff) {
    const std::string path = writeTiff("photo.jpg", 8, 64, 48);
    ASSERT_EQ(LoadImageFile(document_.workingImage, QString::fromStdString(path)), 0);
    EXPECT_EQ(ImageWidth(document_.workingImage), 64);
    EXPECT_EQ(ImageHeight(document_.workingImage), 48);
    EXPECT_EQ(BitsPerPixel(document_.workingImage), 8);
    Image expected;
    MakeGrey(expected.buffer, 64, 48);
    EXPECT_TRUE(SamePicture(document_.workingImage, expected.buffer));
    EXPECT_TRUE(dialogs.messages().isEmpty());
}

TEST_F(LoadPage, UnreadableFileIsReportedOnce) {
    testsupport::writeFile(dir_.file("notes.tif"), "not a picture at all\n");
    MakeGrey(document_.workingImage, 10, 10);  // whatever was loaded before goes
    EXPECT_EQ(LoadImageFile(document_.workingImage, QString::fromStdString(dir_.file("notes.tif"))),
              -1);
    EXPECT_EQ(document_.workingImage.header, nullptr);
    EXPECT_EQ(
        LoadImageFile(document_.workingImage, QString::fromStdString(dir_.file("missing.png"))),
        -1);
    ASSERT_EQ(dialogs.asked().size(), 2u);
    EXPECT_EQ(dialogs.asked()[0].text, "Unsupported graphics format");
    EXPECT_EQ(dialogs.asked()[0].caption, "Vellumo");
    EXPECT_EQ(dialogs.asked()[0].icon, MessageIcon::Exclamation);
}

TEST_F(LoadPage, ThreeFilesWithATextFileBetweenGiveTwoPages) {
    const std::string first = writeTiff("first.tif", 24, 80, 60);
    const std::string text = dir_.file("readme.txt");
    testsupport::writeFile(text, "hello\n");
    const std::string third = dir_.file("third.png");
    ASSERT_EQ(
        testsupport::run("/usr/bin/convert -size 30x40 gradient:white-black " + shellQuote(third)),
        0);
    const std::string thirdBefore = testsupport::readFile(third);

    dialogs.answerOpenFiles(QStringList{QString::fromStdString(first), QString::fromStdString(text),
                                        QString::fromStdString(third)});
    OnLoadPage(context());

    ASSERT_EQ(dialogs.asked().size(), 2u);
    const AskedQuestion& open = dialogs.asked()[0];
    EXPECT_EQ(open.kind, AskedQuestion::Kind::OpenFiles);
    EXPECT_EQ(open.caption, "Select file(s) to load");
    EXPECT_TRUE(open.multiple);
    EXPECT_TRUE(open.filter.isEmpty());
    EXPECT_EQ(open.folder, QString::fromStdString(dir_.path() + "/"));
    EXPECT_EQ(dialogs.messages(), QStringList{"Unsupported graphics format"});

    ASSERT_EQ(document_.pages.size(), 2u);
    EXPECT_EQ(document_.pages[0]->sourcePath, first);
    EXPECT_EQ(document_.pages[1]->sourcePath, third);
    for (const auto& page : document_.pages) {
        EXPECT_EQ(page->isScanned, 0);
        EXPECT_TRUE(page->workingPath.empty());
        EXPECT_FALSE(document_.pageImageList.image(page->imageIndex).isNull());
    }
    EXPECT_NE(document_.pages[0]->imageIndex, document_.pages[1]->imageIndex);
    EXPECT_EQ(view.count(), 2);
    EXPECT_EQ(document_.workingImage.header, nullptr);
    EXPECT_EQ(testsupport::readFile(third), thirdBefore);  // used in place, never written

    EXPECT_EQ(countLog("File to load: " + first), 1);
    EXPECT_EQ(countLog("File to load: " + text), 1);
    EXPECT_EQ(countLog("File to load: " + third), 1);
    EXPECT_EQ(countLog("Image(s) loaded"), 1);
    EXPECT_EQ(logLines().back(), "Image(s) loaded");

    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(skin.pageCounts, std::vector<WPARAM>{3});
    EXPECT_EQ(settings_.currentDir, QString::fromStdString(dir_.path() + "/"));
}

TEST_F(LoadPage, TheDetailsNameTheFileAndTheReasonAndAFifoNeverHoldsTheWindow) {
    const std::string good = writeTiff("good.tif", 8, 40, 30);
    const std::string whole = testsupport::readFile(good);
    const std::string cut = dir_.file("cut.tif");
    testsupport::writeFile(cut, whole.substr(0, whole.size() / 3));
    const std::string fifo = dir_.file("pipe.png");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
    const std::string empty = dir_.file("empty.png");
    testsupport::writeFile(empty, "");
    // Should the load wait on the FIFO, a writer lets it go after a while: the test then fails
    // instead of hanging.
    std::atomic<bool> done{false};
    std::thread release([&] {
        for (int i = 0; i < 100 && !done; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        if (!done) close(open(fifo.c_str(), O_WRONLY | O_NONBLOCK));
    });
    const auto start = std::chrono::steady_clock::now();
    LoadPageFiles(context(), QStringList{QString::fromStdString(fifo), QString::fromStdString(cut),
                                         QString::fromStdString(empty),
                                         QString::fromStdString(dir_.file("gone.png"))});
    done = true;
    release.join();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_TRUE(document_.pages.empty());
    const std::vector<std::string> details = {
        fifo + ": it is a FIFO, not a regular file", cut + ": the file is damaged or truncated",
        empty + ": the file is empty", dir_.file("gone.png") + ": the file does not exist"};
    ASSERT_EQ(dialogs.asked().size(), details.size());
    for (size_t i = 0; i < details.size(); ++i) {
        EXPECT_EQ(dialogs.asked()[i].text, "Unsupported graphics format");
        EXPECT_EQ(dialogs.asked()[i].details.toStdString(), details[i]);
        EXPECT_EQ(countLog(details[i]), 1);
    }
}

TEST_F(LoadPage, FolderOfTheFileIsRemembered) {
    ASSERT_EQ(testsupport::run("mkdir " + shellQuote(dir_.file("scans"))), 0);
    const std::string path = writeTiff("scans/page.tif", 1, 40, 40);
    dialogs.answerOpenFiles(QStringList{QString::fromStdString(path)});
    OnLoadPage(context());
    const QString folder = QString::fromStdString(dir_.file("scans") + "/");
    EXPECT_EQ(settings_.currentDir, folder);
    EXPECT_EQ(SettingsStore::read(setting::CurrentDir), folder);
    ASSERT_EQ(document_.pages.size(), 1u);

    // The next time the dialog opens there; cancelling it changes nothing and logs nothing.
    const size_t lines = logLines().size();
    OnLoadPage(context());
    EXPECT_EQ(dialogs.asked().back().folder, folder);
    EXPECT_EQ(document_.pages.size(), 1u);
    EXPECT_EQ(logLines().size(), lines);
}

}  // namespace
}  // namespace editing
