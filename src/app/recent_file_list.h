#pragma once

#include <QString>
#include <QStringList>

class CConfiguration;

// The most recently opened and saved profiles, newest first, kept in the user hive below the
// program's own key as "Recent File List"/File1..File4, where earlier versions kept them.
class CRecentFileList {
public:
    static constexpr int kSize = 4;

    explicit CRecentFileList(const CConfiguration& config);

    void Load();
    // Moves `path` to the front (an entry naming the same file is dropped) and stores the list.
    void Add(const QString& path);
    void Remove(int index);
    const QStringList& Entries() const { return m_entries; }
    // The menu text of entry `index`: "&1 name", with the path shortened from the left so that a
    // deep folder never makes the menu as wide as the screen.
    QString MenuText(int index) const;

private:
    void Store() const;

    const CConfiguration& m_config;
    QStringList m_entries;
};
