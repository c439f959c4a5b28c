// veskctl validate, decode, encode, new and templates: profile files as the program reads and
// writes them, so that a dealer can check a file before sending it, look inside a scrambled one,
// and make profiles from the installed models without the desktop program.

#include <cstdio>
#include <optional>

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include "app/configuration.h"
#include "app/profile_admission.h"
#include "app/settings_documents.h"
#include "cli_prompt.h"
#include "model/profile_document.h"
#include "model/profile_file.h"
#include "model/vesk_cps_exception.h"
#include "resources/string_table.h"
#include "verbs.h"

namespace {

constexpr int kMsgNoTemplates = 296;

int Usage(const char* text) {
    std::fprintf(stderr, "usage: %s\n", text);
    return kExitUsage;
}

QString TemplateFolder(const CConfiguration& config) {
    return config.GetInstallPath() + QStringLiteral("/profiletemplate");
}

// As the New Profile dialog lists them: every *.vk4 file of the folder, without its extension.
QStringList TemplateNames(const CConfiguration& config) {
    const QDir folder(TemplateFolder(config));
    QStringList names;
    for (const QString& file :
         folder.entryList({QStringLiteral("*.vk4")}, QDir::Files, QDir::Name | QDir::IgnoreCase)) {
        names << file.chopped(4);
    }
    return names;
}

// The reader has already turned the file's bytes into characters; handed on as UTF-8, a
// declaration that still names the file's own encoding ("UTF-16") would make the parser decode
// them a second time.
bool WriteFile(const QString& path, const QByteArray& bytes) {
    // A failure half-way leaves whatever was at `path` as it was.
    QSaveFile file(path);
    // commit() would rename even a file whose buffered write failed; flush() reports it.
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.flush() ||
        !file.commit()) {
        TellError(QStringLiteral("cannot write %1: %2").arg(path, file.errorString()));
        return false;
    }
    return true;
}

}  // namespace

void TellError(const QString& text) {
    std::fprintf(stderr, "veskctl: %s\n", text.toUtf8().constData());
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

bool LoadProfileSettings(const CConfiguration& config, IUserPrompt& prompt,
                         CSettingsDocuments& settings) {
    using Doc = CSettingsDocuments::Doc;
    for (const auto& [which, name] :
         {std::pair{Doc::Region, "Region.stv"},
          std::pair{Doc::UpDownGradeSetting, "UpDownGradeSetting.stv"}}) {
        std::optional<CXmlDocument> document =
            CSettingsDocuments::LoadSettingDoc(config, prompt, QString::fromLatin1(name));
        if (!document) {
            return false;
        }
        settings.Set(which, std::move(*document));
    }
    return true;
}

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

int RunValidate(const QStringList& args) {
    SProfileArgs parsed;
    if (!ParseProfileArgs(args, 0, parsed) || parsed.operands.size() != 1) {
        return Usage("veskctl validate FILE");
    }
    const QString& path = parsed.operands.first();
    const CConfiguration config = CConfiguration::FromEnvironment();
    CCliPrompt prompt(false);
    CSettingsDocuments settings;
    if (!LoadProfileSettings(config, prompt, settings)) {
        return kExitRefused;
    }
    const int admitted = AdmitProfile(path, config, prompt, settings);
    if (admitted != kExitOk) {
        return admitted;
    }
    std::printf("%s: admitted\n", path.toUtf8().constData());
    return kExitOk;
}

namespace {

// The text the editor holds for a profile: admitted, loaded, with the fields its codeplug version
// lacks put on and validated. This is what the schema is checked against.
std::optional<QByteArray> LoadedText(const QString& path) {
    const CConfiguration config = CConfiguration::FromEnvironment();
    CCliPrompt prompt(false);
    CSettingsDocuments settings;
    if (!LoadProfileSettings(config, prompt, settings) ||
        AdmitProfile(path, config, prompt, settings) != kExitOk) {
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
        return Usage("veskctl decode FILE.vk4 [--as-loaded]");
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

int RunEncode(const QStringList& args) {
    SProfileArgs parsed;
    if (!ParseProfileArgs(args, kOptOutput, parsed) || parsed.operands.size() != 1 ||
        parsed.output.isEmpty()) {
        return Usage("veskctl encode FILE.xml -o OUT.vk4");
    }
    const QString& path = parsed.operands.first();
    const std::optional<QString> text = profile_file::Read(path);
    if (!text) {
        TellError(QStringLiteral("cannot read %1").arg(path));
        return kExitRefused;
    }
    CCliPrompt prompt(false);
    QByteArray recovered;
    try {
        recovered = CProfileDocument::RecoverXML(*text);
    } catch (const CVeskCPSException& error) {
        ShowModelException(prompt, error);
        return kExitRefused;
    }
    return WriteFile(parsed.output, profile_file::Encode(QString::fromUtf8(recovered)))
               ? kExitOk
               : kExitRefused;
}

int RunNew(const QStringList& args) {
    SProfileArgs parsed;
    if (!ParseProfileArgs(args, kOptOutput | kOptTemplate, parsed) || !parsed.operands.isEmpty() ||
        parsed.templateName.isEmpty() || parsed.output.isEmpty()) {
        return Usage(
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
    if (!LoadProfileSettings(config, prompt, settings)) {
        return kExitRefused;
    }
    const int admitted = AdmitProfile(templatePath, config, prompt, settings);
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

int RunTemplates(const QStringList& args) {
    if (!args.isEmpty()) {
        return Usage("veskctl templates");
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
