// veskctl image: the codeplug image a profile becomes when it is written to a radio, as a file,
// so that what a write would send can be looked at without a radio.

#include <optional>

#include "cli_prompt.h"
#include "model/data_item.h"
#include "model/profile_document.h"
#include "model/settings_documents.h"
#include "platform/settings/configuration.h"
#include "platform/vesk_cps_exception.h"
#include "radio/document_image.h"
#include "radio/virtual_cp.h"
#include "verbs.h"

namespace {

constexpr char kUsage[] = "veskctl image FILE.vk4 -o OUT.bin [--radio-codeplug-version N]";

// Takes "--radio-codeplug-version N" out of `args`: nullopt in `version` when it is not there,
// false after a message when it is there without a number 0..255 or twice.
bool TakeRadioVersion(QStringList& args, std::optional<quint8>& version) {
    const QString option = QStringLiteral("--radio-codeplug-version");
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--")) {
            break;
        }
        if (args[i] != option) {
            continue;
        }
        if (version || i + 1 >= args.size()) {
            TellError(version ? QStringLiteral("%1 given twice").arg(option)
                              : QStringLiteral("%1 needs a number").arg(option));
            return false;
        }
        bool ok = false;
        const uint number = args[i + 1].toUInt(&ok, 10);
        if (!ok || number > 255) {
            TellError(QStringLiteral("%1: '%2' is not a codeplug version (0 to 255)")
                          .arg(option, args[i + 1]));
            return false;
        }
        version = static_cast<quint8>(number);
        args.remove(i, 2);
        --i;
    }
    return true;
}

// The radio the image is meant for: only its codeplug version matters to the conversion, and
// without one named the profile is taken to go to a radio of its own version.
CRadioInfo RadioFor(CProfileDocument& document, std::optional<quint8> version) {
    CRadioInfo radio;
    if (!version) {
        CDataItem factory =
            document.Model().RootItem().GetChildByName(QStringLiteral("factory_setting"));
        version = static_cast<quint8>(
            factory.GetAttributeValue(QStringLiteral("codeplug_version")).toUInt());
    }
    radio.SetNumber(vcp::RadioInfoField("codeplug_version"), *version);
    return radio;
}

}  // namespace

int RunImage(const QStringList& args) {
    QStringList rest = args;
    std::optional<quint8> radioVersion;
    SProfileArgs parsed;
    if (!TakeRadioVersion(rest, radioVersion) || !ParseProfileArgs(rest, kOptOutput, parsed) ||
        parsed.operands.size() != 1 || parsed.output.isEmpty()) {
        return TellUsage(kUsage);
    }
    const QString& path = parsed.operands.first();
    const CConfiguration config = CConfiguration::FromEnvironment();
    CCliPrompt prompt(false);
    CSettingsDocuments settings;
    const int admitted = LoadAndAdmitProfile(path, config, prompt, settings);
    if (admitted != kExitOk) {
        return admitted;
    }
    CVirtualCP image;
    try {
        CProfileDocument document(config, prompt, &settings);
        if (!document.Open(path)) {
            return kExitRefused;
        }
        GetVirtualCPData(document, image, RadioFor(document, radioVersion));
    } catch (const CVeskCPSException& error) {
        ShowModelException(prompt, error);
        return kExitRefused;
    }
    return WriteImageFile(parsed.output, image) ? kExitOk : kExitRefused;
}
