#pragma once

#include <optional>
#include <utility>

#include <QList>
#include <QString>
#include <QVariant>

// One hive of the configuration store: an INI file whose keys are paths below the product's base
// key ("" is the base key itself, "Language/German" a language subkey) and whose values are
// named inside a key. Every call opens the file afresh, so that two running copies of the
// program and a hand edit between two calls are all seen.
class CConfigHive {
public:
    enum class Access { ReadOnly, ReadWrite };

    CConfigHive(QString filePath, Access access);

    const QString& FilePath() const { return m_filePath; }
    bool Exists() const;

    // Makes sure that the hive file can be read, creating it (and its folder) when it is
    // missing. False when it neither exists readable nor can be created.
    bool OpenOrCreate() const;
    // Whether values can be read at all, and whether a write can be tried (the file is created
    // when missing). Neither says that a particular value exists or that the write will succeed.
    bool CanRead() const;
    bool CanWrite() const;

    // Values that are missing, or present but not of the asked type, read as nullopt.
    std::optional<QString> ReadText(const QString& key, const QString& name) const;
    std::optional<qint32> ReadNumber(const QString& key, const QString& name) const;
    // The size a text occupies in the store: two bytes per UTF-16 unit, no terminator. This is
    // the byte count that multi-line values such as the dealer texts are limited by.
    std::optional<qint64> StoredSize(const QString& key, const QString& name) const;

    // A write succeeds only when it reached the file; a failed write leaves what was stored.
    bool WriteText(const QString& key, const QString& name, const QString& value) const;
    bool WriteNumber(const QString& key, const QString& name, qint32 value) const;
    // Several texts of one key in one write: either all reach the file or none does.
    bool WriteTexts(const QString& key, const QList<std::pair<QString, QString>>& values) const;

private:
    std::optional<QVariant> Read(const QString& key, const QString& name) const;
    bool Write(const QString& key, const QList<std::pair<QString, QVariant>>& values) const;

    QString m_filePath;
    Access m_access;
};
