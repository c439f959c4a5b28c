#pragma once

#include <optional>
#include <utility>

#include <QString>

#include "model/settings_documents.h"
#include "source_files.h"
#include "temp_hives.h"

// An installation below `hives` ("install/") with the rule script, the schema and the two
// settings documents that opening a profile consults, those two loaded into `settings`.
inline void InstallForProfiles(const CTempHives& hives, const CConfiguration& config,
                               IUserPrompt& prompt, CSettingsDocuments& settings) {
    const QString install = hives.Path(QStringLiteral("install/"));
    hives.WriteMachine("[General]\nInstallPath=" + install.toUtf8() + "\n");
    for (const char* name : {"profiletemplate/DataProfile.vbs", "profiletemplate/DataProfile.xsd",
                             "lib/Region.stv", "lib/UpDownGradeSetting.stv"}) {
        CTempHives::Write(install + QString::fromUtf8(name),
                          ReadSource(QStringLiteral("install/") + QString::fromUtf8(name)));
    }
    for (auto [doc, name] :
         {std::pair{CSettingsDocuments::Doc::Region, "Region.stv"},
          {CSettingsDocuments::Doc::UpDownGradeSetting, "UpDownGradeSetting.stv"}}) {
        if (std::optional<CXmlDocument> loaded =
                CSettingsDocuments::LoadSettingDoc(config, prompt, QString::fromUtf8(name))) {
            settings.Set(doc, std::move(*loaded));
        }
    }
}
