// Blank pages: scans holding only noise, specks, punch holes, feeder shadows and faint
// show-through are blank; a signature, a page number, one line of text or one drawn line is
// never taken for blank; pages that cannot be measured are not blank either.
#include <gtest/gtest.h>

#include "cleanup/blank_page.h"
#include "tests/cleanup/cleanup_fixtures.h"

namespace {

using namespace vellumo::cleanup;
using namespace cleanuptest;

// Every resolution and depth, with the defects of real scans in turn and all together.
PagePlan BlankScan(int i) {
    PagePlan plan;
    plan.content = Content::Blank;
    plan.seed = 1000 + i;
    plan.dpi = i % 2 ? 150 : 300;
    plan.bits = i % 3 == 0 ? 1 : i % 3 == 1 ? 8 : 24;
    plan.skewDegrees = (i % 5 - 2) * 0.8;
    plan.specks = 20 + 10 * (i % 4);
    plan.punchHoles = i % 4 != 1;
    plan.showThrough = i % 4 != 2;
    plan.feederShadow = i % 4 != 3;
    plan.darkBackground = i % 6 == 5;
    return plan;
}

TEST(BlankPages, BlankScansAreFound) {
    REQUIRE_GHOSTSCRIPT();
    testsupport::TempDir dir;
    constexpr int kScans = 12;
    int found = 0;
    std::string missed;
    for (int i = 0; i < kScans; ++i) {
        const PagePlan plan = BlankScan(i);
        Page page;
        ASSERT_TRUE(Render(plan, dir.path(), page));
        const BlankPageCheck check = CheckBlankPage(page.image);
        EXPECT_EQ(check.status, AnalysisStatus::Ok);
        if (check.blank)
            ++found;
        else
            missed += "\n  " + Describe(plan) + ": " + std::to_string(check.marks) + " marks";
    }
    // At least 95 % of blank scans; on these, every one.
    EXPECT_EQ(found, kScans) << missed;
}

class NotBlank : public ::testing::TestWithParam<Content> {};

TEST_P(NotBlank, AnyRealMarkKeepsAPage) {
    REQUIRE_GHOSTSCRIPT();
    testsupport::TempDir dir;
    for (int i = 0; i < 6; ++i) {
        PagePlan plan = BlankScan(i + 20 * static_cast<int>(GetParam()));
        plan.content = GetParam();
        Page page;
        ASSERT_TRUE(Render(plan, dir.path(), page));
        const BlankPageCheck check = CheckBlankPage(page.image);
        EXPECT_EQ(check.status, AnalysisStatus::Ok);
        EXPECT_FALSE(check.blank) << Describe(plan);
        EXPECT_GT(check.marks, 0) << Describe(plan);
    }
}

std::string ContentName(const ::testing::TestParamInfo<Content>& info) {
    static const char* const names[] = {"Text",    "Blank", "Signature", "PageNumber",
                                        "OneLine", "Rule",  "Picture"};
    return names[static_cast<int>(info.param)];
}

INSTANTIATE_TEST_SUITE_P(Contents, NotBlank,
                         ::testing::Values(Content::Signature, Content::PageNumber,
                                           Content::OneLine, Content::Rule, Content::Text),
                         ContentName);

// Nothing that cannot be measured is called blank: too small, all black, other depths.
TEST(BlankPages, UnmeasurablePagesAreNotBlank) {
    Page small, black, white, deep;
    ASSERT_EQ(AllocateImage(small.image, 60, 60, 8), kImgOk);
    std::memset(small.image.pixels, 255, small.image.rowBytes * 60);
    EXPECT_EQ(CheckBlankPage(small.image).status, AnalysisStatus::TooSmall);
    EXPECT_FALSE(CheckBlankPage(small.image).blank);
    ASSERT_EQ(AllocateImage(black.image, 1240, 1754, 1), kImgOk);  // zeroed: index 0, black
    EXPECT_EQ(CheckBlankPage(black.image).status, AnalysisStatus::AllBlack);
    EXPECT_FALSE(CheckBlankPage(black.image).blank);
    ASSERT_EQ(AllocateImage(deep.image, 500, 500, 32), kImgOk);
    EXPECT_FALSE(CheckBlankPage(deep.image).blank);
    // A clean white page is blank, and so is its working area alone.
    ASSERT_EQ(AllocateImage(white.image, 1240, 1754, 24), kImgOk);
    std::memset(white.image.pixels, 250, white.image.rowBytes * 1754);
    EXPECT_TRUE(CheckBlankPage(white.image).blank);
    // A mark outside the working area does not count; inside it does.
    for (uint32_t y = 100; y < 130; ++y)
        std::memset(RowPointer(white.image, y) + 3 * 100, 0, 3 * 200);
    EXPECT_FALSE(CheckBlankPage(white.image).blank);
    ASSERT_EQ(SetImageArea(white.image, 0, 300, 1239, 1753), kImgOk);
    EXPECT_TRUE(CheckBlankPage(white.image).blank);
}

}  // namespace
