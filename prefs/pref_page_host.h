// The host of the settings pages inside the main dialog: the pages in order (0 is the empty
// page, then "General", "Email", "Documents"), the one shown, and the rules between them: a page
// stores its values before it is hidden, a page that does not validate keeps the focus, and all
// pages are committed together when the program ends with Enter. A page's window is made the first
// time it is shown.
#pragma once

#include <QPointer>
#include <QRect>
#include <QString>
#include <functional>
#include <vector>

#include "prefs/prefs_sub_dlg.h"

namespace vellumo::prefs {

// Makes a settings page window as a child of the main dialog.
using PrefPageFactory = std::function<CSAPrefsSubDlg*(QWidget* parent)>;

struct PrefPageEntry {
    PrefPageFactory create;
    int templateId = 0;
    QString caption;
    int parentIndex = 0;
    QPointer<CSAPrefsSubDlg> window;  // null until the page is first shown
};

// A page the host is to carry.
struct PrefPageSpec {
    QString caption;
    int templateId = 0;
    PrefPageFactory create;
};

// The program's settings pages after the empty page 0: 1 "General", 2 "Email", 3 "Documents".
std::vector<PrefPageSpec> ProgramPrefPages();

class CPrefPageHost {
public:
    // Pages become children of `owner` (the main dialog), placed in `frame`.
    CPrefPageHost(QWidget* owner, const QRect& frame);
    ~CPrefPageHost();

    // Adds a page; false once the host is sealed (the window is set up) or without a factory.
    bool AddPrefPage(PrefPageFactory create, int templateId, const QString& caption,
                     int parentIndex = 0);
    // No page joins after this.
    void Seal() { sealed_ = true; }
    // From now on a page that does not validate keeps the user on it.
    void EnableValidation() { validatePages_ = true; }

    // Stores and hides the shown page, then shows page `index` (made on first use). False when
    // there is no such page (-1 hides only).
    bool ShowPrefPage(int index);
    // UM_SHOWPREFPAGE: shows the page and makes it the current one.
    void OnShowPrefPage(int index);
    // Runs the current page's validation; on failure the focus goes back to the faulty field
    // (UM_RESTOREFOCUS to the owner) and the result is false.
    bool ValidateCurrentPrefPage();
    // Validates every page made so far (showing the first that fails), then ends each.
    bool CommitPrefPages();
    // Lets page `index` load its controls, when it has been made; LoadPageLater the part that
    // takes time.
    void LoadPage(int index);
    void LoadPageLater(int index);
    // Ends every page without storing (the main dialog's end) and forgets them.
    void CancelAll();

    const std::vector<PrefPageEntry>& prefPages() const { return pages_; }
    int currentPrefPage() const { return current_; }
    void setCurrentPrefPage(int index) { current_ = index; }

private:
    QPointer<QWidget> owner_;
    QRect frame_;
    std::vector<PrefPageEntry> pages_;
    int current_ = 0;
    bool sealed_ = false;
    bool validatePages_ = false;
};

}  // namespace vellumo::prefs
