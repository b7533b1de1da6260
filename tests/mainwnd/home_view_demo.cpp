// A test program for looking at the home view: the real main window, with the image files named
// in VELLUMO_DEMO_PAGES (separated by ':') already in the page list, so a screenshot shows the
// page list with thumbnails; VELLUMO_DEMO_VIEW=settings shows the settings view. The program itself
// never preloads pages.
#include <QApplication>
#include <QTimer>

#include "imaging/codecs.h"
#include "imaging/imaging.h"
#include "mainwnd/page_list.h"
#include "mainwnd/page_view.h"
#include "mainwnd/vellumo_dlg.h"
#include "mainwnd/vellumo_translucent_dlg.h"
#include "res/resources.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Brackwin"));
    QCoreApplication::setApplicationName(QStringLiteral("Vellumo"));
    InitVellumoResources();
    InstallMainDialog();
    CVellumoTranslucentDlg skin;
    QTimer::singleShot(0, &skin, [] {
        const QString list = qEnvironmentVariable("VELLUMO_DEMO_PAGES");
        for (const QString& file : list.split(QLatin1Char(':'), Qt::SkipEmptyParts)) {
            ScopedImage image;
            if (ReadImageFile(file.toLocal8Bit().constData(), image.image) != 0) continue;
            if (MakeThumbnail(image.image) != 0) continue;
            AppendPage(file.toStdString(), 0);
        }
        PostPageCount();
        RebuildPageView();
        // VELLUMO_DEMO_VIEW=settings opens the settings view instead.
        if (qEnvironmentVariable("VELLUMO_DEMO_VIEW") == QLatin1String("settings") && mainDialog)
            mainDialog->OnCommand(2860);
    });
    skin.exec();
    return 0;
}
