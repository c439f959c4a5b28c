// veskctl profile: the profile a codeplug image holds, as a radio read would open it; printed as
// the canonical text, or saved as a profile file.

#include <cstdio>

#include "cli_prompt.h"
#include "model/profile_document.h"
#include "model/settings_documents.h"
#include "platform/settings/configuration.h"
#include "platform/vesk_cps_exception.h"
#include "radio/data_adaptor.h"
#include "radio/document_image.h"
#include "radio/virtual_cp.h"
#include "verbs.h"

namespace {

int PrintText(CVirtualCP& image, const QString& path) {
    CCliPrompt prompt(false);
    QString text;
    try {
        if (CDataAdaptor::VirtualCP2XML(image, text, prompt) != 1) {
            return kExitRefused;
        }
    } catch (const CVeskCPSException& error) {
        ShowModelException(prompt, error);
        return kExitRefused;
    }
    const QByteArray bytes = text.toUtf8();
    if (std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout) !=
            static_cast<size_t>(bytes.size()) ||
        std::fflush(stdout) != 0) {
        TellError(QStringLiteral("cannot write the profile text of %1").arg(path));
        return kExitRefused;
    }
    return kExitOk;
}

int SaveProfile(CVirtualCP& image, const QString& output) {
    const CConfiguration config = CConfiguration::FromEnvironment();
    CCliPrompt prompt(false);
    CSettingsDocuments settings;
    if (!LoadProfileSettings(config, prompt, settings)) {
        return kExitRefused;
    }
    try {
        CProfileDocument document(config, prompt, &settings);
        if (!NewFromImage(document, image) || !document.Save(output)) {
            return kExitRefused;
        }
    } catch (const CVeskCPSException& error) {
        ShowModelException(prompt, error);
        return kExitRefused;
    }
    return kExitOk;
}

}  // namespace

int RunProfileFromImage(const QStringList& args) {
    SProfileArgs parsed;
    if (!ParseProfileArgs(args, kOptOutput, parsed) || parsed.operands.size() != 1) {
        return TellUsage("veskctl profile IMAGE.bin [-o OUT.vk4]");
    }
    const QString& path = parsed.operands.first();
    CVirtualCP image;
    if (!ReadImageFile(path, image)) {
        return kExitRefused;
    }
    return parsed.output.isEmpty() ? PrintText(image, path) : SaveProfile(image, parsed.output);
}
