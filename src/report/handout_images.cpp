#include <QDir>
#include <QFile>

#include "report/report_generator.h"

namespace report {

QStringList HandoutImageSet(bool display) {
    QStringList names{QStringLiteral("HandoutHeader.jpg"), QStringLiteral("HandoutFooter.jpg"),
                      display ? QStringLiteral("Display.jpg") : QStringLiteral("Rotary.jpg")};
    // Numbered callouts: ten around the display, eleven around the rotary radio.
    const int callouts = display ? 10 : 11;
    for (int i = 1; i <= callouts; ++i) {
        names.append(QString::number(i) + QStringLiteral(".jpg"));
    }
    return names;
}

QStringList FoundHandoutImages(const QString& folder, bool display) {
    const QDir dir(folder);
    QStringList found;
    for (const QString& name : HandoutImageSet(display)) {
        QFile file(dir.filePath(name));
        if (file.open(QIODevice::ReadOnly)) {
            found.append(name);
        }
    }
    return found;
}

}  // namespace report
