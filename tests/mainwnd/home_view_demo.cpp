// A test program for looking at the home view: the real main window, with the image files named
// in VELLUMO_DEMO_PAGES (separated by ':') already in the page list, so a screenshot shows the
// page list with thumbnails; VELLUMO_DEMO_VIEW=settings shows the settings view, =progress the
// activity dialog as "SAVE AS PDF" shows it while it writes page 2. VELLUMO_DEMO_SCANNED=1 adds
// the pages as scanned ones, so that they are cleaned up (and blank ones marked) as after a scan.
// The program itself never preloads pages.
#include <QApplication>
#include <QTimer>

#include "document/page_list_ops.h"
#include "imaging/codecs.h"
#include "imaging/imaging.h"
#include "mainwnd/controls.h"
#include "mainwnd/page_view.h"
#include "mainwnd/vellumo_dlg.h"
#include "mainwnd/vellumo_translucent_dlg.h"
#include "output/pdf_progress.h"
#include "res/language.h"
#include "res/resources.h"
#include "tests/support/main_dialog_access.h"
#include "widgets/activity_dialog.h"

using namespace vellumo::imaging;
using namespace vellumo::res;
using namespace vellumo::widgets;
using namespace vellumo::document;
using namespace vellumo::output;
using namespace vellumo::mainwnd;

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Brackwin"));
    QCoreApplication::setApplicationName(QStringLiteral("Vellumo"));
    InitVellumoResources();
    InstallLanguage(ChooseLanguage());
    CVellumoTranslucentDlg skin(MainDialogFactory());
    QTimer::singleShot(0, &skin, [] {
        const QString list = qEnvironmentVariable("VELLUMO_DEMO_PAGES");
        const int scanned = qEnvironmentVariableIntValue("VELLUMO_DEMO_SCANNED") == 1 ? 1 : 0;
        for (const QString& file : list.split(QLatin1Char(':'), Qt::SkipEmptyParts)) {
            ScopedImage image;
            if (ReadImageFile(file.toLocal8Bit().constData(), image.image) != 0) continue;
            if (Doc().MakeThumbnail(image.image) != 0) continue;
            Doc().AppendPage(file.toStdString(), scanned);
        }
        Doc().PostPageCount();
        Doc().RebuildPageView();
        const QString view = qEnvironmentVariable("VELLUMO_DEMO_VIEW");
        if (!mainDialog) return;
        if (view == QLatin1String("settings")) mainDialog->OnCommand(id::SettingsTab);
        if (view == QLatin1String("progress") && activityDialog) {
            activityDialog->setStatusText(QStringLiteral("Creating PDF..."));
            activityDialog->setCancelVisible(true);
            activityDialog->showActivity();
            mainDialog->setEnabled(false);
            ShowPdfPageProgress(2, qMax(2, static_cast<int>(Doc().pages.size())));
        }
    });
    skin.exec();
    return 0;
}
