#include "platform/settings/hive_paths.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace hive_paths {

namespace {

QString EnvPath(const char* name) {
    return QString::fromLocal8Bit(qgetenv(name));
}

}  // namespace

QString HiveFileIn(const QString& configDir) {
    return QDir::cleanPath(configDir) + u'/' + QString::fromUtf16(kOrganisation) + u'/' +
           QString::fromUtf16(kApplication) + QStringLiteral(".conf");
}

QString MachineHiveFile() {
    QString dirs = EnvPath("XDG_CONFIG_DIRS");
    if (dirs.isEmpty()) {
        dirs = QStringLiteral("/etc/xdg");
    }
    QString first;
    const QStringList list = dirs.split(u':', Qt::SkipEmptyParts);
    for (const QString& dir : list) {
        // Relative entries are invalid under the base-directory rules and would make the
        // machine hive depend on the current folder.
        if (QDir::isRelativePath(dir)) {
            continue;
        }
        const QString file = HiveFileIn(dir);
        if (first.isEmpty()) {
            first = file;
        }
        if (QFileInfo::exists(file)) {
            return file;
        }
    }
    return first.isEmpty() ? HiveFileIn(QStringLiteral("/etc/xdg")) : first;
}

QString UserHiveFile() {
    QString dir = EnvPath("XDG_CONFIG_HOME");
    if (dir.isEmpty() || QDir::isRelativePath(dir)) {
        dir = QDir::homePath() + QStringLiteral("/.config");
    }
    return HiveFileIn(dir);
}

}  // namespace hive_paths
