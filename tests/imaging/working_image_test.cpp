// The working image's shared edits without any window: quarter turns, the preview's display
// copy and the mapping of a selection on it back to the image.
#include "imaging/working_image.h"

#include <gtest/gtest.h>

#include "imaging/codecs.h"
#include "imaging/convert.h"
#include "support/test_support.h"

using namespace vellumo::imaging;

namespace {

struct Image {
    ImageBuffer buffer{};
    ~Image() { FreeImage(buffer); }
};

void MakeGrey(ImageBuffer& image, int width, int height) {
    ASSERT_EQ(AllocateImage(image, width, height, 8), 0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            RowPointer(image, y)[x] = static_cast<uint8_t>((x * 7 + y * 13) % 256);
}

int Grey(int x, int y) {
    return (x * 7 + y * 13) % 256;
}

class WorkingImage : public ::testing::Test {
protected:
    void TearDown() override { FreeImage(workingImage); }
    ImageBuffer workingImage{};
};

TEST(PreviewDisplaySize, FitsByWholePercentsAndNeverEnlarges) {
    struct Case {
        int w, h, fw, fh, dw, dh;
    };
    const Case cases[] = {
        {2480, 3508, 380, 430, 297, 430},  // r = 15, v = 12: the height decides
        {3508, 2480, 430, 380, 430, 297},  // r = 12, v = 15: the width decides
        {100, 50, 380, 430, 100, 50},      // smaller than the frame: own size
        {380, 430, 380, 430, 380, 430},    // exactly the frame
        {1000, 10, 380, 430, 380, 3},      // a strip: height r * h / 100 = 3
        {5000, 1, 380, 430, 380, 1},       // never below one pixel
        {300, 300, 0, 0, 1, 1},            // a frame without room still gets a pixel
    };
    for (const Case& c : cases) {
        int dw = 0, dh = 0;
        PreviewDisplaySize(c.w, c.h, c.fw, c.fh, dw, dh);
        EXPECT_EQ(dw, c.dw) << c.w << "x" << c.h;
        EXPECT_EQ(dh, c.dh) << c.w << "x" << c.h;
    }
}

TEST_F(WorkingImage, QuarterTurnsOfTheArea) {
    MakeGrey(workingImage, 6, 4);
    SetImageArea(workingImage, 1, 1, 4, 2);  // 4 x 2, as after an auto-crop
    ASSERT_EQ(RotateWorkingImage(workingImage, 0), 0);
    ASSERT_EQ(ImageWidth(workingImage), 2);
    ASSERT_EQ(ImageHeight(workingImage), 4);
    // Turned right: the area's bottom-left pixel (1, 2) is now the top-left one.
    EXPECT_EQ(GetPixelValue(workingImage, 0, 0), Grey(1, 2));
    EXPECT_EQ(GetPixelValue(workingImage, 1, 0), Grey(1, 1));
    EXPECT_EQ(GetPixelValue(workingImage, 1, 3), Grey(4, 1));
    ASSERT_EQ(RotateWorkingImage(workingImage, 1), 0);
    ASSERT_EQ(ImageWidth(workingImage), 4);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(GetPixelValue(workingImage, x, y), Grey(1 + x, 1 + y));
}

TEST_F(WorkingImage, FailedTurnLeavesTheImage) {
    EXPECT_NE(RotateWorkingImage(workingImage, 0), 0);  // nothing loaded
    EXPECT_EQ(workingImage.header, nullptr);
}

TEST_F(WorkingImage, DisplayCopyIsReplacedAndBilevelBecomesGrey) {
    ASSERT_EQ(AllocateImage(workingImage, 40, 30, 1), 0);
    FillImageArea(1, workingImage);
    Image display;
    ASSERT_EQ(MakeDisplayCopy(workingImage, 20, 100, display.buffer), 0);
    EXPECT_EQ(BitsPerPixel(display.buffer), 8);
    EXPECT_EQ(ImageWidth(display.buffer), 20);
    EXPECT_EQ(ImageHeight(display.buffer), 15);
    EXPECT_EQ(GetPixelValue(display.buffer, 10, 7), 255);
    // A second copy replaces the first (nothing leaks), and no image gives none.
    ASSERT_EQ(MakeDisplayCopy(workingImage, 400, 400, display.buffer), 0);
    EXPECT_EQ(ImageWidth(display.buffer), 40);
    Image empty;
    EXPECT_NE(MakeDisplayCopy(empty.buffer, 400, 400, display.buffer), 0);
    EXPECT_EQ(display.buffer.header, nullptr);
}

TEST_F(WorkingImage, SelectionMapsThroughTheHeightScale) {
    MakeGrey(workingImage, 2480, 3508);
    Image display;
    ASSERT_EQ(MakeDisplayCopy(workingImage, 380, 430, display.buffer), 0);
    // s = 3507 * 100 / 429 = 817; the selection's origin lies at (41, 0) in the window.
    const SelectionRect area =
        SelectionToImageArea(workingImage, display.buffer, {141, 200, 191, 300}, 41, 0);
    EXPECT_EQ(area.left, 817);
    EXPECT_EQ(area.top, 1634);
    EXPECT_EQ(area.right, 817 + 408);
    EXPECT_EQ(area.bottom, 1634 + 817);
    // A selection of the whole display: the far edges stay inside the image (the whole-percent
    // scale gives 429 * 817 / 100 = 3504 for the last row).
    const SelectionRect all =
        SelectionToImageArea(workingImage, display.buffer, {41, 0, 41 + 296, 429}, 41, 0);
    EXPECT_LE(all.right, 2479);
    EXPECT_EQ(all.bottom, 3504);
}

TEST_F(WorkingImage, SelectionOnAOneRowDisplay) {
    MakeGrey(workingImage, 50, 1);
    Image display;
    ASSERT_EQ(MakeDisplayCopy(workingImage, 400, 400, display.buffer), 0);
    const SelectionRect area =
        SelectionToImageArea(workingImage, display.buffer, {10, 0, 30, 0}, 0, 0);
    EXPECT_EQ(area.left, 10);
    EXPECT_EQ(area.right, 30);
}

TEST_F(WorkingImage, CropCutsTheAreaIntoANewImage) {
    MakeGrey(workingImage, 30, 20);
    SetImageArea(workingImage, 5, 4, 24, 15);
    EXPECT_EQ(CropImageToArea(workingImage, {12, 6, 8, 9}), -1);  // reversed
    EXPECT_EQ(CropImageToArea(workingImage, {8, 6, 30, 9}), -1);  // past the right edge
    EXPECT_EQ(workingImage.areaLeft, 5u);
    ASSERT_EQ(CropImageToArea(workingImage, {8, 6, 12, 9}), 0);
    ASSERT_EQ(ImageWidth(workingImage), 5);
    ASSERT_EQ(ImageHeight(workingImage), 4);
    EXPECT_EQ(workingImage.areaLeft, 0u);
    EXPECT_EQ(workingImage.areaBottom, 3u);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(GetPixelValue(workingImage, x, y), Grey(8 + x, 6 + y));
}

}  // namespace

TEST_F(WorkingImage, CropKeepsTheResolutionSoThePageKeepsItsSize) {
    testsupport::TempDir dir;
    MakeGrey(workingImage, 1740, 1740);
    SetImageDpi(workingImage, 300, 300);
    ASSERT_EQ(CropImageToArea(workingImage, SelectionRect{100, 200, 969, 1069}), 0);
    EXPECT_EQ(ImageWidth(workingImage), 870);
    EXPECT_EQ(ImageDpiX(workingImage), 300);
    EXPECT_EQ(ImageDpiY(workingImage), 300);
    // The kept page's file says so too.
    const std::string file = dir.file("page.TIF");
    ASSERT_EQ(SaveTiff(file.c_str(), workingImage, 1), 0);
    ImageBuffer back{};
    ASSERT_EQ(ReadImageFile(file.c_str(), back), 0);
    EXPECT_EQ(ImageDpiX(back), 300);
    FreeImage(back);
}
