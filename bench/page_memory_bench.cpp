// The memory of the window's pages over ten cycles of "LOAD PAGE" with 200 pages, "SAVE AS PDF"
// and Yes to clearing the list, through the real commands (the dialogs answered by a script).
// Prints the resident set after each cycle; the target is that the tenth ends at most 20 MB above
// the first (the thumbnails of cleared pages give their memory back). Exit status 1 when missed.
//   page_memory_bench [PAGES] [CYCLES]
#include <unistd.h>

#include <QApplication>
#include <QStringList>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "document/session_start.h"
#include "editing/load_page.h"
#include "output/save_pdf.h"
#include "platform/scripted_dialogs.h"

using namespace vellumo;

namespace {

long ResidentKb() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
    return -1;
}

}  // namespace

int main(int argc, char** argv) {
    const int pages = argc > 1 ? std::atoi(argv[1]) : 200;
    const int cycles = argc > 2 ? std::atoi(argv[2]) : 10;
    // A home of its own: settings, the private page folder and the PDFs.
    char pattern[] = "/tmp/vellumo-memory-XXXXXX";
    const std::string home = mkdtemp(pattern);
    for (const char* name : {"HOME", "XDG_CONFIG_HOME", "XDG_STATE_HOME", "TMPDIR"})
        setenv(name, home.c_str(), 1);
    const std::string page = home + "/page.png";
    if (std::system(
            ("convert -size 425x550 -seed 7 plasma:fractal -colorspace gray " + page).c_str()) !=
        0)
        return 2;
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Brackwin"));
    QApplication::setApplicationName(QStringLiteral("Vellumo"));

    platform::ScriptedDialogs dialogs;
    document::PageDocument document;
    document::StartPageSession(document, nullptr);
    document::MainSettings settings;
    const document::CommandContext context{nullptr, nullptr, &document, &settings};
    QStringList files;
    for (int i = 0; i < pages; ++i) files << QString::fromStdString(page);

    long first = 0, last = 0;
    for (int cycle = 1; cycle <= cycles; ++cycle) {
        editing::LoadPageFiles(context, files);
        dialogs.answerSaveFile(QString::fromStdString(home + "/out.pdf"));
        dialogs.answerMessage(platform::Answer::Ok);
        dialogs.answerMessage(platform::Answer::Yes);
        const int saved = output::OnSavePdf(context);
        document.FlushJournal();
        last = ResidentKb();
        if (cycle == 1) first = last;
        std::printf("cycle %2d: %d pages loaded, saved (%d), cleared (%zu left); RSS %ld kB\n",
                    cycle, pages, saved, document.pages.size(), last);
        std::fflush(stdout);
    }
    document.EndSession();
    std::system(("rm -rf " + home).c_str());
    const long growth = last - first;
    std::printf("RSS after cycle %d is %ld kB above cycle 1 (target: at most 20480 kB)\n", cycles,
                growth);
    return growth <= 20480 ? 0 : 1;
}
