// The undo history of the page list: each step is one action of the user (a load, a scan, a
// delete, a move, a transform, a clear) kept as the list before and after it. The lists share
// their pages (a page version never changes once made), so a step costs a pointer per page, and
// the list after one step is the very list before the next.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace vellumo::document {

struct Page;
using PageRecord = std::shared_ptr<const Page>;
using PageTable = std::vector<PageRecord>;
using SharedPageTable = std::shared_ptr<const PageTable>;

// What the user did; the names are what "Undo" and "Redo" show, the keys what the journal keeps.
enum class PageAction {
    Load,
    Scan,
    Delete,
    Move,
    RotateRight,
    RotateLeft,
    Invert,
    Mirror,
    Clear,
    Edit
};

// "rotate right" and the like, in lower case, for "&Undo rotate right".
const char* ActionName(PageAction action);
// The journal's key of an action ("rotate-right"); ParseActionKey reads it back.
const char* ActionKey(PageAction action);
bool ParseActionKey(const std::string& key, PageAction& action);

struct UndoStep {
    PageAction action = PageAction::Edit;
    uint64_t serial = 0;  // unique in the session; lets a scan add its next page to its own step
    SharedPageTable before;
    SharedPageTable after;
};

class UndoHistory {
public:
    // Steps kept; older ones are dropped, and with them the files only they could bring back.
    static constexpr size_t kMaxSteps = 100;

    bool canUndo() const { return !undo_.empty(); }
    bool canRedo() const { return !redo_.empty(); }
    // The step Undo would take back, or the one Redo would do again (null when none).
    const UndoStep* nextUndo() const { return undo_.empty() ? nullptr : &undo_.back(); }
    const UndoStep* nextRedo() const { return redo_.empty() ? nullptr : &redo_.back(); }

    // Adds a step on top. The redo steps and the steps beyond kMaxSteps leave the history; they
    // are handed back so the caller decides when their pages are let go.
    std::vector<UndoStep> push(UndoStep step);
    // Moves the top step to the redo side and returns it; the history must be able to undo.
    const UndoStep& undo();
    // Moves the next redo step back on top and returns it; the history must be able to redo.
    const UndoStep& redo();
    // Takes the top step off (a scan reopening its step for its next page).
    UndoStep popTop();

    // Oldest first, as the journal lists them; redo steps with the next one to redo last.
    const std::deque<UndoStep>& undoSteps() const { return undo_; }
    const std::deque<UndoStep>& redoSteps() const { return redo_; }
    // Puts back a whole history (a restored session).
    void assign(std::deque<UndoStep> undo, std::deque<UndoStep> redo);
    void clear();

private:
    std::deque<UndoStep> undo_;
    std::deque<UndoStep> redo_;
};

}  // namespace vellumo::document
