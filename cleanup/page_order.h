// The orders a stack scanned on a one-sided feeder needs: all fronts were scanned first, then
// all backs (in the same order, or backwards after turning the stack over). Pure functions on
// an ordered list; the page list applies them to its pages.
#pragma once

#include <cstddef>
#include <vector>

namespace vellumo::cleanup {

enum class PageOrder {
    Interleave,               // "Interleave (fronts, then backs)"
    InterleaveBacksReversed,  // "Interleave, backs reversed"
    Reverse,                  // "Reverse order"
};

// The command's text in the page menu.
const char* PageOrderText(PageOrder order);

// The new order of `count` pages: element i is the old position of the page that becomes page i.
// Interleaving takes the first half (rounded up) as fronts and the rest as backs, in scan order
// or reversed; with an odd count the last front has no back and ends the list. A count below 1
// gives an empty order.
std::vector<int> ReorderedPositions(PageOrder order, int count);

// The list in its new order.
template <typename T>
std::vector<T> Reordered(const std::vector<T>& pages, PageOrder order) {
    std::vector<T> result;
    result.reserve(pages.size());
    for (int from : ReorderedPositions(order, static_cast<int>(pages.size())))
        result.push_back(pages[static_cast<std::size_t>(from)]);
    return result;
}

}  // namespace vellumo::cleanup
