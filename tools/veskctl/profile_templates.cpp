// The model templates of the installation, shared by 'new' and 'templates' so that both agree on
// which names exist.

#include <QDir>

#include "platform/settings/configuration.h"
#include "verbs.h"

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
