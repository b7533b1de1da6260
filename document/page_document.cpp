#include "document/page_document.h"

#include <fcntl.h>
#include <malloc.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unordered_set>

#include "document/journal_store.h"
#include "document/page_journal.h"
#include "document/session_folder.h"
#include "document/thumbnail_maker.h"
#include "imaging/imaging.h"
#include "platform/dialogs.h"
#include "platform/log.h"
#include "platform/temp_file.h"
#include "widgets/image_convert.h"

namespace vellumo::document {

using namespace vellumo::imaging;
using namespace vellumo::platform;
using namespace vellumo::widgets;

namespace {

constexpr int kCell = PageImageList::kCellSize;
constexpr size_t kTrimAfterThumbnails = 16;

// A page file in the temporary folder, for a document without a session.
std::string MakeTempFolderPageFile() {
    std::string pattern = TempDirectory() + "VWXXXXXX.tmp.TIF";
    const int fd = mkstemps(pattern.data(), 8);
    if (fd < 0) return {};
    ::close(fd);
    return pattern;
}

bool IsRegularFile(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

}  // namespace

std::string PagePath(const Page& page) {
    return page.workingPath.empty() ? page.sourcePath : page.workingPath;
}

QSize ThumbnailSize(uint32_t w, uint32_t h) {
    if (w <= static_cast<uint32_t>(kCell) && h <= static_cast<uint32_t>(kCell))
        return QSize(static_cast<int>(w), static_cast<int>(h));
    // Single precision and truncation toward zero, as the thumbnails have always been sized.
    const float sx = 260.0f * 100.0f / static_cast<float>(w);
    const float sy = 260.0f * 100.0f / static_cast<float>(h);
    if (sy > sx) return QSize(kCell, static_cast<int>(static_cast<float>(h) * sx / 100.0f));
    return QSize(static_cast<int>(static_cast<float>(w) * sy / 100.0f), kCell);
}

PageDocument::PageDocument()
    : records_([](const std::string& path) { return InTempDirectory(path); }),
      committed_(std::make_shared<const PageTable>()),
      thumbnails_(std::make_unique<ThumbnailMaker>(
          [this](int slot, const QImage& cell) { OnThumbnailMade(slot, cell); })) {}

PageDocument::~PageDocument() {
    EndSession();
    FreeImage(thumbnailImage);
    FreeImage(workingImage);
}

int PageDocument::MakeThumbnail(const ImageBuffer& image) {
    if (image.areaRight == 0 || image.areaRight < image.areaLeft ||
        image.areaBottom < image.areaTop)
        return -1;
    WriteLog("Started making thumbnail\n");
    ScopedImage cell;
    if (int rc = MakeThumbnailCell(image, cell.image)) return rc;
    // The previous cell is released before the new one takes its place.
    FreeImage(thumbnailImage);
    CopyImageDescriptor(cell.image, thumbnailImage);
    cell.image = ImageBuffer{};
    WriteLog("Successfully made thumbnail\n");
    return 0;
}

// ---- The session ------------------------------------------------------------------------------

void PageDocument::AttachSession(std::unique_ptr<SessionFolder> session) {
    EndSession();
    session_ = std::move(session);
    if (!session_) return;
    const SessionFolder* folder = session_.get();
    records_.setOwnFile([folder](const std::string& path) { return folder->holds(path); });
    journal_ = std::make_unique<JournalStore>(session_->path());
    sequence_ = 0;
}

int PageDocument::RestoreSession(std::unique_ptr<SessionFolder> session,
                                 const JournalContents& journal) {
    AttachSession(std::move(session));
    std::map<uint64_t, const Page*> byId;
    for (const Page& page : journal.pages) byId.emplace(page.id, &page);
    std::unordered_set<uint64_t> missing;
    for (const Page& page : journal.pages)
        if (!IsRegularFile(PagePath(page)) || (page.isScanned && !IsRegularFile(page.sourcePath)))
            missing.insert(page.id);

    std::map<uint64_t, PageRecord> made;
    auto record = [&](uint64_t id) {
        auto it = made.find(id);
        if (it != made.end()) return it->second;
        Page page = *byId.at(id);
        // The thumbnail is made again from the file, in the background.
        page.imageIndex = pageImageList.append(QImage());
        return made.emplace(id, records_.make(std::move(page))).first->second;
    };
    auto table = [&](const std::vector<uint64_t>& ids) {
        PageTable pages;
        pages.reserve(ids.size());
        for (uint64_t id : ids)
            if (!missing.count(id)) pages.push_back(record(id));
        return std::make_shared<const PageTable>(std::move(pages));
    };

    int skipped = 0;
    for (uint64_t id : journal.list) skipped += missing.count(id) ? 1 : 0;
    const PageTable before = pages_;
    committed_ = table(journal.list);
    pages_ = *committed_;

    // A step that would bring back a page whose file is gone cannot be undone exactly: then the
    // history goes.
    bool historyWhole = true;
    for (const auto* steps : {&journal.undo, &journal.redo})
        for (const JournalContents::Step& step : *steps)
            for (const auto* ids : {&step.before, &step.after})
                for (uint64_t id : *ids) historyWhole = historyWhole && !missing.count(id);
    std::deque<UndoStep> undo, redo;
    if (historyWhole) {
        for (const JournalContents::Step& step : journal.undo)
            undo.push_back({step.action, step.serial, table(step.before), table(step.after)});
        for (const JournalContents::Step& step : journal.redo)
            redo.push_back({step.action, step.serial, table(step.before), table(step.after)});
        for (const auto* steps : {&undo, &redo})
            for (const UndoStep& step : *steps) serial_ = std::max(serial_, step.serial);
    }
    history_.assign(std::move(undo), std::move(redo));
    made.clear();

    // The journal goes on from the newest one found; files that nothing names any more (the
    // pages of a change that was not finished, older journals) go once it is on the disk.
    sequence_ = journal.sequence;
    std::string error;
    if (!WriteJournal(error)) WarnNotSaved(error);
    std::vector<std::string> stale;
    const std::string current = "journal." + std::to_string(sequence_) + ".tmp";
    for (const std::string& name : session_->fileNames()) {
        const std::string path = session_->file(name);
        if (name == current || name == "journal") continue;
        if (JournalStore::IsJournalFileName(name) || records_.references(path) == 0)
            stale.push_back(path);
    }
    journal_->deleteWhenSafe(std::move(stale));
    FollowListChange(before);
    return skipped;
}

std::string PageDocument::MakeTempPagePath() {
    if (!session_) return MakeTempFolderPageFile();
    std::string error;
    std::string path = session_->newPageFile(error);
    if (path.empty())
        WriteLog("Cannot make a page file in " + session_->path() + ": " + error + "\n");
    return path;
}

void PageDocument::EndSession() {
    open_.reset();
    for (const PageRecord& page : pages_) pageImageList.release(page->imageIndex);
    pages_.clear();
    history_.clear();
    committed_ = std::make_shared<const PageTable>();
    // No version is left: every file of the program's own is unreferenced now.
    if (session_) {
        journal_.reset();  // waits for its flushing
        // The files go with the folder.
        records_.takeUnreferencedFiles();
        session_->remove();
        session_.reset();
        records_.setOwnFile([](const std::string& path) { return InTempDirectory(path); });
    } else {
        ReleaseUnreferencedFiles();
    }
}

void PageDocument::FlushJournal() {
    if (journal_) journal_->flush();
}

// ---- Changes ----------------------------------------------------------------------------------

void PageDocument::BeginChange(PageAction action, uint64_t continueStep) {
    if (open_) return;
    open_.emplace();
    open_->action = action;
    open_->history = history_;
    const UndoStep* top = history_.nextUndo();
    if (continueStep != 0 && top && top->serial == continueStep && top->action == action &&
        top->after == committed_)
        open_->continued = history_.popTop();
}

bool PageDocument::CommitChange() {
    if (!open_) return true;
    OpenChange change = std::move(*open_);
    open_.reset();
    const PageTable& before = *committed_;
    if (pages_ == before) {
        // Nothing changed: the history stays as it was.
        history_ = std::move(change.history);
        return true;
    }
    UndoStep step;
    step.action = change.action;
    step.serial = change.continued ? change.continued->serial : ++serial_;
    step.before = change.continued ? change.continued->before : committed_;
    step.after = std::make_shared<const PageTable>(pages_);
    std::vector<UndoStep> dropped = history_.push(step);

    std::string error;
    if (!WriteJournal(error)) {
        // Taken back whole: the list and the history as they were; what the change made goes.
        {
            const PageTable changed = pages_;
            pages_ = before;
            history_ = std::move(change.history);
            dropped.clear();
            step = UndoStep{};
            FollowListChange(changed);
        }
        ReleaseUnreferencedFiles();
        WarnNotSaved(error);
        return false;
    }
    {
        const SharedPageTable previous = committed_;
        committed_ = step.after;
        FollowListChange(*previous);
    }
    // Every hold on the versions that left is let go before their files are counted.
    dropped.clear();
    change = OpenChange{};
    ReleaseUnreferencedFiles();
    return true;
}

void PageDocument::CancelChange() {
    if (!open_) return;
    {
        const PageTable changed = pages_;
        pages_ = *committed_;
        history_ = std::move(open_->history);
        open_.reset();
        FollowListChange(changed);
    }
    ReleaseUnreferencedFiles();
}

uint64_t PageDocument::lastStep() const {
    const UndoStep* top = history_.nextUndo();
    return top ? top->serial : 0;
}

template <typename Edit>
bool PageDocument::Change(PageAction action, Edit&& edit) {
    const bool own = !open_;
    if (own) BeginChange(action);
    const bool changed = edit();
    if (own) {
        if (!changed) {
            CancelChange();
            return false;
        }
        return CommitChange();
    }
    return changed;
}

void PageDocument::AppendPage(const std::string& path, int isScanned) {
    Page page;
    page.sourcePath = path;
    page.isScanned = isScanned;
    AppendPage(std::move(page));
}

void PageDocument::AppendPage(Page page) {
    Change(page.isScanned ? PageAction::Scan : PageAction::Load, [&] {
        page.id = 0;
        page.imageIndex = pageImageList.append(WholeImageToQImage(thumbnailImage));
        pages_.push_back(records_.make(std::move(page)));
        return true;
    });
}

bool PageDocument::ReplacePage(int index, Page page) {
    return Change(PageAction::Edit, [&] {
        if (index < 0 || index >= static_cast<int>(pages_.size())) return false;
        page.id = 0;
        page.imageIndex = pageImageList.append(WholeImageToQImage(thumbnailImage));
        pages_[static_cast<size_t>(index)] = records_.make(std::move(page));
        return true;
    });
}

bool PageDocument::RemovePageAt(int index) {
    return Change(PageAction::Delete, [&] {
        if (index < 0 || index >= static_cast<int>(pages_.size())) return false;
        pages_.erase(pages_.begin() + index);
        return true;
    });
}

bool PageDocument::SwapPages(int a, int b) {
    return Change(PageAction::Move, [&] {
        const int n = static_cast<int>(pages_.size());
        if (a < 0 || b < 0 || a >= n || b >= n) return false;
        std::swap(pages_[static_cast<size_t>(a)], pages_[static_cast<size_t>(b)]);
        return true;
    });
}

void PageDocument::FreeAllPages() {
    Change(PageAction::Clear, [&] {
        const bool any = !pages_.empty();
        pages_.clear();
        return any;
    });
}

// ---- Undo and redo ----------------------------------------------------------------------------

std::string PageDocument::UndoName() const {
    return CanUndo() ? ActionName(history_.nextUndo()->action) : "";
}

std::string PageDocument::RedoName() const {
    return CanRedo() ? ActionName(history_.nextRedo()->action) : "";
}

bool PageDocument::Undo() {
    return CanUndo() && StepThroughHistory(true);
}

bool PageDocument::Redo() {
    return CanRedo() && StepThroughHistory(false);
}

bool PageDocument::StepThroughHistory(bool back) {
    const UndoHistory saved = history_;
    const PageTable before = pages_;
    const SharedPageTable list = back ? history_.undo().before : history_.redo().after;
    pages_ = *list;
    std::string error;
    if (!WriteJournal(error)) {
        history_ = saved;
        pages_ = before;
        WarnNotSaved(error);
        return false;
    }
    committed_ = list;
    FollowListChange(before);
    ReleaseUnreferencedFiles();
    return true;
}

bool PageDocument::WaitForThumbnails(int timeoutMs) {
    return thumbnails_->waitForAll(timeoutMs);
}

// ---- Inside -----------------------------------------------------------------------------------

bool PageDocument::WriteJournal(std::string& error) {
    if (!journal_) return true;
    const std::string flushError = journal_->takeFlushError();
    if (!flushError.empty()) {
        WriteLog("The journal of the pages could not be flushed to the disk: " + flushError + "\n");
    }
    const uint64_t sequence = sequence_ + 1;
    const std::string text = FormatJournal(sequence, records_.versions(), pages_, history_);
    if (!journal_->write(sequence, text, error)) return false;
    sequence_ = sequence;
    return true;
}

void PageDocument::Warn(const QString& text) const {
    WriteLog(text.toStdString() + "\n");
    // Without a window to own it the message still reaches the user.
    if (views.warn)
        views.warn(text);
    else
        MessageBox(nullptr, text, MessageIcon::Exclamation, MessageButtons::Ok);
}

void PageDocument::WarnNotSaved(const std::string& error) const {
    const QString folder = session_ ? QString::fromStdString(session_->path()) : QString();
    Warn(QStringLiteral("The change was not made: the list of pages could not be saved in %1 (%2).")
             .arg(folder, QString::fromStdString(error)));
}

void PageDocument::FollowListChange(const PageTable& before) {
    std::unordered_set<const Page*> now;
    now.reserve(pages_.size());
    for (const PageRecord& page : pages_) now.insert(page.get());
    std::unordered_set<const Page*> was;
    was.reserve(before.size());
    size_t released = 0;
    for (const PageRecord& page : before) {
        was.insert(page.get());
        // A page out of the list gives its thumbnail's memory back; its slot stays.
        if (!now.count(page.get())) {
            pageImageList.release(page->imageIndex);
            ++released;
        }
    }
#ifdef __GLIBC__
    // Thumbnails are freed into the heap, which keeps the pages for the next ones; after many
    // (a cleared list) they go back to the system, so that a long session does not grow.
    if (released >= kTrimAfterThumbnails) malloc_trim(0);
#endif
    for (const PageRecord& page : pages_)
        if (!was.count(page.get()) && pageImageList.image(page->imageIndex).isNull())
            thumbnails_->request(page->imageIndex, PagePath(*page));
}

void PageDocument::ReleaseUnreferencedFiles() {
    std::vector<std::string> files = records_.takeUnreferencedFiles();
    for (const std::string& file : files) WriteLogF("Deleting temp file %s\n", file.c_str());
    if (journal_) {
        journal_->deleteWhenSafe(std::move(files));
        return;
    }
    for (const std::string& file : files) std::remove(file.c_str());
}

void PageDocument::OnThumbnailMade(int slot, const QImage& cell) {
    // The page may have left the list again while its thumbnail was made.
    for (size_t row = 0; row < pages_.size(); ++row)
        if (pages_[row]->imageIndex == slot) {
            pageImageList.replace(slot, cell);
            RefreshPage(static_cast<int>(row));
            return;
        }
}

void PageDocument::PostPageCount() const {
    if (views.postPageCount) views.postPageCount();
}

void PageDocument::RebuildPageView() const {
    if (views.rebuild) views.rebuild();
}

int PageDocument::selectedRow() const {
    return views.selectedRow ? views.selectedRow() : -1;
}

void PageDocument::selectRow(int row) const {
    if (views.selectRow) views.selectRow(row);
}

void PageDocument::RefreshPage(int row) const {
    if (views.refreshPage) views.refreshPage(row);
}

}  // namespace vellumo::document
