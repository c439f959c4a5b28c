#pragma once

#include <QByteArray>
#include <QString>

// Writes `bytes` as the whole new content of `path`: into a file beside it, flushed and synced,
// then renamed over it. Until the rename, `path` holds what it held; a failure at any point leaves
// it so and sets `error` to the system's reason.
bool WriteFileAtomically(const QString& path, const QByteArray& bytes, QString* error);
