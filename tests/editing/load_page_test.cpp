#include "editing/load_page.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <thread>

#include <QInputDialog>
#include <QProgressBar>
#include <QTimer>

#include "editing/page_transforms.h"
#include "mainwnd/page_view.h"
#include "mainwnd/vellumo_dlg.h"
#include "platform/messages.h"
#include "platform/window_message.h"
#include "tests/support/editing_fixtures.h"
#include "widgets/activity_dialog.h"

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

// ---- Every page of multi-page files ----

// Runs a shell command that must succeed.
void Sh(const std::string& command) {
    ASSERT_EQ(testsupport::run(command), 0) << command;
}

TEST_F(LoadPage, EveryPageOfAMultiPageTiffComesInInOrderWithItsOwnPixels) {
    // 1, 8 and 24 bits, each with a compression of its own, joined by tiffcp; and the same
    // pages joined by ImageMagick.
    const std::string one = dir_.file("one.tif"), eight = dir_.file("eight.tif"),
                      colour = dir_.file("colour.tif");
    Sh("/usr/bin/convert -size 120x90 pattern:checkerboard -monochrome -compress Group4 " +
       shellQuote(one));
    Sh("/usr/bin/convert -size 100x70 gradient:white-black -depth 8 -type Grayscale -compress "
       "LZW " +
       shellQuote(eight));
    Sh("/usr/bin/convert -size 80x60 plasma:red-blue -seed 7 -depth 8 -type TrueColor -compress "
       "Zip " +
       shellQuote(colour));
    const std::string joined = dir_.file("fax.tif"), magick = dir_.file("magick.tif");
    Sh("/usr/bin/tiffcp " + shellQuote(one) + " " + shellQuote(eight) + " " + shellQuote(colour) +
       " " + shellQuote(joined));
    Sh("/usr/bin/convert " + shellQuote(one) + " " + shellQuote(eight) + " " + shellQuote(colour) +
       " -adjoin " + shellQuote(magick));

    LoadPageFiles(context(),
                  QStringList{QString::fromStdString(joined), QString::fromStdString(magick)});
    EXPECT_TRUE(dialogs.messages().isEmpty());
    ASSERT_EQ(document_.pages.size(), 6u);
    const std::string singles[] = {one, eight, colour};
    for (size_t i = 0; i < 6; ++i) {
        const Page& page = *document_.pages[i];
        EXPECT_EQ(page.sourcePath, i < 3 ? joined : magick);
        EXPECT_EQ(page.pageIndex, static_cast<int>(i % 3));
        // Exactly the pixels of the single file the page was made from.
        Image single, loaded;
        ASSERT_EQ(ReadImageFile(singles[i % 3].c_str(), single.buffer), 0);
        ASSERT_EQ(LoadPageImage(loaded.buffer, PageRefOf(page), "", nullptr), 0);
        EXPECT_EQ(BitsPerPixel(loaded.buffer), BitsPerPixel(single.buffer)) << i;
        EXPECT_TRUE(SamePicture(loaded.buffer, single.buffer)) << "page " << i;
    }
    // The list says which page of the file each is; the viewer gets the same.
    ASSERT_EQ(view.count(), 6);
    EXPECT_EQ(view.item(0)->text(), QString::fromStdString("1 - " + joined));
    EXPECT_EQ(view.item(1)->text(), QString::fromStdString("2 - " + joined + " (page 2)"));
    EXPECT_EQ(view.item(5)->text(), QString::fromStdString("6 - " + magick + " (page 3)"));
    const QStringList arguments = ViewerArguments(document_, 1);
    EXPECT_EQ(arguments.mid(0, 2), (QStringList{"--show", "2"}));
    EXPECT_EQ(arguments.mid(5, 3), (QStringList{"--page", "2", QString::fromStdString(joined)}));
    EXPECT_EQ(countLog("File to load: " + joined), 1);
    EXPECT_EQ(countLog("Image(s) loaded"), 1);
}

TEST_F(LoadPage, TurningTheSecondPageOfATiffTurnsThatPageOnly) {
    const std::string a = writeTiff("a.tif", 8, 40, 30), b = writeTiff("b.tif", 24, 50, 20);
    const std::string joined = dir_.file("two.tif");
    Sh("/usr/bin/tiffcp " + shellQuote(a) + " " + shellQuote(b) + " " + shellQuote(joined));
    const std::string before = testsupport::readFile(joined);
    LoadPageFiles(context(), QStringList{QString::fromStdString(joined)});
    ASSERT_EQ(document_.pages.size(), 2u);
    document_.currentItem = 1;
    ASSERT_EQ(TransformPage(context(), PageTransform::RotateRight), 0);
    const Page& turned = *document_.pages[1];
    ASSERT_FALSE(turned.workingPath.empty());
    Image copy;
    ASSERT_EQ(ReadImageFile(turned.workingPath.c_str(), copy.buffer), 0);
    EXPECT_EQ(ImageWidth(copy.buffer), 20);  // the 50 x 20 page, turned
    EXPECT_EQ(ImageHeight(copy.buffer), 50);
    EXPECT_EQ(PageRefOf(turned), (PageRef{turned.workingPath, 0}));
    EXPECT_EQ(testsupport::readFile(joined), before);  // the user's file is never written
}

TEST_F(LoadPage, PdfPagesComeInInOrderImagesLosslessAndVectorPagesDrawn) {
    const std::string first = dir_.file("first.png"), second = dir_.file("second.png");
    Sh("/usr/bin/convert -size 64x48 gradient:red-blue -depth 8 " + shellQuote(first));
    Sh("/usr/bin/convert -size 30x70 gradient:white-black -depth 8 -type Grayscale " +
       shellQuote(second));
    const std::string images = dir_.file("images.pdf");
    Sh("/usr/bin/img2pdf " + shellQuote(first) + " " + shellQuote(second) + " -o " +
       shellQuote(images));
    const std::string vector = dir_.file("vector.pdf");
    Sh("/usr/bin/gs -q -dNOPAUSE -dBATCH -sPAPERSIZE=a4 -dFIXEDMEDIA -sDEVICE=pdfwrite -o " +
       shellQuote(vector) +
       " -c '/Helvetica findfont 40 scalefont setfont 72 700 moveto (Vellumo) show showpage'");

    LoadPageFiles(context(),
                  QStringList{QString::fromStdString(images), QString::fromStdString(vector)});
    EXPECT_TRUE(dialogs.messages().isEmpty());
    ASSERT_EQ(document_.pages.size(), 3u);
    EXPECT_EQ(PageRefOf(*document_.pages[0]), (PageRef{images, 0}));
    EXPECT_EQ(PageRefOf(*document_.pages[1]), (PageRef{images, 1}));
    EXPECT_EQ(PageRefOf(*document_.pages[2]), (PageRef{vector, 0}));
    const std::string originals[] = {first, second};
    for (int i = 0; i < 2; ++i) {
        Image original, page;
        ASSERT_EQ(ReadImageFile(originals[i].c_str(), original.buffer), 0);
        ASSERT_EQ(LoadPageImage(page.buffer, PageRefOf(*document_.pages[i]), "", nullptr), 0);
        EXPECT_TRUE(SamePicture(page.buffer, original.buffer)) << i;
    }
    // The text page is drawn at 300 dpi: an A4 page of 2480 x 3508 pixels (give or take the
    // rounding of its size in points).
    Image drawn;
    ASSERT_EQ(LoadPageImage(drawn.buffer, PageRefOf(*document_.pages[2]), "", nullptr), 0);
    EXPECT_NEAR(ImageWidth(drawn.buffer), 2480, 1);
    EXPECT_NEAR(ImageHeight(drawn.buffer), 3508, 1);
    // Each thumbnail shows its own page: the gradient's red corner, the text page's white.
    const QImage thumb0 = document_.pageImageList.image(document_.pages[0]->imageIndex);
    const QImage thumb2 = document_.pageImageList.image(document_.pages[2]->imageIndex);
    EXPECT_GT(qRed(thumb0.pixel(130, 130)), 100);
    EXPECT_EQ(thumb2.pixel(130, 250), qRgb(255, 255, 255));
}

TEST_F(LoadPage, AnEncryptedPdfAsksForItsPasswordUntilItOpens) {
    const std::string picture = dir_.file("p.png");
    Sh("/usr/bin/convert -size 40x40 xc:green " + shellQuote(picture));
    const std::string plain = dir_.file("plain.pdf"), locked = dir_.file("locked.pdf");
    Sh("/usr/bin/img2pdf " + shellQuote(picture) + " " + shellQuote(picture) + " -o " +
       shellQuote(plain));
    Sh("/usr/bin/qpdf --encrypt secret owner 256 -- " + shellQuote(plain) + " " +
       shellQuote(locked));

    QStringList labels;
    QStringList answers{"wrong", "secret"};
    dialogs.setDialogAnswer([&](QDialog& dialog) {
        auto* input = qobject_cast<QInputDialog*>(&dialog);
        if (!input || answers.isEmpty()) return int(QDialog::Rejected);
        labels << input->labelText();
        EXPECT_EQ(input->textEchoMode(), QLineEdit::Password);
        input->setTextValue(answers.takeFirst());
        return int(QDialog::Accepted);
    });
    LoadPageFiles(context(), QStringList{QString::fromStdString(locked)});
    ASSERT_EQ(labels.size(), 2);
    EXPECT_TRUE(labels[0].contains("locked.pdf"));
    EXPECT_TRUE(labels[1].startsWith("Wrong password"));
    EXPECT_TRUE(dialogs.messages().isEmpty());
    ASSERT_EQ(document_.pages.size(), 2u);
    EXPECT_EQ(document_.PasswordOf(*document_.pages[1]), "secret");
    // The page opens with the password (drawn at 300 dpi: 40 pixels at 96 dpi are 125) and
    // shows its green.
    Image page;
    ASSERT_EQ(LoadPageImage(page.buffer, PageRefOf(*document_.pages[1]), "secret", nullptr), 0);
    EXPECT_EQ(ImageWidth(page.buffer), 125);
    const uint8_t* middle = RowPointer(page.buffer, 60) + 60 * 3;
    EXPECT_LT(middle[2], 10);   // red
    EXPECT_GT(middle[1], 100);  // green
    // Without it the page is refused with the reason, never shown empty.
    dialogs.clear();
    EXPECT_EQ(LoadPageImage(page.buffer, PageRefOf(*document_.pages[1]), "", nullptr), -1);
    EXPECT_EQ(dialogs.messages(), QStringList{"Unsupported graphics format"});

    // Giving up on the password brings nothing in and tells of no damage.
    dialogs.clear();
    answers.clear();
    LoadPageFiles(context(), QStringList{QString::fromStdString(locked)});
    EXPECT_EQ(document_.pages.size(), 2u);
    EXPECT_TRUE(dialogs.messages().isEmpty());
}

TEST_F(LoadPage, ADamagedPdfIsUnsupportedWithItsReasonAndTheOtherFilesStillCome) {
    const std::string picture = dir_.file("p.png");
    Sh("/usr/bin/convert -size 40x40 xc:blue " + shellQuote(picture));
    const std::string good = dir_.file("good.pdf");
    Sh("/usr/bin/img2pdf " + shellQuote(picture) + " -o " + shellQuote(good));
    const std::string whole = testsupport::readFile(good);
    const std::string broken = dir_.file("broken.pdf");
    testsupport::writeFile(broken, whole.substr(0, 400));
    const std::string after = writeTiff("after.tif", 8, 30, 30);

    LoadPageFiles(context(),
                  QStringList{QString::fromStdString(broken), QString::fromStdString(after)});
    ASSERT_EQ(dialogs.asked().size(), 1u);
    EXPECT_EQ(dialogs.asked()[0].text, "Unsupported graphics format");
    EXPECT_EQ(dialogs.asked()[0].details.left(static_cast<int>(broken.size()) + 2),
              QString::fromStdString(broken + ": "));
    ASSERT_EQ(document_.pages.size(), 1u);
    EXPECT_EQ(document_.pages[0]->sourcePath, after);
}

TEST_F(LoadPage, ManyPagesFillTheListInOrderAndCancelKeepsWhatCame) {
    // A photo, three hundred times: long enough to be cancelled half-way.
    const std::string photo = dir_.file("photo.jpg");
    Sh("/usr/bin/convert -size 1240x1754 gradient:white-navy -quality 85 " + shellQuote(photo));
    QStringList files;
    for (int i = 0; i < 300; ++i) files << QString::fromStdString(photo);
    vellumo::widgets::CActivityDialog* activity = vellumo::widgets::CreateActivityDialog(&window_);
    window_.show();
    int shownBeforeCancel = -1;
    QString progressText;
    // Cancel is pressed once a few pages are in the list.
    QTimer watch;
    watch.setInterval(20);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (view.count() < 3 || !activity->isVisible()) return;
        watch.stop();
        shownBeforeCancel = view.count();
        progressText = activity->findChild<QProgressBar*>()->text();
        EXPECT_FALSE(window_.isEnabled());  // no second command while pages arrive
        activity->OnCancel();
    });
    watch.start();
    LoadPageFiles(context(), files);
    const int loaded = static_cast<int>(document_.pages.size());
    EXPECT_GT(shownBeforeCancel, 0);  // pages were in the list while the rest decoded
    EXPECT_TRUE(progressText.startsWith("Page ")) << progressText.toStdString();
    EXPECT_TRUE(progressText.endsWith(" of 300")) << progressText.toStdString();
    EXPECT_GE(loaded, shownBeforeCancel);
    EXPECT_LT(loaded, 300);
    EXPECT_EQ(view.count(), loaded);
    EXPECT_TRUE(window_.isEnabled());
    EXPECT_FALSE(activity->isVisible());
    EXPECT_EQ(countLog("Image(s) loaded"), 1);
    QCoreApplication::sendPostedEvents();
    ASSERT_FALSE(skin.pageCounts.empty());
    EXPECT_GT(skin.pageCounts.size(), 1u);  // the count went up as pages came
    EXPECT_EQ(skin.pageCounts.back(), static_cast<WPARAM>(loaded + 1));
    for (int i = 0; i < loaded; ++i)
        EXPECT_EQ(view.item(i)->text(),
                  QStringLiteral("%1 - %2").arg(i + 1).arg(QString::fromStdString(photo)));
    delete activity;
}

}  // namespace
}  // namespace editing
