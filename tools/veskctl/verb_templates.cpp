// veskctl templates: the radio models this installation can start a new profile for.

#include <cstdio>

#include "cli_prompt.h"
#include "platform/settings/configuration.h"
#include "verbs.h"

namespace {

constexpr int kMsgNoTemplates = 296;

}  // namespace

int RunTemplates(const QStringList& args) {
    if (!args.isEmpty()) {
        return TellUsage("veskctl templates");
    }
    const CConfiguration config = CConfiguration::FromEnvironment();
    const QStringList names = TemplateNames(config);
    if (names.isEmpty()) {
        CCliPrompt prompt(false);
        prompt.Show(kMsgNoTemplates);
        return kExitRefused;
    }
    for (const QString& name : names) {
        std::printf("%s\n", name.toUtf8().constData());
    }
    return kExitOk;
}
