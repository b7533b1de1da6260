#include "editing/page_transforms.h"

#include <QApplication>
#include <QFile>
#include <cstdio>

#include "editing/load_page.h"
#include "imaging/codecs.h"
#include "imaging/transform.h"
#include "imaging/working_image.h"
#include "platform/dialogs.h"
#include "platform/log.h"

namespace vellumo::editing {

using namespace vellumo::platform;
using namespace vellumo::imaging;

namespace {

struct LogLines {
    const char* first;
    const char* last;
};

LogLines LinesOf(PageTransform transform) {
    switch (transform) {
        case PageTransform::RotateRight:
            return {"Start rotate right\n", "End rotate right\n"};
        case PageTransform::RotateLeft:
            return {"Start rotate left\n", "End rotate left\n"};
        case PageTransform::Invert:
            return {"Start invert\n", "End invert\n"};
        case PageTransform::Mirror:
            break;
    }
    return {"Start mirror\n", "End mirror\n"};
}

void Apply(PageTransform transform, ImageBuffer& workingImage) {
    switch (transform) {
        case PageTransform::RotateRight:
            RotateWorkingImage(workingImage, 0);
            break;
        case PageTransform::RotateLeft:
            RotateWorkingImage(workingImage, 1);
            break;
        case PageTransform::Invert:
            InvertImage(workingImage, workingImage);
            break;
        case PageTransform::Mirror:
            MirrorImage(workingImage, workingImage);
            break;
    }
}

document::PageAction ActionOf(PageTransform transform) {
    switch (transform) {
        case PageTransform::RotateRight:
            return document::PageAction::RotateRight;
        case PageTransform::RotateLeft:
            return document::PageAction::RotateLeft;
        case PageTransform::Invert:
            return document::PageAction::Invert;
        case PageTransform::Mirror:
            break;
    }
    return document::PageAction::Mirror;
}

class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};

}  // namespace

int TransformPage(const document::CommandContext& context, PageTransform transform) {
    document::PageDocument& document = *context.document;
    ImageBuffer& workingImage = document.workingImage;
    QWidget* owner = context.window;
    const LogLines lines = LinesOf(transform);
    WaitCursor wait;
    WriteLog(lines.first);
    const int currentItem = document.currentItem;
    if (currentItem < 0 || currentItem >= static_cast<int>(document.pages.size())) return -5;
    const document::Page& page = *document.pages[static_cast<size_t>(currentItem)];

    if (LoadPageImage(workingImage, document::PageRefOf(page), document.PasswordOf(page), owner) !=
        0)
        return -1;
    Apply(transform, workingImage);

    // A copy that could not be written completely must not become the page: the page keeps
    // the file it had, the broken copy goes, and the user hears of it.
    const std::string copy = document.MakeTempPagePath();
    const int rc = copy.empty() ? kImgCannotOpen : SaveTiff(copy.c_str(), workingImage, 1);
    if (rc != 0) {
        FreeImage(workingImage);
        if (!copy.empty()) std::remove(copy.c_str());
        const QString text = QStringLiteral("Error %1 while saving image").arg(rc);
        WriteLog(text.toStdString() + "\n");
        MessageBox(owner, text, MessageIcon::Exclamation, MessageButtons::Ok);
        return rc;
    }
    document.MakeThumbnail(workingImage);
    FreeImage(workingImage);
    // The transformed page is a new version; the one before stays for an undo.
    document::Page transformed = page;
    transformed.workingPath = copy;
    document.BeginChange(ActionOf(transform));
    document.ReplacePage(currentItem, std::move(transformed));
    if (!document.CommitChange()) return kImgCannotOpen;  // the user has been told

    document.RefreshPage(currentItem);
    WriteLog(lines.last);
    return 0;
}

}  // namespace vellumo::editing
