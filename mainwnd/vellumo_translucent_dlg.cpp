#include "mainwnd/vellumo_translucent_dlg.h"

#include <QFont>
#include <QIcon>
#include <QPainter>

#include "mainwnd/controls.h"
#include "platform/log.h"
#include "platform/messages.h"
#include "widgets/skin_accessibility.h"
#include "widgets/translucent_button.h"

namespace vellumo::mainwnd {

using namespace vellumo::platform;
using namespace vellumo::widgets;

namespace {

constexpr ControlPlace kPageCountPlace = PlaceOf(id::PageCount);
const QColor kPageCountColour(71, 82, 86);

QImage Bitmap(int id) {
    return QImage(QStringLiteral(":/images/%1.png").arg(id))
        .convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QFont PageCountFont() {
    QFont font;
    // Segoe UI where it is installed; Lato is the face the artwork is drawn in.
    font.setFamilies({QStringLiteral("Segoe UI"), QStringLiteral("Lato"),
                      QStringLiteral("Noto Sans"), QStringLiteral("DejaVu Sans")});
    font.setPixelSize(15);
    font.setWeight(QFont::Normal);
    font.setStyle(QFont::StyleNormal);
    return font;
}

QIcon ProgramIcon() {
    QIcon icon;
    for (const char* size : {"16", "24", "32", "48", "64", "128", "256"})
        icon.addFile(QStringLiteral(":/images/18_%1.png").arg(QLatin1String(size)));
    if (icon.isNull()) icon.addFile(QStringLiteral(":/images/18.png"));
    return icon;
}

}  // namespace

CVellumoTranslucentDlg::CVellumoTranslucentDlg(CompanionFactory companion, const QString& skinPath,
                                               QWidget* parent)
    : CTranslucentDialog(skinPath, parent), companionFactory_(std::move(companion)) {
    setDraggable(true);
    setCentreOnCreate(true);
    // The page-count button exists from the start, so a count posted before the window shows
    // is not lost.
    pageCountButton_ = new CTranslucentButton(this);
    // Assistive technology reads the count as text: the button only shows it.
    SetSkinRole(pageCountButton_, SkinRole::StaticText);
    pageCountButton_->setStateImages(Bitmap(188), Bitmap(190), Bitmap(189), Bitmap(189));
    registerTranslucentChild(pageCountButton_);
    pageCountButton_->setGeometry(kPageCountPlace.x, kPageCountPlace.y, kPageCountPlace.width,
                                  kPageCountPlace.height);
    pageCountButton_->show();
    // No pages yet; the main dialog posts the count again whenever it changes.
    ShowPageCount(1);
    setWindowIcon(ProgramIcon());
    setWindowTitle(QStringLiteral("Vellumo"));
}

CVellumoTranslucentDlg::~CVellumoTranslucentDlg() {
    // The main dialog ends first and logs its own lines; then the skin window.
    destroyCompanion();
    WriteLog("Stop\n");
}

QWidget* CVellumoTranslucentDlg::createCompanionDialog() {
    return companionFactory_ ? companionFactory_(this) : nullptr;
}

QString CVellumoTranslucentDlg::pageCountText(WPARAM counter) {
    return tr("Pages ready to save (%1):").arg(static_cast<int>(counter) - 1);
}

QImage CVellumoTranslucentDlg::pageCountImage(WPARAM counter) {
    QImage image = Bitmap(188);
    if (image.isNull()) return image;
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setFont(PageCountFont());
    painter.setPen(kPageCountColour);
    painter.drawText(QRect(0, 0, kPageCountPlace.width, kPageCountPlace.height), Qt::AlignCenter,
                     pageCountText(counter));
    return image;
}

void CVellumoTranslucentDlg::ShowPageCount(WPARAM counter) {
    pageCountButton_->setImageForAllStates(pageCountImage(counter));
    pageCountButton_->setText(pageCountText(counter));
    registerTranslucentChild(pageCountButton_);
    requestRender();
}

LRESULT CVellumoTranslucentDlg::messageMap(unsigned message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case msg::UM_PAGECOUNT:
            ShowPageCount(wParam);
            return 0;
        case msg::UM_MINIMIZE:
            showMinimized();
            return 0;
        default:
            return CTranslucentDialog::messageMap(message, wParam, lParam);
    }
}

}  // namespace vellumo::mainwnd
