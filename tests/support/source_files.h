#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

// A file the test needs, whole; a file that cannot be read fails the test where it is asked for.
inline QByteArray ReadAll(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "cannot read " << path.toStdString();
        return {};
    }
    return file.readAll();
}

// A file of the source tree (the installation's files, the test data), by its path there.
inline QByteArray ReadSource(const QString& relative) {
    return ReadAll(QStringLiteral(VESK_SOURCE_DIR "/") + relative);
}

// The model templates of the installation, by file name in name order: tests that run over
// "every template" pick up a new one without being told.
inline QStringList InstalledTemplateFiles() {
    return QDir(QStringLiteral(VESK_SOURCE_DIR "/install/profiletemplate"))
        .entryList({QStringLiteral("*.vk4")}, QDir::Files, QDir::Name);
}
