#include "radio/protocol.h"

#include <algorithm>

namespace frame {

namespace {

quint8 At(QByteArrayView bytes, qsizetype i) {
    return static_cast<quint8>(bytes[i]);
}

void AppendAddress(QByteArray& out, quint32 address) {
    out.append(static_cast<char>((address >> 16) & 0xFF));
    out.append(static_cast<char>((address >> 8) & 0xFF));
    out.append(static_cast<char>(address & 0xFF));
}

QByteArray Seal(QByteArray bytes) {
    bytes.append(static_cast<char>(Checksum(bytes)));
    return bytes;
}

bool FitsAddressSpace(quint32 address, qsizetype n) {
    return address < kAddressLimit && static_cast<qsizetype>(kAddressLimit - address) >= n;
}

}  // namespace

quint8 Checksum(QByteArrayView bytes) {
    unsigned sum = 0;
    for (const char c : bytes) {
        sum += static_cast<quint8>(c);
    }
    return static_cast<quint8>(0xFF - (sum & 0xFF));
}

QByteArray Short(quint8 command, QByteArrayView data) {
    if (data.size() < 1 || data.size() > 13) {
        return {};
    }
    // L counts the data and the checksum.
    QByteArray out;
    out.append(static_cast<char>(kShortHeaderBase + data.size() + 1));
    out.append(static_cast<char>(command));
    out.append(data);
    return Seal(out);
}

QByteArray Long(quint8 command, QByteArrayView body) {
    if (body.size() > 0xFFFE) {
        return {};
    }
    const auto length = static_cast<unsigned>(body.size() + 1);
    QByteArray out;
    out.append(static_cast<char>(kLongHeader));
    out.append(static_cast<char>(command));
    out.append(static_cast<char>((length >> 8) & 0xFF));
    out.append(static_cast<char>(length & 0xFF));
    out.append(body);
    return Seal(out);
}

QByteArray ReadMemoryRequest(quint32 address, int n) {
    if (n < 1 || n > kMaxChunk || !FitsAddressSpace(address, n)) {
        return {};
    }
    QByteArray body;
    body.append(static_cast<char>(n));
    AppendAddress(body, address);
    return Long(kCmdReadMemory, body);
}

QByteArray WriteMemoryRequest(quint32 address, QByteArrayView data) {
    if (data.size() < 1 || data.size() > kMaxChunk || !FitsAddressSpace(address, data.size())) {
        return {};
    }
    QByteArray body;
    AppendAddress(body, address);
    body.append(data);
    return Long(kCmdWriteMemory, body);
}

QByteArray ResetRequest() {
    return Long(kCmdReset, {});
}

QByteArray StartRequest() {
    return Short(kCmdStart, QByteArrayView("\x16", 1));
}

QByteArray FirmwareQuery() {
    return Short(kCmdQuery, QByteArrayView("\x03", 1));
}

QByteArray StatusQuery() {
    return Short(kCmdQuery, QByteArrayView("\x09", 1));
}

QByteArray MemoryControlRequest(quint8 a, quint8 b) {
    const char body[] = {0x1F, static_cast<char>(a), static_cast<char>(b), 0x00};
    return Long(kCmdMemoryControl, QByteArrayView(body, sizeof body));
}

QByteArray FrequencyRecordRequest(quint8 index, QByteArrayView record) {
    if (record.size() != 6) {
        return {};
    }
    QByteArray body;
    body.append(static_cast<char>(0x04));
    body.append(static_cast<char>(index));
    body.append(record);
    return Long(kCmdFrequency, body);
}

QByteArray FrequencyTableEndRequest(quint8 count, quint8 programmingModeEnabled) {
    const char data[] = {0x05, static_cast<char>(count), static_cast<char>(programmingModeEnabled)};
    return Short(kCmdFrequency, QByteArrayView(data, sizeof data));
}

QString Describe(QByteArrayView f) {
    if (f.size() >= 4 && At(f, 0) == kLongHeader) {
        const auto address = [&](qsizetype at) {
            const quint32 a =
                (quint32{At(f, at)} << 16) | (quint32{At(f, at + 1)} << 8) | quint32{At(f, at + 2)};
            return QStringLiteral("0x%1").arg(a, 6, 16, QLatin1Char('0'));
        };
        const int length = (At(f, 2) << 8) | At(f, 3);
        switch (At(f, 1)) {
            case kCmdReadMemory:
                if (f.size() >= 8) {
                    return QStringLiteral("read memory %1 (%2 bytes)")
                        .arg(address(5))
                        .arg(At(f, 4));
                }
                break;
            case kCmdWriteMemory:
                if (f.size() >= 7) {
                    return QStringLiteral("write memory %1 (%2 bytes)")
                        .arg(address(4))
                        .arg(length - 4);
                }
                break;
            case kCmdReset:
                return QStringLiteral("reset");
            case kCmdMemoryControl:
                if (f.size() >= 7) {
                    return QStringLiteral("memory control (%1, %2)").arg(At(f, 5)).arg(At(f, 6));
                }
                break;
            case kCmdFrequency:
                if (f.size() >= 6) {
                    return QStringLiteral("frequency record %1").arg(At(f, 5));
                }
                break;
            default:
                break;
        }
        return QStringLiteral("request 0x%1").arg(At(f, 1), 2, 16, QLatin1Char('0'));
    }
    if (f.size() >= 3) {
        switch (At(f, 1)) {
            case kCmdStart:
                return QStringLiteral("start");
            case kCmdQuery:
                return At(f, 2) == 0x03 ? QStringLiteral("firmware query")
                                        : QStringLiteral("status query");
            case kCmdFrequency:
                return QStringLiteral("frequency table end");
            default:
                return QStringLiteral("request 0x%1").arg(At(f, 1), 2, 16, QLatin1Char('0'));
        }
    }
    return QStringLiteral("request");
}

}  // namespace frame

namespace {

bool CarriesAddress(quint8 command) {
    return command == 0x80 || command == 0x84 || command == 0x85;
}

}  // namespace

ProgrammingLink::ProgrammingLink(IByteTransport& transport) : m_transport(transport) {}

bool ProgrammingLink::CableUsable() const {
    return m_transport.IsOpen() && m_cableStatus == 0;
}

void ProgrammingLink::NoteCableStatus(int status) {
    if (status != 0) {
        m_cableStatus = status;
    }
}

void ProgrammingLink::Fail(const QString& what) {
    m_failure =
        m_current.isEmpty() ? what : frame::Describe(m_current) + QLatin1String(": ") + what;
}

std::optional<quint8> ProgrammingLink::NextByte(int attempts, qsizetype expected,
                                                IByteTransport::Clock::time_point deadline) {
    if (m_pendingPos < m_pending.size()) {
        return static_cast<quint8>(m_pending[m_pendingPos++]);
    }
    m_pending.clear();
    m_pendingPos = 0;
    for (int attempt = 0; attempt < attempts; ++attempt) {
        const auto now = IByteTransport::Clock::now();
        if (now >= deadline) {
            return std::nullopt;
        }
        TransportRead got = m_transport.Read(std::max<qsizetype>(expected, 1),
                                             std::min(now + kAttemptWindow, deadline));
        m_traffic.bytesRead += got.bytes.size();
        if (got.status != 0) {
            NoteCableStatus(got.status);
            return std::nullopt;
        }
        if (!got.bytes.isEmpty()) {
            m_pending = std::move(got.bytes);
            m_pendingPos = 1;
            return static_cast<quint8>(m_pending[0]);
        }
    }
    return std::nullopt;
}

int ProgrammingLink::ReadEcho(qsizetype length) {
    qsizetype got = 0;
    for (int attempt = 0; attempt < m_retries && got < length; ++attempt) {
        const auto deadline = IByteTransport::Clock::now() + kAttemptWindow;
        while (got < length) {
            TransportRead read = m_transport.Read(length - got, deadline);
            m_traffic.bytesRead += read.bytes.size();
            if (read.status != 0) {
                NoteCableStatus(read.status);
                return -1;
            }
            if (read.bytes.isEmpty()) {
                break;
            }
            const qsizetype take = std::min(read.bytes.size(), length - got);
            got += take;
            // A transport that hands over more than asked must not lose the reply's first bytes.
            m_pending = read.bytes.mid(take);
            m_pendingPos = 0;
        }
    }
    return static_cast<int>(got);
}

int ProgrammingLink::SendFrame(QByteArrayView f) {
    m_pending.clear();
    m_pendingPos = 0;
    const auto length = static_cast<int>(f.size());
    for (int attempt = 0; attempt < m_retries; ++attempt) {
        const TransportWrite written = m_transport.Write(f);
        m_traffic.bytesWritten += written.written;
        if (written.status != 0) {
            NoteCableStatus(written.status);
            Fail(QStringLiteral("the cable failed while writing (status %1)").arg(written.status));
            return -1;
        }
        if (written.written != f.size()) {
            m_lastError = 0;
            continue;
        }
        if (!m_echo) {
            return length;
        }
        const int echoed = ReadEcho(f.size());
        if (echoed < 0) {
            Fail(QStringLiteral("the cable failed while reading (status %1)").arg(m_cableStatus));
            return -1;
        }
        if (echoed == length) {
            return length;
        }
    }
    Fail(QStringLiteral("the frame was not sent whole after %1 attempts").arg(m_retries));
    return -1;
}

int ProgrammingLink::ReceiveAck() {
    const std::optional<quint8> b =
        NextByte(m_startAttempts, 1, IByteTransport::Clock::now() + kReplyDeadline);
    if (b == frame::kAck) {
        return 1;
    }
    m_lastError = kNoAcknowledgement;
    Fail(b ? QStringLiteral("no acknowledgement (0x%1 instead)").arg(*b, 2, 16, QLatin1Char('0'))
           : QStringLiteral("no acknowledgement within %1 attempts").arg(m_startAttempts));
    return -1;
}

int ProgrammingLink::ReceiveReply(ProtocolReply& reply, qsizetype capacity) {
    reply = ProtocolReply{};
    const auto deadline = IByteTransport::Clock::now() + kReplyDeadline;
    int budget = m_startAttempts;
    int state = 0;
    int counter = 0;
    unsigned sum = 0;
    const auto checksumError = [&](const QString& what) {
        m_lastError = kChecksumError;
        Fail(what);
        return -1;
    };
    for (;;) {
        qsizetype expected = 1;
        switch (state) {
            case 3:
                expected = 3;
                break;
            case 4:
                expected = 1 + counter;
                break;
            case 5:
                expected = 2;
                break;
            case 7:
            case 10:
            case 11:
            case 12:
                expected = counter;
                break;
            default:
                break;
        }
        const std::optional<quint8> next = IByteTransport::Clock::now() < deadline
                                               ? NextByte(budget, expected, deadline)
                                               : std::nullopt;
        if (!next) {
            if (m_cableStatus != 0) {
                Fail(QStringLiteral("the cable failed while reading (status %1)")
                         .arg(m_cableStatus));
            } else if (IByteTransport::Clock::now() >= deadline) {
                Fail(QStringLiteral("no complete reply within %1 ms (parser state %2, %3 data "
                                    "bytes)")
                         .arg(kReplyDeadline.count())
                         .arg(state)
                         .arg(reply.data.size()));
            } else {
                Fail(QStringLiteral("reply incomplete: no byte within %1 attempts after %2 "
                                    "data bytes (parser state %3)")
                         .arg(budget)
                         .arg(reply.data.size())
                         .arg(state));
            }
            return -1;
        }
        const quint8 b = *next;
        switch (state) {
            case 0:
                if (b != frame::kAck) {
                    m_lastError = kNoAcknowledgement;
                    Fail(QStringLiteral("no acknowledgement (0x%1 instead)")
                             .arg(b, 2, 16, QLatin1Char('0')));
                    return -1;
                }
                state = 1;
                break;
            case 1:
                if (b == frame::kLongHeader) {
                    sum = b;
                    state = 3;
                } else if (b >= frame::kShortHeaderBase) {
                    counter = b & 0x0F;
                    sum = b;
                    state = 4;
                } else {
                    budget = m_retries;
                }
                break;
            case 3:
                reply.command = b;
                sum += b;
                budget = m_retries;
                state = 5;
                break;
            case 4:
                reply.command = b;
                sum += b;
                budget = m_retries;
                // A length of 0 or 1 leaves room for the checksum only.
                state = counter <= 1 ? 8 : 7;
                break;
            case 5:
                counter = b * 256;
                sum += b;
                state = 6;
                break;
            case 6:
                counter += b;
                sum += b;
                if (counter <= 1) {
                    // Length 1 is the checksum alone too; reading it as data would lose the frame's
                    // end and wait for bytes that never come.
                    state = 8;
                } else if (CarriesAddress(reply.command)) {
                    if (counter < 4) {
                        return checksumError(
                            QStringLiteral("reply length %1 too short for its address")
                                .arg(counter));
                    }
                    state = 10;
                } else {
                    state = 7;
                }
                break;
            case 10:
                reply.address = quint32{b} << 16;
                --counter;
                sum += b;
                state = 11;
                break;
            case 11:
                reply.address |= quint32{b} << 8;
                --counter;
                sum += b;
                state = 12;
                break;
            case 12:
                reply.address |= b;
                --counter;
                sum += b;
                state = counter == 1 ? 8 : 7;
                break;
            case 7:
                if (reply.data.size() >= capacity) {
                    return checksumError(
                        QStringLiteral("reply longer than the %1 data bytes expected")
                            .arg(capacity));
                }
                --counter;
                reply.data.append(static_cast<char>(b));
                sum += b;
                if (counter == 1) {
                    state = 8;
                }
                break;
            case 8: {
                const auto want = static_cast<quint8>(0xFF - (sum & 0xFF));
                if (b != want) {
                    return checksumError(QStringLiteral("checksum error (0x%1, expected 0x%2)")
                                             .arg(b, 2, 16, QLatin1Char('0'))
                                             .arg(want, 2, 16, QLatin1Char('0')));
                }
                return static_cast<int>(reply.data.size());
            }
            default:
                return -1;
        }
    }
}

int ProgrammingLink::Exchange(QByteArrayView f, ProtocolReply& reply, qsizetype capacity) {
    m_current = f.toByteArray();
    if (SendFrame(f) < 0) {
        return -1;
    }
    if (f.size() >= 2 && static_cast<quint8>(f[0]) == frame::kLongHeader &&
        static_cast<quint8>(f[1]) == frame::kCmdReset) {
        reply = ProtocolReply{};
        return ReceiveAck();
    }
    return ReceiveReply(reply, capacity);
}

int ProgrammingLink::Request(const QByteArray& f, qsizetype capacity) {
    m_current = f;
    m_reply = ProtocolReply{};
    if (!CableUsable()) {
        Fail(m_transport.IsOpen()
                 ? QStringLiteral("the cable failed earlier (status %1)").arg(m_cableStatus)
                 : QStringLiteral("the cable is not open"));
        return -1;
    }
    if (f.isEmpty()) {
        Fail(QStringLiteral("request arguments out of range; nothing sent"));
        return -1;
    }
    for (int attempt = 0; attempt < m_retries; ++attempt) {
        const int purged = m_transport.Purge();
        if (purged != 0) {
            NoteCableStatus(purged);
            Fail(QStringLiteral("the cable failed while purging (status %1)").arg(purged));
            return -1;
        }
        m_pending.clear();
        m_pendingPos = 0;
        ++m_traffic.requests;
        const int result = Exchange(f, m_reply, capacity);
        if (result >= 0) {
            return result;
        }
        if (!CableUsable()) {
            return -1;
        }
    }
    return -1;
}

int ProgrammingLink::ReadMemoryChunk(quint32 address, int n, QByteArray& data) {
    const int result = Request(frame::ReadMemoryRequest(address, n), std::max(n, 0));
    if (result > 0) {
        data = m_reply.data;
    }
    return result;
}

int ProgrammingLink::WriteMemoryChunk(quint32 address, QByteArrayView data) {
    const int result = Request(frame::WriteMemoryRequest(address, data));
    if (result >= 0 && m_reply.command == frame::kReplyWriteRefused) {
        m_lastError = kWriteRefused;
        Fail(QStringLiteral("the radio refused the write"));
        return -1;
    }
    return result;
}

int ProgrammingLink::Reset() {
    return Request(frame::ResetRequest());
}

int ProgrammingLink::Start() {
    return Request(frame::StartRequest());
}

int ProgrammingLink::QueryFirmware(FirmwareInfo& info) {
    const int result = Request(frame::FirmwareQuery());
    if (result < 0) {
        return result;
    }
    if (result < 4) {
        Fail(QStringLiteral("reply carried %1 data bytes, too few for the firmware").arg(result));
        return 0;
    }
    info.phase = m_reply.data[1];
    info.version = m_reply.data[2];
    info.revision = m_reply.data[3];
    return result;
}

int ProgrammingLink::QueryStatus(int& statusCode) {
    const int result = Request(frame::StatusQuery());
    if (result < 0) {
        return result;
    }
    if (result < 3) {
        Fail(QStringLiteral("reply carried %1 data bytes, too few for the status").arg(result));
        return 0;
    }
    statusCode = static_cast<quint8>(m_reply.data[2]) & 0x1F;
    return result;
}

int ProgrammingLink::MemoryControl(quint8 a, quint8 b) {
    return Request(frame::MemoryControlRequest(a, b));
}

int ProgrammingLink::WriteFrequencyRecord(quint8 index, QByteArrayView record) {
    return Request(frame::FrequencyRecordRequest(index, record));
}

int ProgrammingLink::EndFrequencyTable(quint8 count, quint8 programmingModeEnabled) {
    return Request(frame::FrequencyTableEndRequest(count, programmingModeEnabled));
}

int ProgrammingLink::ReadMemory(quint32 address, int count, QByteArray& out) {
    if (count == 0) {
        return 0;
    }
    if (count < 0 || !(address < frame::kAddressLimit &&
                       static_cast<qint64>(frame::kAddressLimit - address) >= count)) {
        m_current.clear();
        Fail(QStringLiteral("read of %1 bytes at 0x%2 lies outside the address space")
                 .arg(count)
                 .arg(address, 6, 16, QLatin1Char('0')));
        return -1;
    }
    QByteArray image;
    image.reserve(count);
    for (int offset = 0; offset < count; offset += frame::kMaxChunk) {
        const int n = std::min(frame::kMaxChunk, count - offset);
        QByteArray chunk;
        const int result = ReadMemoryChunk(address + static_cast<quint32>(offset), n, chunk);
        if (result <= 0) {
            return -1;
        }
        // A short chunk would leave stale bytes in the image while the read reports success.
        if (result != n) {
            Fail(QStringLiteral("reply carried %1 of %2 bytes").arg(result).arg(n));
            return -1;
        }
        image.append(chunk);
    }
    out = image;
    return count;
}

int ProgrammingLink::WriteMemory(QByteArrayView data, quint32 address) {
    if (data.isEmpty()) {
        return 0;
    }
    // Checked before the first chunk: stopping at the edge would leave the radio half written.
    if (address >= frame::kAddressLimit ||
        static_cast<qsizetype>(frame::kAddressLimit - address) < data.size()) {
        m_current.clear();
        Fail(QStringLiteral("write of %1 bytes at 0x%2 lies outside the address space")
                 .arg(data.size())
                 .arg(address, 6, 16, QLatin1Char('0')));
        return -1;
    }
    for (qsizetype offset = 0; offset < data.size(); offset += frame::kMaxChunk) {
        const qsizetype n = std::min<qsizetype>(frame::kMaxChunk, data.size() - offset);
        if (WriteMemoryChunk(address + static_cast<quint32>(offset), data.sliced(offset, n)) < 0) {
            return -1;
        }
    }
    return static_cast<int>(data.size());
}
