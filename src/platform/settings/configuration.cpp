#include "platform/settings/configuration.h"

#include "platform/settings/hive_paths.h"
#include "platform/user_prompt.h"

namespace {

const QString kBase;  // values of the base key itself
const QString kLanguageKey = QStringLiteral("Language");
const QString kCurrentLanguage = QStringLiteral("CurrentLanguage");
const QString kDefaultLanguage = QStringLiteral("DefaultLanguage");
const QString kShowContextHelp = QStringLiteral("ShowContextHelp");
const QString kInstallPath = QStringLiteral("InstallPath");
const QString kHelpFileName = QStringLiteral("HelpFileName");
const QString kGuiResource = QStringLiteral("GUIResource");

}  // namespace

const QStringList& CConfiguration::LanguageNames() {
    static const QStringList names = {
        QStringLiteral("English"),  QStringLiteral("German"),       QStringLiteral("French"),
        QStringLiteral("CaFrench"), QStringLiteral("Chinese"),      QStringLiteral("Dutch"),
        QStringLiteral("Italian"),  QStringLiteral("LaPortuguese"), QStringLiteral("LaSpanish"),
        QStringLiteral("Polish"),   QStringLiteral("Portuguese"),   QStringLiteral("Russian"),
        QStringLiteral("Spanish")};
    return names;
}

CConfiguration::CConfiguration(QString machineHiveFile, QString userHiveFile)
    : m_machine(std::move(machineHiveFile), CConfigHive::Access::ReadOnly),
      m_user(std::move(userHiveFile), CConfigHive::Access::ReadWrite) {}

CConfiguration CConfiguration::FromEnvironment() {
    return CConfiguration(hive_paths::MachineHiveFile(), hive_paths::UserHiveFile());
}

QString CConfiguration::LanguageKey(const QString& language) {
    return kLanguageKey + u'/' + language;
}

bool CConfiguration::PrepareConfiguration(IUserPrompt& prompt) const {
    // The user's keys ("Corvane", the base key and its "Language" key) all live in the one user
    // hive file, so they exist together once that file can be read.
    if (!m_user.OpenOrCreate()) {
        prompt.Show(kMsgFatalRegistryError);
        return false;
    }

    if (GetCurrentLanguage().isEmpty()) {
        const QString fallback = GetDefaultLanguage();
        if (fallback.isEmpty()) {
            prompt.Show(kMsgFatalRegistryError);
            return false;
        }
        if (!SetCurrentLanguage(fallback)) {
            return false;
        }
    }

    if (GetShowContextHelp() == -1) {
        const std::optional<qint32> machine = m_machine.ReadNumber(kBase, kShowContextHelp);
        if (!machine) {
            prompt.Show(kMsgFatalRegistryError);
            return false;
        }
        if (!SetShowContextHelp(*machine == 1)) {
            return false;
        }
    }

    SeedDealerInfo(GetCurrentLanguage());
    return true;
}

void CConfiguration::SeedDealerInfo(const QString& language) const {
    const QString key = LanguageKey(language);
    for (const QString& name : {kDealerInfoLeft, kDealerInfoMiddle, kDealerInfoRight}) {
        if (m_user.ReadText(key, name)) {
            continue;  // the user's own text is kept
        }
        // Without a machine value there is nothing to seed; a write that fails only leaves the
        // value missing, which the dealer dialog reports when it is opened.
        if (const std::optional<QString> initial = m_machine.ReadText(key, name)) {
            m_user.WriteText(key, name, *initial);
        }
    }
}

QString CConfiguration::GetCurrentLanguage() const {
    return m_user.ReadText(kBase, kCurrentLanguage).value_or(QString());
}

bool CConfiguration::SetCurrentLanguage(const QString& name) const {
    return m_user.WriteText(kBase, kCurrentLanguage, name);
}

QString CConfiguration::GetDefaultLanguage() const {
    return m_machine.ReadText(kBase, kDefaultLanguage).value_or(QString());
}

QString CConfiguration::GetInstallPath() const {
    return m_machine.ReadText(kBase, kInstallPath).value_or(QString());
}

int CConfiguration::GetShowContextHelp() const {
    return m_user.ReadNumber(kBase, kShowContextHelp).value_or(-1);
}

bool CConfiguration::SetShowContextHelp(bool show) const {
    return m_user.WriteNumber(kBase, kShowContextHelp, show ? 1 : 0);
}

QString CConfiguration::InstallFilePath(const QString& language, const QString& valueName) const {
    if (language.isEmpty()) {
        return {};
    }
    const QString file = m_machine.ReadText(LanguageKey(language), valueName).value_or(QString());
    if (file.isEmpty()) {
        return {};
    }
    return GetInstallPath() + u'/' + file;
}

QString CConfiguration::GetHelpFilePath(const QString& language) const {
    return InstallFilePath(language, kHelpFileName);
}

QString CConfiguration::GetResourceModulePath(const QString& language) const {
    return InstallFilePath(language, kGuiResource);
}

std::optional<qint64> CConfiguration::DealerInfoSize(const QString& language,
                                                     const QString& value) const {
    return m_user.StoredSize(LanguageKey(language), value);
}

std::optional<QString> CConfiguration::ReadDealerInfo(const QString& language,
                                                      const QString& value) const {
    return m_user.ReadText(LanguageKey(language), value);
}

bool CConfiguration::WriteDealerInfo(const QString& language, const QString& value,
                                     const QString& text) const {
    return m_user.WriteText(LanguageKey(language), value, text);
}

bool CConfiguration::WriteDealerInfo(const QString& language, const QString& left,
                                     const QString& middle, const QString& right) const {
    return m_user.WriteTexts(
        LanguageKey(language),
        {{kDealerInfoLeft, left}, {kDealerInfoRight, right}, {kDealerInfoMiddle, middle}});
}

// The language subkey lives in the user hive file: it can be opened when the file can.
bool CConfiguration::CanReadDealerInfo(const QString& language) const {
    return !language.isEmpty() && m_user.CanRead();
}

bool CConfiguration::CanWriteDealerInfo(const QString& language) const {
    return !language.isEmpty() && m_user.CanWrite();
}
