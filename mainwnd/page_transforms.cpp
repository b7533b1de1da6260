#include "mainwnd/page_transforms.h"

#include <QApplication>
#include <QFile>
#include <cstdio>

#include "imaging/codecs.h"
#include "imaging/transform.h"
#include "imaging/working_image.h"
#include "mainwnd/load_page.h"
#include "mainwnd/page_commands.h"
#include "mainwnd/page_list.h"
#include "mainwnd/page_view.h"
#include "mainwnd/vellumo_dlg.h"
#include "platform/dialogs.h"
#include "platform/log.h"

using namespace vellumo::platform;
using namespace vellumo::imaging;

namespace {

struct Transform {
    int command;
    const char* firstLine;
    const char* lastLine;
};

constexpr Transform kTransforms[] = {
    {cmd::RotateRight, "Start rotate right\n", "End rotate right\n"},
    {cmd::RotateLeft, "Start rotate left\n", "End rotate left\n"},
    {cmd::Invert, "Start invert\n", "End invert\n"},
    {cmd::Mirror, "Start mirror\n", "End mirror\n"},
};

const Transform* FindTransform(int command) {
    for (const Transform& t : kTransforms)
        if (t.command == command) return &t;
    return nullptr;
}

void Apply(int command) {
    switch (command) {
        case cmd::RotateRight:
            RotateWorkingImage(0);
            break;
        case cmd::RotateLeft:
            RotateWorkingImage(1);
            break;
        case cmd::Invert:
            InvertImage(workingImage, workingImage);
            break;
        case cmd::Mirror:
            MirrorImage(workingImage, workingImage);
            break;
    }
}

class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};

}  // namespace

int TransformPage(int command, QWidget* owner) {
    const Transform* transform = FindTransform(command);
    if (!transform) return -5;
    WaitCursor wait;
    WriteLog(transform->firstLine);
    if (currentItem < 0 || currentItem >= static_cast<int>(pages.size())) return -5;
    Page& page = *pages[static_cast<size_t>(currentItem)];

    if (LoadImageFile(QString::fromStdString(PagePath(page)), owner) != 0) return -1;
    Apply(command);

    // A copy that could not be written completely must not become the page: the page keeps
    // the file it had, the broken copy goes, and the user hears of it.
    const std::string copy = MakeTempPagePath();
    const int rc = copy.empty() ? kImgCannotOpen : SaveTiff(copy.c_str(), workingImage, 1);
    if (rc != 0) {
        FreeImage(workingImage);
        if (!copy.empty()) std::remove(copy.c_str());
        const QString text = QStringLiteral("Error %1 while saving image").arg(rc);
        WriteLog(text.toStdString() + "\n");
        MessageBox(owner, text, MessageIcon::Exclamation, MessageButtons::Ok);
        return rc;
    }
    page.workingPath = copy;

    MakeThumbnail(workingImage);
    ReplaceThumbnail(page);
    FreeImage(workingImage);

    CPageView* view = pageListWindows.view;
    if (view && currentItem < view->count()) {
        view->item(currentItem)->setIcon(pageImageList.icon(page.imageIndex));
        view->viewport()->update();
    }
    WriteLog(transform->lastLine);
    if (view && currentItem < view->count())
        view->scrollToItem(view->item(currentItem), QAbstractItemView::EnsureVisible);
    return 0;
}

void RegisterEditingCommands() {
    RegisterMainCommand(cmd::LoadPage, [](CVellumoDlg& dialog) { OnLoadPage(&dialog); });
    for (const Transform& t : kTransforms) {
        const int command = t.command;
        RegisterMainCommand(command,
                            [command](CVellumoDlg& dialog) { TransformPage(command, &dialog); });
    }
}
