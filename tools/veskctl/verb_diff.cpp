// veskctl diff: what differs between two profiles, by setting name and by channel, frequency or
// preset number. Either side may be a profile file, a codeplug image file, or the radio on the
// cable ("radio:"), each opened as the desktop program opens it.

#include <cstdio>

#include <QFileInfo>

#include "cli_prompt.h"
#include "model/profile_diff.h"
#include "model/profile_document.h"
#include "model/settings_documents.h"
#include "platform/settings/configuration.h"
#include "platform/vesk_cps_exception.h"
#include "radio/document_image.h"
#include "radio/virtual_cp.h"
#include "radio_session.h"
#include "verbs.h"

namespace {

// diff(1)'s convention: 0 the same, 1 different, 2 one side could not be read.
constexpr int kExitSame = 0;
constexpr int kExitDifferent = 1;
constexpr int kExitTrouble = 2;

const QString kRadio = QStringLiteral("radio:");

// A file exactly one image long is an image; anything else is read as a profile file.
bool IsImageFile(const QString& path) {
    return QFileInfo(path).size() == static_cast<qint64>(vcp::kImageSize);
}

bool Load(const QString& source, CProfileDocument& document, const CConfiguration& config,
          CCliPrompt& prompt, CSettingsDocuments& settings,
          const std::optional<QString>& password) {
    if (source == kRadio) {
        return ReadRadioProfile(document, settings, prompt, password);
    }
    if (IsImageFile(source)) {
        CVirtualCP image;
        return ReadImageFile(source, image) && NewFromImage(document, image);
    }
    return LoadAndAdmitProfile(source, config, prompt, settings) == kExitOk &&
           document.Open(source);
}

}  // namespace

int RunDiff(const QStringList& arguments) {
    constexpr const char* kUsage =
        "veskctl diff A B [--password PIN] [--yes]   (A, B: FILE.vk4, IMAGE.bin or radio:)";
    QStringList args = arguments;
    std::optional<QString> password;
    SProfileArgs parsed;
    if (!TakePasswordOption(args, password) || !ParseProfileArgs(args, kOptYes, parsed) ||
        parsed.operands.size() != 2 ||
        (parsed.operands[0] == kRadio && parsed.operands[1] == kRadio)) {
        TellUsage(kUsage);
        return kExitTrouble;
    }
    const CConfiguration config = CConfiguration::FromEnvironment();
    CCliPrompt prompt(parsed.yes);
    CSettingsDocuments settings;
    if (!LoadProfileSettings(config, prompt, settings)) {
        return kExitTrouble;
    }
    try {
        CProfileDocument left(config, prompt, &settings);
        CProfileDocument right(config, prompt, &settings);
        if (!Load(parsed.operands[0], left, config, prompt, settings, password) ||
            !Load(parsed.operands[1], right, config, prompt, settings, password)) {
            return kExitTrouble;
        }
        const std::vector<SProfileDifference> differences =
            DiffProfiles(left.Model().RootItem(), right.Model().RootItem());
        for (const SProfileDifference& difference : differences) {
            std::printf("%s\n", qPrintable(DescribeDifference(difference, parsed.operands[0],
                                                              parsed.operands[1])));
        }
        return differences.empty() ? kExitSame : kExitDifferent;
    } catch (const CVeskCPSException& error) {
        ShowModelException(prompt, error);
        return kExitTrouble;
    }
}
