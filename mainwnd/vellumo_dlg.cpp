#include "mainwnd/vellumo_dlg.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>

#include "document/session_start.h"
#include "imaging/imaging.h"
#include "mainwnd/about_dlg.h"
#include "mainwnd/commands.h"
#include "mainwnd/controls.h"
#include "mainwnd/page_drop.h"
#include "mainwnd/page_view.h"
#include "mainwnd/shortcuts.h"
#include "mainwnd/vellumo_translucent_dlg.h"
#include "output/mail_ui.h"
#include "platform/dialogs.h"
#include "platform/documents.h"
#include "platform/install_dirs.h"
#include "platform/log.h"
#include "platform/messages.h"
#include "platform/os_version.h"
#include "platform/product.h"
#include "platform/settings_store.h"
#include "res/language.h"
#include "scanning/twain_pro.h"
#include "widgets/activity_dialog.h"
#include "widgets/bitmap_button.h"
#include "widgets/focus_ring.h"
#include "widgets/skin_accessibility.h"
#include "widgets/skin_button.h"

namespace vellumo::mainwnd {

using namespace vellumo::platform;
using namespace vellumo::imaging;
using namespace vellumo::widgets;

QPointer<CVellumoDlg> mainDialog;

namespace {

const char* const kQuitQuestion = "You didn't save or send the pages in the list. Quit anyway?";

// The skinned buttons: id and bitmaps normal, pressed, hover.
struct SkinButtonDef {
    int id;
    int normal, pressed, hover;
};
const SkinButtonDef kSkinButtons[] = {
    {id::ScanPage, 175, 176, 177},  {id::LoadPage, 172, 173, 174}, {id::MailPdf, 178, 179, 180},
    {id::SavePdf, 181, 182, 183},   {id::About, 490, 510, 500},    {id::Help, 520, 540, 530},
    {id::Minimize, 570, 6000, 590}, {id::Exit, 550, 580, 560},
};

QRect PlaceRect(int controlId) {
    const ControlPlace place = PlaceOf(controlId);
    return QRect(place.x, place.y, place.width, place.height);
}

QIcon ProgramIcon() {
    QIcon icon;
    for (const char* size : {"16", "24", "32", "48", "64", "128", "256"})
        icon.addFile(QStringLiteral(":/images/18_%1.png").arg(QLatin1String(size)));
    return icon;
}

}  // namespace

QString HelpFilePath() {
    // Beside the program first (the build tree, a copied folder), then the installed data folder;
    // the page in the user's language where there is one, else the English page.
    const std::string exeDir = QCoreApplication::applicationDirPath().toStdString();
    const QString language = res::InstalledLanguage();
    if (language != QLatin1String("en")) {
        const std::string translated =
            FindProgramFile(exeDir, "Vellumo_" + language.toStdString() + ".html");
        if (QFileInfo(QString::fromStdString(translated)).isFile())
            return QString::fromStdString(translated);
    }
    return QString::fromStdString(FindProgramFile(exeDir, "Vellumo.html"));
}

bool OtherModalWindowOpen(const QWidget& mainWindow) {
    const QWidget* modal = QApplication::activeModalWidget();
    return modal && modal != mainWindow.window();
}

CVellumoTranslucentDlg::CompanionFactory MainDialogFactory(std::vector<prefs::PrefPageSpec> pages) {
    return [pages = std::move(pages)](CVellumoTranslucentDlg* skin) -> QWidget* {
        auto* dialog = new CVellumoDlg(skin, pages);
        dialog->skinWindow = skin;
        dialog->OnInitDialog();
        return dialog;
    };
}

CVellumoDlg::CVellumoDlg(QWidget* skin, const std::vector<prefs::PrefPageSpec>& pages)
    : CStandardDialog(skin),
      processing_(std::make_unique<document::PageProcessing>(document_)),
      prefHost_(this, QRect(kSettingsPageFrame.x, kSettingsPageFrame.y, kSettingsPageFrame.width,
                            kSettingsPageFrame.height)) {
    setObjectName(QStringLiteral("CVellumoDlg"));
    icon_ = ProgramIcon();
    InitLogPath();
    loggingOn = SettingsStore::read(setting::LogFile);
    currentDir.clear();
    InitImagingLibrary();
    WriteLog(std::string(kProductName) + " " + kProductVersion + "\n");
    LogOsVersion();
    // The page table starts empty: the counter is 1.

    AddPrefPage([](QWidget* parent) { return new prefs::CDlg1(parent); }, prefs::CDlg1::kTemplate,
                QStringLiteral("Vellumo"));
    for (const prefs::PrefPageSpec& page : pages)
        AddPrefPage(page.create, page.templateId, page.caption);
    prefHost_.EnableValidation();
    if (skin) skin->installEventFilter(this);
}

document::CommandContext CVellumoDlg::context() {
    return document::CommandContext{this, skinWindow.data(), &document_, this, processing_.get()};
}

bool CVellumoDlg::AddPrefPage(prefs::PrefPageFactory create, int templateId, const QString& caption,
                              int parentIndex) {
    // Pages join before the window is set up, never after.
    if (initialised_) return false;
    return prefHost_.AddPrefPage(std::move(create), templateId, caption, parentIndex);
}

CVellumoDlg::~CVellumoDlg() {
    OnDestroy();
}

bool CVellumoDlg::OnInitDialog() {
    if (initialised_) return true;
    initialised_ = true;
    // Before anything else: the pages of a session that did not end properly are offered back.
    document::StartPageSession(document_, nullptr);
    prefHost_.Seal();
    mainDialog = this;
    RestorePlacement();
    widgets::CreateActivityDialog(this);
    setWindowIcon(icon_);
    currentDir = SettingsStore::readFolder(setting::CurrentDir);
    currentDirSave = SettingsStore::readFolder(setting::CurrentDirSave);
    createControls();
    ShowHomeViewControls(true);
    SetTabBitmaps(290, 360, 450, 480);
    InstallMainShortcuts(*this);
    ReadMirroredSettings();
    RefreshQuickSettings();
    ShowPrefPage(-1);
    prefHost_.setCurrentPrefPage(0);
    setWindowTitle(QStringLiteral("Vellumo"));
    document_.currentItem = 0;
    ConnectPageView(document_, pageView_, skinWindow.data());
    processing_->Attach();
    document_.RebuildPageView();
    // The scanners are found in the background; the stored source is selected once they are.
    scanning::ConnectScanner(context());
    document_.PostPageCount();
    RefreshQuickSettings();
    return true;
}

namespace {

// The words a control carries on its bitmap, from the command table, in the user's language.
QString CommandText(int id) {
    const Command* command = FindCommand(id);
    return command ? QCoreApplication::translate("Command", command->text) : QString();
}

}  // namespace

void CVellumoDlg::createControls() {
    InstallSkinAccessibility();
    auto place = [this](QAbstractButton* button, int id, SkinRole role) {
        button->setObjectName(QStringLiteral("control%1").arg(id));
        button->setGeometry(PlaceRect(id));
        // The bitmap shows the words; the text is what assistive technology reads.
        button->setText(CommandText(id));
        SetSkinRole(button, role);
        controls_[id] = button;
        connect(button, &QAbstractButton::clicked, this, [this, id] { OnCommand(id); });
    };

    const std::pair<int, int> tabs[] = {{id::HomeTab, 290},
                                        {id::SettingsTab, 360},
                                        {id::GeneralTab, 450},
                                        {id::EmailTab, 480},
                                        {id::DocumentsTab, 470}};
    for (const auto& [tabId, bitmap] : tabs) {
        auto* tab = new CFixedButton(this);
        tab->SetBitmap(bitmap);
        tab->setCheckable(true);
        place(tab, tabId, SkinRole::PageTab);
    }

    pageView_ = new CPageView(this);
    pageView_->setGeometry(PlaceRect(id::PageList));
    pageView_->setAccessibleName(tr("Pages"));
    connect(pageView_, &CPageView::pageCommand, this, &CVellumoDlg::OnCommand);
    InstallPageDrop(pageView_, this);

    for (const SkinButtonDef& b : kSkinButtons) {
        auto* button = new CxSkinButton(this);
        button->SetSkin(b.normal, b.pressed, b.hover);
        place(button, b.id, SkinRole::PushButton);
    }

    // Radio groups: one stop of the Tab key each (the selected radio), the arrow keys move the
    // selection inside the group.
    auto radioGroup = [this, place](auto makeRadio, const auto& ids) {
        auto* group = new QButtonGroup(this);
        for (const int radioId : ids) {
            CBitmapButton* radio = makeRadio();
            radio->SetBitmap(139);
            radio->setCheckable(true);
            radio->setAutoExclusive(true);
            group->addButton(radio);
            place(radio, radioId, SkinRole::RadioButton);
        }
    };
    radioGroup([this] { return new CBitmapButton(this); }, id::ModeRadios);
    // The brightness row from left to right: the dark end (level 6) to the bright end.
    const int brightnessLeftToRight[] = {id::BrightnessRadios[6], id::BrightnessRadios[5],
                                         id::BrightnessRadios[4], id::BrightnessRadios[3],
                                         id::BrightnessRadios[2], id::BrightnessRadios[1],
                                         id::BrightnessRadios[0]};
    radioGroup([this] { return new CBitmapButton(this); }, brightnessLeftToRight);
    radioGroup([this] { return new CFixedButton(this); }, id::PageSizeRadios);
    for (const int toggleId : {id::ShowPreview, id::NoFeeder, id::Duplex}) {
        auto* toggle = new CFixedButton(this);
        toggle->SetBitmap(131);
        toggle->setCheckable(true);
        place(toggle, toggleId, SkinRole::CheckBox);
    }
    // The page view lies above the quick settings' neighbours; the tabs and buttons above it.
    pageView_->lower();

    // The keyboard's order is the screen's: the tabs, the list, then the right column top to
    // bottom, then the buttons of the left column and of the window.
    const int order[] = {id::HomeTab,
                         id::SettingsTab,
                         id::GeneralTab,
                         id::EmailTab,
                         id::DocumentsTab,
                         id::PageList,
                         id::ScanPage,
                         id::LoadPage,
                         id::ModeRadios[0],
                         id::ModeRadios[1],
                         id::ModeRadios[2],
                         id::BrightnessRadios[6],
                         id::BrightnessRadios[5],
                         id::BrightnessRadios[4],
                         id::BrightnessRadios[3],
                         id::BrightnessRadios[2],
                         id::BrightnessRadios[1],
                         id::BrightnessRadios[0],
                         id::PageSizeRadios[0],
                         id::PageSizeRadios[2],
                         id::PageSizeRadios[1],
                         id::PageSizeRadios[3],
                         id::ShowPreview,
                         id::NoFeeder,
                         id::Duplex,
                         id::MailPdf,
                         id::SavePdf,
                         id::About,
                         id::Help,
                         id::Minimize,
                         id::Exit};
    focusRing_ = new CFocusRing(this);
    QWidget* previous = nullptr;
    for (const int controlId : order) {
        QWidget* widget =
            controlId == id::PageList ? static_cast<QWidget*>(pageView_) : control(controlId);
        if (!widget) continue;
        focusRing_->track(widget);
        if (previous) setTabOrder(previous, widget);
        previous = widget;
    }
}

QAbstractButton* CVellumoDlg::control(int id) const {
    const auto it = controls_.find(id);
    return it == controls_.end() ? nullptr : it->second;
}

void CVellumoDlg::ReadMirroredSettings() {
    scanMode = SettingsStore::read(setting::nType);
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
    prefHost_.CancelAll();
    // No background work may outlive the pages it works on.
    processing_->Stop();
    // A clean end: every page file of the program and the journal go.
    document_.EndSession();
    document_.views = document::DocumentViews{};
    WriteLog("Saving window location\n");
    SavePlacement();
    WriteLog("Stop\n");
    scanning::DisconnectScanner();
    if (mainDialog == this) mainDialog = nullptr;
}

void CVellumoDlg::OnCommand(int id) {
    const Command* command = FindCommand(id);
    if (!command || (command->enabled && !command->enabled(*this))) return;
    command->run(*this);
}

void CVellumoDlg::OnAbout() {
    CAboutDlg about(this);
    about.exec();
}

void CVellumoDlg::OnHelp() {
    // A help page that cannot be opened is not reported.
    Dialogs()->openFile(HelpFilePath());
}

void CVellumoDlg::OnMinimize() {
    PostWindowMessage(skinWindow.data(), msg::UM_MINIMIZE, 1, 0);
}

bool CVellumoDlg::AskQuitWithPages() {
    if (document_.pageCounter() <= 1) return true;
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
            scanning::OnScanFinished(context());
            return 0;
        case msg::UM_RELOADSETTINGS:
            ReadMirroredSettings();
            RefreshQuickSettings();
            return 0;
        case msg::UM_SHOWPREFPAGE:
            return OnShowPrefPage(wParam);
        case msg::UM_SMTPCANCELLED:
            output::OnSmtpCancelled();
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

}  // namespace vellumo::mainwnd
