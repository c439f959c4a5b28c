#pragma once

// The cable and the wire: a pseudo-terminal registered as a virtual cable, the echo of every
// byte the host sends, and the pacing of echo and replies at the radio's baud rate.

#include <chrono>
#include <cstdint>
#include <deque>

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include "sim_radio.h"

namespace sim {

// 16406 baud, 8N1: ten bit times a byte.
inline constexpr std::int64_t kByteNanoseconds = 10'000'000'000LL / 16406;
// A host that stops in the middle of a frame has given up on it.
inline constexpr std::int64_t kPartialFrameNanoseconds = 500'000'000LL;

struct SLineSetup {
    QString cableName = QStringLiteral("vesksim");
    QString description = QStringLiteral("ZT CPS Cable");
    bool fast = false;
    int turnaroundMs = 0;
    qint64 pullAfter = -1;  // bytes to the host before the cable vanishes; -1: never
    bool log = false;
};

class CSimLine {
public:
    static constexpr int kExitStopped = 0;
    static constexpr int kExitFailed = 1;
    static constexpr int kExitPulled = 3;

    CSimLine(CSimRadio& radio, SLineSetup setup);
    // Removes the registration and closes the terminal.
    ~CSimLine();
    CSimLine(const CSimLine&) = delete;
    CSimLine& operator=(const CSimLine&) = delete;

    // Opens the pseudo-terminal and registers it. False with `error` set, leaving nothing behind.
    bool Open(QString& error);
    const QString& Device() const { return m_device; }
    const QString& RegistrationPath() const { return m_registration; }

    // Serves the host until `stopFd` becomes readable (kExitStopped), the cable is pulled
    // (kExitPulled) or the terminal fails (kExitFailed).
    int Run(int stopFd);
    void Close();

private:
    struct SOut {
        std::int64_t due;
        char byte;
    };

    void Receive(const char* bytes, qsizetype n, std::int64_t arrival);
    void Schedule(QByteArrayView bytes, std::int64_t first);
    // A babbling line: the next stray byte, one byte time after the last one.
    void ScheduleBabble(std::int64_t now);
    // Writes every byte that is due; false once the pull-after budget is spent.
    bool WriteDue(std::int64_t now);

    CSimRadio& m_radio;
    SLineSetup m_setup;
    CFrameAssembler m_assembler;
    int m_master = -1;
    int m_slave = -1;  // kept open so that the master never sees the host's close as a hang-up
    QString m_device;
    QString m_registration;
    std::deque<SOut> m_out;
    std::int64_t m_lastDue = 0;
    std::int64_t m_lastInput = 0;
    qint64 m_sent = 0;
    bool m_babble = false;
    int m_babbled = 0;
};

}  // namespace sim
