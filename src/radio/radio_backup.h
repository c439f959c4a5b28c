#pragma once

// What a write keeps of the radio before changing it: the radio's contents as a read gives them,
// saved as a profile file in the user's data folder, named by model, serial and time, so that a
// write that turns out wrong can be undone by writing the backup. The newest kKept files stay.

#include <mutex>

#include <QDateTime>
#include <QString>

#include "platform/settings/configuration.h"
#include "radio/radio_operations.h"

class CSettingsDocuments;
class CVirtualCP;

class CRadioBackup : public IWriteBackup {
public:
    static constexpr int kKept = 20;

    // `settings` must outlive the backup; the profile is made as a read's profile is.
    CRadioBackup(CConfiguration config, const CSettingsDocuments& settings,
                 QString folder = DefaultFolder());

    // <the user's data folder>/Corvane/Vesk Kel CPS/backups: $XDG_DATA_HOME, else
    // ~/.local/share. Empty when the user has no data folder.
    static QString DefaultFolder();
    // "<model>_<serial>_<yyyyMMdd-HHmmss>.vk4", with anything but letters and digits of model and
    // serial as "_".
    static QString FileName(const CVirtualCP& image, const QDateTime& when);

    // Called on the write worker's thread. The file appears whole or not at all.
    bool Save(const CVirtualCP& current, QString& error) override;

    const QString& Folder() const { return m_folder; }
    // The file the last successful Save wrote; empty before.
    QString LastSaved() const;

private:
    // Removes all but the newest kKept backups, never `keep`; other files are not touched.
    void Prune(const QString& keep) const;

    CConfiguration m_config;
    const CSettingsDocuments& m_settings;
    QString m_folder;
    mutable std::mutex m_mutex;
    QString m_lastSaved;
};
