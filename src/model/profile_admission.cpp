#include "model/profile_admission.h"

#include "model/profile_document.h"
#include "model/profile_file.h"
#include "model/radio_data_model.h"
#include "model/settings_documents.h"
#include "platform/string_table.h"
#include "platform/user_prompt.h"
#include "platform/vesk_cps_exception.h"
#include "platform/xml/xml_document.h"
#include "platform/xml/xml_node.h"
#include "platform/xml/xpath.h"

namespace {

// The admission's own reading of the version, as the profile states it: a missing or unreadable
// number counts as 0, which any installation programs.
qint32 VersionOf(const QString& text) {
    bool ok = false;
    const qint32 version = text.trimmed().toInt(&ok);
    return ok ? version : 0;
}

bool IsXml(const QString& text) {
    try {
        CXmlDocument::ParseText(text, QStringLiteral("profile"));
        return true;
    } catch (const CVeskCPSException&) {
        return false;
    }
}

}  // namespace

bool IsCodeplugVersionAdmitted(QChar phase, qint32 version, const CSettingsDocuments& settings) {
    return phase == QLatin1Char('D') || settings.CpsCodeplugVersion() >= version;
}

bool CheckProfileAdmission(const QString& path, const CConfiguration& config, IUserPrompt& prompt,
                           const CSettingsDocuments& settings) {
    const std::optional<QString> text = profile_file::Read(path);
    if (!text) {
        return false;
    }
    // A text that does not parse holds no frequency at all: loading it below says what is wrong
    // with it, where the MURS check could only call it an invalid frequency.
    if (IsXml(*text) && !CheckMURFreq(*text)) {
        prompt.Show(kMsgInvalidFrequency);
        return false;
    }
    try {
        CRadioDataModel model(config, prompt, &settings);
        if (!model.LoadProfileText(*text, path)) {
            return false;
        }
        CXPathContext xpath(model.OperationDocument(), model_msg::kFailedToLoadProfile);
        const xmlNodePtr factory = xpath.SelectSingle(QStringLiteral("//dfns:factory_setting"));
        const QString modelCode = xml::Attribute(factory, "model").value_or(QString());
        const QString phase = xml::Attribute(factory, "codeplug_phase").value_or(QString());
        const QString version = xml::Attribute(factory, "codeplug_version").value_or(QString());

        const QString region = modelCode.right(2);
        if (!settings.IsSupported(region)) {
            QString message = CStringTable::Instance().Text(kMsgRegionNotSupported);
            bool isNumber = false;
            const int code = region.toInt(&isNumber);
            if (const std::optional<QMap<int, QString>> names = settings.ModelRegions();
                isNumber && names && names->contains(code)) {
                message += QLatin1Char(' ') + CStringTable::Instance().Format(kMsgUseOtherEdition,
                                                                              {names->value(code)});
            }
            prompt.Ask(kMsgRegionNotSupported, message, PromptStyle::Error);
            return false;
        }
        if (!IsCodeplugVersionAdmitted(phase.isEmpty() ? QChar() : phase.front(),
                                       VersionOf(version), settings)) {
            prompt.Show(kMsgCodeplugIncompatible);
            return false;
        }
    } catch (const CVeskCPSException& error) {
        ShowModelException(prompt, error);
        return false;
    }
    return true;
}
