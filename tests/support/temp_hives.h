#pragma once

#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include "platform/settings/configuration.h"

// A machine hive and a user hive in a temporary folder. The machine hive is written as the
// install step or an administrator would write it by hand; the user hive starts out missing.
class CTempHives {
public:
    CTempHives()
        : m_machine(m_dir.filePath(QStringLiteral("etc/Corvane/Vesk Kel CPS.conf"))),
          m_user(m_dir.filePath(QStringLiteral("home/Corvane/Vesk Kel CPS.conf"))) {}

    const QString& MachineFile() const { return m_machine; }
    const QString& UserFile() const { return m_user; }
    QString Path(const QString& name) const { return m_dir.filePath(name); }

    void WriteMachine(const QByteArray& ini) const { Write(m_machine, ini); }
    void WriteUser(const QByteArray& ini) const { Write(m_user, ini); }
    QByteArray UserText() const {
        QFile file(m_user);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    CConfiguration Config() const { return CConfiguration(m_machine, m_user); }

    static void Write(const QString& path, const QByteArray& ini) {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(ini) != ini.size()) {
            qFatal("cannot write %s", qPrintable(path));
        }
    }

private:
    QTemporaryDir m_dir;
    QString m_machine;
    QString m_user;
};
