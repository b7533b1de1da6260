#include "document/page_document.h"

#include <fcntl.h>
#include <malloc.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <unordered_set>

#include "document/journal_store.h"
#include "document/page_journal.h"
#include "document/session_folder.h"
#include "document/thumbnail_maker.h"
#include "imaging/convert.h"
#include "imaging/imaging.h"
#include "imaging/transform.h"
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
constexpr int kCellGrey = 227;
constexpr size_t kTrimAfterThumbnails = 16;

// The whole picture (not only its area, as it has always been shown) scaled to `size` in
// 24-bit colour: our own area averaging where it applies, else Qt's smooth scaling.
int ScaledWholeImage(const ImageBuffer& image, const QSize& size, ImageBuffer& scaled) {
    if (int rc = AllocateImage(scaled, size.width(), size.height(), 24)) return rc;
    ImageBuffer whole = image;  // a view: the area widened, the pixels not owned
    SetImageArea(whole, 0, 0, static_cast<uint32_t>(ImageWidth(image)) - 1,
                 static_cast<uint32_t>(ImageHeight(image)) - 1);
    if (ReduceImage(whole, scaled) == 0) return 0;
    FreeImage(scaled);

    QImage picture = WholeImageToQImage(image);
    if (picture.isNull()) return -1;
    // Palette and bilevel pictures are scaled smoothly in colour, like the rest.
    if (picture.format() == QImage::Format_Mono || picture.format() == QImage::Format_Indexed8)
        picture = picture.convertToFormat(QImage::Format_RGB32);
    return QImageToImage(picture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                             .convertToFormat(QImage::Format_RGB888),
                         scaled);
}

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

int CellPixels(double scale) {
    // Scale factors are bounded so that a wrong screen report cannot ask for giant cells.
    const double bounded = std::clamp(scale, 1.0, 4.0);
    return static_cast<int>(std::lround(kCell * bounded));
}

int PlaceInCell(const ImageBuffer& picture, int cellSize, ImageBuffer& cell) {
    if (ImageWidth(picture) > cellSize || ImageHeight(picture) > cellSize) return kImgBadArgument;
    if (int rc = AllocateImage(cell, cellSize, cellSize, BitsPerPixel(picture))) return rc;
    FillImageArea(kCellGrey, cell);
    const uint32_t r = picture.areaRight, b = picture.areaBottom;
    const uint32_t left = (cellSize - r) / 2, top = (cellSize - b) / 2;
    SetImageArea(cell, left, top, left + r, top + b);
    CopyImageArea(picture, cell);
    SetImageArea(cell, 0, 0, cellSize - 1, cellSize - 1);
    return 0;
}

std::string PageDocument::PasswordOf(const Page& page) const {
    if (!page.workingPath.empty()) return std::string();
    const auto found = pdfPasswords.find(page.sourcePath);
    return found == pdfPasswords.end() ? std::string() : found->second;
}

void PageDocument::TakeThumbnail(ImageBuffer& cell) {
    FreeImage(thumbnailImage);
    CopyImageDescriptor(cell, thumbnailImage);
    cell = ImageBuffer{};
}

std::string PagePath(const Page& page) {
    return page.workingPath.empty() ? page.sourcePath : page.workingPath;
}

imaging::PageRef PageRefOf(const Page& page) {
    if (!page.workingPath.empty()) return {page.workingPath, 0};
    return {page.sourcePath, page.pageIndex};
}

QSize ThumbnailSize(uint32_t w, uint32_t h) {
    return ThumbnailSize(w, h, kCell);
}

QSize ThumbnailSize(uint32_t w, uint32_t h, int cell) {
    if (w <= static_cast<uint32_t>(cell) && h <= static_cast<uint32_t>(cell))
        return QSize(static_cast<int>(w), static_cast<int>(h));
    // Single precision and truncation toward zero, as the thumbnails have always been sized.
    const float sx = static_cast<float>(cell) * 100.0f / static_cast<float>(w);
    const float sy = static_cast<float>(cell) * 100.0f / static_cast<float>(h);
    if (sy > sx) return QSize(cell, static_cast<int>(static_cast<float>(h) * sx / 100.0f));
    return QSize(static_cast<int>(static_cast<float>(w) * sy / 100.0f), cell);
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

int MakeThumbnailCell(const ImageBuffer& image, ImageBuffer& cellOut, int cellSize) {
    if (image.areaRight == 0 || image.areaRight < image.areaLeft ||
        image.areaBottom < image.areaTop)
        return -1;
    const QSize size =
        ThumbnailSize(image.areaRight - image.areaLeft, image.areaBottom - image.areaTop, cellSize);
    if (size.isEmpty()) return -1;
    ScopedImage thumb;
    if (int rc = ScaledWholeImage(image, size, thumb.image)) return rc;
    ScopedImage cell;
    if (int rc = PlaceInCell(thumb.image, cellSize, cell.image)) return rc;
    CopyImageDescriptor(cell.image, cellOut);
    cell.image = ImageBuffer{};
    return 0;
}

QImage ThumbnailPictureOf(const ImageBuffer& cell) {
    QImage picture = WholeImageToQImage(cell);
    if (!picture.isNull() && ImageWidth(cell) != kCell)
        picture.setDevicePixelRatio(static_cast<double>(ImageWidth(cell)) / kCell);
    return picture;
}

int PageDocument::MakeThumbnail(const ImageBuffer& image) {
    if (image.areaRight == 0 || image.areaRight < image.areaLeft ||
        image.areaBottom < image.areaTop)
        return -1;
    WriteLog("Started making thumbnail\n");
    ImageBuffer cell{};
    if (int rc = MakeThumbnailCell(image, cell, CellPixels(thumbnailScale))) return rc;
    // The previous cell is released before the new one takes its place.
    FreeImage(thumbnailImage);
    CopyImageDescriptor(cell, thumbnailImage);
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
    AnnounceListChange(before);
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
        fresh_.clear();
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
        fresh_.clear();
        ReleaseUnreferencedFiles();
        WarnNotSaved(error);
        return false;
    }
    {
        const SharedPageTable previous = committed_;
        committed_ = step.after;
        FollowListChange(*previous);
        AnnounceListChange(*previous);
    }
    // Every hold on the versions that left is let go before their files are counted.
    dropped.clear();
    change = OpenChange{};
    ReleaseUnreferencedFiles();
    return true;
}

void PageDocument::CancelChange() {
    if (!open_) return;
    fresh_.clear();
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

void PageDocument::AppendPage(const std::string& path, int isScanned, int pageIndex) {
    Page page;
    page.sourcePath = path;
    page.isScanned = isScanned;
    page.pageIndex = pageIndex;
    AppendPage(std::move(page));
}

void PageDocument::AppendPage(Page page) {
    Change(page.isScanned ? PageAction::Scan : PageAction::Load, [&] {
        page.id = 0;
        page.imageIndex = pageImageList.append(ThumbnailPicture());
        pages_.push_back(records_.make(std::move(page)));
        fresh_.insert(pages_.back()->id);
        return true;
    });
}

bool PageDocument::ReplacePage(int index, Page page, const QImage& thumbnail) {
    return Change(PageAction::Edit, [&] {
        if (index < 0 || index >= static_cast<int>(pages_.size())) return false;
        page.id = 0;
        // A new picture: what was found on the old one does not hold for it.
        page.text.reset();
        page.waitingForText = false;
        page.blank = false;
        page.imageIndex = pageImageList.append(thumbnail.isNull() ? ThumbnailPicture() : thumbnail);
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

QImage PageDocument::ThumbnailPicture() const {
    return ThumbnailPictureOf(thumbnailImage);
}

const Page* PageDocument::FindPage(uint64_t pageId, int* row) const {
    for (size_t i = 0; i < pages_.size(); ++i)
        if (pages_[i]->id == pageId) {
            if (row) *row = static_cast<int>(i);
            return pages_[i].get();
        }
    return nullptr;
}

void PageDocument::RefreshMarks() const {
    if (views.refreshMarks) views.refreshMarks();
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
    AnnounceListChange(before);
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
            thumbnails_->request(page->imageIndex, PageRefOf(*page), PasswordOf(*page),
                                 CellPixels(thumbnailScale));
}

void PageDocument::AnnounceListChange(const PageTable& before) {
    std::unordered_set<const Page*> now;
    now.reserve(pages_.size());
    for (const PageRecord& page : pages_) now.insert(page.get());
    std::unordered_set<const Page*> was;
    was.reserve(before.size());
    // Held here, so that a handler changing the list cannot free a version it is told about.
    const PageTable current = pages_;
    std::set<uint64_t> fresh;
    fresh.swap(fresh_);
    for (const PageRecord& page : before) {
        was.insert(page.get());
        if (!now.count(page.get()) && events.removing) events.removing(*page);
    }
    for (const PageRecord& page : current) {
        if (was.count(page.get())) continue;
        if (fresh.count(page->id)) {
            if (events.added) events.added(*page);
        } else if (!page->text && !page->blank) {
            // A transform's new version, or one brought back without what was found on it.
            if (events.changed) events.changed(*page);
        }
    }
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
