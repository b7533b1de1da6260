// Turning pages upright: text pages lying on any of their four sides are turned the right way;
// pages without text are never turned; the quarter turns keep depth, colours and resolution;
// the orientation data is found where Tesseract's own programs find it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "cleanup/orientation.h"
#include "cleanup/tessdata.h"
#include "tests/cleanup/cleanup_fixtures.h"

namespace {

using namespace vellumo::cleanup;
using namespace cleanuptest;

#define REQUIRE_ORIENTATION_DATA() \
    if (!OrientationDataInstalled()) GTEST_SKIP() << "tesseract-ocr-osd is not installed"

// The turn that brings back a page lying turned counter-clockwise by quarterTurns.
int TurnBack(int quarterTurns) {
    return (360 - 90 * quarterTurns) % 360;
}

class TextPages : public ::testing::TestWithParam<int> {};

// Every resolution and depth, with small skews and scan defects, on each of the four sides.
TEST_P(TextPages, AreTurnedUpright) {
    REQUIRE_GHOSTSCRIPT();
    REQUIRE_ORIENTATION_DATA();
    const int quarterTurns = GetParam();
    testsupport::TempDir dir;
    OrientationDetector detector;
    ASSERT_TRUE(detector.ready());
    int right = 0, pages = 0;
    std::string wrong;
    for (int dpi : {150, 300}) {
        for (int bits : {1, 8, 24}) {
            PagePlan plan;
            plan.dpi = dpi;
            plan.bits = bits;
            plan.quarterTurns = quarterTurns;
            plan.seed = 600 + 10 * quarterTurns + pages;
            plan.skewDegrees = (pages % 3 - 1) * 0.7;
            plan.specks = 20;
            plan.showThrough = pages % 2 == 0;
            plan.darkBackground = pages % 3 == 2;
            Page page;
            ASSERT_TRUE(Render(plan, dir.path(), page));
            const OrientationEstimate o = detector.detect(page.image);
            ++pages;
            if (o.found && o.turnDegrees == TurnBack(quarterTurns))
                ++right;
            else
                wrong += "\n  " + Describe(plan) + ": turn " + std::to_string(o.turnDegrees) +
                         (o.found ? "" : " (not found)");
        }
    }
    EXPECT_EQ(right, pages) << wrong;
}

INSTANTIATE_TEST_SUITE_P(Sides, TextPages, ::testing::Values(0, 1, 2, 3));

TEST(Upright, PagesWithoutTextAreNeverTurned) {
    REQUIRE_GHOSTSCRIPT();
    REQUIRE_ORIENTATION_DATA();
    testsupport::TempDir dir;
    OrientationDetector detector;
    int seed = 700;
    for (Content content : {Content::Blank, Content::Signature, Content::PageNumber, Content::Rule,
                            Content::Picture}) {
        for (int quarterTurns : {1, 2, 3}) {
            PagePlan plan;
            plan.content = content;
            plan.quarterTurns = quarterTurns;
            plan.dpi = seed % 2 ? 150 : 300;
            plan.bits = seed % 3 == 0 ? 1 : seed % 3 == 1 ? 8 : 24;
            plan.seed = ++seed;
            plan.specks = 40;
            plan.punchHoles = true;
            plan.showThrough = true;
            plan.feederShadow = seed % 2 == 0;
            Page page;
            ASSERT_TRUE(Render(plan, dir.path(), page));
            const OrientationEstimate o = detector.detect(page.image);
            EXPECT_FALSE(o.found) << Describe(plan) << ": turn " << o.turnDegrees << ", confidence "
                                  << o.confidence;
        }
    }
}

// What cannot be measured is not: too small, all black, an unknown depth.
TEST(Upright, NothingToMeasure) {
    OrientationDetector detector;
    Page small, black, deep;
    ASSERT_EQ(AllocateImage(small.image, 300, 99, 8), kImgOk);
    EXPECT_EQ(detector.detect(small.image).status, AnalysisStatus::TooSmall);
    ASSERT_EQ(AllocateImage(black.image, 400, 500, 8), kImgOk);
    EXPECT_EQ(detector.detect(black.image).status, AnalysisStatus::AllBlack);
    EXPECT_FALSE(detector.detect(black.image).found);
    ASSERT_EQ(AllocateImage(deep.image, 400, 500, 16), kImgOk);
    EXPECT_EQ(detector.detect(deep.image).status, AnalysisStatus::Unsupported);
}

// A 3 x 2 picture with every pixel different, turned by each quarter.
TEST(Upright, TurnPageMovesEveryPixel) {
    const uint8_t values[2][3] = {{10, 20, 30}, {40, 50, 60}};
    for (int degrees : {90, 180, 270, -90, 450}) {
        Page page;
        ASSERT_EQ(AllocateImage(page.image, 3, 2, 8), kImgOk);
        SetImageDpi(page.image, 300, 150);
        for (uint32_t y = 0; y < 2; ++y)
            for (uint32_t x = 0; x < 3; ++x) RowPointer(page.image, y)[x] = values[y][x];
        ASSERT_EQ(TurnPage(page.image, degrees), kImgOk);
        const int d = ((degrees % 360) + 360) % 360;
        const bool quarter = d != 180;
        ASSERT_EQ(ImageWidth(page.image), quarter ? 2 : 3);
        ASSERT_EQ(ImageHeight(page.image), quarter ? 3 : 2);
        EXPECT_EQ(ImageDpiX(page.image), quarter ? 150 : 300);
        EXPECT_EQ(ImageDpiY(page.image), quarter ? 300 : 150);
        EXPECT_TRUE(HasGreyRamp(page.image));
        // Counter-clockwise: the top row ends up as the left column, read from the bottom.
        const uint8_t* top = RowPointer(page.image, 0);
        const uint8_t* bottom =
            RowPointer(page.image, static_cast<uint32_t>(ImageHeight(page.image) - 1));
        if (d == 90) {
            EXPECT_EQ(top[0], 30);
            EXPECT_EQ(top[1], 60);
            EXPECT_EQ(bottom[0], 10);
        } else if (d == 180) {
            EXPECT_EQ(top[0], 60);
            EXPECT_EQ(bottom[2], 10);
        } else {
            EXPECT_EQ(top[0], 40);
            EXPECT_EQ(top[1], 10);
            EXPECT_EQ(bottom[1], 30);
        }
    }
}

TEST(Upright, TurnPageKeepsBilevelColoursAndWorksOnTheArea) {
    Page page;
    ASSERT_EQ(AllocateImage(page.image, 40, 20, 1), kImgOk);
    page.image.palette[0] = RgbQuad{255, 255, 255, 0};  // white first, as some scanners send
    page.image.palette[1] = RgbQuad{0, 0, 0, 0};
    ASSERT_EQ(SetImageArea(page.image, 8, 2, 31, 17), kImgOk);
    RowPointer(page.image, 2)[1] = 0x80;  // the area's top-left pixel
    ASSERT_EQ(TurnPage(page.image, 270), kImgOk);
    EXPECT_EQ(ImageWidth(page.image), 16);
    EXPECT_EQ(ImageHeight(page.image), 24);
    EXPECT_EQ(BitsPerPixel(page.image), 1);
    EXPECT_EQ(page.image.palette[0].rgbRed, 255);
    // Turned clockwise, the top-left pixel goes to the top right.
    EXPECT_EQ(RowPointer(page.image, 0)[1] & 0x01, 0x01);
    EXPECT_EQ(TurnPage(page.image, 45), kImgBadArgument);
    EXPECT_EQ(TurnPage(page.image, 0), kImgOk);
    EXPECT_EQ(ImageWidth(page.image), 16);
}

// TESSDATA_PREFIX names the folder, as Tesseract's own programs take it.
TEST(Upright, OrientationDataFromTessdataPrefix) {
    REQUIRE_ORIENTATION_DATA();
    const std::string installed = TessdataFolder("osd");
    testsupport::TempDir dir;
    const char* before = std::getenv("TESSDATA_PREFIX");
    const std::string saved = before ? before : "";

    setenv("TESSDATA_PREFIX", dir.path().c_str(), 1);
    EXPECT_EQ(TessdataFolder("osd"), "");
    EXPECT_FALSE(OrientationDataInstalled());
    {
        OrientationDetector detector;
        EXPECT_FALSE(detector.ready());
        Page page;
        ASSERT_EQ(AllocateImage(page.image, 400, 400, 8), kImgOk);
        std::memset(page.image.pixels, 255, page.image.rowBytes * 400);
        EXPECT_FALSE(detector.detect(page.image).found);
    }
    std::filesystem::create_directory(dir.file("tessdata"));
    std::filesystem::create_symlink(installed + "osd.traineddata",
                                    dir.file("tessdata/osd.traineddata"));
    EXPECT_EQ(TessdataFolder("osd"), dir.path() + "/tessdata/");
    std::filesystem::create_symlink(installed + "osd.traineddata", dir.file("osd.traineddata"));
    EXPECT_EQ(TessdataFolder("osd"), dir.path() + "/");
    EXPECT_TRUE(OrientationDetector().ready());
    EXPECT_EQ(TessdataFolder("../osd"), "");

    if (before)
        setenv("TESSDATA_PREFIX", saved.c_str(), 1);
    else
        unsetenv("TESSDATA_PREFIX");
}

}  // namespace
