// veskcps: the desktop program.

#include <QApplication>
#include <QScreen>

#include "app/main_frame.h"
#include "app/message_box_prompt.h"
#include "app/startup.h"
#include "model/rule_script_host.h"
#include "platform/settings/configuration.h"
#include "platform/string_table.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(kApplicationName);
    QApplication::setOrganizationName(QStringLiteral("Corvane"));
    QApplication::setApplicationVersion(QStringLiteral(VESK_VERSION));

    CMessageBoxPrompt prompt;
    if (!CRuleScriptHost::CheckScriptEngine(prompt)) {
        return 1;
    }
    const CConfiguration config = CConfiguration::FromEnvironment();
    if (!config.PrepareConfiguration(prompt)) {
        return 1;
    }
    LoadLanguage(config, prompt, CStringTable::Instance());

    CMainFrame frame(config, prompt);
    // Without a window manager (a bare X server, a kiosk) maximising does nothing; start with the
    // whole available screen so that the window looks the same there.
    frame.setGeometry(frame.screen()->availableGeometry());
    frame.showMaximized();
    return QApplication::exec();
}
