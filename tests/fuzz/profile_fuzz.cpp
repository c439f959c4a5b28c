// Feeds arbitrary bytes to the profile file reader and everything a file from a dealer passes
// through before it becomes an open profile: the MURS check, the admission check and loading
// against the schema. A profile the admission check lets in must load, and save into a file that
// loads again.
// Any failure must be a model exception with a message, never a crash, a hang or a leak.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>

#include <QByteArray>
#include <QFile>
#include <QString>

#include "model/profile_admission.h"
#include "model/profile_document.h"
#include "model/profile_file.h"
#include "model/radio_data_model.h"
#include "model/settings_documents.h"
#include "platform/settings/configuration.h"
#include "platform/user_prompt.h"
#include "platform/vesk_cps_exception.h"
#include "temp_hives.h"

namespace {

class CQuietPrompt : public IUserPrompt {
public:
    PromptAnswer Ask(int, const QString&, PromptStyle) override { return PromptAnswer::Ok; }
};

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "profile fuzz: %s\n", what);
    std::abort();
}

QByteArray ReadSource(const QString& relative) {
    QFile file(QStringLiteral(VESK_SOURCE_DIR "/") + relative);
    if (!file.open(QIODevice::ReadOnly)) {
        Fail("cannot read the installation files of the source tree");
    }
    return file.readAll();
}

// One installation for the whole run, as the program has it after start-up. The documents are
// created once: the rule script engine of the profile document is started by its first load and
// serves every later one, as in the program.
struct SInstallation {
    SInstallation() {
        hives.WriteMachine(
            "[General]\nInstallPath=" + hives.Path(QStringLiteral("install")).toUtf8() + "\n");
        for (const char* name :
             {"profiletemplate/DataProfile.vbs", "profiletemplate/DataProfile.xsd",
              "lib/Region.stv", "lib/UpDownGradeSetting.stv"}) {
            const QString relative = QString::fromUtf8(name);
            CTempHives::Write(hives.Path(QStringLiteral("install/") + relative),
                              ReadSource(QStringLiteral("install/") + relative));
        }
        for (const auto& [which, name] :
             {std::pair{CSettingsDocuments::Doc::Region, "Region.stv"},
              std::pair{CSettingsDocuments::Doc::UpDownGradeSetting, "UpDownGradeSetting.stv"}}) {
            std::optional<CXmlDocument> loaded =
                CSettingsDocuments::LoadSettingDoc(config, prompt, QString::fromUtf8(name));
            if (!loaded) {
                Fail("the installation's settings documents do not load");
            }
            settings.Set(which, std::move(*loaded));
        }
    }

    CTempHives hives;
    CConfiguration config = hives.Config();
    CQuietPrompt prompt;
    CSettingsDocuments settings;
    CProfileDocument document{config, prompt, &settings};
    CRadioDataModel reloaded{config, prompt, &settings};
    const QString input = hives.Path(QStringLiteral("input.vk4"));
};

SInstallation* g_installation = nullptr;

// False after a model exception; anything else thrown escapes and is reported as a crash.
template <typename Call>
bool Loads(Call call) {
    try {
        return call();
    } catch (const CVeskCPSException&) {
        return false;
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Reachable until exit on purpose: building the installation per input would dwarf the work.
    g_installation = new SInstallation;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    SInstallation& in = *g_installation;
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

    const QString text = profile_file::Decode(bytes);
    CheckMURFreq(text);
    CheckMURFreq(bytes);
    // Every saved file begins like this, and must read back as the text it was written from.
    if (text.startsWith(QStringLiteral("<?xml")) &&
        profile_file::Decode(profile_file::Encode(text)) != text) {
        Fail("a scrambled text does not read back as itself");
    }

    // Only an admitted profile is opened, as in the program; the document must then load it.
    CTempHives::Write(in.input, bytes);
    if (!CheckProfileAdmission(in.input, in.config, in.prompt, in.settings)) {
        return 0;
    }
    CRadioDataModel& model = in.document.Model();
    if (!Loads([&] { return model.LoadProfileText(text, in.input); })) {
        Fail("an admitted profile does not load");
    }
    std::optional<QByteArray> saved;
    try {
        saved = in.document.Serialize();
    } catch (const CVeskCPSException&) {
        // A profile that loaded but cannot be saved is reported to the user (533); no crash.
    }
    if (saved) {
        const QString savedText = profile_file::Decode(*saved);
        if (!Loads([&] { return in.reloaded.LoadProfileText(savedText, in.input); })) {
            Fail("a saved profile does not load again");
        }
    }
    return 0;
}
