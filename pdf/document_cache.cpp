#include "pdf/document_cache.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <list>
#include <mutex>

namespace vellumo::pdf {

namespace {

constexpr size_t kCachedDocuments = 4;

struct Entry {
    std::string path;
    long long size = 0;
    long long modified = 0;
    std::shared_ptr<PdfDocument> doc;
};

std::mutex cacheMutex;
std::list<Entry> cache;  // most recently used first

}  // namespace

PdfStatus OpenCachedDocument(const std::string& path, std::shared_ptr<PdfDocument>& doc,
                             std::string& reason) {
    doc.reset();
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) {
        reason = std::string("cannot open the file: ") + std::strerror(errno);
        return PdfStatus::CannotOpen;
    }
    const long long modified =
        static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
    {
        std::lock_guard<std::mutex> lock(cacheMutex);
        for (auto it = cache.begin(); it != cache.end(); ++it) {
            if (it->path != path) continue;
            if (it->size == st.st_size && it->modified == modified) {
                cache.splice(cache.begin(), cache, it);
                doc = it->doc;
                return PdfStatus::Ok;
            }
            cache.erase(it);
            break;
        }
    }
    const PdfStatus status = PdfDocument::open(path, doc, reason);
    if (status != PdfStatus::Ok) return status;
    std::lock_guard<std::mutex> lock(cacheMutex);
    cache.push_front(Entry{path, st.st_size, modified, doc});
    if (cache.size() > kCachedDocuments) cache.pop_back();
    return PdfStatus::Ok;
}

void ForgetCachedDocuments() {
    std::lock_guard<std::mutex> lock(cacheMutex);
    cache.clear();
}

}  // namespace vellumo::pdf
