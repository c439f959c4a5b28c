// The programming protocol: frames and checksums byte for byte, the reply parser against every
// way a reply goes wrong (each ending in its failure within its attempt budget), and memory moved
// in chunks.

#include "radio/protocol.h"

#include <deque>
#include <functional>
#include <memory>
#include <ostream>

#include <QByteArray>
#include <QList>

#include "qt_print.h"

#include <gtest/gtest.h>

// Readable byte strings in failure messages (found by argument-dependent lookup).
QT_BEGIN_NAMESPACE
inline void PrintTo(const QByteArray& bytes, std::ostream* os) {
    *os << '[' << bytes.toHex(' ').toStdString() << ']';
}
QT_END_NAMESPACE

namespace {

QByteArray Hex(const char* text) {
    return QByteArray::fromHex(text);
}

// The test's own checksum, so that reply scripts do not lean on the code under test.
QByteArray Sealed(const char* hex) {
    QByteArray bytes = Hex(hex);
    int sum = 0;
    for (const char c : bytes) {
        sum += static_cast<quint8>(c);
    }
    bytes.append(static_cast<char>(0xFF - (sum & 0xFF)));
    return bytes;
}

QByteArray Acked(const char* hex) {
    return Hex("50") + Sealed(hex);
}

// The real cable and the radio simulator do not exist yet, so this in-memory fake plays both: it
// echoes each frame the link writes and answers from a script or a responder. Its "time" is a
// count of read windows that passed without a byte, which is what the attempt budgets bound. The
// pseudo-terminal path against the simulator replaces it for the end-to-end runs.
class ScriptedTransport : public IByteTransport {
public:
    // The chunks the reads hand over in turn; an empty chunk is a read window that stays silent.
    using Answer = QList<QByteArray>;

    std::function<Answer(const QByteArray&)> responder;
    bool open = true;
    bool echo = true;
    int shortWrites = 0;
    int writeStatus = 0;
    int purgeStatus = 0;

    QList<QByteArray> writes;
    int purges = 0;
    int silentReads = 0;

    void Script(QList<Answer> answers) {
        auto queue = std::make_shared<std::deque<Answer>>(answers.begin(), answers.end());
        responder = [queue](const QByteArray&) {
            if (queue->empty()) {
                return Answer{};
            }
            Answer next = queue->front();
            queue->pop_front();
            return next;
        };
    }

    qsizetype Unread() const {
        qsizetype n = 0;
        for (const QByteArray& chunk : m_input) {
            n += chunk.size();
        }
        return n;
    }

    bool IsOpen() const override { return open; }

    TransportWrite Write(QByteArrayView bytes) override {
        writes.append(bytes.toByteArray());
        if (writeStatus != 0) {
            return {writeStatus, 0};
        }
        if (shortWrites > 0) {
            --shortWrites;
            return {0, bytes.size() - 1};
        }
        if (echo) {
            m_input.append(bytes.toByteArray());
        }
        if (responder) {
            m_input += responder(bytes.toByteArray());
        }
        return {0, bytes.size()};
    }

    TransportRead Read(qsizetype max, Clock::time_point) override {
        if (m_input.isEmpty() || m_input.front().isEmpty()) {
            if (!m_input.isEmpty()) {
                m_input.pop_front();
            }
            ++silentReads;
            return {};
        }
        QByteArray& front = m_input.front();
        TransportRead read{0, front.left(max)};
        front.remove(0, read.bytes.size());
        if (front.isEmpty()) {
            m_input.pop_front();
        }
        return read;
    }

    int Purge() override {
        ++purges;
        m_input.clear();
        return purgeStatus;
    }

private:
    QList<QByteArray> m_input;
};

// ---------------------------------------------------------------------------------------------
// Frames

TEST(ProtocolFrame, WorkedExampleReadsFourBytesAt0x10009) {
    EXPECT_EQ(frame::ReadMemoryRequest(0x10009, 4), Hex("FF110005040100 09DC"));
}

struct ChecksumRow {
    const char* name;
    const char* bytes;
    quint8 checksum;
};

class ProtocolChecksum : public testing::TestWithParam<ChecksumRow> {};

TEST_P(ProtocolChecksum, IsTheComplementOfTheByteSum) {
    EXPECT_EQ(frame::Checksum(Hex(GetParam().bytes)), GetParam().checksum);
}

INSTANTIATE_TEST_SUITE_P(Rows, ProtocolChecksum,
                         testing::Values(ChecksumRow{"empty", "", 0xFF},
                                         ChecksumRow{"zero", "00", 0xFF},
                                         ChecksumRow{"header_only", "FF", 0x00},
                                         ChecksumRow{"sum_wraps_to_zero", "FF01", 0xFF},
                                         ChecksumRow{"small_sum", "010203", 0xF9},
                                         ChecksumRow{"worked_example", "FF11000504010009", 0xDC},
                                         ChecksumRow{"start_request", "F22216", 0xD5}),
                         [](const auto& row) { return std::string(row.param.name); });

struct RequestRow {
    const char* name;
    std::function<QByteArray()> build;
    const char* bytes;  // empty: the arguments do not fit, nothing may be built
};

class ProtocolRequest : public testing::TestWithParam<RequestRow> {};

TEST_P(ProtocolRequest, IsBuiltByteForByte) {
    EXPECT_EQ(GetParam().build(), Hex(GetParam().bytes));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ProtocolRequest,
    testing::Values(
        RequestRow{"reset", [] { return frame::ResetRequest(); }, "FF100001EF"},
        RequestRow{"start", [] { return frame::StartRequest(); }, "F22216D5"},
        RequestRow{"firmware_query", [] { return frame::FirmwareQuery(); }, "F22303E7"},
        RequestRow{"status_query", [] { return frame::StatusQuery(); }, "F22309E1"},
        RequestRow{"write_one_byte", [] { return frame::WriteMemoryRequest(0x123, Hex("AA")); },
                   "FF1700050001 23AA16"},
        RequestRow{"memory_control_3_0", [] { return frame::MemoryControlRequest(3, 0); },
                   "FF3800051F030000A1"},
        RequestRow{"frequency_record",
                   [] { return frame::FrequencyRecordRequest(2, Hex("010203040506")); },
                   "FF9A0009040201020304050642"},
        RequestRow{"frequency_table_end", [] { return frame::FrequencyTableEndRequest(5, 1); },
                   "F49A05050166"},
        RequestRow{"read_none", [] { return frame::ReadMemoryRequest(0, 0); }, ""},
        RequestRow{"read_33", [] { return frame::ReadMemoryRequest(0, 33); }, ""},
        RequestRow{"read_past_the_address_space",
                   [] { return frame::ReadMemoryRequest(0xFFFFFF, 2); }, ""},
        RequestRow{"write_33", [] { return frame::WriteMemoryRequest(0, QByteArray(33, 'x')); },
                   ""},
        RequestRow{"frequency_record_of_five_bytes",
                   [] { return frame::FrequencyRecordRequest(0, Hex("0102030405")); }, ""}),
    [](const auto& row) { return std::string(row.param.name); });

// ---------------------------------------------------------------------------------------------
// Replies

enum class Op { ReadChunk, WriteChunk, Start, Reset };

struct ReplyRow {
    const char* name;
    Op op;
    QList<ScriptedTransport::Answer> answers;  // one per frame written
    int result;
    int lastError;
    const char* data;
    quint8 command;
    quint32 address;
    int writes;       // frames written, counting retries
    int silentReads;  // read windows spent waiting
    qsizetype unread = 0;
    bool echo = true;
};

class ProtocolReplies : public testing::TestWithParam<ReplyRow> {};

TEST_P(ProtocolReplies, EndsInItsResultWithinTheBudget) {
    const ReplyRow& row = GetParam();
    ScriptedTransport cable;
    cable.echo = row.echo;
    cable.Script(row.answers);
    ProgrammingLink link(cable);

    QByteArray data;
    int result = 0;
    switch (row.op) {
        case Op::ReadChunk:
            result = link.ReadMemoryChunk(0x10009, 4, data);
            break;
        case Op::WriteChunk:
            result = link.WriteMemoryChunk(0x10009, Hex("11223344"));
            data = link.LastReply().data;
            break;
        case Op::Start:
            result = link.Start();
            data = link.LastReply().data;
            break;
        case Op::Reset:
            result = link.Reset();
            break;
    }

    EXPECT_EQ(result, row.result);
    EXPECT_EQ(link.LastError(), row.lastError);
    EXPECT_EQ(data, Hex(row.data));
    EXPECT_EQ(cable.writes.size(), row.writes);
    // Each request attempt purges once; without the echo each attempt writes its frame twice.
    EXPECT_EQ(cable.purges, row.echo ? row.writes : row.writes / 2);
    EXPECT_EQ(cable.silentReads, row.silentReads);
    EXPECT_EQ(cable.Unread(), row.unread);
    if (result >= 0) {
        EXPECT_EQ(link.LastReply().command, row.command);
        EXPECT_EQ(link.LastReply().address, row.address);
    } else {
        // A failure says which request it was.
        EXPECT_FALSE(link.LastFailure().isEmpty());
    }
}

using A = ScriptedTransport::Answer;

const QByteArray kGoodRead = Acked("FF80000801000911223344");
const QByteArray kBadChecksum = Hex("50FF80000801000911223344") + Hex("00");
const QByteArray kDroppedByte =
    Hex("50FF800008010009112233") + Sealed("FF80000801000911223344").right(1);

INSTANTIATE_TEST_SUITE_P(
    Rows, ProtocolReplies,
    testing::Values(
        ReplyRow{
            "whole_reply", Op::ReadChunk, {A{kGoodRead}}, 4, 0, "11223344", 0x80, 0x10009, 1, 0},
        ReplyRow{"reply_in_pieces",
                 Op::ReadChunk,
                 {A{kGoodRead.left(3), kGoodRead.mid(3, 4), kGoodRead.mid(7)}},
                 4,
                 0,
                 "11223344",
                 0x80,
                 0x10009,
                 1,
                 0},
        ReplyRow{"bytes_before_the_header_skipped",
                 Op::ReadChunk,
                 {A{Hex("500013EF") + kGoodRead.mid(1)}},
                 4,
                 0,
                 "11223344",
                 0x80,
                 0x10009,
                 1,
                 0},
        ReplyRow{"garbage_before_the_acknowledgement",
                 Op::ReadChunk,
                 {A{Hex("13") + kGoodRead}, A{Hex("13") + kGoodRead}},
                 -1,
                 ProgrammingLink::kNoAcknowledgement,
                 "",
                 0,
                 0,
                 2,
                 0,
                 kGoodRead.size()},
        ReplyRow{"second_attempt_succeeds",
                 Op::ReadChunk,
                 {A{kBadChecksum}, A{kGoodRead}},
                 4,
                 ProgrammingLink::kChecksumError,
                 "11223344",
                 0x80,
                 0x10009,
                 2,
                 0},
        ReplyRow{"bad_checksum",
                 Op::ReadChunk,
                 {A{kBadChecksum}, A{kBadChecksum}},
                 -1,
                 ProgrammingLink::kChecksumError,
                 "",
                 0,
                 0,
                 2,
                 0},
        // The checksum is taken for data, then the two windows for the checksum pass.
        ReplyRow{"dropped_byte",
                 Op::ReadChunk,
                 {A{kDroppedByte}, A{kDroppedByte}},
                 -1,
                 0,
                 "",
                 0,
                 0,
                 2,
                 4},
        ReplyRow{"truncated_frame",
                 Op::ReadChunk,
                 {A{Hex("50FF80000801")}, A{Hex("50FF80000801")}},
                 -1,
                 0,
                 "",
                 0,
                 0,
                 2,
                 4},
        ReplyRow{"silence", Op::ReadChunk, {}, -1, 0, "", 0, 0, 2, 40},
        ReplyRow{"acknowledgement_then_silence",
                 Op::ReadChunk,
                 {A{Hex("50")}, A{Hex("50")}},
                 -1,
                 0,
                 "",
                 0,
                 0,
                 2,
                 40},
        ReplyRow{"header_then_silence",
                 Op::ReadChunk,
                 {A{Hex("50FF")}, A{Hex("50FF")}},
                 -1,
                 0,
                 "",
                 0,
                 0,
                 2,
                 40},
        ReplyRow{"skipped_byte_shortens_the_wait",
                 Op::ReadChunk,
                 {A{Hex("5001")}, A{Hex("5001")}},
                 -1,
                 0,
                 "",
                 0,
                 0,
                 2,
                 4},
        ReplyRow{"command_then_silence",
                 Op::ReadChunk,
                 {A{Hex("50FF80")}, A{Hex("50FF80")}},
                 -1,
                 0,
                 "",
                 0,
                 0,
                 2,
                 4},
        ReplyRow{"more_data_than_asked",
                 Op::ReadChunk,
                 {A{Acked("FF8000090100091122334455")}, A{Acked("FF8000090100091122334455")}},
                 -1,
                 ProgrammingLink::kChecksumError,
                 "",
                 0,
                 0,
                 2,
                 0},
        ReplyRow{"address_command_too_short",
                 Op::ReadChunk,
                 {A{Acked("FF80000301")}, A{Acked("FF80000301")}},
                 -1,
                 ProgrammingLink::kChecksumError,
                 "",
                 0,
                 0,
                 2,
                 0,
                 2},
        ReplyRow{"short_reply_one_data_byte",
                 Op::Start,
                 {A{Acked("F2227A")}},
                 1,
                 0,
                 "7A",
                 0x22,
                 0,
                 1,
                 0},
        ReplyRow{"long_reply_without_address",
                 Op::Start,
                 {A{Acked("FF230003AABB")}},
                 2,
                 0,
                 "AABB",
                 0x23,
                 0,
                 1,
                 0},
        ReplyRow{"long_reply_length_0", Op::Start, {A{Acked("FF230000")}}, 0, 0, "", 0x23, 0, 1, 0},
        ReplyRow{"long_reply_length_1", Op::Start, {A{Acked("FF230001")}}, 0, 0, "", 0x23, 0, 1, 0},
        ReplyRow{"write_accepted",
                 Op::WriteChunk,
                 {A{Acked("FF840004010009")}},
                 0,
                 0,
                 "",
                 0x84,
                 0x10009,
                 1,
                 0},
        ReplyRow{"write_refused",
                 Op::WriteChunk,
                 {A{Acked("FF850004010009")}, A{Acked("FF840004010009")}},
                 -1,
                 ProgrammingLink::kWriteRefused,
                 "",
                 0,
                 0,
                 1,
                 0,
                 0},
        ReplyRow{"reset_takes_only_the_acknowledgement",
                 Op::Reset,
                 {A{Hex("50FF80")}},
                 1,
                 0,
                 "",
                 0,
                 0,
                 1,
                 0,
                 2},
        ReplyRow{"reset_without_acknowledgement",
                 Op::Reset,
                 {A{Hex("13")}, A{Hex("13")}},
                 -1,
                 ProgrammingLink::kNoAcknowledgement,
                 "",
                 0,
                 0,
                 2,
                 0},
        // Without the echo each send writes twice and waits two windows each time.
        ReplyRow{"missing_echo", Op::ReadChunk, {}, -1, 0, "", 0, 0, 4, 8, 0, false}),
    [](const auto& row) { return std::string(row.param.name); });

struct StatusRow {
    const char* name;
    const char* frame;  // before the checksum
    int result;
    int code;  // -1: left as it was
};

class ProtocolStatus : public testing::TestWithParam<StatusRow> {};

TEST_P(ProtocolStatus, TakesTheLowFiveBitsOfTheThirdByte) {
    ScriptedTransport cable;
    cable.Script({A{Acked(GetParam().frame)}});
    ProgrammingLink link(cable);
    int code = -1;
    EXPECT_EQ(link.QueryStatus(code), GetParam().result);
    EXPECT_EQ(code, GetParam().code);
    EXPECT_EQ(cable.writes, QList<QByteArray>{Hex("F22309E1")});
}

INSTANTIATE_TEST_SUITE_P(Rows, ProtocolStatus,
                         testing::Values(StatusRow{"no_fault", "F4230A0B00", 3, 0},
                                         StatusRow{"code_8", "F4230A0B28", 3, 8},
                                         StatusRow{"high_bits_ignored", "F4230A0BE3", 3, 3},
                                         StatusRow{"all_low_bits", "F42300001F", 3, 31},
                                         StatusRow{"too_short", "F3230A0B", 0, -1}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(ProtocolFirmware, ReadsPhaseVersionAndRevision) {
    ScriptedTransport cable;
    cable.Script({A{Acked("F523005231 36")}});
    ProgrammingLink link(cable);
    FirmwareInfo info;
    ASSERT_EQ(link.QueryFirmware(info), 4);
    QByteArray got;
    got.append(info.phase).append(info.version).append(info.revision);
    EXPECT_EQ(got, QByteArray("R16"));
}

// ---------------------------------------------------------------------------------------------
// The cable's own failures

TEST(ProtocolCable, FailingWriteStopsEveryFurtherRequest) {
    ScriptedTransport cable;
    cable.writeStatus = 4;
    ProgrammingLink link(cable);
    EXPECT_EQ(link.Start(), -1);
    EXPECT_EQ(link.CableStatus(), 4);
    EXPECT_EQ(cable.writes.size(), 1);

    cable.writeStatus = 0;
    cable.Script({A{Acked("F2227A")}});
    EXPECT_EQ(link.Start(), -1);
    EXPECT_EQ(cable.writes.size(), 1);
    EXPECT_FALSE(link.LastFailure().isEmpty());
}

TEST(ProtocolCable, FailingPurgeSendsNothing) {
    ScriptedTransport cable;
    cable.purgeStatus = 2;
    ProgrammingLink link(cable);
    EXPECT_EQ(link.Start(), -1);
    EXPECT_EQ(link.CableStatus(), 2);
    EXPECT_TRUE(cable.writes.isEmpty());
}

TEST(ProtocolCable, ClosedCableSendsNothing) {
    ScriptedTransport cable;
    cable.open = false;
    ProgrammingLink link(cable);
    QByteArray out("keep");
    EXPECT_EQ(link.ReadMemory(0, 4, out), -1);
    EXPECT_EQ(out, QByteArray("keep"));
    EXPECT_TRUE(cable.writes.isEmpty());
}

TEST(ProtocolCable, ShortWriteIsSentAgain) {
    ScriptedTransport cable;
    cable.shortWrites = 1;
    cable.Script({A{Acked("F2227A")}});
    ProgrammingLink link(cable);
    EXPECT_EQ(link.Start(), 1);
    EXPECT_EQ(cable.writes.size(), 2);
    EXPECT_EQ(cable.purges, 1);
}

// ---------------------------------------------------------------------------------------------
// Memory in chunks

// A radio memory behind the fake cable: it answers reads and writes as the radio does, refusing
// writes at one address when told to, and can fall silent or answer short at one address.
struct FakeRadio {
    QByteArray memory;
    QList<QPair<quint32, int>> requests;
    quint32 refuseAt = 0xFFFFFFFF;
    quint32 silentAt = 0xFFFFFFFF;
    quint32 shortAt = 0xFFFFFFFF;

    FakeRadio() {
        memory.resize(0x2000);
        for (int i = 0; i < memory.size(); ++i) {
            memory[i] = static_cast<char>((i * 7 + 3) & 0xFF);
        }
    }

    ScriptedTransport::Answer Answer(const QByteArray& request) {
        const auto at = [&](int i) { return static_cast<quint8>(request[i]); };
        const quint32 address = (quint32{at(4)} << 16) | (quint32{at(5)} << 8) | at(6);
        QByteArray reply = Hex("50");
        if (at(1) == 0x11) {
            const quint32 from = (quint32{at(5)} << 16) | (quint32{at(6)} << 8) | at(7);
            int n = at(4);
            requests.append({from, n});
            if (from == silentAt) {
                return {};
            }
            if (from == shortAt) {
                --n;
            }
            QByteArray body = Hex("FF80");
            body.append(char(0));
            body.append(static_cast<char>(n + 4));
            body += request.mid(5, 3) + memory.mid(from, n);
            return {reply + Sealed(body.toHex().constData())};
        }
        const int n = at(3) - 4;
        requests.append({address, n});
        if (address == refuseAt) {
            return {reply + Sealed(("FF850004" + request.mid(4, 3).toHex()).constData())};
        }
        memory.replace(address, n, request.mid(7, n));
        return {reply + Sealed(("FF840004" + request.mid(4, 3).toHex()).constData())};
    }
};

struct ChunkRow {
    const char* name;
    quint32 address;
    int count;
    QList<int> chunks;  // sizes in order, as the requests must ask
};

class ProtocolChunks : public testing::TestWithParam<ChunkRow> {
protected:
    QList<QPair<quint32, int>> Expected() const {
        QList<QPair<quint32, int>> expected;
        quint32 at = GetParam().address;
        for (const int n : GetParam().chunks) {
            expected.append({at, n});
            at += static_cast<quint32>(n);
        }
        return expected;
    }
};

TEST_P(ProtocolChunks, ReadAsksChunkByChunk) {
    const ChunkRow& row = GetParam();
    FakeRadio radio;
    ScriptedTransport cable;
    cable.responder = [&](const QByteArray& r) { return radio.Answer(r); };
    ProgrammingLink link(cable);

    QByteArray out;
    EXPECT_EQ(link.ReadMemory(row.address, row.count, out), row.count);
    EXPECT_EQ(radio.requests, Expected());
    EXPECT_EQ(out, radio.memory.mid(row.address, row.count));
}

TEST_P(ProtocolChunks, WriteSendsChunkByChunk) {
    const ChunkRow& row = GetParam();
    FakeRadio radio;
    QByteArray expected = radio.memory;
    QByteArray data(row.count, '\0');
    for (int i = 0; i < row.count; ++i) {
        data[i] = static_cast<char>(0xA0 ^ i);
    }
    expected.replace(row.address, row.count, data);
    ScriptedTransport cable;
    cable.responder = [&](const QByteArray& r) { return radio.Answer(r); };
    ProgrammingLink link(cable);

    EXPECT_EQ(link.WriteMemory(data, row.address), row.count);
    EXPECT_EQ(radio.requests, Expected());
    EXPECT_EQ(radio.memory, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ProtocolChunks,
    testing::Values(
        ChunkRow{"none", 0x100, 0, {}}, ChunkRow{"one_small", 0x10, 4, {4}},
        ChunkRow{"exactly_one_chunk", 0x100, 32, {32}},
        ChunkRow{"one_byte_over", 0x100, 33, {32, 1}}, ChunkRow{"two_chunks", 0x1F0, 64, {32, 32}},
        ChunkRow{"bytes_410", 0x0, 410, {32, 32, 32, 32, 32, 32, 32, 32, 32, 32, 32, 32, 26}}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(ProtocolChunkFailure, SilentChunkFailsTheReadAndKeepsTheBuffer) {
    FakeRadio radio;
    radio.silentAt = 0x140;
    ScriptedTransport cable;
    cable.responder = [&](const QByteArray& r) { return radio.Answer(r); };
    ProgrammingLink link(cable);

    QByteArray out("keep");
    EXPECT_EQ(link.ReadMemory(0x100, 128, out), -1);
    EXPECT_EQ(out, QByteArray("keep"));
    // Two good chunks, then the silent one twice; nothing after it.
    const QList<QPair<quint32, int>> asked{{0x100, 32}, {0x120, 32}, {0x140, 32}, {0x140, 32}};
    EXPECT_EQ(radio.requests, asked);
    EXPECT_TRUE(link.LastFailure().contains(QLatin1String("read memory 0x000140")))
        << link.LastFailure().toStdString();
}

TEST(ProtocolChunkFailure, ShortChunkFailsTheRead) {
    FakeRadio radio;
    radio.shortAt = 0x120;
    ScriptedTransport cable;
    cable.responder = [&](const QByteArray& r) { return radio.Answer(r); };
    ProgrammingLink link(cable);

    QByteArray out("keep");
    EXPECT_EQ(link.ReadMemory(0x100, 64, out), -1);
    EXPECT_EQ(out, QByteArray("keep"));
}

TEST(ProtocolChunkFailure, RefusedChunkEndsTheWrite) {
    FakeRadio radio;
    radio.refuseAt = 0x120;
    ScriptedTransport cable;
    cable.responder = [&](const QByteArray& r) { return radio.Answer(r); };
    ProgrammingLink link(cable);

    EXPECT_EQ(link.WriteMemory(QByteArray(96, 'z'), 0x100), -1);
    EXPECT_EQ(link.LastError(), ProgrammingLink::kWriteRefused);
    const QList<QPair<quint32, int>> asked{{0x100, 32}, {0x120, 32}};
    EXPECT_EQ(radio.requests, asked);
}

TEST(ProtocolChunkFailure, WritePastTheAddressSpaceSendsNothing) {
    ScriptedTransport cable;
    ProgrammingLink link(cable);
    EXPECT_EQ(link.WriteMemory(QByteArray(40, 'z'), 0xFFFFF0), -1);
    EXPECT_TRUE(cable.writes.isEmpty());
}

}  // namespace
