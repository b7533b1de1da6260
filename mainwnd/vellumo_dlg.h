// CVellumoDlg: the main dialog. It lies exactly over the skin window as a transparent layer
// that carries every control: the page list, the command buttons, the quick settings, the tabs
// and the settings pages shown inside it. It owns the page list for the life of the program,
// starts every command and ends the program.
#pragma once

#include <QBrush>
#include <QFont>
#include <QIcon>
#include <QPointer>
#include <QRect>
#include <QString>
#include <functional>
#include <map>
#include <vector>

#include "mainwnd/prefs_sub_dlg.h"
#include "widgets/standard_dialog.h"

class QAbstractButton;
namespace vellumo::widgets {
class CBitmapButton;
class CFixedButton;
class CxSkinButton;
}  // namespace vellumo::widgets
class CPageView;
class CVellumoTranslucentDlg;

// Makes a settings page window as a child of the main dialog.
using PrefPageFactory = std::function<CSAPrefsSubDlg*(QWidget* parent)>;

struct PrefPageEntry {
    PrefPageFactory create;
    int templateId = 0;
    QString caption;
    int parentIndex = 0;
    QPointer<CSAPrefsSubDlg> window;  // null until the page is first shown
};

// The settings pages after the empty page 0, in order: 1 "General", 2 "Email". Registered by the
// program at start-up, before the main dialog is built; the main dialog adds them to its host.
void RegisterSettingsPage(const QString& caption, int templateId, PrefPageFactory create);
void ClearRegisteredSettingsPages();

class CVellumoDlg : public vellumo::widgets::CStandardDialog {
    Q_OBJECT
public:
    explicit CVellumoDlg(QWidget* skin);
    ~CVellumoDlg() override;

    // Sets the dialog up, once, after skinWindow is known.
    bool OnInitDialog();
    // The skin window this dialog lies on; receives UM_PAGECOUNT, UM_MINIMIZE and WM_CLOSE.
    QPointer<QWidget> skinWindow;

    // Runs a command by its control identifier, as a click on the control does.
    void OnCommand(int id);

    // Quick settings (the next scans read them).
    int scanMode = 0;         // "nType": 0 black and white, 1 grey, 2 colour
    int brightnessLevel = 3;  // "nBright": 0 bright end .. 6 dark end
    int pageSize = 0;         // "PageSize": 0 Letter, 1 A4, 2 Legal, 3 A3
    int showPreview = 1;      // "Preview"
    int autoCrop = 0;         // "AutoCrop"
    int noFeeder = 0;         // "ADF"
    int duplex = 0;           // "Duplex"
    int invert = 0;           // "Invert"
    int compress = 1;         // "Compress"

    void RefreshQuickSettings();
    void HideMainControls();
    void RestoreMainControls();

    // The settings-page host.
    bool AddPrefPage(PrefPageFactory create, int templateId, const QString& caption,
                     int parentIndex = 0);
    bool ShowPrefPage(int index);
    bool ValidateCurrentPrefPage();
    bool CommitPrefPages();
    // Left 231, top 70, right 880, bottom 600.
    static constexpr QRect prefPageFrame{QPoint(231, 70), QSize(649, 530)};
    const std::vector<PrefPageEntry>& prefPages() const { return prefPages_; }
    int currentPrefPage() const { return currentPrefPage_; }
    bool settingsMode() const { return settingsMode_; }

    // The control with the identifier (buttons, tabs, radios, toggles), or nullptr.
    QAbstractButton* control(int id) const;
    CPageView* pageView() const { return pageView_; }

    // Ends the program as "Exit" does: asks first when the list holds pages.
    void OnCancel() override;
    // Enter: commits the settings pages, asks as "Exit" does when the list holds pages, ends.
    void OnOK() override;

    static constexpr int TIMER_RELOADQUICK = 20;
    static constexpr int TIMER_LOADGENERAL = 21;
    static constexpr int TIMER_LOADEMAIL = 24;

protected:
    vellumo::platform::LRESULT messageMap(unsigned message, vellumo::platform::WPARAM wParam, vellumo::platform::LPARAM lParam) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createControls();
    void ReadMirroredSettings();
    void RestorePlacement();
    void SavePlacement();
    void OnDestroy();
    void OnTimer(int id);
    void StartTimer(int id);
    void OnAbout();
    void OnHelp();
    void OnPageCommand(int id);
    bool AskQuitWithPages();
    void OnTab(int id);
    void OnRadio(int id);
    void OnToggle(int id);
    void DrawModeGroup();
    void DrawBrightnessGroup();
    void DrawPageSizeGroup();
    void SetToggleImages();
    void SetTabBitmaps(int home, int settings, int general, int email);
    vellumo::platform::LRESULT OnShowPrefPage(vellumo::platform::WPARAM index);

    std::map<int, QAbstractButton*> controls_;
    CPageView* pageView_ = nullptr;
    QIcon icon_;
    std::vector<PrefPageEntry> prefPages_;
    int currentPrefPage_ = 0;
    bool settingsMode_ = false;
    bool validatePages_ = false;
    bool initialised_ = false;
    bool destroyed_ = false;
};

// The one main dialog (null while there is none); other modules post to it.
extern QPointer<CVellumoDlg> mainDialog;
// Set when the screen has 120 logical pixels per inch in both directions.
extern bool largeFonts;
// The font of the settings pages.
extern QFont pageFont;
// The last folders of the open and save dialogs ("CurrentDir", "CurrentDirSave").
extern QString currentDir;
extern QString currentDirSave;
// The resolutions and the compression percentage, shared with the General page.
extern QString resBW, resGrey, resColor, comprPerc;
// The brush of the settings pages' control backgrounds.
extern QBrush whiteBrush;

// Makes every skin window from now on carry a main dialog.
void InstallMainDialog();
// True while a modal window other than the one holding `mainWindow` is open: a question, a file
// dialog, the preview. (The skin window itself runs modally for the program's whole life.)
bool OtherModalWindowOpen(const QWidget& mainWindow);
// The help page beside the program.
QString HelpFilePath();
