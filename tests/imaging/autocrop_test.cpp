#include "imaging/autocrop.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "imaging/convert.h"
#include "imaging/imaging.h"
#include "platform/log.h"
#include "tests/support/test_support.h"

using namespace vellumo::platform;
using namespace vellumo::imaging;

namespace {

// Logging into a private file for one test; the messages without their time stamps.
class LogCapture {
public:
    LogCapture() {
        logPath = dir_.file("Vellumo_log.mdm");
        loggingOn = 1;
    }
    ~LogCapture() {
        loggingOn = 0;
        logPath.clear();
    }
    std::vector<std::string> messages() const {
        std::vector<std::string> lines;
        std::istringstream in(testsupport::readFile(logPath));
        for (std::string line; std::getline(in, line);) {
            const size_t dash = line.find(" - ");
            lines.push_back(dash == std::string::npos ? line : line.substr(dash + 3));
        }
        return lines;
    }

private:
    testsupport::TempDir dir_;
};

struct Area {
    uint32_t left, top, right, bottom;
    bool operator==(const Area&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Area& a) {
    return out << "(" << a.left << ", " << a.top << ", " << a.right << ", " << a.bottom << ")";
}
Area AreaOf(const ImageBuffer& image) {
    return {image.areaLeft, image.areaTop, image.areaRight, image.areaBottom};
}

// A scan of the given depth: dark background, with a light rectangle (inclusive bounds)
// unless `page` is empty.
struct Scan {
    ImageBuffer image{};
    Scan(int width, int height, int bits, Area page, int background = 0) {
        EXPECT_EQ(AllocateImage(image, width, height, bits), kImgOk);
        FillImageArea(background, image);
        if (page.right >= page.left) {
            SetImageArea(image, page.left, page.top, page.right, page.bottom);
            FillImageArea(255, image);
            SetImageArea(image, 0, 0, width - 1, height - 1);
        }
    }
    Scan(const Scan&) = delete;
    ~Scan() { FreeImage(image); }
};
const Area kNoPage{1, 0, 0, 0};

TEST(Shrink, A4PageAt300DpiIsAnalysedAt99Pixels) {
    Scan scan(2480, 3508, 8, kNoPage);
    ASSERT_EQ(ShrinkForAnalysis(scan.image), kImgOk);
    EXPECT_EQ(ImageWidth(scan.image), 99);
    EXPECT_EQ(ImageHeight(scan.image), 140);
    EXPECT_EQ(BitsPerPixel(scan.image), 8);
    EXPECT_EQ(AreaOf(scan.image), (Area{0, 0, 98, 139}));
}

TEST(Shrink, RefusesImagesWithoutAScaleFactor) {
    Scan wide(12000, 10, 8, kNoPage);
    const uint8_t* pixels = wide.image.pixels;
    EXPECT_EQ(ShrinkForAnalysis(wide.image), kImgEmpty);  // 10000 / 11999 = 0
    EXPECT_EQ(wide.image.pixels, pixels);
    Scan column(1, 50, 8, kNoPage);
    EXPECT_EQ(ShrinkForAnalysis(column.image), kImgEmpty);
    EXPECT_EQ(ImageWidth(column.image), 1);
}

TEST(AutoCrop, WhitePageOnBlackGreyScanKeepsOneReducedLineAboveAndLeft) {
    LogCapture log;
    // The page covers 300..2000 x 400..3000 of an A4 scan analysed at 99 x 140 (W 98, H 139).
    // Reduced column x samples x * 2480 / 99, so the first light column is 12 and the last 79;
    // rows sample y * 3508 / 140: first light row 16, last 119. Then
    //   left = (12 - 1) * 2479 / 98 = 278    right = 79 * 2479 / 98 = 1998
    //   top = (16 - 1) * 3507 / 139 = 378    bottom = 119 * 3507 / 139 = 3002
    Scan scan(2480, 3508, 8, {300, 400, 2000, 3000});
    ASSERT_EQ(AutoCropImage(scan.image), kImgOk);
    EXPECT_EQ(AreaOf(scan.image), (Area{278, 378, 1998, 3002}));
    const std::vector<std::string> expected = {
        "autocrop start",     "allocate for copy done", "copy made",
        "small image made",   "kodalith made",          "new image area: 278, 378, 1998, 3002",
        "new image area set",
    };
    EXPECT_EQ(log.messages(), expected);
    // Only the area changed: the pixels are the scan's.
    EXPECT_EQ(GetPixelValue(scan.image, 0, 0), 0);
    EXPECT_EQ(GetPixelValue(scan.image, 300, 400), 255);
}

TEST(AutoCrop, GreyLevelsBelow64CountAsDark) {
    Scan scan(1000, 800, 8, {200, 100, 799, 699}, 63);
    ASSERT_EQ(AutoCropImage(scan.image), kImgOk);
    EXPECT_NE(AreaOf(scan.image), (Area{0, 0, 999, 799}));
    Scan lighter(1000, 800, 8, {200, 100, 799, 699}, 64);
    ASSERT_EQ(AutoCropImage(lighter.image), kImgOk);
    EXPECT_EQ(AreaOf(lighter.image), (Area{0, 0, 999, 799}));
}

TEST(AutoCrop, AllWhiteGreyScanKeepsTheWholeImage) {
    Scan scan(1000, 800, 8, kNoPage, 255);
    ASSERT_EQ(AutoCropImage(scan.image), kImgOk);
    EXPECT_EQ(AreaOf(scan.image), (Area{0, 0, 999, 799}));
}

TEST(AutoCrop, BilevelScanIsAnalysedWithoutThreshold) {
    LogCapture log;
    // 1000 x 700 analysed at 100 x 70 (W 99, H 69), sampling every tenth pixel: light columns
    // 10..89 and rows 5..64; left = 9 * 999 / 99, right = 89 * 999 / 99, top = 4 * 699 / 69,
    // bottom = 64 * 699 / 69.
    Scan scan(1000, 700, 1, {100, 50, 899, 649});
    ASSERT_EQ(AutoCropImage(scan.image), kImgOk);
    EXPECT_EQ(AreaOf(scan.image), (Area{90, 40, 898, 648}));
    const auto messages = log.messages();
    EXPECT_EQ(std::count(messages.begin(), messages.end(), "kodalith made"), 0);
    EXPECT_EQ(std::count(messages.begin(), messages.end(), "small image made"), 1);
}

TEST(AutoCrop, ColourScanNeedsLightAndPureBlackInALine) {
    // 800 x 600 analysed at 96 x 72 (W 95, H 71): light columns 24..71, rows 12..59.
    Scan scan(800, 600, 24, {200, 100, 599, 499});
    ASSERT_EQ(AutoCropImage(scan.image), kImgOk);
    EXPECT_EQ(AreaOf(scan.image), (Area{193, 92, 597, 497}));
}

TEST(AutoCrop, NoEdgeFoundLeavesTheAreaUnchanged) {
    LogCapture log;
    Scan white(800, 600, 24, kNoPage, 255);  // no black pixel in any line
    ASSERT_EQ(AutoCropImage(white.image), kImgOk);
    EXPECT_EQ(AreaOf(white.image), (Area{0, 0, 799, 599}));
    const auto messages = log.messages();
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.back().rfind("autocrop found no page edges", 0), 0u) << messages.back();
    EXPECT_EQ(std::count(messages.begin(), messages.end(), "new image area set"), 0);

    Scan dark(1000, 800, 8, kNoPage, 10);
    ASSERT_EQ(AutoCropImage(dark.image), kImgOk);
    EXPECT_EQ(AreaOf(dark.image), (Area{0, 0, 999, 799}));
    Scan bilevelDark(300, 300, 1, kNoPage, 0);
    ASSERT_EQ(AutoCropImage(bilevelDark.image), kImgOk);
    EXPECT_EQ(AreaOf(bilevelDark.image), (Area{0, 0, 299, 299}));
}

TEST(AutoCrop, FailuresReturnTheCodeAndLeaveTheAreaUnchanged) {
    LogCapture log;
    Scan wide(12000, 40, 8, {3000, 5, 9000, 30});
    EXPECT_EQ(AutoCropImage(wide.image), kImgEmpty);
    EXPECT_EQ(AreaOf(wide.image), (Area{0, 0, 11999, 39}));
    const std::vector<std::string> expected = {"autocrop start", "allocate for copy done",
                                               "copy made"};
    EXPECT_EQ(log.messages(), expected);

    Scan column(1, 400, 8, {0, 100, 0, 200});
    EXPECT_EQ(AutoCropImage(column.image), kImgEmpty);
    EXPECT_EQ(AreaOf(column.image), (Area{0, 0, 0, 399}));

    Scan deep(100, 100, 32, kNoPage);
    EXPECT_EQ(AutoCropImage(deep.image), kImgBadDepth);
    EXPECT_EQ(AreaOf(deep.image), (Area{0, 0, 99, 99}));
}

int shown = 0;
int restored = 0;
void* lastRestored = nullptr;
int previousCursor = 0;

TEST(AutoCrop, ShowsTheBusyIndicatorAndRestoresThePreviousOneOnEveryPath) {
    SetBusyIndicator(
        []() -> void* {
            ++shown;
            return &previousCursor;
        },
        [](void* previous) {
            ++restored;
            lastRestored = previous;
        });
    Scan page(400, 300, 8, {50, 50, 300, 250});
    EXPECT_EQ(AutoCropImage(page.image), kImgOk);
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(restored, 1);
    EXPECT_EQ(lastRestored, &previousCursor);
    Scan wide(12000, 20, 8, kNoPage);
    EXPECT_NE(AutoCropImage(wide.image), kImgOk);
    EXPECT_EQ(shown, 2);
    EXPECT_EQ(restored, 2);
    SetBusyIndicator(nullptr, nullptr);
    EXPECT_EQ(AutoCropImage(page.image), kImgOk);
    EXPECT_EQ(shown, 2);
}

}  // namespace
