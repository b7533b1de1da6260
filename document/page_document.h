// The page document: the ordered pages that become one PDF, each a file on disk (a page file of
// the program's own for a scanned or transformed page, the user's own file for a loaded one)
// plus a thumbnail, and the one image under work. One object, owned by the main dialog and
// handed to the commands that need it; it works and is tested without any window. The windows
// that show it register as its views and are told when to refresh.
//
// Every change of the list is one step the user can undo and redo, and is written to the journal
// of the session before it shows, so that the list survives a crash. A page version never changes
// once made: a transform makes a new version, and the list and the undo history share them.
#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "document/page_image_list.h"
#include "document/page_records.h"
#include "document/undo_history.h"
#include "imaging/image_buffer.h"
#include "imaging/image_pages.h"
#include "ocr/page_text.h"

namespace vellumo::document {

class JournalStore;
class SessionFolder;
class ThumbnailMaker;
struct JournalContents;

// One page of the list. A new fact of a page is a field here and a row of the journal's field
// table (page_journal.cpp), so that it survives a crash.
struct Page {
    int isScanned = 0;        // 1: came from the scanner; 0: loaded from the user's file
    std::string sourcePath;   // scanned: the page file written at transfer; loaded: the user's
                              // own file, used in place
    std::string workingPath;  // the newest transformed copy (a page file), or empty
    int imageIndex = 0;       // this version's thumbnail slot in pageImageList
    int pageIndex = 0;        // the page's place in sourcePath (0 = first; a multi-page TIFF
                              // or a PDF holds more than one)
    uint64_t id = 0;          // numbers the version within the session (set by the document);
                              // background work finds its page again by it, and a result for
                              // a version that has left the list finds nothing
    // What background work found on this version's picture. A version's picture never
    // changes, so these belong to it wherever it is held (list or undo history); they are
    // found again after a crash, not journaled.
    mutable std::shared_ptr<const ocr::PageText> text;  // null while none is known
    mutable bool waitingForText = false;  // clean-up or recognition still under way (mark)
    mutable bool blank = false;           // found blank by the clean-up (mark)
};

// The file that holds the page now: the working copy when there is one, else the source.
std::string PagePath(const Page& page);

// The page as it is now: the working copy (a one-page file) when there is one, else the page
// of the source file.
imaging::PageRef PageRefOf(const Page& page);

// The thumbnail's size inside its cell for a working area w x h (w = areaRight - areaLeft,
// h = areaBottom - areaTop).
QSize ThumbnailSize(uint32_t w, uint32_t h);
// The same for a cell of cell x cell pixels (the thumbnail cell at a screen's scale factor).
QSize ThumbnailSize(uint32_t w, uint32_t h, int cell);

// The side of a thumbnail cell in pixels on a screen of that scale factor (260 at 1).
int CellPixels(double scale);

// Puts a picture no larger than the cell, centred, into a new cellSize x cellSize cell of grey
// 227 (same depth as the picture). Needs no window, so workers can make cells. 0 or a negative
// code, cell all zero then.
int PlaceInCell(const imaging::ImageBuffer& picture, int cellSize, imaging::ImageBuffer& cell);

// Makes the cellSize x cellSize thumbnail cell of an image (see PageDocument::MakeThumbnail)
// without touching a document, so that a worker thread can make it. 0 or a negative code.
int MakeThumbnailCell(const imaging::ImageBuffer& image, imaging::ImageBuffer& cell, int cellSize);

// A thumbnail cell as the list shows it: a cell made for a scaled screen records its scale
// factor, so that it is drawn at 260 points, pixel for pixel, instead of larger.
QImage ThumbnailPictureOf(const imaging::ImageBuffer& cell);

// What background work on the pages needs to hear: a new page joined the list; a new version
// of a page took its place (a transform: its picture changed), or a version came back (an undo,
// a redo, a restored session); a version is about to leave the list. Unset members do nothing.
struct PageEvents {
    std::function<void(const Page& page)> added;
    std::function<void(const Page& page)> changed;
    std::function<void(const Page& page)> removing;
};

// What the windows showing the document do when it has changed. Unset members do nothing.
struct DocumentViews {
    std::function<void()> postPageCount;  // the skin window shows the new page count
    std::function<void()> rebuild;        // the page view refills itself from the table
    std::function<int()> selectedRow;     // the page selected in the view, -1 when none
    std::function<void(int row)> selectRow;
    std::function<void(int row)> refreshPage;       // the page's thumbnail changed: show it
    std::function<void()> refreshMarks;             // a page's marks changed: show them
    std::function<void(const QString& text)> warn;  // tells the user (exclamation, "Vellumo")
};

class PageDocument {
public:
    PageDocument();
    // Ends the session as a clean exit does: every page file of the program and the journal go.
    ~PageDocument();
    PageDocument(const PageDocument&) = delete;
    PageDocument& operator=(const PageDocument&) = delete;

    // The pages in list order, to read. They change only through the operations below, so that
    // every change is journaled and can be undone.
    const PageTable& pages = pages_;
    // The number of pages plus one (1 for an empty list), always derived from the table.
    int pageCounter() const { return static_cast<int>(pages_.size()) + 1; }
    // List index of the page last right-clicked; the page menu's commands act on it.
    int currentItem = 0;
    // The last thumbnail cell made by MakeThumbnail (260 x 260 at thumbnailScale 1, 24-bit).
    imaging::ImageBuffer thumbnailImage{};
    // The scale factor of the screen the thumbnails are shown on: cells are made with this many
    // pixels per point so that they are sharp there.
    double thumbnailScale = 1.0;
    // Passwords of the encrypted PDFs pages were brought in from (file -> password); kept only
    // in memory, for loading those pages again.
    std::map<std::string, std::string> pdfPasswords;
    // The password a page's file needs ("" for most).
    std::string PasswordOf(const Page& page) const;
    PageImageList pageImageList;
    // The page under work. All zero while no page is loaded; every command that loads a page
    // into it releases it again before it returns.
    imaging::ImageBuffer workingImage{};

    // Fits the image into a 260 x 260 cell filled with grey 227 (centred, never enlarged) and
    // keeps the cell in thumbnailImage. 0, or -1 when the image is empty; another negative code
    // when the cell cannot be made (thumbnailImage is then unchanged).
    int MakeThumbnail(const imaging::ImageBuffer& image);

    // ---- Where the pages are kept ---------------------------------------------------------------

    // Keeps the page files and the journal in the session's folder from now on. Without a
    // session the page files go to the temporary folder and nothing is journaled.
    void AttachSession(std::unique_ptr<SessionFolder> session);
    // Takes over the session of an instance that did not close properly: its list and undo
    // history as its journal has them, its folder and its lock. Pages whose files are missing
    // are left out (and then the history, which could bring them back); returns their number.
    // Files of the folder that nothing names any more are deleted.
    int RestoreSession(std::unique_ptr<SessionFolder> session, const JournalContents& journal);
    const SessionFolder* session() const { return session_.get(); }
    // A new page file "VW<unique>.tmp.TIF", created empty and private in the session's folder
    // (the temporary folder without a session); "" when none can be made.
    std::string MakeTempPagePath();
    // A clean end: the pages and the history are let go, the session's folder removed.
    void EndSession();
    // Waits until the journal written last is on the disk and unneeded files are deleted.
    void FlushJournal();

    // ---- Changing the list
    // ------------------------------------------------------------------------
    //
    // A change is opened, made and committed; the operations in between are one step of the
    // undo history. An operation called with no change open is a change of its own.

    // Opens a change. `continueStep` (a value of lastStep()) adds to that step when it is still
    // the last one, as the pages of one scan arrive one by one.
    void BeginChange(PageAction action, uint64_t continueStep = 0);
    // Writes the journal with the change and makes it a step of the history. False when the
    // journal cannot be written: the change is taken back whole (the files it made go with it)
    // and the user is told.
    bool CommitChange();
    // Takes back everything since BeginChange.
    void CancelChange();
    // The serial of the newest step, 0 when there is none.
    uint64_t lastStep() const;

    // Makes `cell` (from PlaceInCell) the last thumbnail; cell is all zero afterwards.
    void TakeThumbnail(imaging::ImageBuffer& cell);
    // The last thumbnail cell as the list shows it (its scale factor recorded in the picture).
    QImage ThumbnailPicture() const;
    // Puts the last thumbnail into a new image-list slot and appends a page for the file.
    void AppendPage(const std::string& path, int isScanned, int pageIndex = 0);
    // The same for a page whose facts the caller has filled in.
    void AppendPage(Page page);
    // Makes `page` the new version of the page at `index`, with the last thumbnail. False when
    // there is no such page.
    // `thumbnail`, when given, is the new version's thumbnail instead (made by a worker).
    bool ReplacePage(int index, Page page, const QImage& thumbnail = QImage());
    // Takes the page at `index` out of the list. Its files stay while an undo can bring it
    // back. False when there is no such page.
    bool RemovePageAt(int index);
    // Swaps two pages; false when either index is outside the table.
    bool SwapPages(int a, int b);
    // Empties the list (the files stay while an undo can bring the pages back).
    void FreeAllPages();

    // ---- Undo and redo
    // ----------------------------------------------------------------------------

    bool CanUndo() const { return !open_ && history_.canUndo(); }
    bool CanRedo() const { return !open_ && history_.canRedo(); }
    // What Undo and Redo would take back or do again ("rotate right"); "" when nothing.
    std::string UndoName() const;
    std::string RedoName() const;
    // Puts the list back as it was before the last step (after the next step, for Redo). False
    // when there is nothing to undo, or the journal cannot be written (the user is told).
    bool Undo();
    bool Redo();
    const UndoHistory& history() const { return history_; }
    // Pages coming back get their thumbnails in the background; this waits for them (tests,
    // benchmarks). False when `timeoutMs` passed first.
    bool WaitForThumbnails(int timeoutMs = 30000);

    // ---- The views ------------------------------------------------------------------------------

    DocumentViews views;
    // The background work on the pages.
    PageEvents events;
    // The page with the id, or nullptr; its row in row when asked.
    const Page* FindPage(uint64_t pageId, int* row = nullptr) const;
    // Shows the pages' marks (waiting for text, blank) anew.
    void RefreshMarks() const;
    // Tells the skin window the page count (UM_PAGECOUNT with pageCounter).
    void PostPageCount() const;
    // Refills the page view from the table.
    void RebuildPageView() const;
    // The page selected in the view, -1 when none (or no view).
    int selectedRow() const;
    void selectRow(int row) const;
    // Shows the page's new thumbnail in the view and scrolls it into sight.
    void RefreshPage(int row) const;

private:
    struct OpenChange {
        PageAction action = PageAction::Edit;
        UndoHistory history;  // as it was, to take the change back
        std::optional<UndoStep> continued;
    };
    template <typename Edit>
    bool Change(PageAction action, Edit&& edit);
    // Undo (back) or Redo: the list as the history's next step has it, journaled first.
    bool StepThroughHistory(bool back);
    bool WriteJournal(std::string& error);
    void Warn(const QString& text) const;
    void WarnNotSaved(const std::string& error) const;
    // Lets go of the thumbnails of pages that left the list; asks for those of pages back.
    void FollowListChange(const PageTable& before);
    // Tells the background work (events) which versions joined and left the committed list.
    void AnnounceListChange(const PageTable& before);
    // Deletes the program's files that no page version names any more.
    void ReleaseUnreferencedFiles();
    void OnThumbnailMade(int slot, const QImage& cell);

    PageTable pages_;
    PageRecords records_;
    UndoHistory history_;
    SharedPageTable committed_;  // the list as the journal has it
    std::optional<OpenChange> open_;
    uint64_t serial_ = 0;
    uint64_t sequence_ = 0;
    std::unique_ptr<SessionFolder> session_;
    std::unique_ptr<JournalStore> journal_;
    std::unique_ptr<ThumbnailMaker> thumbnails_;
    std::set<uint64_t> fresh_;  // versions of new pages appended in the open change
};

}  // namespace vellumo::document
