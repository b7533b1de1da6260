#include "document/page_records.h"

#include <unordered_map>

#include "document/page_document.h"

namespace vellumo::document {

struct PageRecords::State {
    std::function<bool(const std::string&)> ownFile;
    std::map<uint64_t, const Page*> versions;
    std::unordered_map<std::string, int> references;
    std::vector<std::string> unreferenced;
    uint64_t nextId = 1;

    template <typename F>
    static void ForEachFile(const Page& page, F&& f) {
        if (page.isScanned) f(page.sourcePath);
        if (!page.workingPath.empty() && page.workingPath != page.sourcePath) f(page.workingPath);
    }

    void count(const Page& page) {
        ForEachFile(page, [this](const std::string& file) {
            if (ownFile && ownFile(file)) ++references[file];
        });
    }

    void release(const Page& page) {
        versions.erase(page.id);
        ForEachFile(page, [this](const std::string& file) {
            const auto it = references.find(file);
            if (it == references.end()) return;
            if (--it->second == 0) {
                unreferenced.push_back(file);
                references.erase(it);
            }
        });
    }
};

PageRecords::PageRecords(std::function<bool(const std::string&)> ownFile)
    : state_(std::make_shared<State>()) {
    state_->ownFile = std::move(ownFile);
}

PageRecord PageRecords::make(Page page) {
    State& state = *state_;
    if (page.id == 0 || state.versions.count(page.id)) page.id = state.nextId;
    state.nextId = std::max(state.nextId, page.id + 1);
    state.count(page);
    // The state lives as long as any version does, whichever goes last.
    std::shared_ptr<State> keep = state_;
    PageRecord record(new Page(std::move(page)), [keep](const Page* gone) {
        keep->release(*gone);
        delete gone;
    });
    state.versions.emplace(record->id, record.get());
    return record;
}

const std::map<uint64_t, const Page*>& PageRecords::versions() const {
    return state_->versions;
}

std::vector<std::string> PageRecords::takeUnreferencedFiles() {
    std::vector<std::string> files;
    files.swap(state_->unreferenced);
    return files;
}

int PageRecords::references(const std::string& path) const {
    const auto it = state_->references.find(path);
    return it == state_->references.end() ? 0 : it->second;
}

void PageRecords::setOwnFile(std::function<bool(const std::string&)> ownFile) {
    state_->ownFile = std::move(ownFile);
}

}  // namespace vellumo::document
