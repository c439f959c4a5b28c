#include "radio/radio_checks.h"

#include <algorithm>

#include <QByteArray>

#include "model/data_item.h"
#include "model/profile_admission.h"
#include "model/profile_checks.h"
#include "model/profile_document.h"
#include "model/settings_documents.h"
#include "platform/string_table.h"
#include "platform/user_prompt.h"
#include "platform/vesk_cps_exception.h"
#include "radio/document_image.h"
#include "radio/remembered_password.h"
#include "radio/virtual_cp.h"

namespace radio_checks {

namespace {

constexpr const vcp::SField& kImageModel = vcp::ImageField("model");
constexpr const vcp::SField& kRadioModel = vcp::RadioInfoField("model");
// Within a model code: three letters, then five digit values.
constexpr int kThirdLetter = 2;
constexpr int kTierDigits = 4;
constexpr int kRegionDigits = 6;

// The two squelch code capacities radios are built with; a profile made for more codes than the
// radio has may still fit when its channels use only the codes the radio knows.
constexpr quint32 kCodeCapacities[] = {122, 213};

class CStopper {
public:
    explicit CStopper(const SCheckInputs& inputs) : m_inputs(inputs) {}

    // The operation ends here: hand it back before anything is shown.
    bool Silently() const {
        if (m_inputs.cleanup) {
            m_inputs.cleanup();
        }
        return false;
    }
    bool With(int messageId, PromptStyle style = PromptStyle::Error) const {
        Silently();
        m_inputs.prompt.Show(messageId, style);
        return false;
    }
    bool WithText(int messageId, const QString& text) const {
        Silently();
        m_inputs.prompt.Ask(messageId, text, PromptStyle::Error);
        return false;
    }
    bool WithException(const CVeskCPSException& error) const {
        Silently();
        ShowModelException(m_inputs.prompt, error);
        return false;
    }

private:
    const SCheckInputs& m_inputs;
};

// The same rule that admits profiles into this installation, applied to what the radio reports.
bool CodeplugAdmitted(const CRadioInfo& radio, const CSettingsDocuments& settings) {
    const char phase = char(radio.Byte(vcp::RadioInfoField("codeplug_phase").offset));
    return IsCodeplugVersionAdmitted(QLatin1Char(phase), qint32(radio.CodeplugVersion()), settings);
}

// Region first: a radio of a region this installation does not serve gets no further questions.
bool CheckRegionAndVersion(const SCheckInputs& inputs, const CStopper& stop, bool forWrite) {
    const QString region = RadioRegionCode(inputs.radio);
    if (!inputs.settings.IsSupported(region)) {
        if (forWrite) {
            return stop.With(kMsgModelNotSupported);
        }
        QString message = CStringTable::Instance().Text(kMsgRegionNotSupported);
        bool isNumber = false;
        const int code = region.toInt(&isNumber);
        if (const std::optional<QMap<int, QString>> names = inputs.settings.ModelRegions();
            isNumber && names && names->contains(code)) {
            message += QLatin1Char(' ') +
                       CStringTable::Instance().Format(kMsgUseOtherEdition, {names->value(code)});
        }
        return stop.WithText(kMsgRegionNotSupported, message);
    }
    if (!CodeplugAdmitted(inputs.radio, inputs.settings)) {
        return stop.With(kMsgCodeplugIncompatible);
    }
    return true;
}

// Asks until the radio's password is proven or the user gives up. A wrong answer leaves the
// remembered password as it was, so a later operation on the same radio asks again.
bool CheckPassword(const SCheckInputs& inputs, const CStopper& stop) {
    const QString password = RadioPassword(inputs.radio);
    while (!password.isEmpty() && password != inputs.rememberedPassword.Get()) {
        const std::optional<QString> answer =
            inputs.passwordPrompt.AskPassword(kPasswordPromptText);
        if (!answer) {
            return stop.Silently();
        }
        if (*answer == password) {
            inputs.rememberedPassword.Set(*answer);
        } else {
            inputs.prompt.Show(kMsgWrongPassword, PromptStyle::Error);
        }
    }
    return true;
}

CDataItem Child(const CDataItem& item, const char* name) {
    CDataItem child = item.GetChildByName(QString::fromLatin1(name));
    return child;
}

QString ProfileText(const CDataItem& profile, const char* element, const char* attribute) {
    return Child(profile, element).GetAttributeValue(QString::fromLatin1(attribute)).toString();
}

// Versions and counts as the profile states them; text that is no number counts as 0, as the
// admission of profiles reads it.
qint64 ProfileNumber(const CDataItem& profile, const char* element, const char* attribute) {
    bool ok = false;
    const qint64 value = ProfileText(profile, element, attribute).trimmed().toLongLong(&ok);
    return ok ? value : 0;
}

// A model's channel tier: its first two digit values after the band digit, written one after the
// other and read as a decimal number.
int Tier(quint8 first, quint8 second) {
    return (QString::number(first) + QString::number(second)).toInt();
}

// Fits the image to a radio with fewer channels or fewer squelch codes, or without the button
// layout of a display model. False when the user declines the loss.
bool ReduceToRadio(const SCheckInputs& inputs, const CStopper& stop, CVirtualCP& image) {
    const CRadioInfo& radio = inputs.radio;
    const quint32 capacity = radio.Number(vcp::RadioInfoField("code_capacity"));
    for (int n = 0; n < vcp::kChannelCount; ++n) {
        for (const vcp::SField& code :
             {vcp::ChannelField("rx_code"), vcp::ChannelField("tx_code")}) {
            if (image.ChannelNumber(n, code) > capacity) {
                image.SetChannelNumber(n, code, 1);
            }
        }
    }

    const int modelBase = kImageModel.offset;
    const int profileTier =
        Tier(image.Byte(modelBase + kTierDigits), image.Byte(modelBase + kTierDigits + 1));
    const int radioTier = Tier(radio.Byte(kRadioModel.offset + kTierDigits),
                               radio.Byte(kRadioModel.offset + kTierDigits + 1));
    bool asked = false;
    if (radioTier < profileTier) {
        asked = true;
        if (inputs.prompt.Show(kMsgTierReduction, PromptStyle::YesNo) != PromptAnswer::Yes) {
            return stop.Silently();
        }
        constexpr const vcp::SField& count = vcp::ImageField("numberChannels");
        image.SetNumber(count, std::min<quint32>(image.Number(count), quint32(radioTier)));
        // The image holds 19 records whatever a model's digits claim; a tier above that has
        // nothing more to clear.
        for (int n = radioTier; n < std::min(profileTier, vcp::kChannelCount); ++n) {
            const int offset = CVirtualCP::ChannelOffset(n);
            for (int i = 0; i < vcp::kChannelSize; ++i) {
                image.SetByte(offset + i, 0);
            }
        }
        constexpr const vcp::SField& first = vcp::ImageField("preset_1");
        constexpr const vcp::SField& second = vcp::ImageField("preset_2");
        if (image.Number(first) >= quint32(radioTier)) {
            image.SetNumber(first, 0);
        }
        if (image.Number(second) >= quint32(radioTier)) {
            image.SetNumber(second, 1);
        }
    }

    // A radio without display has no use for the buttons a display model assigns there.
    if (image.Byte(modelBase + kThirdLetter) != 'R' &&
        radio.Byte(kRadioModel.offset + kThirdLetter) == 'R') {
        if (!asked &&
            inputs.prompt.Show(kMsgTierReduction, PromptStyle::YesNo) != PromptAnswer::Yes) {
            return stop.Silently();
        }
        for (const int slot : {8, 5, 9}) {
            image.SetButtonSlot(slot, 0);
        }
    }
    return true;
}

// The radio's own identity wins over the profile's: the radio keeps its firmware and model, and
// never receives more codes than it can hold.
void CopyRadioIdentity(const CRadioInfo& radio, CVirtualCP& image) {
    for (const char* name : {"firmware_phase", "firmware_version", "firmware_revision"}) {
        const vcp::SField* from = vcp::FindIn(vcp::kRadioInfoFields, name);
        const vcp::SField* to = vcp::FindIn(vcp::kImageFields, name);
        image.SetByte(to->offset, radio.Byte(from->offset));
    }
    constexpr const vcp::SField& maxCodes = vcp::ImageField("maxCodes");
    image.SetNumber(maxCodes, std::min(radio.Number(vcp::RadioInfoField("code_capacity")),
                                       image.Number(maxCodes)));
    image.SetRaw(kImageModel, radio.Raw(kRadioModel));
}

bool CheckWrite(const SCheckInputs& inputs, const CStopper& stop, CProfileDocument& document,
                CVirtualCP& image) {
    const CRadioInfo& radio = inputs.radio;
    const CDataItem& profile = document.Model().RootItem();
    const QString model = ProfileText(profile, "factory_setting", "model");

    if (model.mid(kRegionDigits, 2) != RadioRegionCode(radio)) {
        return stop.With(kMsgModelMismatch);
    }
    if (!CodeplugAdmitted(radio, inputs.settings)) {
        return stop.With(kMsgCodeplugIncompatible);
    }
    if (ProfileNumber(profile, "factory_setting", "serial_clone_compatibility") !=
        radio.Number(vcp::RadioInfoField("serial_clone_compatibility"))) {
        return stop.With(kMsgNotCloneCompatible);
    }
    const char band = char(radio.Byte(kRadioModel.offset + 1));
    if (model.size() < 2 || model.at(1) != QLatin1Char(band)) {
        return stop.With(kMsgBandNotSupported);
    }
    const qint64 profileCodes = ProfileNumber(profile, "limit", "maxCodes");
    const quint32 radioCodes = radio.Number(vcp::RadioInfoField("code_capacity"));
    for (const quint32 capacity : kCodeCapacities) {
        if (profileCodes > qint64(capacity) && radioCodes == capacity &&
            !profile_checks::CheckChannelCodes(profile, capacity)) {
            return stop.With(kMsgCodesNotSupported);
        }
    }

    GetVirtualCPData(document, image, radio);

    if (!ReduceToRadio(inputs, stop, image) || !CheckPassword(inputs, stop)) {
        return false;
    }
    // The image holds the profile's version as the radio keeps its own (the profile's text read
    // in base 16); the profile's text read as a decimal number is another number from "10" on.
    if (radio.CodeplugVersion() < image.Number(vcp::ImageField("codeplug_version"))) {
        inputs.prompt.Show(kMsgLowerRadioCodeplug, PromptStyle::Warning);
    }
    CopyRadioIdentity(radio, image);
    return true;
}

}  // namespace

std::optional<QString> CFixedPasswordPrompt::AskPassword(const QString& /*text*/) {
    ++m_timesAsked;
    if (m_timesAsked > 1) {
        return std::nullopt;
    }
    return m_password;
}

QString RadioRegionCode(const CRadioInfo& radio) {
    return QString::number(radio.Byte(kRadioModel.offset + kRegionDigits)) +
           QString::number(radio.Byte(kRadioModel.offset + kRegionDigits + 1));
}

QString RadioPassword(const CRadioInfo& radio) {
    QByteArray bytes = radio.Raw(vcp::RadioInfoField("password"));
    const qsizetype end = bytes.indexOf('\0');
    if (end >= 0) {
        bytes.truncate(end);
    }
    return QString::fromLatin1(bytes);
}

bool CheckRadioForRead(const SCheckInputs& inputs) {
    const CStopper stop(inputs);
    try {
        return CheckRegionAndVersion(inputs, stop, false) && CheckPassword(inputs, stop);
    } catch (const CVeskCPSException& error) {
        return stop.WithException(error);
    }
}

bool CheckRadioForWrite(const SCheckInputs& inputs, CProfileDocument* profile, CVirtualCP& image) {
    const CStopper stop(inputs);
    try {
        if (!CheckRegionAndVersion(inputs, stop, true)) {
            return false;
        }
        image = CVirtualCP();
        if (profile == nullptr) {
            return stop.Silently();
        }
        return CheckWrite(inputs, stop, *profile, image);
    } catch (const CVeskCPSException& error) {
        // A profile that cannot be read or converted is refused like any other misfit, with the
        // model's own account of what was wrong.
        return stop.WithException(error);
    }
}

}  // namespace radio_checks
