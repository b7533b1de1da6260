#include "editing/page_transforms.h"

#include <cstdlib>

#include "editing/load_page.h"
#include "mainwnd/page_view.h"
#include "tests/support/editing_fixtures.h"

using namespace vellumo::document;
using namespace vellumo::editing;
using namespace vellumo::mainwnd;

namespace editing {
namespace {

using testsupport::capture;
using testsupport::fileExists;
using testsupport::readFile;
using testsupport::shellQuote;

class PageTransforms : public EditingTest {
protected:
    void SetUp() override {
        EditingTest::SetUp();
        document_.FreeAllPages();
        vellumo::mainwnd::ConnectPageView(document_, &view, nullptr);
    }
    void TearDown() override {
        document_.FreeAllPages();
        document_.views = {};
        EditingTest::TearDown();
    }
    // Appends a loaded page for the file, as "LOAD PAGE" does, and makes it the current item.
    const Page& addPage(const std::string& path) {
        EXPECT_EQ(LoadImageFile(document_.workingImage, QString::fromStdString(path)), 0);
        document_.MakeThumbnail(document_.workingImage);
        document_.AppendPage(path, 0);
        FreeImage(document_.workingImage);
        document_.RebuildPageView();
        document_.currentItem = static_cast<int>(document_.pages.size()) - 1;
        return *document_.pages.back();
    }
    // The current item's page as the document holds it now: a change makes a new version.
    const Page& current() const {
        return *document_.pages[static_cast<size_t>(document_.currentItem)];
    }
    // The page's current file, read back.
    void readPage(const Page& page, ImageBuffer& image) {
        ASSERT_EQ(ReadImageFile(PagePath(page).c_str(), image), 0) << PagePath(page);
    }
    std::string writeTiff(const std::string& name, void (*make)(ImageBuffer&, int, int), int w,
                          int h) {
        Image image;
        make(image.buffer, w, h);
        const std::string path = dir_.file(name);
        EXPECT_EQ(SaveTiff(path.c_str(), image.buffer, 0), 0);
        return path;
    }
    ScriptedDialogs dialogs;
    CPageView view;
};

TEST_F(PageTransforms, RotateRightThenLeftGivesTheFirstPictureBack) {
    const std::string file = writeTiff("current().tif", MakeColour, 70, 40);
    const std::string before = readFile(file);
    addPage(file);

    ASSERT_EQ(TransformPage(context(), PageTransform::RotateRight), 0);
    const std::string firstCopy = current().workingPath;
    Image turned, original;
    readPage(current(), turned.buffer);
    MakeColour(original.buffer, 70, 40);
    EXPECT_EQ(ImageWidth(turned.buffer), 40);
    EXPECT_EQ(ImageHeight(turned.buffer), 70);
    // Turned right: the former top edge is now the right side.
    EXPECT_EQ(AreaPixel(turned.buffer, 39, 0), GetPixelValue(original.buffer, 0, 0));
    EXPECT_EQ(AreaPixel(turned.buffer, 39, 69), GetPixelValue(original.buffer, 69, 0));

    ASSERT_EQ(TransformPage(context(), PageTransform::RotateLeft), 0);
    const std::string secondCopy = current().workingPath;
    Image back;
    readPage(current(), back.buffer);
    EXPECT_TRUE(SamePicture(back.buffer, original.buffer));

    EXPECT_NE(firstCopy, secondCopy);
    EXPECT_TRUE(fileExists(firstCopy));
    EXPECT_TRUE(fileExists(secondCopy));
    EXPECT_EQ(secondCopy.rfind(Home().tempDir() + "/VW", 0), 0u) << secondCopy;
    EXPECT_EQ(secondCopy.substr(secondCopy.size() - 4), ".TIF");
    EXPECT_EQ(current().sourcePath, file);
    EXPECT_EQ(readFile(file), before);
    EXPECT_EQ(document_.workingImage.header, nullptr);
    EXPECT_EQ(countLog("Start rotate right"), 1);
    EXPECT_EQ(countLog("End rotate right"), 1);
    EXPECT_EQ(countLog("Start rotate left"), 1);
    EXPECT_EQ(countLog("End rotate left"), 1);
    // The working copies are LZW-compressed TIFFs.
    const std::string info = capture("tiffinfo " + shellQuote(secondCopy) + " 2>&1");
    EXPECT_NE(info.find("Compression Scheme: LZW"), std::string::npos) << info;
}

TEST_F(PageTransforms, InvertTwiceGivesTheFirstPictureBack) {
    addPage(writeTiff("grey.tif", MakeGrey, 50, 30));
    Image original;
    MakeGrey(original.buffer, 50, 30);
    ASSERT_EQ(TransformPage(context(), PageTransform::Invert), 0);
    Image inverted;
    readPage(current(), inverted.buffer);
    EXPECT_EQ(AreaPixel(inverted.buffer, 4, 3), 255 - GetPixelValue(original.buffer, 4, 3));
    const std::string firstCopy = current().workingPath;
    ASSERT_EQ(TransformPage(context(), PageTransform::Invert), 0);
    Image back;
    readPage(current(), back.buffer);
    EXPECT_TRUE(SamePicture(back.buffer, original.buffer));
    EXPECT_TRUE(fileExists(firstCopy));
    EXPECT_EQ(countLog("Start invert"), 2);
    EXPECT_EQ(countLog("End invert"), 2);
}

TEST_F(PageTransforms, BilevelPageStaysBilevelThroughEveryTransform) {
    addPage(writeTiff("bw.tif", MakeBilevel, 45, 33));
    for (PageTransform command : {PageTransform::RotateRight, PageTransform::RotateLeft,
                                  PageTransform::Invert, PageTransform::Mirror}) {
        ASSERT_EQ(TransformPage(context(), command), 0) << static_cast<int>(command);
        Image now;
        readPage(current(), now.buffer);
        EXPECT_EQ(BitsPerPixel(now.buffer), 1) << static_cast<int>(command);
    }
    // Right, left, invert, mirror: the inverted mirror image of the start.
    Image original, now;
    MakeBilevel(original.buffer, 45, 33);
    readPage(current(), now.buffer);
    EXPECT_EQ(AreaPixel(now.buffer, 0, 0), 1 - GetPixelValue(original.buffer, 44, 0));
    EXPECT_EQ(AreaPixel(now.buffer, 10, 20), 1 - GetPixelValue(original.buffer, 34, 20));
}

TEST_F(PageTransforms, MirrorOfALoadedPngLeavesThePngAlone) {
    const std::string png = dir_.file("photo.png");
    ASSERT_EQ(testsupport::run("/usr/bin/convert -size 20x40 gradient:red-blue -rotate 90 " +
                               shellQuote(png)),
              0);
    const std::string before = readFile(png);
    addPage(png);
    Image original;
    ASSERT_EQ(ReadImageFile(png.c_str(), original.buffer), 0);
    const int slotBefore = current().imageIndex;
    const QImage thumbnailBefore = document_.pageImageList.image(slotBefore);

    ASSERT_EQ(TransformPage(context(), PageTransform::Mirror), 0);

    EXPECT_EQ(readFile(png), before);
    EXPECT_EQ(current().sourcePath, png);
    ASSERT_FALSE(current().workingPath.empty());
    EXPECT_EQ(capture("/usr/bin/identify -format '%m' " + shellQuote(current().workingPath)),
              "TIFF");
    Image mirrored;
    readPage(current(), mirrored.buffer);
    EXPECT_EQ(AreaPixel(mirrored.buffer, 0, 5), GetPixelValue(original.buffer, 39, 5));
    EXPECT_EQ(countLog("Start mirror"), 1);
    EXPECT_EQ(countLog("End mirror"), 1);
    // The new version shows the mirrored thumbnail in a slot of its own.
    EXPECT_NE(current().imageIndex, slotBefore);
    EXPECT_NE(document_.pageImageList.image(current().imageIndex), thumbnailBefore);
}

TEST_F(PageTransforms, FailedWriteKeepsThePreviousFile) {
    addPage(writeTiff("keep.tif", MakeGrey, 30, 20));
    ASSERT_EQ(TransformPage(context(), PageTransform::Mirror), 0);
    const std::string previous = current().workingPath;
    const std::string previousBytes = readFile(previous);

    // A temporary folder that cannot hold files: the next working copy cannot be written.
    const std::string blocker = dir_.file("not-a-folder");
    testsupport::writeFile(blocker, "x");
    const std::string savedTmp = std::getenv("TMPDIR");
    setenv("TMPDIR", (blocker + "/tmp").c_str(), 1);
    const int rc = TransformPage(context(), PageTransform::RotateRight);
    setenv("TMPDIR", savedTmp.c_str(), 1);

    EXPECT_NE(rc, 0);
    EXPECT_EQ(current().workingPath, previous);
    EXPECT_EQ(readFile(previous), previousBytes);
    EXPECT_EQ(dialogs.messages(), QStringList{"Error -10 while saving image"});
    EXPECT_EQ(countLog("Error -10 while saving image"), 1);
    EXPECT_EQ(countLog("End rotate right"), 0);
    EXPECT_EQ(document_.workingImage.header, nullptr);
    // The page still opens and shows its last picture.
    Image now;
    readPage(current(), now.buffer);
    EXPECT_EQ(ImageWidth(now.buffer), 30);
}

TEST_F(PageTransforms, UnreadablePageFileChangesNothing) {
    addPage(writeTiff("gone.tif", MakeGrey, 30, 20));
    std::remove(current().sourcePath.c_str());
    EXPECT_NE(TransformPage(context(), PageTransform::Invert), 0);
    EXPECT_TRUE(current().workingPath.empty());
    EXPECT_EQ(dialogs.messages(), QStringList{"Unsupported graphics format"});
    EXPECT_EQ(countLog("Start invert"), 1);
    EXPECT_EQ(countLog("End invert"), 0);
}

}  // namespace
}  // namespace editing
