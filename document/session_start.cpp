#include "document/session_start.h"

#include <QString>

#include "document/journal_store.h"
#include "document/page_document.h"
#include "document/session_folder.h"
#include "platform/dialogs.h"
#include "platform/log.h"

namespace vellumo::document {

using namespace vellumo::platform;

namespace {

void Tell(QWidget* owner, const QString& text) {
    WriteLog(text.toStdString() + "\n");
    MessageBox(owner, text, MessageIcon::Exclamation, MessageButtons::Ok);
}

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

// Offers the pages of one abandoned session; true when the document took it over.
bool OfferSession(PageDocument& document, std::unique_ptr<SessionFolder> folder, QWidget* owner) {
    const JournalStore::Reading reading = JournalStore::ReadNewest(folder->path());
    if (reading.found == JournalStore::Found::Damaged) {
        // Kept as it is, files and all, where no start looks again; the user hears of it once.
        const std::string aside = folder->setAside();
        Tell(owner, QStringLiteral("The list of pages of a session that was not closed properly "
                                   "could not be read (%1). It was set aside in %2.")
                        .arg(Q(reading.error), Q(aside.empty() ? folder->path() : aside)));
        return false;
    }
    if (reading.found == JournalStore::Found::Nothing || reading.contents.list.empty()) {
        // Ended before its first page, or with an empty list: nothing to offer.
        folder->remove();
        return false;
    }
    const int count = static_cast<int>(reading.contents.list.size());
    WriteLogF("Found %d pages of a session that was not closed properly in %s\n", count,
              folder->path().c_str());
    const QString question =
        QStringLiteral("Vellumo was not closed properly. Restore the %1 pages of the last session?")
            .arg(count);
    if (MessageBox(owner, question, MessageIcon::Question, MessageButtons::YesNo) != Answer::Yes) {
        WriteLog("Pages of the last session removed\n");
        folder->remove();
        return false;
    }
    const int skipped = document.RestoreSession(std::move(folder), reading.contents);
    WriteLogF("Pages of the last session restored: %d\n", static_cast<int>(document.pages.size()));
    if (skipped == 1)
        Tell(owner, QStringLiteral("1 page could not be restored because its file is missing."));
    else if (skipped > 1)
        Tell(owner,
             QStringLiteral("%1 pages could not be restored because their files are missing.")
                 .arg(skipped));
    return true;
}

}  // namespace

void StartPageSession(PageDocument& document, QWidget* owner) {
    const std::string root = PageFolderRoot();
    std::string error;
    if (!PreparePageFolderRoot(root, error)) {
        Tell(owner,
             QStringLiteral("The folder for the pages cannot be used (%1). Pages are kept in "
                            "the temporary folder and cannot be restored after a crash.")
                 .arg(Q(error)));
        return;
    }
    // The newest first; once one is taken over, the others wait for another start.
    for (std::unique_ptr<SessionFolder>& folder : SessionFolder::TakeAbandoned(root))
        if (OfferSession(document, std::move(folder), owner)) return;
    std::unique_ptr<SessionFolder> session = SessionFolder::Create(root, error);
    if (!session) {
        Tell(owner,
             QStringLiteral("The folder for the pages cannot be used (%1). Pages are kept in "
                            "the temporary folder and cannot be restored after a crash.")
                 .arg(Q(error)));
        return;
    }
    document.AttachSession(std::move(session));
}

}  // namespace vellumo::document
