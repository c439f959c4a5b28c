// The protocol over the real serial path — cable layer, pseudo-terminal, simulator — in every
// fault a radio or a cable can show. Each must end in the protocol's failure result after a
// bounded number of attempts, leave the caller's buffer as it was, and never hang.

#include <chrono>
#include <future>
#include <optional>
#include <ostream>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "env_guard.h"
#include "radio/protocol.h"
#include "radio/usb_cable.h"
#include "sim_process.h"

#include <gtest/gtest.h>

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr quint32 kMemoryBase = 0x10000;
// A span inside the main block, which a radio accepts writes to; 40 bytes take two chunks.
constexpr quint32 kAddress = 0x10020;
constexpr int kCount = 40;

enum class Op { Read, Write };

struct SFaultRow {
    const char* name;
    QStringList simArgs;
    Op op;
    int result;  // of ReadMemory / WriteMemory
    std::optional<int> lastError;
    int requests;       // request frames the simulator received
    bool failureNoted;  // whether the link names a failed request afterwards
};

void PrintTo(const SFaultRow& row, std::ostream* os) {
    *os << row.name;
}

QByteArray Pattern(int n) {
    QByteArray bytes;
    for (int k = 0; k < n; ++k) {
        bytes.append(char(0xA0 ^ (k * 7)));
    }
    return bytes;
}

// The longest a request may take before it gives up: every attempt waits for the reply to start
// for the whole start budget, and for at most two windows on any later byte. The slack covers a
// loaded machine; the point is that a fault ends, not how fast.
milliseconds Budget(int attempts) {
    const int windows =
        ProgrammingLink::kDefaultStartAttempts + 2 * ProgrammingLink::kDefaultRetries;
    return attempts * windows * ProgrammingLink::kAttemptWindow + milliseconds(2000);
}

class LinkFaults : public ::testing::TestWithParam<SFaultRow> {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_scratch.isValid());
        ASSERT_TRUE(QDir().mkpath(CableFolder()));
        qputenv("VESKCPS_CABLE_DIR", QFile::encodeName(CableFolder()));
    }

    QString CableFolder() const { return m_scratch.filePath(QStringLiteral("cables")); }
    QString MemoryFile() const { return m_scratch.filePath(QStringLiteral("memory.bin")); }

    QStringList SimArgs(const QStringList& extra) const {
        return QStringList{QStringLiteral("--fast"), QStringLiteral("--log"),
                           QStringLiteral("--memory"), MemoryFile()} +
               extra;
    }

    QByteArray MemoryAt(quint32 address, int count) const {
        QFile file(MemoryFile());
        if (!file.open(QIODevice::ReadOnly) || !file.seek(address - kMemoryBase)) {
            return {};
        }
        return file.read(count);
    }

    CEnvGuard m_env{"VESKCPS_CABLE_DIR"};
    QTemporaryDir m_scratch;
};

TEST_P(LinkFaults, EndsInTheProtocolsResultWithinItsBudget) {
    const SFaultRow& row = GetParam();
    QByteArray before;
    {
        // The memory as it stands before the fault, from a simulator without one.
        CSimProcess clean(CableFolder(), SimArgs({}));
        ASSERT_TRUE(clean.Ready()) << qPrintable(clean.Error());
        ASSERT_EQ(clean.Stop(), 0);
        before = MemoryAt(kAddress, kCount);
        ASSERT_EQ(before.size(), kCount);
    }
    CSimProcess sim(CableFolder(), SimArgs(row.simArgs));
    ASSERT_TRUE(sim.Ready()) << qPrintable(sim.Error());

    CUsbCable cable;
    ASSERT_EQ(cable.CountCables(), 1);
    ASSERT_EQ(cable.Open(), 1);
    ProgrammingLink link(cable);

    const QByteArray untouched("caller's bytes");
    QByteArray buffer = untouched;
    const QByteArray written = Pattern(kCount);
    const auto start = Clock::now();
    std::future<int> request = std::async(std::launch::async, [&] {
        return row.op == Op::Read ? link.ReadMemory(kAddress, kCount, buffer)
                                  : link.WriteMemory(written, kAddress);
    });
    // A request that never ends is this test's failure, not a hang of the suite: taking the radio
    // away hangs up the line under it.
    if (request.wait_for(2 * Budget(row.requests)) != std::future_status::ready) {
        sim.Stop();
    }
    const int result = request.get();
    const auto elapsed = std::chrono::duration_cast<milliseconds>(Clock::now() - start);
    cable.Close();
    sim.Stop();

    EXPECT_EQ(result, row.result) << qPrintable(link.LastFailure());
    if (row.lastError) {
        EXPECT_EQ(link.LastError(), *row.lastError);
    }
    EXPECT_EQ(sim.RequestsLogged(), row.requests) << sim.Log().constData();
    EXPECT_EQ(!link.LastFailure().isEmpty(), row.failureNoted) << qPrintable(link.LastFailure());
    EXPECT_LT(elapsed, Budget(row.requests));

    const QByteArray after = MemoryAt(kAddress, kCount);
    if (row.op == Op::Read) {
        EXPECT_EQ(buffer, result == kCount ? before : untouched);
        EXPECT_EQ(after, before);
    } else if (result == kCount) {
        EXPECT_EQ(after, written);
    } else {
        // Only whole chunks change: none, the first, or both when the radio took the second but
        // its answer was lost on the way back.
        EXPECT_TRUE(after == before || after == written.left(32) + before.mid(32) ||
                    after == written)
            << after.toHex().constData();
    }
}

QStringList Fault(const char* kind) {
    return {QStringLiteral("--fault"), QString::fromLatin1(kind)};
}

// Reading 40 bytes takes two chunks, and so does writing them; a failing chunk is tried twice.
const SFaultRow kFaultRows[] = {
    {"read_clean", {}, Op::Read, kCount, 0, 2, false},
    {"write_clean", {}, Op::Write, kCount, 0, 2, false},
    {"read_silence", Fault("silence"), Op::Read, -1, std::nullopt, 2, true},
    {"write_silence", Fault("silence"), Op::Write, -1, std::nullopt, 2, true},
    {"read_garbage", Fault("garbage"), Op::Read, -1, ProgrammingLink::kNoAcknowledgement, 2, true},
    {"write_garbage", Fault("garbage"), Op::Write, -1, ProgrammingLink::kNoAcknowledgement, 2,
     true},
    {"read_drop", Fault("drop"), Op::Read, -1, std::nullopt, 2, true},
    {"write_drop", Fault("drop"), Op::Write, -1, std::nullopt, 2, true},
    {"read_checksum", Fault("checksum"), Op::Read, -1, ProgrammingLink::kChecksumError, 2, true},
    {"write_checksum", Fault("checksum"), Op::Write, -1, ProgrammingLink::kChecksumError, 2, true},
    {"read_truncate", Fault("truncate"), Op::Read, -1, std::nullopt, 2, true},
    {"write_truncate", Fault("truncate"), Op::Write, -1, std::nullopt, 2, true},
    // A refusal is an answer, not a transmission fault: it is not tried again.
    {"write_refuse", Fault("refuse"), Op::Write, -1, ProgrammingLink::kWriteRefused, 1, true},
    {"read_refuse", Fault("refuse"), Op::Read, kCount, 0, 2, false},
    // A fault in one frame only is mended by the second attempt; the link still tells of it.
    {"read_garbage_once", Fault("garbage@1"), Op::Read, kCount, std::nullopt, 3, true},
    {"read_checksum_once", Fault("checksum@2"), Op::Read, kCount, std::nullopt, 3, true},
    {"read_silence_once", Fault("silence@1"), Op::Read, kCount, std::nullopt, 3, true},
    {"write_drop_once", Fault("drop@2"), Op::Write, kCount, std::nullopt, 3, true},
    {"write_truncate_once", Fault("truncate@1"), Op::Write, kCount, std::nullopt, 3, true},
    // From the second chunk on: the first chunk's bytes never reach the caller alone.
    {"read_second_chunk_fails", Fault("drop@2+"), Op::Read, -1, std::nullopt, 3, true},
    {"write_second_chunk_fails", Fault("checksum@2+"), Op::Write, -1,
     ProgrammingLink::kChecksumError, 3, true},
    // A line that never stops sending stray bytes after the acknowledgement: each attempt ends at
    // its deadline however many bytes keep coming.
    {"read_babble", Fault("babble"), Op::Read, -1, std::nullopt, 2, true},
    {"write_babble", Fault("babble"), Op::Write, -1, std::nullopt, 2, true},
    // The radio takes a while to answer: still well inside the start budget.
    {"read_turnaround",
     {QStringLiteral("--turnaround"), QStringLiteral("300")},
     Op::Read,
     kCount,
     0,
     2,
     false},
};

INSTANTIATE_TEST_SUITE_P(AllFaults, LinkFaults, ::testing::ValuesIn(kFaultRows),
                         [](const ::testing::TestParamInfo<SFaultRow>& rowInfo) {
                             return std::string(rowInfo.param.name);
                         });

class LinkLine : public LinkFaults {};

// The cable pulled mid-transfer: the failing status ends this request and refuses every later
// one at once, without waiting for time-outs.
TEST_F(LinkLine, ACablePulledMidTransferFailsAndStaysFailed) {
    CSimProcess sim(CableFolder(), SimArgs({QStringLiteral("--pull-after"), QStringLiteral("60")}));
    ASSERT_TRUE(sim.Ready()) << qPrintable(sim.Error());
    CUsbCable cable;
    ASSERT_EQ(cable.CountCables(), 1);
    ASSERT_EQ(cable.Open(), 1);
    ProgrammingLink link(cable);

    QByteArray buffer;
    const auto start = Clock::now();
    EXPECT_EQ(link.ReadMemory(0x10000, 96, buffer), -1);
    EXPECT_NE(link.CableStatus(), 0) << qPrintable(link.LastFailure());
    EXPECT_TRUE(buffer.isEmpty());
    const auto later = Clock::now();
    EXPECT_EQ(link.ReadMemory(0x10000, 4, buffer), -1);
    EXPECT_LT(Clock::now() - later, milliseconds(100));
    EXPECT_LT(Clock::now() - start, Budget(2));
    cable.Close();
    ASSERT_TRUE(sim.WaitForExit(10000));
    EXPECT_EQ(sim.ExitCode(), 3);
    // The simulator took its registration with it: no cable any more.
    CUsbCable recount;
    EXPECT_EQ(recount.CountCables(), 0);
}

// At the radio's real line speed, with its replies paced like the wire, the bytes come through
// unchanged both ways, and the queries answer what the radio was told to be.
TEST_F(LinkLine, PacedLineCarriesMemoryAndQueries) {
    CSimProcess sim(CableFolder(),
                    {QStringLiteral("--memory"), MemoryFile(), QStringLiteral("--firmware"),
                     QStringLiteral("R16"), QStringLiteral("--status-code"), QStringLiteral("8")});
    ASSERT_TRUE(sim.Ready()) << qPrintable(sim.Error());
    CUsbCable cable;
    ASSERT_EQ(cable.CountCables(), 1);
    ASSERT_EQ(cable.Open(), 1);
    ProgrammingLink link(cable);

    // Bytes a line discipline would like to change: carriage return, new line, the flow control
    // characters, and the frame header itself.
    const QByteArray tricky = QByteArray::fromHex("0d0a11130aff50f0fe00");
    const int n = static_cast<int>(tricky.size());
    ASSERT_EQ(link.WriteMemory(tricky, 0x10100), n) << qPrintable(link.LastFailure());
    QByteArray back;
    ASSERT_EQ(link.ReadMemory(0x10100, n, back), n) << qPrintable(link.LastFailure());
    EXPECT_EQ(back.toHex(), tricky.toHex());

    FirmwareInfo firmware;
    ASSERT_GT(link.QueryFirmware(firmware), 0) << qPrintable(link.LastFailure());
    EXPECT_EQ(firmware.phase, 'R');
    EXPECT_EQ(firmware.version, '1');
    EXPECT_EQ(firmware.revision, '6');
    int status = -1;
    ASSERT_GT(link.QueryStatus(status), 0) << qPrintable(link.LastFailure());
    EXPECT_EQ(status, 8);
    EXPECT_EQ(link.Reset(), 1);
    EXPECT_TRUE(link.LastFailure().isEmpty()) << qPrintable(link.LastFailure());
    cable.Close();
    sim.Stop();
    EXPECT_EQ(MemoryAt(0x10100, n).toHex(), tricky.toHex());
}

// A radio accepts writes only where a programmer writes; the identity block is not one of them.
TEST_F(LinkLine, WritesOutsideTheWritableBlocksAreRefusedAndChangeNothing) {
    CSimProcess sim(CableFolder(), SimArgs({}));
    ASSERT_TRUE(sim.Ready()) << qPrintable(sim.Error());
    CUsbCable cable;
    ASSERT_EQ(cable.CountCables(), 1);
    ASSERT_EQ(cable.Open(), 1);
    ProgrammingLink link(cable);
    QByteArray identity;
    ASSERT_EQ(link.ReadMemory(0x10E18, 32, identity), 32);
    EXPECT_EQ(link.WriteMemory(QByteArray(32, 'x'), 0x10E18), -1);
    EXPECT_EQ(link.LastError(), ProgrammingLink::kWriteRefused);
    QByteArray again;
    ASSERT_EQ(link.ReadMemory(0x10E18, 32, again), 32);
    EXPECT_EQ(again, identity);
    cable.Close();
}

}  // namespace
