#include "mainwnd/vellumo_dlg.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>

#include "imaging/imaging.h"
#include "mainwnd/about_dlg.h"
#include "mainwnd/activity_dialog.h"
#include "mainwnd/mail_ui.h"
#include "mainwnd/page_commands.h"
#include "mainwnd/page_drop.h"
#include "mainwnd/page_list.h"
#include "mainwnd/page_view.h"
#include "mainwnd/shortcuts.h"
#include "mainwnd/twain_pro.h"
#include "mainwnd/vellumo_translucent_dlg.h"
#include "platform/dialogs.h"
#include "platform/documents.h"
#include "platform/install_dirs.h"
#include "platform/log.h"
#include "platform/messages.h"
#include "platform/os_version.h"
#include "platform/product.h"
#include "platform/settings_store.h"
#include "widgets/bitmap_button.h"
#include "widgets/skin_button.h"

using namespace vellumo::platform;
using namespace vellumo::imaging;
using namespace vellumo::widgets;

QPointer<CVellumoDlg> mainDialog;
bool largeFonts = false;
QFont pageFont;
QString currentDir;
QString currentDirSave;
QString resBW, resGrey, resColor, comprPerc;
QBrush whiteBrush;

namespace {

const char* const kQuitQuestion = "You didn't save or send the pages in the list. Quit anyway?";

constexpr int kAbout = 1072;
constexpr int kHelp = 2930;
constexpr int kHelpCommand = 57670;
constexpr int kMinimize = 1105;
constexpr int kExit = 1071;

// The skinned buttons: id, bitmaps normal, pressed, hover, place.
struct SkinButtonDef {
    int id;
    int normal, pressed, hover;
    QRect place;
};
const SkinButtonDef kSkinButtons[] = {
    {cmd::ScanPage, 175, 176, 177, {597, 93, 124, 32}},
    {cmd::LoadPage, 172, 173, 174, {737, 93, 124, 32}},
    {cmd::MailPdf, 178, 179, 180, {597, 556, 124, 32}},
    {cmd::SavePdf, 181, 182, 183, {737, 556, 124, 32}},
    {kAbout, 490, 510, 500, {27, 617, 90, 27}},
    {kHelp, 520, 540, 530, {127, 617, 90, 27}},
    {kMinimize, 570, 6000, 590, {791, 21, 36, 36}},
    {kExit, 550, 580, 560, {836, 21, 36, 36}},
};

std::vector<std::pair<QString, std::pair<int, PrefPageFactory>>>& SettingsPages() {
    static std::vector<std::pair<QString, std::pair<int, PrefPageFactory>>> list;
    return list;
}

QIcon ProgramIcon() {
    QIcon icon;
    for (const char* size : {"16", "24", "32", "48", "64", "128", "256"})
        icon.addFile(QStringLiteral(":/images/18_%1.png").arg(QLatin1String(size)));
    return icon;
}

}  // namespace

void RegisterSettingsPage(const QString& caption, int templateId, PrefPageFactory create) {
    SettingsPages().push_back({caption, {templateId, std::move(create)}});
}

void ClearRegisteredSettingsPages() {
    SettingsPages().clear();
}

QString HelpFilePath() {
    // Beside the program first (the build tree, a copied folder), then the installed data folder.
    return QString::fromStdString(
        FindProgramFile(QCoreApplication::applicationDirPath().toStdString(), "Vellumo.html"));
}

bool OtherModalWindowOpen(const QWidget& mainWindow) {
    const QWidget* modal = QApplication::activeModalWidget();
    return modal && modal != mainWindow.window();
}

void InstallMainDialog() {
    CVellumoTranslucentDlg::setCompanionFactory([](CVellumoTranslucentDlg* skin) -> QWidget* {
        auto* dialog = new CVellumoDlg(skin);
        dialog->skinWindow = skin;
        dialog->OnInitDialog();
        return dialog;
    });
}

CVellumoDlg::CVellumoDlg(QWidget* skin) : CStandardDialog(skin) {
    setObjectName(QStringLiteral("CVellumoDlg"));
    icon_ = ProgramIcon();
    InitLogPath();
    loggingOn = SettingsStore::read(setting::LogFile);
    currentDir.clear();
    InitImagingLibrary();
    WriteLog(std::string(kProductName) + " " + kProductVersion + "\n");
    LogOsVersion();
    // The page table starts empty: the counter is 1.
    if (QScreen* screen = QGuiApplication::primaryScreen())
        largeFonts = screen->logicalDotsPerInchX() == 120 && screen->logicalDotsPerInchY() == 120;

    AddPrefPage([](QWidget* parent) { return new CDlg1(parent); }, CDlg1::kTemplate,
                QStringLiteral("Vellumo"));
    for (const auto& [caption, page] : SettingsPages())
        AddPrefPage(page.second, page.first, caption);
    validatePages_ = true;
    if (skin) skin->installEventFilter(this);
}

CVellumoDlg::~CVellumoDlg() {
    OnDestroy();
}

bool CVellumoDlg::OnInitDialog() {
    if (initialised_) return true;
    initialised_ = true;
    mainDialog = this;
    whiteBrush = QBrush(Qt::white);
    RestorePlacement();
    CreateActivityDialog(this);
    setWindowIcon(icon_);
    currentDir = SettingsStore::readFolder(setting::CurrentDir);
    currentDirSave = SettingsStore::readFolder(setting::CurrentDirSave);
    createControls();
    InstallMainShortcuts(*this);
    pageFont = QFont(QStringLiteral("Segoe UI"), largeFonts ? 8 : 10);
    ReadMirroredSettings();
    RefreshQuickSettings();
    ShowPrefPage(-1);
    currentPrefPage_ = 0;
    setWindowTitle(QStringLiteral("Vellumo"));
    currentItem = 0;
    pageListWindows = PageListWindows{pageView_, this, skinWindow.data()};
    RebuildPageView();
    // The scanners are found in the background; the stored source is selected once they are.
    ConnectScanner(*this);
    PostPageCount();
    RefreshQuickSettings();
    return true;
}

void CVellumoDlg::createControls() {
    auto place = [this](QAbstractButton* button, int id, const QRect& where) {
        button->setObjectName(QStringLiteral("control%1").arg(id));
        button->setGeometry(where);
        controls_[id] = button;
        connect(button, &QAbstractButton::clicked, this, [this, id] { OnCommand(id); });
    };

    // Tabs.
    const struct {
        int id, y, height, bitmap;
    } tabs[] = {
        {2830, 93, 44, 290}, {2860, 137, 46, 360}, {2870, 183, 28, 450}, {2900, 211, 32, 480}};
    for (const auto& t : tabs) {
        auto* tab = new CFixedButton(this);
        tab->SetBitmap(t.bitmap);
        place(tab, t.id, QRect(23, t.y, 192, t.height));
    }

    pageView_ = new CPageView(this);
    pageView_->setGeometry(276, 110, 286, 429);
    connect(pageView_, &CPageView::pageCommand, this, &CVellumoDlg::OnPageCommand);
    InstallPageDrop(pageView_, this);

    for (const SkinButtonDef& b : kSkinButtons) {
        auto* button = new CxSkinButton(this);
        button->SetSkin(b.normal, b.pressed, b.hover);
        place(button, b.id, b.place);
        // A command whose module is not part of this program cannot be chosen.
        if (b.id == cmd::ScanPage || b.id == cmd::LoadPage || b.id == cmd::MailPdf ||
            b.id == cmd::SavePdf)
            button->setEnabled(HasMainCommand(b.id));
    }

    // Radios of the scanning mode and the brightness row.
    const std::pair<int, QPoint> radios[] = {
        {2080, {618, 165}}, {2081, {618, 189}}, {2082, {618, 213}}, {1011, {618, 275}},
        {1010, {652, 275}}, {1009, {684, 275}}, {1008, {718, 275}}, {1007, {752, 275}},
        {1006, {786, 275}}, {1005, {820, 275}}};
    for (const auto& [id, at] : radios) {
        auto* radio = new CBitmapButton(this);
        radio->SetBitmap(139);
        place(radio, id, QRect(at, QSize(20, 20)));
    }
    const std::pair<int, QPoint> sizes[] = {
        {1200, {642, 355}}, {1201, {642, 380}}, {1202, {762, 355}}, {1203, {762, 380}}};
    for (const auto& [id, at] : sizes) {
        auto* radio = new CFixedButton(this);
        radio->SetBitmap(139);
        place(radio, id, QRect(at, QSize(20, 20)));
    }
    const std::pair<int, QPoint> toggles[] = {
        {2200, {614, 444}}, {2763, {614, 466}}, {1020, {614, 488}}};
    for (const auto& [id, at] : toggles) {
        auto* toggle = new CFixedButton(this);
        toggle->SetBitmap(131);
        place(toggle, id, QRect(at, QSize(23, 23)));
    }
    // The page view lies above the quick settings' neighbours; the tabs and buttons above it.
    pageView_->lower();
}

QAbstractButton* CVellumoDlg::control(int id) const {
    const auto it = controls_.find(id);
    return it == controls_.end() ? nullptr : it->second;
}

void CVellumoDlg::ReadMirroredSettings() {
    scanMode = SettingsStore::read(setting::nType);
    resBW = SettingsStore::read(setting::ResBW);
    resGrey = SettingsStore::read(setting::ResGrey);
    resColor = SettingsStore::read(setting::ResColor);
    comprPerc = SettingsStore::read(setting::ComprPerc);
    brightnessLevel = SettingsStore::read(setting::nBright);
    pageSize = SettingsStore::read(setting::PageSize);
    showPreview = SettingsStore::read(setting::Preview);
    autoCrop = SettingsStore::read(setting::AutoCrop);
    noFeeder = SettingsStore::read(setting::ADF);
    duplex = SettingsStore::read(setting::Duplex);
    invert = SettingsStore::read(setting::Invert);
    compress = SettingsStore::read(setting::Compress);
    loggingOn = SettingsStore::read(setting::LogFile);
}

void CVellumoDlg::RestorePlacement() {
    // A missing placement reads as -13: the window keeps the place the skin window gives it.
    if (SettingsStore::readInt(setting::WpShowCmd.name, -13) == -13) return;
    SettingsStore::read(setting::WpShowCmd);
    SettingsStore::read(setting::WpMinX);
    SettingsStore::read(setting::WpMinY);
    SettingsStore::read(setting::WpMaxX);
    SettingsStore::read(setting::WpMaxY);
    const int left = SettingsStore::read(setting::WpLeft);
    const int right = SettingsStore::read(setting::WpRight);
    const int top = SettingsStore::read(setting::WpTop);
    const int bottom = SettingsStore::read(setting::WpBottom);
    // The skin window puts the dialog back on itself as soon as it places itself.
    setGeometry(left, top, right - left, bottom - top);
}

void CVellumoDlg::SavePlacement() {
    // The dialog covers the skin window exactly: its place on the screen is the skin's.
    const QWidget* top = skinWindow ? skinWindow.data() : window();
    const QRect frame = top->isWindow() ? top->geometry() : QRect(mapToGlobal(QPoint()), size());
    const bool minimised = top->isMinimized();
    SettingsStore::write(setting::WpShowCmd, minimised ? 2 : 1);  // minimised / normal
    SettingsStore::write(setting::WpMinX, -1);
    SettingsStore::write(setting::WpMinY, -1);
    SettingsStore::write(setting::WpMaxX, -1);
    SettingsStore::write(setting::WpMaxY, -1);
    SettingsStore::write(setting::WpLeft, frame.left());
    SettingsStore::write(setting::WpRight, frame.left() + frame.width());
    SettingsStore::write(setting::WpTop, frame.top());
    SettingsStore::write(setting::WpBottom, frame.top() + frame.height());
}

void CVellumoDlg::OnDestroy() {
    if (destroyed_) return;
    destroyed_ = true;
    for (PrefPageEntry& entry : prefPages_)
        if (entry.window) entry.window->OnCancel();
    prefPages_.clear();
    FreeAllPages();
    if (pageListWindows.view == pageView_) pageListWindows = PageListWindows{};
    WriteLog("Saving window location\n");
    SavePlacement();
    WriteLog("Stop\n");
    DisconnectScanner();
    if (mainDialog == this) mainDialog = nullptr;
}

void CVellumoDlg::OnCommand(int id) {
    switch (id) {
        case kAbout:
            return OnAbout();
        case kHelp:
        case kHelpCommand:
            return OnHelp();
        case kMinimize:
            PostWindowMessage(skinWindow.data(), msg::UM_MINIMIZE, 1, 0);
            return;
        case kExit:
            return OnCancel();
        case 2830:
        case 2860:
        case 2870:
        case 2900:
            return OnTab(id);
        case 2200:
        case 2763:
        case 1020:
            return OnToggle(id);
        default:
            break;
    }
    if ((id >= 2080 && id <= 2082) || (id >= 1005 && id <= 1011) || (id >= 1200 && id <= 1203))
        return OnRadio(id);
    if (MainCommand command = FindMainCommand(id)) command(*this);
}

void CVellumoDlg::OnPageCommand(int id) {
    switch (id) {
        case cmd::Delete:
            return DeletePage();
        case cmd::MoveUp:
            return MovePageUp();
        case cmd::MoveDown:
            return MovePageDown();
        default:
            if (MainCommand command = FindMainCommand(id)) command(*this);
    }
}

void CVellumoDlg::OnAbout() {
    CAboutDlg about(this);
    about.exec();
}

void CVellumoDlg::OnHelp() {
    // A help page that cannot be opened is not reported.
    Dialogs()->openFile(HelpFilePath());
}

bool CVellumoDlg::AskQuitWithPages() {
    if (pageCounter <= 1) return true;
    return MessageBox(this, QString::fromUtf8(kQuitQuestion), MessageIcon::Question,
                      MessageButtons::YesNo) == Answer::Yes;
}

void CVellumoDlg::OnCancel() {
    WriteLog("OnCancel\n");
    if (!AskQuitWithPages()) return;
    CStandardDialog::OnCancel();
}

void CVellumoDlg::OnOK() {
    if (!CommitPrefPages()) return;
    // Enter ends the program too; pages not yet saved or sent are not dropped without asking.
    if (!AskQuitWithPages()) return;
    CStandardDialog::OnOK();
}

void CVellumoDlg::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Escape:
            // Escape never ends the program.
            event->accept();
            return;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            event->accept();
            OnOK();
            return;
        default:
            CStandardDialog::keyPressEvent(event);
    }
}

void CVellumoDlg::closeEvent(QCloseEvent* event) {
    event->ignore();
    OnCancel();
}

bool CVellumoDlg::eventFilter(QObject* watched, QEvent* event) {
    // Closing the skin window from outside (the window manager) goes the way of "Exit".
    if (watched == parentWidget() && event->type() == QEvent::Close && !closingParent()) {
        // Qt ignores a close() nested in the one being delivered, so the question is asked
        // once this close has been refused, not inside it.
        event->ignore();
        PostWindowMessage(this, msg::WM_CLOSE);
        return true;
    }
    return CStandardDialog::eventFilter(watched, event);
}

LRESULT CVellumoDlg::messageMap(unsigned message, WPARAM wParam, LPARAM) {
    switch (message) {
        case msg::WM_CLOSE:
            OnCancel();
            return 0;
        case msg::UM_SCANFINISHED:
            OnScanFinished(*this);
            return 0;
        case msg::UM_RELOADSETTINGS:
            ReadMirroredSettings();
            RefreshQuickSettings();
            return 0;
        case msg::UM_SHOWPREFPAGE:
            return OnShowPrefPage(wParam);
        case msg::UM_SMTPCANCELLED:
            OnSmtpCancelled();
            return 0;
        case msg::UM_RESTOREFOCUS: {
            for (QWidget* w : QApplication::allWidgets())
                if (reinterpret_cast<WPARAM>(w) == wParam) {
                    w->setFocus();
                    break;
                }
            return 0;
        }
        default:
            return 0;
    }
}
