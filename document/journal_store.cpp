#include "document/journal_store.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace vellumo::document {

namespace {

constexpr char kJournalName[] = "journal";
constexpr char kTempPrefix[] = "journal.";
constexpr char kTempSuffix[] = ".tmp";
// Far beyond any real list; a bigger file is not read at all.
constexpr off_t kLargestJournal = 256L << 20;

bool WriteAll(int fd, const std::string& text) {
    const char* at = text.data();
    size_t left = text.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, at, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (n == 0) {
            errno = ENOSPC;
            return false;
        }
        at += n;
        left -= static_cast<size_t>(n);
    }
    return true;
}

bool ReadWhole(const std::string& path, std::string& text) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) return false;
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > kLargestJournal) {
        ::close(fd);
        return false;
    }
    text.resize(static_cast<size_t>(st.st_size));
    size_t got = 0;
    while (got < text.size()) {
        const ssize_t n = ::read(fd, text.data() + got, text.size() - got);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        got += static_cast<size_t>(n);
    }
    ::close(fd);
    text.resize(got);
    return true;
}

void SyncFolder(const std::string& folder, std::string& error) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    if (fsync(fd) != 0 && error.empty()) error = std::strerror(errno);
    ::close(fd);
}

}  // namespace

JournalStore::JournalStore(std::string folder) : folder_(std::move(folder)) {
    thread_ = std::thread([this] { run(); });
}

JournalStore::~JournalStore() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

bool JournalStore::write(uint64_t sequence, const std::string& text, std::string& error) {
    const std::string path = folder_ + "/" + kTempPrefix + std::to_string(sequence) + kTempSuffix;
    // A file of this number can only be a leftover of a run that was killed while writing it.
    ::unlink(path.c_str());
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        error = std::strerror(errno);
        return false;
    }
    if (!WriteAll(fd, text)) {
        error = std::strerror(errno);
        ::close(fd);
        ::unlink(path.c_str());
        return false;
    }
    {
        std::lock_guard<std::mutex> lock(mutex_);
        pending_.push_back({sequence, path, fd});
        lastWritten_ = sequence;
    }
    wake_.notify_all();
    return true;
}

void JournalStore::deleteWhenSafe(std::vector<std::string> files) {
    if (files.empty()) return;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        deletions_.push_back({lastWritten_, std::move(files)});
    }
    wake_.notify_all();
}

void JournalStore::flush() {
    std::unique_lock<std::mutex> lock(mutex_);
    idle_.wait(lock, [this] { return pending_.empty() && deletions_.empty() && !busy_; });
}

std::string JournalStore::takeFlushError() {
    std::lock_guard<std::mutex> lock(mutex_);
    std::string error;
    error.swap(flushError_);
    return error;
}

void JournalStore::run() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stopping_ || !pending_.empty() || !deletions_.empty(); });
        if (pending_.empty() && deletions_.empty()) {
            if (stopping_) return;
            continue;
        }
        std::vector<Pending> pending;
        std::vector<Deletion> deletions;
        pending.swap(pending_);
        deletions.swap(deletions_);
        busy_ = true;
        lock.unlock();
        flushPending(std::move(pending), std::move(deletions));
        lock.lock();
        busy_ = false;
        if (pending_.empty() && deletions_.empty()) idle_.notify_all();
    }
}

void JournalStore::flushPending(std::vector<Pending> pending, std::vector<Deletion> deletions) {
    std::string error;
    // Only the newest journal matters; the ones written before it are superseded.
    if (!pending.empty()) {
        const Pending newest = pending.back();
        for (size_t i = 0; i + 1 < pending.size(); ++i) {
            ::close(pending[i].fd);
            ::unlink(pending[i].path.c_str());
        }
        if (fdatasync(newest.fd) != 0) {
            // The file stays: complete in the system, it is still what a restart reads.
            error = std::strerror(errno);
        } else if (::rename(newest.path.c_str(), (folder_ + "/" + kJournalName).c_str()) != 0) {
            error = std::strerror(errno);
        } else {
            SyncFolder(folder_, error);
            if (error.empty()) durable_ = newest.sequence;
        }
        ::close(newest.fd);
    }
    // A file goes once a journal that no longer names it is on the disk; until then it waits.
    for (Deletion& deletion : deletions) waiting_.push_back(std::move(deletion));
    std::vector<Deletion> stillWaiting;
    for (Deletion& deletion : waiting_) {
        if (deletion.afterSequence <= durable_)
            for (const std::string& file : deletion.files) ::unlink(file.c_str());
        else
            stillWaiting.push_back(std::move(deletion));
    }
    waiting_.swap(stillWaiting);
    if (!error.empty()) {
        std::lock_guard<std::mutex> lock(mutex_);
        if (flushError_.empty()) flushError_ = error;
    }
}

JournalStore::Reading JournalStore::ReadNewest(const std::string& folder) {
    Reading reading;
    std::vector<std::pair<uint64_t, std::string>> candidates;
    DIR* dir = opendir(folder.c_str());
    if (!dir) return reading;
    std::vector<std::string> names;
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (IsJournalFileName(name)) names.push_back(name);
    }
    closedir(dir);
    std::vector<std::pair<uint64_t, std::string>> texts;
    for (const std::string& name : names) {
        std::string text;
        if (!ReadWhole(folder + "/" + name, text)) {
            if (reading.error.empty()) reading.error = name + ": cannot be read";
            continue;
        }
        texts.emplace_back(JournalSequence(text), std::move(text));
    }
    if (texts.empty()) {
        if (!names.empty()) reading.found = Found::Damaged;
        return reading;
    }
    std::sort(texts.begin(), texts.end(),
              [](const auto& a, const auto& b) { return a.first > b.first; });
    std::string firstError;
    for (const auto& [sequence, text] : texts) {
        std::string error;
        if (ParseJournal(text, reading.contents, error)) {
            reading.found = Found::Journal;
            reading.error.clear();
            return reading;
        }
        if (firstError.empty()) firstError = error;
    }
    reading.contents = JournalContents{};
    reading.found = Found::Damaged;
    reading.error = firstError;
    return reading;
}

bool JournalStore::IsJournalFileName(const std::string& name) {
    if (name == kJournalName) return true;
    const size_t prefix = sizeof kTempPrefix - 1, suffix = sizeof kTempSuffix - 1;
    if (name.size() <= prefix + suffix || name.rfind(kTempPrefix, 0) != 0 ||
        name.compare(name.size() - suffix, suffix, kTempSuffix) != 0)
        return false;
    return std::all_of(name.begin() + static_cast<long>(prefix),
                       name.end() - static_cast<long>(suffix),
                       [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace vellumo::document
