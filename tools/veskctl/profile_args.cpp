// What the profile and editing verbs share: their options, the admission every verb that opens a
// profile goes through first, and how veskctl tells its own failures.

#include <cstdio>
#include <optional>

#include "cli_prompt.h"
#include "model/profile_admission.h"
#include "model/profile_document.h"
#include "model/profile_file.h"
#include "model/settings_documents.h"
#include "platform/settings/configuration.h"
#include "platform/vesk_cps_exception.h"
#include "verbs.h"

bool LoadProfileSettings(const CConfiguration& config, IUserPrompt& prompt,
                         CSettingsDocuments& settings) {
    return settings.LoadProfileDocuments(config, prompt);
}

namespace {

int AdmitProfile(const QString& path, const CConfiguration& config, IUserPrompt& prompt,
                 const CSettingsDocuments& settings) {
    // The admission check is silent about a file it cannot open; the user must hear why.
    if (!profile_file::Read(path)) {
        TellError(QStringLiteral("cannot read %1").arg(path));
        return kExitRefused;
    }
    if (!CheckProfileAdmission(path, config, prompt, settings)) {
        return kExitRefused;
    }
    return kExitOk;
}

}  // namespace

void TellError(const QString& text) {
    std::fprintf(stderr, "veskctl: %s\n", text.toUtf8().constData());
}

int TellUsage(const char* text) {
    std::fprintf(stderr, "usage: %s\n", text);
    return kExitUsage;
}

bool ParseProfileArgs(const QStringList& args, int options, SProfileArgs& parsed) {
    bool haveOutput = false;
    bool haveTemplate = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (arg == QLatin1String("-o") && (options & kOptOutput) != 0 && !haveOutput &&
            i + 1 < args.size()) {
            parsed.output = args[++i];
            haveOutput = true;
        } else if (arg == QLatin1String("--template") && (options & kOptTemplate) != 0 &&
                   !haveTemplate && i + 1 < args.size()) {
            parsed.templateName = args[++i];
            haveTemplate = true;
        } else if (arg == QLatin1String("--yes") && (options & kOptYes) != 0) {
            parsed.yes = true;
        } else if (arg == QLatin1String("--as-loaded") && (options & kOptAsLoaded) != 0) {
            parsed.asLoaded = true;
        } else if (arg == QLatin1String("--")) {
            parsed.operands << args.mid(i + 1);
            break;
        } else if (arg.size() > 1 && arg.startsWith(u'-') && !arg.at(1).isDigit()) {
            // "-1" stays an operand: a value may well be negative.
            TellError(QStringLiteral("unexpected option '%1'").arg(arg));
            return false;
        } else {
            parsed.operands << arg;
        }
    }
    if ((options & kOptOutput) != 0 && haveOutput && parsed.output.isEmpty()) {
        TellError(QStringLiteral("-o needs a file name"));
        return false;
    }
    return true;
}

int LoadAndAdmitProfile(const QString& path, const CConfiguration& config, IUserPrompt& prompt,
                        CSettingsDocuments& settings) {
    if (!LoadProfileSettings(config, prompt, settings)) {
        return kExitRefused;
    }
    return AdmitProfile(path, config, prompt, settings);
}

int WithOpenProfile(
    const QString& path, bool yes,
    const std::function<int(CProfileDocument&, CCliPrompt&, const CSettingsDocuments&)>& use) {
    const CConfiguration config = CConfiguration::FromEnvironment();
    CCliPrompt prompt(yes);
    CSettingsDocuments settings;
    const int admitted = LoadAndAdmitProfile(path, config, prompt, settings);
    if (admitted != kExitOk) {
        return admitted;
    }
    try {
        CProfileDocument document(config, prompt, &settings);
        if (!document.Open(path)) {
            return kExitRefused;
        }
        return use(document, prompt, settings);
    } catch (const CVeskCPSException& error) {
        ShowModelException(prompt, error);
        return kExitRefused;
    }
}
