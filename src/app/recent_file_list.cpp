#include "app/recent_file_list.h"

#include <QDir>
#include <QFileInfo>

#include "platform/settings/configuration.h"
#include "platform/string_table.h"

namespace {

QString Key() {
    return kApplicationName + QStringLiteral("/Recent File List");
}

QString ValueName(int index) {
    return QStringLiteral("File%1").arg(index + 1);
}

bool SameFile(const QString& a, const QString& b) {
    return QFileInfo(a).absoluteFilePath() == QFileInfo(b).absoluteFilePath();
}

}  // namespace

CRecentFileList::CRecentFileList(const CConfiguration& config) : m_config(config) {}

void CRecentFileList::Load() {
    m_entries.clear();
    for (int i = 0; i < kSize; ++i) {
        const QString path = m_config.UserHive().ReadText(Key(), ValueName(i)).value_or(QString());
        if (!path.isEmpty()) {
            m_entries.append(path);
        }
    }
}

void CRecentFileList::Add(const QString& path) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    m_entries.removeIf([&](const QString& entry) { return SameFile(entry, absolute); });
    m_entries.prepend(absolute);
    while (m_entries.size() > kSize) {
        m_entries.removeLast();
    }
    Store();
}

void CRecentFileList::Remove(int index) {
    if (index >= 0 && index < m_entries.size()) {
        m_entries.removeAt(index);
        Store();
    }
}

QString CRecentFileList::MenuText(int index) const {
    constexpr int kLongest = 60;
    QString shown = QDir::toNativeSeparators(m_entries.value(index));
    if (shown.size() > kLongest) {
        shown = QStringLiteral("...") + shown.right(kLongest - 3);
    }
    // A "&" in a folder name would otherwise become a mnemonic.
    shown.replace(u'&', QStringLiteral("&&"));
    return QStringLiteral("&%1 %2").arg(index + 1).arg(shown);
}

void CRecentFileList::Store() const {
    for (int i = 0; i < kSize; ++i) {
        m_config.UserHive().WriteText(Key(), ValueName(i), m_entries.value(i));
    }
}
