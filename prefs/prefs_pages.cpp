#include "prefs/prefs_pages.h"

#include "mainwnd/vellumo_dlg.h"
#include "prefs/tab_email_dlg.h"
#include "prefs/tab_general_dlg.h"

void RegisterPreferencesPages() {
    RegisterSettingsPage(QStringLiteral("General"), CTabGeneralDlg::kTemplate,
                         [](QWidget* parent) { return new CTabGeneralDlg(parent); });
    RegisterSettingsPage(QStringLiteral("Email"), CTabEmailDlg::kTemplate,
                         [](QWidget* parent) { return new CTabEmailDlg(parent); });
}
