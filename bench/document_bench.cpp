// The cost of a change of a long page list: the journal of 1000 pages and a full undo history
// formatted and written whole to a new file (Journal/1000), against the yardstick of writing the
// same number of bytes to a new file with no formatting (WriteSameBytes/1000), in the same run.
// Target: at most 2 ms per change.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <QApplication>
#include <cstdlib>
#include <string>

#include "document/page_document.h"
#include "document/session_folder.h"
#include "imaging/imaging.h"

using namespace vellumo::document;

namespace {

std::string Scratch() {
    static std::string folder = [] {
        char pattern[] = "/tmp/vellumo-bench-XXXXXX";
        return std::string(mkdtemp(pattern));
    }();
    return folder;
}

// A document of `pages` loaded pages whose history is full of moves.
struct LongList {
    PageDocument document;
    std::string journalFolder;
    explicit LongList(int pages) {
        std::string error;
        const std::string root = Scratch() + "/pages";
        PreparePageFolderRoot(root, error);
        document.AttachSession(SessionFolder::Create(root, error));
        journalFolder = document.session()->path();
        document.BeginChange(PageAction::Load);
        for (int i = 0; i < pages; ++i)
            document.AppendPage(Scratch() + "/a page the user loaded " + std::to_string(i) + ".png",
                                0);
        document.CommitChange();
        for (size_t i = 0; i < UndoHistory::kMaxSteps; ++i)
            document.SwapPages(static_cast<int>(i % 7), static_cast<int>(i % 7 + 1));
    }
};

void Journal(benchmark::State& state) {
    LongList list(static_cast<int>(state.range(0)));
    int i = 0;
    for (auto _ : state) {
        // One change: a move, journaled before it shows.
        list.document.SwapPages(i % 11, i % 11 + 1);
        ++i;
    }
    list.document.FlushJournal();
}
BENCHMARK(Journal)->Arg(1000)->Unit(benchmark::kMicrosecond);

void WriteSameBytes(benchmark::State& state) {
    LongList list(static_cast<int>(state.range(0)));
    list.document.FlushJournal();
    std::string text;
    {
        const int fd = ::open((list.journalFolder + "/journal").c_str(), O_RDONLY);
        char buffer[65536];
        for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;) text.append(buffer, n);
        ::close(fd);
    }
    const std::string path = Scratch() + "/same-bytes";
    for (auto _ : state) {
        ::unlink(path.c_str());
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
        benchmark::DoNotOptimize(::write(fd, text.data(), text.size()));
        ::close(fd);
    }
    state.counters["bytes"] = static_cast<double>(text.size());
}
BENCHMARK(WriteSameBytes)->Arg(1000)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::system(("rm -rf " + Scratch()).c_str());
    return 0;
}
