// veskctl new: a fresh profile from an installed model template, without the desktop program.

#include "cli_prompt.h"
#include "model/profile_document.h"
#include "model/settings_documents.h"
#include "platform/settings/configuration.h"
#include "platform/vesk_cps_exception.h"
#include "verbs.h"

int RunNew(const QStringList& args) {
    SProfileArgs parsed;
    if (!ParseProfileArgs(args, kOptOutput | kOptTemplate, parsed) || !parsed.operands.isEmpty() ||
        parsed.templateName.isEmpty() || parsed.output.isEmpty()) {
        return TellUsage(
            "veskctl new --template NAME -o OUT.vk4   (NAME as 'veskctl templates' lists)");
    }
    const CConfiguration config = CConfiguration::FromEnvironment();
    if (!TemplateNames(config).contains(parsed.templateName)) {
        TellError(QStringLiteral("no template '%1' in %2; 'veskctl templates' lists them")
                      .arg(parsed.templateName, TemplateFolder(config)));
        return kExitUsage;
    }
    const QString templatePath =
        TemplateFolder(config) + u'/' + parsed.templateName + QStringLiteral(".vk4");

    CCliPrompt prompt(false);
    CSettingsDocuments settings;
    const int admitted = LoadAndAdmitProfile(templatePath, config, prompt, settings);
    if (admitted != kExitOk) {
        return admitted;
    }
    try {
        CProfileDocument document(config, prompt, &settings);
        if (!document.NewFromTemplate(templatePath) || !document.Save(parsed.output)) {
            return kExitRefused;
        }
    } catch (const CVeskCPSException& error) {
        ShowModelException(prompt, error);
        return kExitRefused;
    }
    return kExitOk;
}
