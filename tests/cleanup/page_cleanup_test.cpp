// The clean-up of one page as scanning runs it: the steps in order, the log line of each, a
// blank page left as it is, and pages that cannot be measured left alone with the reason.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

#include "cleanup/page_cleanup.h"
#include "cleanup/tessdata.h"
#include "platform/log.h"
#include "tests/cleanup/cleanup_fixtures.h"

namespace {

using namespace vellumo::cleanup;
using namespace cleanuptest;
using vellumo::platform::loggingOn;
using vellumo::platform::logPath;

// Logging on into a private file for the length of a test.
class LoggedCleanup : public ::testing::Test {
protected:
    void SetUp() override {
        logPath = dir.file("Vellumo_log.mdm");
        loggingOn = 1;
    }
    void TearDown() override {
        loggingOn = 0;
        logPath.clear();
    }
    std::vector<std::string> Log() const {
        return testsupport::logMessages(dir.file("Vellumo_log.mdm"));
    }
    static std::string Line(const char* format, int page, double value) {
        char text[128];
        std::snprintf(text, sizeof text, format, page, value);
        return text;
    }
    testsupport::TempDir dir;
};

const CleanupOptions kEverything{true, true, BlankPages::Mark};

TEST_F(LoggedCleanup, ASkewedPageOnItsSideIsStraightenedAndTurned) {
    REQUIRE_GHOSTSCRIPT();
    if (!OrientationDataInstalled()) GTEST_SKIP() << "tesseract-ocr-osd is not installed";
    PagePlan plan;
    plan.dpi = 150;
    plan.quarterTurns = 1;
    plan.skewDegrees = 2.3;
    plan.seed = 1200;
    plan.specks = 20;
    Page page;
    ASSERT_TRUE(Render(plan, dir.path(), page));
    const int width = ImageWidth(page.image), height = ImageHeight(page.image);
    OrientationDetector detector;
    const CleanupReport report = CleanPage(page.image, 3, kEverything, &detector);
    EXPECT_FALSE(report.blank);
    EXPECT_NEAR(report.straightenedBy, -2.3, 0.1);
    EXPECT_EQ(report.turnedBy, 270);
    EXPECT_TRUE(report.changed());
    EXPECT_EQ(report.status, 0);
    EXPECT_EQ(ImageWidth(page.image), height);
    EXPECT_EQ(ImageHeight(page.image), width);
    EXPECT_EQ(Log(), (std::vector<std::string>{
                         "Page 3 is not blank",
                         Line("Straightened page %d by %.2f degrees", 3, report.straightenedBy),
                         "Turned page 3 upright by 270 degrees"}));
}

TEST_F(LoggedCleanup, AStraightUprightPageIsLeftAsItIs) {
    REQUIRE_GHOSTSCRIPT();
    PagePlan plan;
    plan.dpi = 150;
    plan.bits = 1;
    plan.seed = 1201;
    Page page, before;
    ASSERT_TRUE(Render(plan, dir.path(), page));
    CopyOf(page.image, before);
    OrientationDetector detector;
    const CleanupReport report = CleanPage(page.image, 1, kEverything, &detector);
    EXPECT_FALSE(report.changed());
    EXPECT_TRUE(SamePicture(page.image, before.image));
    const std::vector<std::string> log = Log();
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log[0], "Page 1 is not blank");
    EXPECT_EQ(log[1], "Page 1 is straight");
    if (OrientationDataInstalled()) {
        EXPECT_EQ(log.at(2), "Page 1 is upright");
    }
}

TEST_F(LoggedCleanup, ABlankPageGetsNoOtherStep) {
    REQUIRE_GHOSTSCRIPT();
    PagePlan plan;
    plan.content = Content::Blank;
    plan.skewDegrees = 3;
    plan.darkBackground = true;  // edges to straighten by, were it not blank
    plan.specks = 30;
    plan.showThrough = true;
    plan.dpi = 150;
    plan.seed = 1202;
    Page page, before;
    ASSERT_TRUE(Render(plan, dir.path(), page));
    CopyOf(page.image, before);
    OrientationDetector detector;
    const CleanupReport report = CleanPage(page.image, 5, kEverything, &detector);
    EXPECT_TRUE(report.blank);
    EXPECT_FALSE(report.changed());
    EXPECT_TRUE(SamePicture(page.image, before.image));
    EXPECT_EQ(Log(), std::vector<std::string>{"Page 5 is blank"});

    // Not looking for blank pages, the same page is straightened by its edges and, having no
    // text, not turned.
    const CleanupReport unchecked =
        CleanPage(page.image, 6, CleanupOptions{true, true, BlankPages::Off}, &detector);
    EXPECT_FALSE(unchecked.blank);
    EXPECT_NEAR(unchecked.straightenedBy, -3, 0.1);
    EXPECT_EQ(unchecked.turnedBy, 0);
    const std::vector<std::string> log = Log();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[1], Line("Straightened page %d by %.2f degrees", 6, unchecked.straightenedBy));
    EXPECT_EQ(log[2], OrientationDataInstalled()
                          ? "Page 6 not turned upright: no text found"
                          : "Page 6 not turned upright: the orientation data is not installed");
}

TEST_F(LoggedCleanup, PagesThatCannotBeMeasuredAreLeftWithTheReason) {
    OrientationDetector detector;
    Page small, black;
    ASSERT_EQ(AllocateImage(small.image, 80, 400, 8), kImgOk);
    ASSERT_EQ(AllocateImage(black.image, 400, 600, 24), kImgOk);
    EXPECT_FALSE(CleanPage(small.image, 1, kEverything, &detector).changed());
    EXPECT_FALSE(CleanPage(black.image, 2, kEverything, &detector).changed());
    EXPECT_FALSE(
        CleanPage(black.image, 3, CleanupOptions{false, true, BlankPages::Off}, nullptr).changed());
    EXPECT_EQ(Log(),
              (std::vector<std::string>{
                  "Page 1 not checked for blankness: too small to measure",
                  "Page 1 not straightened: too small to measure",
                  "Page 1 not turned upright: too small to measure",
                  "Page 2 not checked for blankness: all black",
                  "Page 2 not straightened: all black", "Page 2 not turned upright: all black",
                  "Page 3 not turned upright: the orientation data is not installed"}));
    EXPECT_EQ(ImageWidth(small.image), 80);
}

TEST_F(LoggedCleanup, NoOrientationEngine) {
    Page white;
    ASSERT_EQ(AllocateImage(white.image, 400, 600, 8), kImgOk);
    std::memset(white.image.pixels, 255, white.image.rowBytes * 600);
    EXPECT_FALSE(
        CleanPage(white.image, 4, CleanupOptions{false, true, BlankPages::Off}, nullptr).changed());
    EXPECT_EQ(Log(), std::vector<std::string>{
                         "Page 4 not turned upright: the orientation data is not installed"});
}

TEST(CleanupSettings, BlankPagesAsStored) {
    EXPECT_EQ(BlankPagesFromSetting(0), BlankPages::Off);
    EXPECT_EQ(BlankPagesFromSetting(1), BlankPages::Mark);
    EXPECT_EQ(BlankPagesFromSetting(2), BlankPages::Drop);
    // Dropping pages takes the one value that means it; anything odd only marks.
    EXPECT_EQ(BlankPagesFromSetting(3), BlankPages::Mark);
    EXPECT_EQ(BlankPagesFromSetting(-1), BlankPages::Mark);
}

}  // namespace
