#pragma once

// The simulated radio's memory: the 0x20000 bytes at addresses 0x10000..0x2FFFF, built from a
// codeplug image the way a programmed radio would hold it, and optionally kept in a file that
// every accepted write updates in place.

#include <optional>

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QtGlobal>

#include "radio/virtual_cp.h"

class CConfiguration;

namespace sim {

inline constexpr quint32 kMemoryBase = 0x10000;
inline constexpr int kMemorySize = 0x20000;
// The installation's template a memory starts from when nothing else is named.
inline constexpr char kDefaultTemplate[] = "CUD41604";

// What bytes no block gives hold: a pattern that differs from byte to byte, so that a host that
// overwrites radio-owned bytes shows up byte for byte.
constexpr quint8 FillPattern(quint32 address) {
    return static_cast<quint8>((address * 37u + 11u) & 0xFFu);
}

// The memory a radio programmed with `image` holds: every block packed at its address, the
// radio-owned bits and the bytes of no block carrying FillPattern.
QByteArray MemoryFromImage(const CVirtualCP& image);

// The image a profile (or template) file gives when it is sent to a radio of the profile's own
// codeplug version, opened with the installation's settings documents. Nullopt with `error` set
// when the file cannot be read or does not load.
std::optional<CVirtualCP> ImageFromProfile(const CConfiguration& config, const QString& path,
                                           QString& error);

// The radio's memory, with its file when it has one.
class CSimMemory {
public:
    CSimMemory();
    ~CSimMemory();
    CSimMemory(const CSimMemory&) = delete;
    CSimMemory& operator=(const CSimMemory&) = delete;

    // Reads an existing memory file of exactly kMemorySize bytes and keeps it open for writes.
    bool Open(const QString& path, QString& error);
    // Replaces the file's content atomically (written beside it, then renamed) and keeps it open.
    bool Create(const QString& path, const QByteArray& bytes, QString& error);
    // Without a file: the memory lives only in the process.
    void Assign(const QByteArray& bytes);

    // Addresses outside the memory read as 0xFF.
    QByteArray Read(quint32 address, int n) const;
    quint8 At(quint32 address) const;
    // Stores and, with a file, writes the changed bytes through at once, so that a simulator that
    // is killed leaves a consistent file. The range must lie inside the memory.
    bool Write(quint32 address, QByteArrayView data);
    // The whole content to the file (after options changed several places).
    bool Flush(QString& error);

    const QByteArray& Bytes() const { return m_bytes; }
    static bool Contains(quint32 address, qsizetype n);

private:
    QByteArray m_bytes;
    QString m_path;
    int m_fd = -1;
};

}  // namespace sim

namespace sim {

// What the command line says the radio is, laid over the memory's own bytes.
struct SRadioOverrides {
    std::optional<QByteArray> model;  // three letters and five digits, as text
    std::optional<quint8> codeplugVersion;
    std::optional<quint8> codeplugPhase;
    std::optional<QByteArray> password;  // 0..4 digits
    std::optional<quint8> codeCapacity;
    std::optional<quint8> serialClone;
};

void ApplyOverrides(QByteArray& memory, const SRadioOverrides& overrides);

}  // namespace sim
