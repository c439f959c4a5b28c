// veskctl validate: whether this installation would open a profile, checked before it is sent.

#include <cstdio>

#include "cli_prompt.h"
#include "model/settings_documents.h"
#include "platform/settings/configuration.h"
#include "verbs.h"

int RunValidate(const QStringList& args) {
    SProfileArgs parsed;
    if (!ParseProfileArgs(args, 0, parsed) || parsed.operands.size() != 1) {
        return TellUsage("veskctl validate FILE");
    }
    const QString& path = parsed.operands.first();
    const CConfiguration config = CConfiguration::FromEnvironment();
    CCliPrompt prompt(false);
    CSettingsDocuments settings;
    const int admitted = LoadAndAdmitProfile(path, config, prompt, settings);
    if (admitted != kExitOk) {
        return admitted;
    }
    std::printf("%s: admitted\n", path.toUtf8().constData());
    return kExitOk;
}
