#include "platform/settings/hive_paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace hive_paths {

namespace {

QString EnvPath(const char* name) {
    return QString::fromLocal8Bit(qgetenv(name));
}

// The folder of the running program, its links resolved.
QString ProgramFolder() {
    if (QCoreApplication::instance() != nullptr) {
        return QCoreApplication::applicationDirPath();
    }
    const QString program = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
    return program.isEmpty() ? QString() : QFileInfo(program).absolutePath();
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
    // An installation under any prefix but /usr keeps its hive below that prefix, beside the
    // folder of its programs, where no base-directory variable points by default.
    const QString folder = ProgramFolder();
    if (!folder.isEmpty()) {
        const QString installed = HiveFileIn(folder + QStringLiteral("/../etc/xdg"));
        if (QFileInfo::exists(installed)) {
            return installed;
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
