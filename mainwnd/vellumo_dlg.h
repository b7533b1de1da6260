// CVellumoDlg: the main dialog. It lies exactly over the skin window as a transparent layer
// that carries every control: the page list, the command buttons, the quick settings, the tabs
// and the settings pages shown inside it. It owns the page document for the life of the
// program, runs every command from the command table and ends the program.
#pragma once

#include <QIcon>
#include <QPointer>
#include <QRect>
#include <QString>
#include <map>
#include <memory>
#include <vector>

#include "document/command_context.h"
#include "document/page_document.h"
#include "document/page_processing.h"
#include "mainwnd/vellumo_translucent_dlg.h"
#include "prefs/pref_page_host.h"
#include "widgets/standard_dialog.h"

class QAbstractButton;

namespace vellumo::widgets {
class CFocusRing;
}

namespace vellumo::mainwnd {

class CPageView;

class CVellumoDlg : public widgets::CStandardDialog, public document::MainSettings {
    Q_OBJECT
public:
    // `pages`: the settings pages after the empty page 0 (the program's own by default).
    explicit CVellumoDlg(QWidget* skin,
                         const std::vector<prefs::PrefPageSpec>& pages = prefs::ProgramPrefPages());
    ~CVellumoDlg() override;

    // Sets the dialog up, once, after skinWindow is known.
    bool OnInitDialog();
    // The skin window this dialog lies on; receives UM_PAGECOUNT, UM_MINIMIZE and WM_CLOSE.
    QPointer<QWidget> skinWindow;

    // The pages, their thumbnails and the image under work.
    document::PageDocument& document() { return document_; }
    const document::PageDocument& document() const { return document_; }
    // What a command gets: this window, the document and the mirrored settings.
    document::CommandContext context();
    // The pages' clean-up and text recognition in the background.
    document::PageProcessing& processing() { return *processing_; }

    // Runs a command by its identifier, as a click on its control does; a command that cannot
    // be chosen now does nothing.
    void OnCommand(int id);

    void RefreshQuickSettings();
    void HideMainControls();
    void RestoreMainControls();
    // Shows the controls of the home view, or hides them for the settings view.
    void ShowHomeViewControls(bool home);

    // The settings-page host.
    prefs::CPrefPageHost& prefHost() { return prefHost_; }
    bool AddPrefPage(prefs::PrefPageFactory create, int templateId, const QString& caption,
                     int parentIndex = 0);
    bool ShowPrefPage(int index) { return prefHost_.ShowPrefPage(index); }
    bool ValidateCurrentPrefPage() { return prefHost_.ValidateCurrentPrefPage(); }
    bool CommitPrefPages() { return prefHost_.CommitPrefPages(); }
    const std::vector<prefs::PrefPageEntry>& prefPages() const { return prefHost_.prefPages(); }
    int currentPrefPage() const { return prefHost_.currentPrefPage(); }
    bool settingsMode() const { return settingsMode_; }

    // The control with the identifier (buttons, tabs, radios, toggles), or nullptr.
    QAbstractButton* control(int id) const;
    CPageView* pageView() const { return pageView_; }

    // The commands of the window's own controls.
    void OnAbout();
    void OnHelp();
    void OnMinimize();
    void OnTab(int id);
    void OnRadio(int id);
    void OnToggle(int id);
    // Ends the program as "Exit" does: asks first when the list holds pages.
    void OnCancel() override;
    // Enter: commits the settings pages, asks as "Exit" does when the list holds pages, ends.
    void OnOK() override;

    static constexpr int TIMER_RELOADQUICK = 20;
    static constexpr int TIMER_LOADGENERAL = 21;
    static constexpr int TIMER_LOADEMAIL = 24;
    static constexpr int TIMER_LOADDOCUMENTS = 25;

protected:
    platform::LRESULT messageMap(unsigned message, platform::WPARAM wParam,
                                 platform::LPARAM lParam) override;
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
    bool AskQuitWithPages();
    void DrawModeGroup();
    void DrawBrightnessGroup();
    void DrawPageSizeGroup();
    void SetToggleImages();
    void SetTabBitmaps(int home, int settings, int general, int email, int documents = 0);
    platform::LRESULT OnShowPrefPage(platform::WPARAM index);
    // Shows settings page `index` and loads it.
    void ShowAndLoadPrefPage(int index);

    document::PageDocument document_;
    std::unique_ptr<document::PageProcessing> processing_;
    prefs::CPrefPageHost prefHost_;
    std::map<int, QAbstractButton*> controls_;
    CPageView* pageView_ = nullptr;
    widgets::CFocusRing* focusRing_ = nullptr;
    QIcon icon_;
    bool settingsMode_ = false;
    bool initialised_ = false;
    bool destroyed_ = false;
};

// The one main dialog (null while there is none).
extern QPointer<CVellumoDlg> mainDialog;

// Makes skin windows carry a main dialog with the settings pages: the factory
// CVellumoTranslucentDlg takes.
CVellumoTranslucentDlg::CompanionFactory MainDialogFactory(
    std::vector<prefs::PrefPageSpec> pages = prefs::ProgramPrefPages());
// True while a modal window other than the one holding `mainWindow` is open: a question, a file
// dialog, the preview. (The skin window itself runs modally for the program's whole life.)
bool OtherModalWindowOpen(const QWidget& mainWindow);
// The help page beside the program.
QString HelpFilePath();

}  // namespace vellumo::mainwnd
