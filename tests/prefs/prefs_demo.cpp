// A test program for looking at the settings pages: the real main window with both pages
// registered. VELLUMO_DEMO_VIEW=settings opens the General page, =email the Email page,
// =documents the Documents page.
#include <QApplication>
#include <QTimer>

#include "mainwnd/vellumo_dlg.h"
#include "mainwnd/vellumo_translucent_dlg.h"
#include "prefs/pref_page_host.h"
#include "res/resources.h"

using namespace vellumo::res;
using namespace vellumo::prefs;
using namespace vellumo::mainwnd;

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Brackwin"));
    QCoreApplication::setApplicationName(QStringLiteral("Vellumo"));
    InitVellumoResources();
    CVellumoTranslucentDlg skin(MainDialogFactory());
    QTimer::singleShot(0, &skin, [] {
        const QString view = qEnvironmentVariable("VELLUMO_DEMO_VIEW");
        if (!mainDialog) return;
        if (view == QLatin1String("settings") || view == QLatin1String("email") ||
            view == QLatin1String("documents"))
            mainDialog->OnCommand(2860);
        if (view == QLatin1String("email")) mainDialog->OnCommand(2900);
        if (view == QLatin1String("documents")) mainDialog->OnCommand(2910);
    });
    skin.exec();
    return 0;
}
