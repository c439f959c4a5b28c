#pragma once

#include <optional>

#include <QString>
#include <QStringList>

#include "platform/settings/config_hive.h"

class IUserPrompt;

// The configuration store: installation facts in the machine hive (written by the install step,
// only read here) and the user's preferences in the user hive. Value and key names below the
// product's base key are fixed; other programs and older copies read the same files.
class CConfiguration {
public:
    static constexpr int kMsgFatalRegistryError = 130;

    // The thirteen language names, as stored in CurrentLanguage and used as language subkeys.
    static const QStringList& LanguageNames();

    // Dealer information values below a language subkey.
    static inline const QString kDealerInfoLeft = QStringLiteral("DealerInfoLeft");
    static inline const QString kDealerInfoMiddle = QStringLiteral("DealerInfoMiddle");
    static inline const QString kDealerInfoRight = QStringLiteral("DealerInfoRight");

    CConfiguration(QString machineHiveFile, QString userHiveFile);
    // The hives that XDG_CONFIG_DIRS and XDG_CONFIG_HOME name.
    static CConfiguration FromEnvironment();

    const CConfigHive& MachineHive() const { return m_machine; }
    const CConfigHive& UserHive() const { return m_user; }

    // Makes the user hive ready for the program: its keys exist, and the language, the context
    // help setting and the dealer texts are filled from the machine hive where the user has none.
    // Shows message 130 and fails when that cannot be done; a failed write fails silently.
    bool PrepareConfiguration(IUserPrompt& prompt) const;

    QString GetCurrentLanguage() const;
    bool SetCurrentLanguage(const QString& name) const;
    QString GetDefaultLanguage() const;
    QString GetInstallPath() const;
    // 1 shows the context help pane, 0 hides it, -1 when the user has no setting.
    int GetShowContextHelp() const;
    bool SetShowContextHelp(bool show) const;

    // InstallPath, "/" and the file named for `language`; empty when the language is empty or
    // names no file. No separator is added or removed: what the installer wrote is used.
    QString GetHelpFilePath(const QString& language) const;
    QString GetResourceModulePath(const QString& language) const;

    // The language subkey path below the base key ("Language/German").
    static QString LanguageKey(const QString& language);

    // Dealer texts of the user's language subkey. The size is the store's byte count.
    std::optional<qint64> DealerInfoSize(const QString& language, const QString& value) const;
    std::optional<QString> ReadDealerInfo(const QString& language, const QString& value) const;
    bool WriteDealerInfo(const QString& language, const QString& value, const QString& text) const;
    // The three texts in one write, so that a failure leaves all three as they were.
    bool WriteDealerInfo(const QString& language, const QString& left, const QString& middle,
                         const QString& right) const;
    // Whether the user's language subkey can be opened to read or to write the dealer texts.
    bool CanReadDealerInfo(const QString& language) const;
    bool CanWriteDealerInfo(const QString& language) const;

private:
    QString InstallFilePath(const QString& language, const QString& valueName) const;
    void SeedDealerInfo(const QString& language) const;

    CConfigHive m_machine;
    CConfigHive m_user;
};
