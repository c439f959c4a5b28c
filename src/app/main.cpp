// veskcps: the desktop program.

#include <QApplication>
#include <QElapsedTimer>
#include <QScreen>
#include <QTimer>

#include "app/main_frame.h"
#include "app/message_box_prompt.h"
#include "app/single_instance.h"
#include "app/splash_screen.h"
#include "app/vesk_cps_app.h"
#include "platform/settings/configuration.h"
#include "platform/string_table.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(kApplicationName);
    QApplication::setOrganizationName(QStringLiteral("Corvane"));
    QApplication::setApplicationVersion(QStringLiteral(VESK_VERSION));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/veskcps.svg")));

    // A profile opened from the desktop while the program runs goes to the running copy.
    const QStringList arguments = QApplication::arguments().mid(1);
    CSingleInstance instance;
    if (instance.HandToRunningCopy(arguments)) {
        return 0;
    }

    CMessageBoxPrompt prompt;
    CVeskCPSApp application(CConfiguration::FromEnvironment(), prompt);
    if (!application.InitInstance(arguments)) {
        return 1;
    }
    CMainFrame& frame = *application.MainFrame();
    prompt.SetParent(&frame);
    instance.Listen([&application, &frame](const QStringList& request) {
        application.ProcessShellCommand(request);
        frame.activateWindow();
        frame.raise();
    });

    // VESKCPS_NO_SPLASH: for measuring and scripted sessions, which have no one to greet.
    const bool splash = qEnvironmentVariableIsEmpty("VESKCPS_NO_SPLASH");
    auto showFrame = [&frame] {
        // Without a window manager (a bare X server, a kiosk) maximising does nothing; start with
        // the whole available screen so that the window looks the same there.
        frame.setGeometry(frame.screen()->availableGeometry());
        frame.showMaximized();
        if (qEnvironmentVariableIsSet("VESKCPS_EXIT_WHEN_SHOWN")) {
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
    };
    if (splash && CSplashWnd::ShowSplashScreen() != nullptr) {
        QTimer::singleShot(CSplashWnd::kShowMilliseconds, &frame, showFrame);
    } else {
        showFrame();
    }
    return QApplication::exec();
}
