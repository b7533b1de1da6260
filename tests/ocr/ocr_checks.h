// Shared by the recognition tests: pages of known text, comparing recognised words with the
// words a page was made of, and setting an environment variable for one scope.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "ocr/page_text.h"
#include "support/text_pages.h"

namespace ocrtest {

// A small page: a third of A4 with a few lines, quick to read.
inline testsupport::TextPagePlan SmallPage() {
    testsupport::TextPagePlan plan;
    plan.pageWidthPt = 420;
    plan.pageHeightPt = 260;
    plan.words = 60;
    return plan;
}

// The page of plan, rendered into path.
inline testsupport::TextPage Render(const testsupport::TextPagePlan& plan,
                                    const std::string& path) {
    testsupport::TextPage page;
    std::string error;
    EXPECT_TRUE(testsupport::RenderTextPage(plan, path, page, error)) << error;
    return page;
}

// Sets (or, with nullopt, removes) an environment variable until the end of the scope.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::optional<std::string>& value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value)
            setenv(name, value->c_str(), 1);
        else
            unsetenv(name);
    }
    ~ScopedEnv() {
        if (old_)
            setenv(name_.c_str(), old_->c_str(), 1);
        else
            unsetenv(name_.c_str());
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string name_;
    std::optional<std::string> old_;
};

inline std::vector<std::string> Words(const vellumo::ocr::PageText& text) {
    std::vector<std::string> out;
    for (const auto& line : text.lines)
        for (const auto& w : line.words) out.push_back(w.text);
    return out;
}

inline std::vector<std::string> Words(const testsupport::TextPage& page) {
    std::vector<std::string> out;
    for (const auto& w : page.words) out.push_back(w.text);
    return out;
}

// How many of expected are among found, counting repeated words as often as they occur in both.
inline int CommonWords(const std::vector<std::string>& expected,
                       const std::vector<std::string>& found) {
    std::map<std::string, int> available;
    for (const auto& w : found) ++available[w];
    int n = 0;
    for (const auto& w : expected)
        if (available[w] > 0) {
            --available[w];
            ++n;
        }
    return n;
}

inline testsupport::InkBox Ink(const vellumo::ocr::Box& b) {
    return testsupport::InkBox{b.left, b.top, b.right, b.bottom};
}

// The page word with the given text whose ink overlaps box most; its overlap, 0 when none.
inline double BestOverlap(const testsupport::TextPage& page, const std::string& text,
                          const testsupport::InkBox& box) {
    double best = 0;
    for (const auto& w : page.words)
        if (w.text == text) best = std::max(best, testsupport::Overlap(w.ink, box));
    return best;
}

}  // namespace ocrtest
