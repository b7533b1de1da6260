#include "document/undo_history.h"

#include <QtGlobal>
#include <cassert>
#include <iterator>

namespace vellumo::document {

namespace {

struct ActionText {
    PageAction action;
    const char* name;  // in the menu's "Undo …" (translated there) and the log
    const char* key;
};

constexpr ActionText kActions[] = {
    {PageAction::Load, QT_TRANSLATE_NOOP("PageAction", "load"), "load"},
    {PageAction::Scan, QT_TRANSLATE_NOOP("PageAction", "scan"), "scan"},
    {PageAction::Delete, QT_TRANSLATE_NOOP("PageAction", "delete"), "delete"},
    {PageAction::Move, QT_TRANSLATE_NOOP("PageAction", "move"), "move"},
    {PageAction::RotateRight, QT_TRANSLATE_NOOP("PageAction", "rotate right"), "rotate-right"},
    {PageAction::RotateLeft, QT_TRANSLATE_NOOP("PageAction", "rotate left"), "rotate-left"},
    {PageAction::Invert, QT_TRANSLATE_NOOP("PageAction", "invert"), "invert"},
    {PageAction::Mirror, QT_TRANSLATE_NOOP("PageAction", "mirror"), "mirror"},
    {PageAction::Clear, QT_TRANSLATE_NOOP("PageAction", "clear list"), "clear"},
    {PageAction::Edit, QT_TRANSLATE_NOOP("PageAction", "change"), "edit"},
};

const ActionText& TextOf(PageAction action) {
    for (const ActionText& text : kActions)
        if (text.action == action) return text;
    return kActions[std::size(kActions) - 1];
}

}  // namespace

const char* ActionName(PageAction action) {
    return TextOf(action).name;
}

const char* ActionKey(PageAction action) {
    return TextOf(action).key;
}

bool ParseActionKey(const std::string& key, PageAction& action) {
    for (const ActionText& text : kActions)
        if (key == text.key) {
            action = text.action;
            return true;
        }
    return false;
}

std::vector<UndoStep> UndoHistory::push(UndoStep step) {
    std::vector<UndoStep> dropped;
    dropped.reserve(redo_.size() + 1);
    for (UndoStep& gone : redo_) dropped.push_back(std::move(gone));
    redo_.clear();
    undo_.push_back(std::move(step));
    while (undo_.size() > kMaxSteps) {
        dropped.push_back(std::move(undo_.front()));
        undo_.pop_front();
    }
    return dropped;
}

const UndoStep& UndoHistory::undo() {
    assert(canUndo());
    redo_.push_back(std::move(undo_.back()));
    undo_.pop_back();
    return redo_.back();
}

const UndoStep& UndoHistory::redo() {
    assert(canRedo());
    undo_.push_back(std::move(redo_.back()));
    redo_.pop_back();
    return undo_.back();
}

UndoStep UndoHistory::popTop() {
    assert(canUndo());
    UndoStep top = std::move(undo_.back());
    undo_.pop_back();
    return top;
}

void UndoHistory::assign(std::deque<UndoStep> undo, std::deque<UndoStep> redo) {
    undo_ = std::move(undo);
    redo_ = std::move(redo);
}

void UndoHistory::clear() {
    undo_.clear();
    redo_.clear();
}

}  // namespace vellumo::document
