// The orders of two-sided scans made on a one-sided feeder.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cleanup/page_order.h"

namespace {

using namespace vellumo::cleanup;

// A ten-page scan: the fronts of five sheets, then their backs.
const std::vector<std::string> kFrontsThenBacks = {"1", "3", "5", "7", "9",
                                                   "2", "4", "6", "8", "10"};
// The same, the stack turned over for the backs: the last sheet's back comes first.
const std::vector<std::string> kBacksReversed = {"1", "3", "5", "7", "9", "10", "8", "6", "4", "2"};
const std::vector<std::string> kInOrder = {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"};

TEST(PageOrder, BothInterleavingsPutATenPageScanInOrder) {
    EXPECT_EQ(Reordered(kFrontsThenBacks, PageOrder::Interleave), kInOrder);
    EXPECT_EQ(Reordered(kBacksReversed, PageOrder::InterleaveBacksReversed), kInOrder);
    // The wrong one does not.
    EXPECT_NE(Reordered(kBacksReversed, PageOrder::Interleave), kInOrder);
}

TEST(PageOrder, ReverseOrder) {
    EXPECT_EQ(Reordered(kInOrder, PageOrder::Reverse),
              (std::vector<std::string>{"10", "9", "8", "7", "6", "5", "4", "3", "2", "1"}));
    EXPECT_EQ(Reordered(Reordered(kInOrder, PageOrder::Reverse), PageOrder::Reverse), kInOrder);
}

TEST(PageOrder, OddCountsEmptyAndSingleLists) {
    // Three fronts, two backs: the last front has no back.
    EXPECT_EQ(ReorderedPositions(PageOrder::Interleave, 5), (std::vector<int>{0, 3, 1, 4, 2}));
    EXPECT_EQ(ReorderedPositions(PageOrder::InterleaveBacksReversed, 5),
              (std::vector<int>{0, 4, 1, 3, 2}));
    for (PageOrder order :
         {PageOrder::Interleave, PageOrder::InterleaveBacksReversed, PageOrder::Reverse}) {
        EXPECT_TRUE(ReorderedPositions(order, 0).empty());
        EXPECT_TRUE(ReorderedPositions(order, -3).empty());
        EXPECT_EQ(ReorderedPositions(order, 1), std::vector<int>{0});
        // Every position once: a reordering never loses or doubles a page.
        for (int n = 2; n < 12; ++n) {
            std::vector<int> seen(static_cast<size_t>(n), 0);
            for (int p : ReorderedPositions(order, n)) ++seen[static_cast<size_t>(p)];
            EXPECT_EQ(seen, std::vector<int>(static_cast<size_t>(n), 1)) << n;
        }
    }
}

TEST(PageOrder, MenuTexts) {
    EXPECT_STREQ(PageOrderText(PageOrder::Interleave), "Interleave (fronts, then backs)");
    EXPECT_STREQ(PageOrderText(PageOrder::InterleaveBacksReversed), "Interleave, backs reversed");
    EXPECT_STREQ(PageOrderText(PageOrder::Reverse), "Reverse order");
}

}  // namespace
