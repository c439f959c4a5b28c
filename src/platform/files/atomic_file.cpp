#include "platform/files/atomic_file.h"

#include <QSaveFile>

bool WriteFileAtomically(const QString& path, const QByteArray& bytes, QString* error) {
    QSaveFile file(path);
    // QSaveFile buffers, and commit() renames even a file whose buffered write failed (a full
    // disk, the size limit); flush() is where such a failure shows.
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush() &&
        file.commit()) {
        return true;
    }
    if (error) {
        *error = file.errorString();
    }
    return false;
}
