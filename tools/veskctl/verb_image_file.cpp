// What the image verbs share: codeplug image files of exactly the image's size.

#include <optional>
#include <utility>

#include <QFile>

#include "platform/files/atomic_file.h"
#include "radio/virtual_cp.h"
#include "verbs.h"

bool ReadImageFile(const QString& path, CVirtualCP& image) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        TellError(QStringLiteral("cannot read %1: %2").arg(path, file.errorString()));
        return false;
    }
    // One byte past the image's size is enough to tell a longer file, whatever its length.
    const QByteArray bytes = file.read(vcp::kImageSize + 1);
    if (file.error() != QFileDevice::NoError) {
        TellError(QStringLiteral("cannot read %1: %2").arg(path, file.errorString()));
        return false;
    }
    if (bytes.size() != vcp::kImageSize || !file.atEnd()) {
        const qint64 size = file.size();
        TellError(QStringLiteral("%1 is %2 bytes long; a codeplug image has exactly %3 bytes")
                      .arg(path)
                      .arg(size)
                      .arg(vcp::kImageSize));
        return false;
    }
    return image.Assign(bytes);
}

bool WriteImageFile(const QString& path, const CVirtualCP& image) {
    QString error;
    if (!WriteFileAtomically(path, image.ToByteArray(), &error)) {
        TellError(QStringLiteral("cannot write %1: %2").arg(path, error));
        return false;
    }
    return true;
}
