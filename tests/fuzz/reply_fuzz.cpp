// Feeds the reply parser bytes as the line delivers them: in pieces of any size, with silent read
// windows between them, and now and then a cable that fails mid-reply. Replies are parsed one
// after another from the same line until one fails.
//
// Input: byte 0 chooses how many data bytes the caller can take (1..64); byte 1 how many of the
// following bytes plan the line (0..16); the rest is what the line carries. A plan byte 0xFF is a
// cable failure at that point; any other delivers its low five bits + 1 bytes at once, after as
// many silent windows as its top three bits choose. What the plan does not cover arrives at once.
//
// Every reply is checked against a reading of the frame made here from its layout: the parser
// must accept exactly the frames whose checksum holds and whose length fits the caller, hand over
// their command, address and data, and take no byte past the frame's end; it must refuse the rest
// with the right error, and give up on a line that stays silent for a whole attempt budget. The
// line here answers at once, so the parser's deadline on the clock never decides a reply.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <vector>

#include <QByteArray>
#include <QString>

#include "radio/protocol.h"

namespace {

[[noreturn]] void Fail(const char* what, const QString& detail = QString()) {
    std::fprintf(stderr, "reply fuzz: %s\n%s\n", what, detail.toUtf8().constData());
    std::abort();
}

constexpr int kCableFailure = 4;
constexpr quint8 kFailurePlan = 0xFF;
// Silent windows before a piece: none, fewer than either budget, and each budget's edge.
constexpr std::array<int, 8> kGaps = {0,
                                      0,
                                      0,
                                      1,
                                      ProgrammingLink::kDefaultRetries,
                                      ProgrammingLink::kDefaultRetries + 1,
                                      ProgrammingLink::kDefaultStartAttempts - 1,
                                      ProgrammingLink::kDefaultStartAttempts};

// The line as planned: its bytes, the silent windows before each piece, where the cable fails.
struct SLine {
    QByteArray bytes;
    std::vector<int> gapBefore;       // by byte index; bytes.size() + 1 entries
    std::vector<qsizetype> pieceEnd;  // by byte index: where its piece ends
    qsizetype failAt = -1;            // the cable fails when a read reaches this byte
};

class CPlannedLine : public IByteTransport {
public:
    explicit CPlannedLine(const SLine& line) : m_line(line) {}

    bool IsOpen() const override { return true; }
    TransportWrite Write(QByteArrayView bytes) override { return {0, bytes.size()}; }
    int Purge() override { return 0; }

    TransportRead Read(qsizetype max, Clock::time_point) override {
        if (max < 1 || max > 0x10000) {
            Fail("the parser asked for an impossible number of bytes", QString::number(max));
        }
        if (m_failed || m_at == m_line.failAt) {
            m_failed = true;
            return {kCableFailure, {}};
        }
        if (m_at >= m_line.bytes.size()) {
            return {};
        }
        if (m_silent < m_line.gapBefore[std::size_t(m_at)]) {
            ++m_silent;
            return {};
        }
        const qsizetype n = std::min(max, m_line.pieceEnd[std::size_t(m_at)] - m_at);
        TransportRead read{0, m_line.bytes.mid(m_at, n)};
        m_at += n;
        m_silent = 0;
        return read;
    }

    // How many bytes the parser has taken off the line.
    qsizetype Taken() const { return m_at; }

private:
    const SLine& m_line;
    qsizetype m_at = 0;
    int m_silent = 0;
    bool m_failed = false;
};

enum class Outcome { Reply, NoAck, Refused, Silent, CableFailed };

struct SExpected {
    Outcome outcome = Outcome::Reply;
    ProtocolReply reply;
    qsizetype end = 0;     // where the frame ended on the line (for a reply)
    qsizetype header = 0;  // where its header byte stood
};

bool CarriesAddress(quint8 command) {
    return command == 0x80 || command == 0x84 || command == 0x85;
}

// The reply the line holds from `at`, read by the frame's layout rather than by states: an
// acknowledgement, bytes below 0xF0 to skip, a short (F0 + L) or long (FF) header, the command,
// for a long frame the length and, for commands 80, 84 and 85, an address, then the data and the
// checksum. L counts everything after the command (and the length) including the checksum; a
// length of 0 or 1 is the checksum alone. The budget of silent windows is the start budget until
// the command has come, and the retries after it or after a skipped byte.
SExpected Expect(const SLine& line, qsizetype at, qsizetype capacity) {
    SExpected expected;
    int budget = ProgrammingLink::kDefaultStartAttempts;
    std::optional<Outcome> stop;
    const auto next = [&]() -> std::optional<quint8> {
        if (at == line.failAt) {
            stop = Outcome::CableFailed;
            return std::nullopt;
        }
        if (at >= line.bytes.size() || line.gapBefore[std::size_t(at)] >= budget) {
            stop = Outcome::Silent;
            return std::nullopt;
        }
        return static_cast<quint8>(line.bytes[at++]);
    };
    const auto end = [&](Outcome outcome) {
        expected.outcome = stop.value_or(outcome);
        expected.end = at;
        return expected;
    };

    const std::optional<quint8> ack = next();
    if (!ack) {
        return end(Outcome::Silent);
    }
    if (*ack != frame::kAck) {
        return end(Outcome::NoAck);
    }
    std::optional<quint8> header;
    for (;;) {
        header = next();
        if (!header) {
            return end(Outcome::Silent);
        }
        if (*header >= frame::kShortHeaderBase) {
            break;
        }
        budget = ProgrammingLink::kDefaultRetries;
    }
    expected.header = at - 1;
    unsigned sum = *header;
    const std::optional<quint8> command = next();
    if (!command) {
        return end(Outcome::Silent);
    }
    budget = ProgrammingLink::kDefaultRetries;
    expected.reply.command = *command;
    sum += *command;

    int length = *header & 0x0F;
    bool address = false;
    if (*header == frame::kLongHeader) {
        const std::optional<quint8> high = next();
        const std::optional<quint8> low = high ? next() : std::nullopt;
        if (!low) {
            return end(Outcome::Silent);
        }
        sum += *high + *low;
        length = *high * 256 + *low;
        address = length > 1 && CarriesAddress(*command);
        if (address && length < 4) {
            return end(Outcome::Refused);
        }
    }
    if (address) {
        for (int k = 0; k < 3; ++k) {
            const std::optional<quint8> b = next();
            if (!b) {
                return end(Outcome::Silent);
            }
            expected.reply.address = (expected.reply.address << 8) | *b;
            sum += *b;
        }
    }
    const int dataBytes = length <= 1 ? 0 : length - 1 - (address ? 3 : 0);
    for (int k = 0; k < dataBytes; ++k) {
        const std::optional<quint8> b = next();
        if (!b) {
            return end(Outcome::Silent);
        }
        if (k >= capacity) {
            return end(Outcome::Refused);
        }
        expected.reply.data.append(static_cast<char>(*b));
        sum += *b;
    }
    const std::optional<quint8> checksum = next();
    if (!checksum) {
        return end(Outcome::Silent);
    }
    return end(*checksum == static_cast<quint8>(0xFF - (sum & 0xFF)) ? Outcome::Reply
                                                                     : Outcome::Refused);
}

SLine Plan(const std::uint8_t* data, std::size_t size) {
    SLine line;
    const std::size_t planned = size > 1 ? std::min<std::size_t>(data[1] % 17, size - 2) : 0;
    const std::size_t start = std::min<std::size_t>(size, 2 + planned);
    line.bytes = QByteArray(reinterpret_cast<const char*>(data + start),
                            static_cast<qsizetype>(size - start));
    const qsizetype n = line.bytes.size();
    line.gapBefore.assign(std::size_t(n) + 1, 0);
    line.pieceEnd.assign(std::size_t(n) + 1, n);
    qsizetype at = 0;
    for (std::size_t k = 0; k < planned && at < n; ++k) {
        const quint8 step = data[2 + k];
        if (step == kFailurePlan) {
            line.failAt = at;
            break;
        }
        const qsizetype pieceEnd = std::min<qsizetype>(n, at + (step & 0x1F) + 1);
        line.gapBefore[std::size_t(at)] = kGaps[step >> 5];
        for (qsizetype i = at; i < pieceEnd; ++i) {
            line.pieceEnd[std::size_t(i)] = pieceEnd;
        }
        at = pieceEnd;
    }
    return line;
}

QString Describe(const ProtocolReply& reply) {
    return QStringLiteral("command %1, address %2, %3 data bytes: %4")
        .arg(reply.command)
        .arg(reply.address)
        .arg(reply.data.size())
        .arg(QString::fromLatin1(reply.data.toHex()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const qsizetype capacity =
        size > 0 ? (data[0] & 0x3F) + 1 : ProgrammingLink::kReceiveBufferSize;
    const SLine line = Plan(data, size);
    CPlannedLine transport(line);
    ProgrammingLink link(transport);

    for (int n = 0; n < 8; ++n) {
        const qsizetype from = transport.Taken();
        const SExpected expected = Expect(line, from, capacity);
        const int lastError = link.LastError();
        ProtocolReply reply;
        const auto began = IByteTransport::Clock::now();
        const int result = link.ReceiveReply(reply, capacity);
        // The parser also gives up on the clock; a run stalled that long has nothing to compare.
        if (result < 0 && IByteTransport::Clock::now() - began >= ProgrammingLink::kReplyDeadline) {
            break;
        }

        if (expected.outcome == Outcome::Reply) {
            if (result < 0) {
                Fail("a whole frame with a good checksum was refused",
                     link.LastFailure() + QStringLiteral("\nexpected ") + Describe(expected.reply));
            }
            if (result != reply.data.size() || reply.data.size() > capacity) {
                Fail("a reply's result and data disagree or exceed the caller's room");
            }
            if (reply.command != expected.reply.command ||
                reply.address != expected.reply.address || reply.data != expected.reply.data) {
                Fail("a reply was read wrong", QStringLiteral("got ") + Describe(reply) +
                                                   QStringLiteral("\nexpected ") +
                                                   Describe(expected.reply));
            }
            unsigned sum = 0;
            for (qsizetype i = expected.header; i < expected.end; ++i) {
                sum += static_cast<quint8>(line.bytes[i]);
            }
            if ((sum & 0xFF) != 0xFF) {
                Fail("a frame was accepted although its checksum does not hold");
            }
            if (transport.Taken() != expected.end) {
                Fail("the parser took bytes past the end of the frame",
                     QStringLiteral("took %1, the frame ends at %2")
                         .arg(transport.Taken())
                         .arg(expected.end));
            }
            continue;
        }

        if (result != -1) {
            Fail("a reply that must fail was accepted", Describe(reply));
        }
        int wantError = lastError;
        if (expected.outcome == Outcome::NoAck) {
            wantError = ProgrammingLink::kNoAcknowledgement;
        } else if (expected.outcome == Outcome::Refused) {
            wantError = ProgrammingLink::kChecksumError;
        }
        if (link.LastError() != wantError) {
            Fail("a failed reply left the wrong last error", QStringLiteral("%1 instead of %2: %3")
                                                                 .arg(link.LastError())
                                                                 .arg(wantError)
                                                                 .arg(link.LastFailure()));
        }
        if ((link.CableStatus() != 0) != (expected.outcome == Outcome::CableFailed)) {
            Fail("the cable's failure was lost or made up", link.LastFailure());
        }
        if (link.LastFailure().isEmpty()) {
            Fail("a failed reply left no description");
        }
        break;
    }
    return 0;
}
