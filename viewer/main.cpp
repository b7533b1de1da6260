// viewer: Vellumo's page viewer. The main window starts it on the pages of its list; it also
// opens any image or PDF file named on its command line.
#include <QApplication>
#include <cstdio>

#include "pdf/page_import.h"
#include "platform/memory_policy.h"
#include "res/language.h"
#include "viewer/viewer_args.h"
#include "viewer/viewer_window.h"

int main(int argc, char** argv) {
    using namespace vellumo;
    platform::ReturnLargeBlocksToTheSystem();
    const viewer::ViewerArguments args = viewer::ParseViewerArguments(argc, argv);
    if (args.help) {
        std::fputs(viewer::kViewerUsage, stdout);
        return 0;
    }
    if (!args.error.empty()) {
        std::fprintf(stderr, "viewer: %s\n%s", args.error.c_str(), viewer::kViewerUsage);
        return 2;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vellumo"));
    res::InstallLanguage(res::ChooseLanguage());
    // A named page is taken as it is (an unreadable one shows its reason in the window); a
    // file alone stands for all its pages.
    std::vector<imaging::PageRef> pages;
    for (const viewer::PageArgument& a : args.pages) {
        if (a.page > 0) {
            pages.push_back(imaging::PageRef{a.path, a.page - 1});
            continue;
        }
        std::vector<imaging::PageRef> all;
        std::string reason;
        if (pdf::ListPages(a.path, "", all, reason) == pdf::ImportStatus::Ok)
            pages.insert(pages.end(), all.begin(), all.end());
        else
            pages.push_back(imaging::PageRef{a.path, 0});
    }
    viewer::ViewerWindow window(std::move(pages), args.show - 1);
    window.show();
    return app.exec();
}
