// veskctl decode: the text inside a scrambled profile file, to look into it or compare two.

#include <cstdio>
#include <optional>

#include "cli_prompt.h"
#include "model/profile_document.h"
#include "model/profile_file.h"
#include "model/settings_documents.h"
#include "platform/settings/configuration.h"
#include "verbs.h"

namespace {

// The text the editor holds for a profile: admitted, loaded, with the fields its codeplug version
// lacks put on and validated. This is what the schema is checked against.
std::optional<QByteArray> LoadedText(const QString& path) {
    const CConfiguration config = CConfiguration::FromEnvironment();
    CCliPrompt prompt(false);
    CSettingsDocuments settings;
    if (LoadAndAdmitProfile(path, config, prompt, settings) != kExitOk) {
        return std::nullopt;
    }
    CProfileDocument document(config, prompt, &settings);
    if (!document.Open(path)) {
        return std::nullopt;
    }
    return document.Model().WorkingDocument().ToXml();
}

}  // namespace

int RunDecode(const QStringList& args) {
    SProfileArgs parsed;
    if (!ParseProfileArgs(args, kOptAsLoaded, parsed) || parsed.operands.size() != 1) {
        return TellUsage("veskctl decode FILE.vk4 [--as-loaded]");
    }
    const QString& path = parsed.operands.first();
    QByteArray bytes;
    if (parsed.asLoaded) {
        const std::optional<QByteArray> loaded = LoadedText(path);
        if (!loaded) {
            return kExitRefused;
        }
        bytes = *loaded;
    } else {
        const std::optional<QString> text = profile_file::Read(path);
        if (!text) {
            TellError(QStringLiteral("cannot read %1").arg(path));
            return kExitRefused;
        }
        bytes = text->toUtf8();
    }
    if (std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout) !=
            static_cast<size_t>(bytes.size()) ||
        std::fflush(stdout) != 0) {
        TellError(QStringLiteral("cannot write the text of %1").arg(path));
        return kExitRefused;
    }
    return kExitOk;
}
