// veskctl read: reads the radio on the cable into a new profile file, with the identification
// and the checks of the Read command; the radio's password comes from --password.

#include <QFileInfo>

#include "cli_prompt.h"
#include "model/profile_document.h"
#include "model/settings_documents.h"
#include "platform/settings/configuration.h"
#include "platform/vesk_cps_exception.h"
#include "radio_session.h"
#include "verbs.h"

int RunRead(const QStringList& arguments) {
    constexpr const char* kUsage = "veskctl read -o OUT.vk4 [--password PIN] [--yes]";
    QStringList args = arguments;
    std::optional<QString> password;
    SProfileArgs parsed;
    if (!TakePasswordOption(args, password) ||
        !ParseProfileArgs(args, kOptOutput | kOptYes, parsed) || !parsed.operands.isEmpty() ||
        parsed.output.isEmpty()) {
        return TellUsage(kUsage);
    }
    // Nothing a read brings may replace a profile already on disk.
    if (QFileInfo::exists(parsed.output)) {
        TellError(QStringLiteral("%1 exists; a read writes a new profile file").arg(parsed.output));
        return kExitRefused;
    }
    const CConfiguration config = CConfiguration::FromEnvironment();
    CCliPrompt prompt(parsed.yes);
    CSettingsDocuments settings;
    if (!LoadProfileSettings(config, prompt, settings)) {
        return kExitRefused;
    }
    try {
        CProfileDocument document(config, prompt, &settings);
        if (!ReadRadioProfile(document, settings, prompt, password) ||
            !document.Save(parsed.output)) {
            return kExitRefused;
        }
    } catch (const CVeskCPSException& error) {
        ShowModelException(prompt, error);
        return kExitRefused;
    }
    return kExitOk;
}
