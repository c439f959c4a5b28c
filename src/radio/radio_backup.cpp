#include "radio/radio_backup.h"

#include <algorithm>
#include <tuple>
#include <utility>
#include <vector>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QStringList>

#include "model/profile_document.h"
#include "model/settings_documents.h"
#include "platform/files/atomic_file.h"
#include "platform/user_prompt.h"
#include "platform/vesk_cps_exception.h"
#include "radio/document_image.h"
#include "radio/virtual_cp.h"

namespace {

// The files this class writes, and no others: model, serial, time and a number for a second
// backup within the same second.
const QRegularExpression kBackupName(
    QStringLiteral("^[A-Za-z0-9_]+_[A-Za-z0-9_]+_(\\d{8}-\\d{6})(?:-(\\d+))?\\.vk4$"));

// What the conversion would have shown the user becomes the reason the backup failed.
class CCollectingPrompt : public IUserPrompt {
public:
    PromptAnswer Ask(int /*messageId*/, const QString& text, PromptStyle style) override {
        texts << text.trimmed();
        // A question during a conversion (there is none today) is declined: a backup decides
        // nothing.
        return style == PromptStyle::YesNo || style == PromptStyle::YesNoCancel ||
                       style == PromptStyle::OkCancel
                   ? PromptAnswer::No
                   : PromptAnswer::Ok;
    }
    QStringList texts;
};

QString FileSafe(const QByteArray& text) {
    QString safe;
    for (const char c : text) {
        const bool plain =
            (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
        safe += plain ? QChar(QLatin1Char(c)) : QChar(u'_');
    }
    return safe.isEmpty() ? QStringLiteral("_") : safe;
}

}  // namespace

CRadioBackup::CRadioBackup(CConfiguration config, const CSettingsDocuments& settings,
                           QString folder)
    : m_config(std::move(config)), m_settings(settings), m_folder(std::move(folder)) {}

QString CRadioBackup::DefaultFolder() {
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (data.isEmpty()) {
        return {};
    }
    return data + QStringLiteral("/Corvane/Vesk Kel CPS/backups");
}

QString CRadioBackup::FileName(const CVirtualCP& image, const QDateTime& when) {
    // Letters as they are, digits kept as their values, as the radio keeps its model.
    QByteArray model = image.Raw(vcp::ImageField("model"));
    for (char& c : model) {
        if (quint8(c) < 10) {
            c = char('0' + c);
        }
    }
    QByteArray serial = image.Raw(vcp::ImageField("serial"));
    const qsizetype end = serial.indexOf('\0');
    if (end >= 0) {
        serial.truncate(end);
    }
    return QStringLiteral("%1_%2_%3.vk4")
        .arg(FileSafe(model), FileSafe(serial), when.toString(QStringLiteral("yyyyMMdd-HHmmss")));
}

QString CRadioBackup::LastSaved() const {
    const std::lock_guard guard(m_mutex);
    return m_lastSaved;
}

bool CRadioBackup::Save(const CVirtualCP& current, QString& error) {
    if (m_folder.isEmpty()) {
        error = QStringLiteral("there is no user data folder to keep it in");
        return false;
    }
    if (!QDir().mkpath(m_folder)) {
        error = QStringLiteral("cannot make the folder %1").arg(m_folder);
        return false;
    }
    // The same profile a read of the radio would give, saved as a profile is saved.
    QByteArray bytes;
    CCollectingPrompt prompt;
    try {
        CProfileDocument document(m_config, prompt, &m_settings);
        CVirtualCP image = current;
        if (!NewFromImage(document, image)) {
            error = QStringLiteral("the radio's contents do not convert to a profile: %1")
                        .arg(prompt.texts.join(QStringLiteral("; ")));
            return false;
        }
        bytes = document.Serialize();
    } catch (const CVeskCPSException& failure) {
        error = QStringLiteral("the radio's contents do not convert to a profile: %1")
                    .arg(failure.Summary().trimmed());
        return false;
    }

    const QString name = FileName(current, QDateTime::currentDateTime());
    QString path = QDir(m_folder).filePath(name);
    for (int n = 2; QFileInfo::exists(path); ++n) {
        path = QDir(m_folder).filePath(name.chopped(4) + QStringLiteral("-%1.vk4").arg(n));
    }
    QString reason;
    if (!WriteFileAtomically(path, bytes, &reason)) {
        error = QStringLiteral("cannot write %1: %2").arg(path, reason);
        return false;
    }
    Prune(path);
    const std::lock_guard guard(m_mutex);
    m_lastSaved = path;
    return true;
}

void CRadioBackup::Prune(const QString& keep) const {
    struct SEntry {
        QString time;
        int number;
        QString path;
    };
    std::vector<SEntry> entries;
    const QDir folder(m_folder);
    for (const QString& name : folder.entryList({QStringLiteral("*.vk4")}, QDir::Files)) {
        const QRegularExpressionMatch match = kBackupName.match(name);
        if (match.hasMatch()) {
            entries.push_back({match.captured(1),
                               match.captured(2).isEmpty() ? 1 : match.captured(2).toInt(),
                               folder.filePath(name)});
        }
    }
    // Newest first, by the time in the name: copying a folder keeps names, not file times.
    std::sort(entries.begin(), entries.end(), [](const SEntry& a, const SEntry& b) {
        return std::tie(a.time, a.number, a.path) > std::tie(b.time, b.number, b.path);
    });
    int kept = 0;
    for (const SEntry& entry : entries) {
        if (entry.path == keep || kept < kKept - 1) {
            if (entry.path != keep) {
                ++kept;
            }
            continue;
        }
        // Another copy pruning at the same time may have taken it already.
        QFile::remove(entry.path);
    }
}
