#include "cleanup/page_order.h"

namespace vellumo::cleanup {

const char* PageOrderText(PageOrder order) {
    switch (order) {
        case PageOrder::Interleave:
            return "Interleave (fronts, then backs)";
        case PageOrder::InterleaveBacksReversed:
            return "Interleave, backs reversed";
        case PageOrder::Reverse:
            return "Reverse order";
    }
    return "";
}

std::vector<int> ReorderedPositions(PageOrder order, int count) {
    std::vector<int> positions;
    if (count < 1) return positions;
    positions.reserve(static_cast<std::size_t>(count));
    if (order == PageOrder::Reverse) {
        for (int i = count - 1; i >= 0; --i) positions.push_back(i);
        return positions;
    }
    const int fronts = (count + 1) / 2;
    const int backs = count - fronts;
    for (int i = 0; i < fronts; ++i) {
        positions.push_back(i);
        if (i < backs)
            positions.push_back(order == PageOrder::Interleave ? fronts + i
                                                               : fronts + backs - 1 - i);
    }
    return positions;
}

}  // namespace vellumo::cleanup
