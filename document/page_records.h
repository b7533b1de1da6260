// The page versions alive in a document and the files they hold. A version lives as long as the
// list or a step of the undo history holds it. Each of the program's own files (a scanned page's
// file, a working copy) is counted by the versions that name it; when the last of them goes,
// the file is handed back to be deleted. The user's own files are never counted, so they are
// never deleted.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "document/undo_history.h"

namespace vellumo::document {

class PageRecords {
public:
    // `ownFile` tells the program's own files (in its page folder) from the user's.
    explicit PageRecords(std::function<bool(const std::string& path)> ownFile);
    PageRecords(const PageRecords&) = delete;
    PageRecords& operator=(const PageRecords&) = delete;

    // A new version of a page. It gets the next id unless it brings its own (a restored session,
    // whose ids the journal keeps).
    PageRecord make(Page page);
    // Every version alive, by id.
    const std::map<uint64_t, const Page*>& versions() const;
    // The program's own files whose last version has gone since the last call.
    std::vector<std::string> takeUnreferencedFiles();
    // How many versions alive name the file (0 for the user's files).
    int references(const std::string& path) const;
    void setOwnFile(std::function<bool(const std::string& path)> ownFile);

private:
    struct State;
    std::shared_ptr<State> state_;
};

}  // namespace vellumo::document
