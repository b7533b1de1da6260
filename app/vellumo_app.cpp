#include "app/vellumo_app.h"

#include <QApplication>
#include <QTimer>

#include "mainwnd/vellumo_dlg.h"
#include "mainwnd/vellumo_translucent_dlg.h"
#include "platform/instance_lock.h"
#include "platform/private_folder.h"
#include "platform/settings_store.h"
#include "platform/signal_cleanup.h"
#include "platform/x11_windows.h"
#include "res/language.h"
#include "res/resources.h"

namespace vellumo::app {

using namespace vellumo::platform;
using namespace vellumo::res;
using namespace vellumo::mainwnd;

bool CVellumoApp::commandLineHasGo(const QStringList& arguments) {
    return arguments.mid(1)
        .join(QLatin1Char(' '))
        .contains(QLatin1String("/GO"), Qt::CaseSensitive);
}

void CVellumoApp::singleInstanceTest(const QStringList& arguments) {
    xcb_connection_t* x11 = ApplicationX11Connection();
    for (const TopLevelWindow& window : ListTopLevelWindows(x11)) {
        if (window.title.empty() || !TitleMarksRunningInstance(window.title)) continue;
        RequestWindowClose(x11, window.id);
        return;
    }
    if (AcquireInstanceLock() == InstanceLock::Acquired) return;
    const int activeWindow = SettingsStore::read(setting::ActiveWnd);
    SettingsStore::write(setting::ActiveWnd, 0);
    if (activeWindow != 0 && commandLineHasGo(arguments))
        RequestWindowClose(x11, static_cast<uint32_t>(activeWindow));
}

int CVellumoApp::run(int argc, char** argv) {
    QApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    // Ctrl+C, SIGTERM and SIGHUP leave no partial files; PDFs handed to the mail program in
    // earlier runs go after a day.
    vellumo::platform::InstallSignalCleanup();
    vellumo::platform::RemoveOldMailHandoffs();

    singleInstanceTest(arguments);

    QCoreApplication::setOrganizationName(QStringLiteral("Brackwin"));
    QCoreApplication::setApplicationName(QStringLiteral("Vellumo"));
    // No application display name: on X11 Qt would append it to every window title ("Select
    // file(s) to load — Vellumo"), and the titles are to read exactly as the windows set them.
    // The installed desktop entry, so the desktop matches the window to its launcher and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.vellumo.Vellumo"));
    InitVellumoResources();
    // The user's language where there is a translation; English otherwise. The log stays English.
    InstallLanguage(ChooseLanguage());

    {
        CVellumoTranslucentDlg skin(MainDialogFactory());
        bool quitAfterOk = false;
        const int quitAfterMs = qEnvironmentVariableIntValue("VELLUMO_QUIT_AFTER_MS", &quitAfterOk);
        if (quitAfterOk && quitAfterMs >= 0)
            QTimer::singleShot(quitAfterMs, &skin, &QWidget::close);
        skin.exec();
    }
    return 0;
}

}  // namespace vellumo::app
