// Keeps the journal of a session folder on disk so that it survives the program being killed at
// any moment and the machine losing power. Each journal is written whole to a new temporary file
// "journal.<sequence>.tmp"; that file is flushed to the disk and only then renamed over
// "journal". The flush and the rename run on a thread of their own, so a change of the list waits
// only for the writing: once written, the temporary file is complete in the system and is what a
// restart after a kill reads, while after a power cut the last renamed journal is. Page files
// that the newest journal no longer names are deleted only once that journal is on disk.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "document/page_journal.h"

namespace vellumo::document {

class JournalStore {
public:
    explicit JournalStore(std::string folder);
    // Waits for the journal written last to reach the disk.
    ~JournalStore();
    JournalStore(const JournalStore&) = delete;
    JournalStore& operator=(const JournalStore&) = delete;

    // Writes the journal numbered `sequence`. False with `error` (the system's reason) when it
    // cannot be written whole; nothing of it is then left behind.
    bool write(uint64_t sequence, const std::string& text, std::string& error);
    // Deletes the files once the journal written last is on the disk.
    void deleteWhenSafe(std::vector<std::string> files);
    // Waits until every journal written is on the disk and every file handed over is deleted.
    void flush();
    // The first failure of the flushing since the last call ("" when none): the journal is then
    // still complete in the system, but may not survive a power cut.
    std::string takeFlushError();

    // The newest complete journal of a folder.
    enum class Found { Nothing, Journal, Damaged };
    struct Reading {
        Found found = Found::Nothing;
        JournalContents contents;
        std::string error;  // for Damaged: what is wrong with the newest journal file
    };
    static Reading ReadNewest(const std::string& folder);
    // True for the names of the journal's own files: "journal", "journal.<n>.tmp".
    static bool IsJournalFileName(const std::string& name);

private:
    struct Pending {
        uint64_t sequence;
        std::string path;
        int fd;
    };
    struct Deletion {
        uint64_t afterSequence;
        std::vector<std::string> files;
    };
    void run();
    void flushPending(std::vector<Pending> pending, std::vector<Deletion> deletions);

    std::string folder_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    std::vector<Pending> pending_;
    std::vector<Deletion> deletions_;
    uint64_t lastWritten_ = 0;
    // Of the flushing thread alone: the newest journal on the disk, and the deletions that wait
    // for a newer one.
    uint64_t durable_ = 0;
    std::vector<Deletion> waiting_;
    bool busy_ = false;
    bool stopping_ = false;
    std::string flushError_;
    std::thread thread_;
};

}  // namespace vellumo::document
