// The journal of the page list as text: every page version the session still holds (in the list
// or in the undo history) with its facts as named fields, the list's order and the undo and redo
// steps, closed by a checksum so that a file cut short or damaged is never taken for a list.
// A reader ignores fields and lines it does not know, so new facts of a page can be added as
// rows of the field table (page_journal.cpp) without breaking older journals.
//
//   vellumo-pages version=1 sequence=12
//   page id=4 scanned=1 source=/home/ann/.local/state/vellumo/pages/session-Qx3a/VWk2Lp9a.tmp.TIF
//   page id=5 source=/home/ann/My%20scans/letter.png working=/home/ann/…/VW83hDqa.tmp.TIF
//   list pages=4-5
//   undo action=load serial=3 before= after=4
//   end crc32=5e0c21d3
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "document/page_document.h"
#include "document/undo_history.h"

namespace vellumo::document {

inline constexpr int kJournalVersion = 1;

// What a journal holds, as read back.
struct JournalContents {
    struct Step {
        PageAction action = PageAction::Edit;
        uint64_t serial = 0;
        std::vector<uint64_t> before, after;  // page ids in list order
    };
    uint64_t sequence = 0;    // grows with every journal the session writes
    std::vector<Page> pages;  // every page version named below, each with its id
    std::vector<uint64_t> list;
    std::vector<Step> undo;  // oldest first
    std::vector<Step> redo;  // the next one to redo last
};

// The journal of a list and its history. `versions` holds every page version that the list or
// a step names, by id.
std::string FormatJournal(uint64_t sequence, const std::map<uint64_t, const Page*>& versions,
                          const PageTable& list, const UndoHistory& history);

// Reads a journal; false with `error` saying what is wrong when the text is not a complete,
// consistent journal.
bool ParseJournal(std::string_view text, JournalContents& contents, std::string& error);

// The sequence number of a journal's first line without reading the rest; 0 when there is none.
uint64_t JournalSequence(std::string_view text);

// A field value as the journal writes it: bytes that would end or split a field (space, "=",
// ",", "%", control characters) as %XX. UnescapeField is its inverse; false on a bad escape.
std::string EscapeField(std::string_view value);
bool UnescapeField(std::string_view text, std::string& value);

}  // namespace vellumo::document
