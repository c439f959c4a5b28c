#include "platform/settings/config_hive.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStringList>

namespace {

QString ValuePath(const QString& key, const QString& name) {
    return key.isEmpty() ? name : key + u'/' + name;
}

}  // namespace

CConfigHive::CConfigHive(QString filePath, Access access)
    : m_filePath(std::move(filePath)), m_access(access) {}

bool CConfigHive::Exists() const {
    return QFileInfo(m_filePath).isFile();
}

bool CConfigHive::OpenOrCreate() const {
    const QFileInfo info(m_filePath);
    if (info.isFile()) {
        return info.isReadable();
    }
    if (m_access == Access::ReadOnly || info.exists()) {
        return false;
    }
    if (!QDir().mkpath(info.absolutePath())) {
        return false;
    }
    QFile file(m_filePath);
    return file.open(QIODevice::WriteOnly | QIODevice::NewOnly);
}

std::optional<QVariant> CConfigHive::Read(const QString& key, const QString& name) const {
    if (!QFileInfo(m_filePath).isReadable()) {
        return std::nullopt;
    }
    const QSettings settings(m_filePath, QSettings::IniFormat);
    const QVariant value = settings.value(ValuePath(key, name));
    if (!value.isValid()) {
        return std::nullopt;
    }
    return value;
}

std::optional<QString> CConfigHive::ReadText(const QString& key, const QString& name) const {
    const std::optional<QVariant> value = Read(key, name);
    if (!value) {
        return std::nullopt;
    }
    // An unquoted comma in a hand-written INI value makes QSettings split it into a list; the
    // store has no lists, so the text is put back together.
    if (value->metaType().id() == QMetaType::QStringList) {
        return value->toStringList().join(QStringLiteral(", "));
    }
    return value->toString();
}

std::optional<qint32> CConfigHive::ReadNumber(const QString& key, const QString& name) const {
    const std::optional<QString> text = ReadText(key, name);
    if (!text) {
        return std::nullopt;
    }
    bool ok = false;
    const QString trimmed = text->trimmed();
    const qint32 signedValue = trimmed.toInt(&ok);
    if (ok) {
        return signedValue;
    }
    // A 32-bit number is stored without a sign; values above 2^31 keep their bit pattern.
    const quint32 unsignedValue = trimmed.toUInt(&ok);
    if (ok) {
        return static_cast<qint32>(unsignedValue);
    }
    return std::nullopt;
}

std::optional<qint64> CConfigHive::StoredSize(const QString& key, const QString& name) const {
    const std::optional<QString> text = ReadText(key, name);
    if (!text) {
        return std::nullopt;
    }
    return qint64{2} * text->size();
}

bool CConfigHive::CanRead() const {
    return QFileInfo(m_filePath).isReadable();
}

bool CConfigHive::CanWrite() const {
    return m_access == Access::ReadWrite && OpenOrCreate() && QFileInfo(m_filePath).isWritable();
}

bool CConfigHive::Write(const QString& key,
                        const QList<std::pair<QString, QVariant>>& values) const {
    if (m_access == Access::ReadOnly) {
        return false;
    }
    QSettings settings(m_filePath, QSettings::IniFormat);
    if (!settings.isWritable()) {
        return false;
    }
    QList<std::pair<QString, QVariant>> previous;
    for (const auto& [name, value] : values) {
        const QString path = ValuePath(key, name);
        previous.append({path, settings.value(path)});
        settings.setValue(path, value);
    }
    settings.sync();
    if (settings.status() == QSettings::NoError) {
        return true;
    }
    // QSettings keeps unsaved changes in a cache shared by every QSettings on the same file;
    // put the old values back so that later reads do not see what never reached the disk.
    for (const auto& [path, old] : previous) {
        if (old.isValid()) {
            settings.setValue(path, old);
        } else {
            settings.remove(path);
        }
    }
    return false;
}

bool CConfigHive::WriteText(const QString& key, const QString& name, const QString& value) const {
    return Write(key, {{name, value}});
}

bool CConfigHive::WriteNumber(const QString& key, const QString& name, qint32 value) const {
    return Write(key, {{name, QString::number(value)}});
}

bool CConfigHive::WriteTexts(const QString& key,
                             const QList<std::pair<QString, QString>>& values) const {
    QList<std::pair<QString, QVariant>> variants;
    for (const auto& [name, value] : values) {
        variants.append({name, value});
    }
    return Write(key, variants);
}
