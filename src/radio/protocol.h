#pragma once

// The programming protocol: the frames the host and the radio exchange over the cable's byte
// stream, the reply parser with its attempt budgets, and the link that retries requests and moves
// memory in chunks.
//
// The link speaks to a byte transport rather than to the cable itself, so that the whole protocol
// is exercised without hardware; the cable and the simulator's pseudo-terminal are transports.

#include <chrono>
#include <cstdint>
#include <optional>

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QtGlobal>

// What the cable did with one call. A status other than 0 is the cable's own failure code; after
// one of those the link refuses every further request, because the line is in an unknown state.
struct TransportWrite {
    int status = 0;
    qsizetype written = 0;
};

struct TransportRead {
    int status = 0;
    QByteArray bytes;
};

class IByteTransport {
public:
    using Clock = std::chrono::steady_clock;

    virtual ~IByteTransport() = default;

    virtual bool IsOpen() const = 0;
    // The whole frame goes in one call: the radio expects it without gaps.
    virtual TransportWrite Write(QByteArrayView bytes) = 0;
    // At most max bytes. Returns as soon as some bytes are there, or with none once the deadline
    // has passed; the link counts every empty return as one spent attempt.
    virtual TransportRead Read(qsizetype max, Clock::time_point deadline) = 0;
    // Empties both directions; returns the status.
    virtual int Purge() = 0;
};

namespace frame {

inline constexpr quint8 kAck = 0x50;
inline constexpr quint8 kLongHeader = 0xFF;
inline constexpr quint8 kShortHeaderBase = 0xF0;
inline constexpr int kMaxChunk = 32;
inline constexpr quint32 kAddressLimit = 0x1000000;

inline constexpr quint8 kCmdReadMemory = 0x11;
inline constexpr quint8 kCmdWriteMemory = 0x17;
inline constexpr quint8 kCmdReset = 0x10;
inline constexpr quint8 kCmdStart = 0x22;
inline constexpr quint8 kCmdQuery = 0x23;
inline constexpr quint8 kCmdMemoryControl = 0x38;
inline constexpr quint8 kCmdFrequency = 0x9A;
inline constexpr quint8 kReplyWriteRefused = 0x85;

quint8 Checksum(QByteArrayView bytes);

// Both return an empty array when the payload does not fit the frame kind, so a caller cannot
// put a frame with a wrong length field on the line.
QByteArray Short(quint8 command, QByteArrayView data);  // data: 1 to 13 bytes
QByteArray Long(quint8 command, QByteArrayView body);   // body: up to 65534 bytes

// Empty when n is outside 1..32 or the bytes would run past the 24-bit address space.
QByteArray ReadMemoryRequest(quint32 address, int n);
QByteArray WriteMemoryRequest(quint32 address, QByteArrayView data);
QByteArray ResetRequest();
QByteArray StartRequest();
QByteArray FirmwareQuery();
QByteArray StatusQuery();
QByteArray MemoryControlRequest(quint8 a, quint8 b);
// Empty unless the record is the six packed bytes.
QByteArray FrequencyRecordRequest(quint8 index, QByteArrayView record);
QByteArray FrequencyTableEndRequest(quint8 count, quint8 programmingModeEnabled);

// Names the request a frame carries, with its address and size where it has them, for the
// diagnosis of a failed exchange: "read memory 0x010009 (4 bytes)".
QString Describe(QByteArrayView frame);

}  // namespace frame

struct ProtocolReply {
    quint8 command = 0;
    quint32 address = 0;
    QByteArray data;
};

struct FirmwareInfo {
    char phase = 0;
    char version = 0;
    char revision = 0;
};

// One radio operation's conversation. Results follow the radio link's convention: −1 for a
// communication failure, otherwise the number of data bytes the reply carried (0 when it carried
// none), and for the reset 1.
class ProgrammingLink {
public:
    static constexpr int kNoAcknowledgement = -10;
    static constexpr int kChecksumError = -11;
    static constexpr int kWriteRefused = -12;

    static constexpr int kDefaultRetries = 2;
    static constexpr int kDefaultStartAttempts = 20;
    static constexpr int kReceiveBufferSize = 64;
    // The cable's read time-out; one attempt is one such window.
    static constexpr std::chrono::milliseconds kAttemptWindow{120};
    // The longest one attempt of a request waits for its reply once the frame is out: the start
    // budget for the reply to begin and a few windows for the frame itself. The attempt budgets
    // alone do not bound it, since every byte skipped before the header renews them; a line that
    // keeps sending would otherwise hold the request for ever.
    static constexpr std::chrono::milliseconds kReplyDeadline =
        (kDefaultStartAttempts + 2 * kDefaultRetries) * kAttemptWindow;

    // What crossed the line since the link was made: the wire-time bound of an operation follows
    // from it.
    struct STraffic {
        qint64 bytesWritten = 0;
        qint64 bytesRead = 0;  // echo included
        qint64 requests = 0;   // attempts, retries included
    };

    explicit ProgrammingLink(IByteTransport& transport);

    int SendFrame(QByteArrayView frame);
    int ReceiveAck();
    // capacity: how many data bytes the caller can take; a longer reply fails like a bad checksum.
    int ReceiveReply(ProtocolReply& reply, qsizetype capacity = kReceiveBufferSize);
    int Exchange(QByteArrayView frame, ProtocolReply& reply,
                 qsizetype capacity = kReceiveBufferSize);

    int ReadMemoryChunk(quint32 address, int n, QByteArray& data);
    int WriteMemoryChunk(quint32 address, QByteArrayView data);
    int Reset();
    int Start();
    int QueryFirmware(FirmwareInfo& info);
    int QueryStatus(int& statusCode);
    int MemoryControl(quint8 a, quint8 b);
    int WriteFrequencyRecord(quint8 index, QByteArrayView record);
    int EndFrequencyTable(quint8 count, quint8 programmingModeEnabled);

    // out receives count bytes only when every chunk arrived whole; on failure it is left as it
    // was, so a failed read never leaves a half-filled image behind.
    int ReadMemory(quint32 address, int count, QByteArray& out);
    int WriteMemory(QByteArrayView data, quint32 address);

    int LastError() const { return m_lastError; }
    // The cable's failing status, 0 while every call succeeded.
    int CableStatus() const { return m_cableStatus; }
    // Which request failed last and how, for diagnosis: kept after a successful retry, so that a
    // flaky line shows. Empty while nothing has failed.
    const QString& LastFailure() const { return m_failure; }
    const ProtocolReply& LastReply() const { return m_reply; }

    void SetEcho(bool echo) { m_echo = echo; }
    const STraffic& Traffic() const { return m_traffic; }

private:
    bool CableUsable() const;
    // The request operations' common loop: purge, exchange, once more on a failure.
    int Request(const QByteArray& frame, qsizetype capacity = kReceiveBufferSize);
    // Takes one byte, spending at most `attempts` read windows, none of them past `deadline`.
    // `expected` is how many bytes are known to be still coming, so a read never takes bytes past
    // the end of the frame.
    std::optional<quint8> NextByte(int attempts, qsizetype expected,
                                   IByteTransport::Clock::time_point deadline);
    int ReadEcho(qsizetype length);
    void Fail(const QString& what);
    void NoteCableStatus(int status);

    IByteTransport& m_transport;
    int m_retries = kDefaultRetries;
    int m_startAttempts = kDefaultStartAttempts;
    bool m_echo = true;
    int m_lastError = 0;
    int m_cableStatus = 0;
    QString m_failure;
    QByteArray m_current;  // the frame being exchanged, for the failure text
    QByteArray m_pending;  // bytes read but not yet consumed
    qsizetype m_pendingPos = 0;
    ProtocolReply m_reply;
    STraffic m_traffic;
};
