// A test program for looking at the settings pages: the real main window with its pages
// registered, in the user's language. VELLUMO_DEMO_VIEW=settings opens the General page, =email
// the Email page, =documents the Documents page.
#include <QApplication>
#include <QTimer>

#include "mainwnd/controls.h"
#include "mainwnd/vellumo_dlg.h"
#include "mainwnd/vellumo_translucent_dlg.h"
#include "prefs/pref_page_host.h"
#include "res/language.h"
#include "res/resources.h"

using namespace vellumo::res;
using namespace vellumo::prefs;
using namespace vellumo::mainwnd;
namespace id = vellumo::mainwnd::id;

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Brackwin"));
    QCoreApplication::setApplicationName(QStringLiteral("Vellumo"));
    InitVellumoResources();
    InstallLanguage(ChooseLanguage());
    CVellumoTranslucentDlg skin(MainDialogFactory());
    QTimer::singleShot(0, &skin, [] {
        const QString view = qEnvironmentVariable("VELLUMO_DEMO_VIEW");
        if (!mainDialog) return;
        if (view == QLatin1String("settings") || view == QLatin1String("email") ||
            view == QLatin1String("documents"))
            mainDialog->OnCommand(id::SettingsTab);
        if (view == QLatin1String("email")) mainDialog->OnCommand(id::EmailTab);
        if (view == QLatin1String("documents")) mainDialog->OnCommand(id::DocumentsTab);
    });
    skin.exec();
    return 0;
}
