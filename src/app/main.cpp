// veskcps: the desktop program.

#include <QApplication>

#include "app/configuration.h"
#include "app/main_frame.h"
#include "app/message_box_prompt.h"
#include "app/startup.h"
#include "resources/string_table.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(kApplicationName);
    QApplication::setOrganizationName(QStringLiteral("Corvane"));
    QApplication::setApplicationVersion(QStringLiteral(VESK_VERSION));

    CMessageBoxPrompt prompt;
    const CConfiguration config = CConfiguration::FromEnvironment();
    if (!config.PrepareConfiguration(prompt)) {
        return 1;
    }
    LoadLanguage(config, prompt, CStringTable::Instance());

    CMainFrame frame(config, prompt);
    frame.showMaximized();
    return QApplication::exec();
}
