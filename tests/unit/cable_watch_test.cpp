#include "radio/cable_watch.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "env_guard.h"
#include "platform/ipc/process_lock.h"
#include "platform/ipc/shared_status.h"
#include "radio/usb_cable.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

using namespace std::chrono_literals;
using ipc::CSharedStatusBlock;
using Clock = std::chrono::steady_clock;

// Guards against a broken watch hanging the suite; no result depends on it. The watch's own
// pace is a post per second, so this is many cycles even under a sanitizer on a loaded machine.
constexpr auto kPatience = 30s;

QByteArray UniqueBlockName() {
    static std::atomic<int> counter{0};
    return "/VeskCPSTest." + QByteArray::number(::getpid()) + '.' +
           QByteArray::number(counter.fetch_add(1));
}

// ---------------------------------------------------------------------------------------------
// The block itself.

class SharedStatusBlockTest : public ::testing::Test {
protected:
    void SetUp() override { CSharedStatusBlock::Remove(m_name); }
    void TearDown() override { CSharedStatusBlock::Remove(m_name); }

    // Leaves an object under the name as a crashed or foreign program might have.
    void Plant(const QByteArray& content) const {
        const int fd = ::shm_open(m_name.constData(), O_RDWR | O_CREAT | O_TRUNC, 0600);
        ASSERT_GE(fd, 0) << std::strerror(errno);
        ASSERT_EQ(::write(fd, content.constData(), static_cast<size_t>(content.size())),
                  content.size());
        ::close(fd);
    }

    QByteArray m_name = UniqueBlockName();
};

TEST_F(SharedStatusBlockTest, AFreshBlockIsZeroedAndKeptByLaterOpenings) {
    EXPECT_EQ(CSharedStatusBlock::OpenExisting(m_name), nullptr);
    bool created = false;
    QString error;
    auto first = CSharedStatusBlock::OpenOrCreate(m_name, &created, &error);
    ASSERT_NE(first, nullptr) << error.toStdString();
    EXPECT_TRUE(created);
    EXPECT_EQ(first->Bytes(), QByteArray(1024, '\0'));

    first->Store(CSharedStatusBlock::CableFound, 1);
    first->Store(CSharedStatusBlock::CableCount, 3);
    auto second = CSharedStatusBlock::OpenOrCreate(m_name, &created);
    ASSERT_NE(second, nullptr);
    EXPECT_FALSE(created);
    EXPECT_EQ(second->Load(CSharedStatusBlock::CableFound), 1u);
    EXPECT_EQ(second->Load(CSharedStatusBlock::CableCount), 3u);
    // Both mappings are the same memory.
    second->Store(CSharedStatusBlock::Transferring, 1);
    EXPECT_EQ(first->Load(CSharedStatusBlock::Transferring), 1u);
    EXPECT_NE(CSharedStatusBlock::OpenExisting(m_name), nullptr);
}

struct PlantedRow {
    const char* name;
    // Header fields as planted; the slots after it are all ones.
    std::uint32_t magic;
    std::uint32_t version;
    std::uint32_t blockSize;
    int checksumDelta;
    qsizetype objectSize;
    bool trusted;
};

void PrintTo(const PlantedRow& row, std::ostream* out) {
    *out << row.name;
}

class SharedStatusPlantedTest : public SharedStatusBlockTest,
                                public ::testing::WithParamInterface<PlantedRow> {};

TEST_P(SharedStatusPlantedTest, OnlyASoundHeaderIsTrusted) {
    const PlantedRow& row = GetParam();
    CSharedStatusBlock::Header header{};
    header.magic = row.magic;
    header.version = row.version;
    header.blockSize = row.blockSize;
    header.checksum =
        CSharedStatusBlock::HeaderChecksum(header) + static_cast<std::uint32_t>(row.checksumDelta);
    QByteArray content(reinterpret_cast<const char*>(&header), sizeof header);
    content.append(QByteArray(static_cast<qsizetype>(CSharedStatusBlock::kBlockSize), '\xFF'));
    content.truncate(row.objectSize);
    Plant(content);

    EXPECT_EQ(CSharedStatusBlock::OpenExisting(m_name) != nullptr, row.trusted);
    bool created = false;
    auto block = CSharedStatusBlock::OpenOrCreate(m_name, &created);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(created, !row.trusted);
    const QByteArray bytes = block->Bytes();
    EXPECT_EQ(bytes.left(16), row.trusted ? QByteArray(16, '\xFF') : QByteArray(16, '\0'));
    EXPECT_EQ(block->Load(CSharedStatusBlock::CableCount), row.trusted ? 0xFFFFFFFFu : 0u);
}

constexpr auto kV = CSharedStatusBlock::kVersion;
constexpr auto kM = CSharedStatusBlock::kMagic;
constexpr std::uint32_t kB = CSharedStatusBlock::kBlockSize;
constexpr auto kFull = static_cast<qsizetype>(CSharedStatusBlock::kMappedSize);

INSTANTIATE_TEST_SUITE_P(
    Rows, SharedStatusPlantedTest,
    ::testing::Values(PlantedRow{"Sound", kM, kV, kB, 0, kFull, true},
                      PlantedRow{"Empty", kM, kV, kB, 0, 0, false},
                      PlantedRow{"CutShort", kM, kV, kB, 0, kFull - 1, false},
                      PlantedRow{"HeaderOnly", kM, kV, kB, 0, 32, false},
                      PlantedRow{"OtherMagic", kM ^ 1u, kV, kB, 0, kFull, false},
                      PlantedRow{"OtherVersion", kM, kV + 1, kB, 0, kFull, false},
                      PlantedRow{"OtherBlockSize", kM, kV, kB * 2, 0, kFull, false},
                      PlantedRow{"BadChecksum", kM, kV, kB, 1, kFull, false}),
    [](const ::testing::TestParamInfo<PlantedRow>& row) { return row.param.name; });

// ---------------------------------------------------------------------------------------------
// The watch, against other copies played by vesk_watch_peer.

struct PostedStatus {
    bool ready;
    int count;
    bool operator==(const PostedStatus&) const = default;
};

void PrintTo(const PostedStatus& post, std::ostream* out) {
    *out << (post.ready ? "ready" : "not ready") << ", " << post.count << " cable(s)";
}

class CRecordingSink : public ICableStatusSink {
public:
    void PostCableStatus(bool ready, int cableCount) override {
        {
            const std::lock_guard guard(m_mutex);
            m_posts.push_back({ready, cableCount});
        }
        m_posted.notify_all();
    }
    std::size_t Count() const {
        const std::lock_guard guard(m_mutex);
        return m_posts.size();
    }
    // The post with this index, once it came.
    std::optional<PostedStatus> At(std::size_t index) const {
        std::unique_lock lock(m_mutex);
        if (!m_posted.wait_for(lock, kPatience, [&] { return m_posts.size() > index; })) {
            return std::nullopt;
        }
        return m_posts[index];
    }
    // The index of the first post from `from` on that equals `wanted`, looking at most `within`
    // posts.
    std::optional<std::size_t> Find(const PostedStatus& wanted, std::size_t from,
                                    std::size_t within) const {
        for (std::size_t i = from; i < from + within; ++i) {
            const auto post = At(i);
            if (!post) {
                return std::nullopt;
            }
            if (*post == wanted) {
                return i;
            }
        }
        return std::nullopt;
    }

private:
    mutable std::mutex m_mutex;
    mutable std::condition_variable m_posted;
    std::vector<PostedStatus> m_posts;
};

// Another copy of the program, with a pipe to its stdin and one from its stdout.
class CPeer {
public:
    explicit CPeer(const char* mode) {
        int in[2] = {-1, -1};
        int out[2] = {-1, -1};
        if (::pipe2(in, O_CLOEXEC) != 0 || ::pipe2(out, O_CLOEXEC) != 0) {
            return;
        }
        posix_spawn_file_actions_t actions;
        ::posix_spawn_file_actions_init(&actions);
        ::posix_spawn_file_actions_adddup2(&actions, in[0], 0);
        ::posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        char program[] = VESK_WATCH_PEER;
        std::string modeText = mode;
        char* args[] = {program, modeText.data(), nullptr};
        if (::posix_spawn(&m_pid, program, &actions, nullptr, args, environ) != 0) {
            m_pid = -1;
        }
        ::posix_spawn_file_actions_destroy(&actions);
        ::close(in[0]);
        ::close(out[1]);
        m_stdin = in[1];
        m_stdout = out[0];
    }
    ~CPeer() {
        Kill();
        if (m_stdin >= 0) {
            ::close(m_stdin);
        }
        if (m_stdout >= 0) {
            ::close(m_stdout);
        }
    }
    CPeer(const CPeer&) = delete;
    CPeer& operator=(const CPeer&) = delete;

    pid_t Pid() const { return m_pid; }
    bool Started() const { return m_pid > 0; }

    // The next line the peer printed, or empty when it printed none within the patience.
    std::string ReadLine() {
        const auto deadline = Clock::now() + kPatience;
        for (;;) {
            const auto newline = m_buffer.find('\n');
            if (newline != std::string::npos) {
                std::string line = m_buffer.substr(0, newline);
                m_buffer.erase(0, newline + 1);
                return line;
            }
            if (Clock::now() >= deadline) {
                return {};
            }
            pollfd p{m_stdout, POLLIN, 0};
            if (::poll(&p, 1, 100) <= 0) {
                continue;
            }
            char chunk[256];
            const ssize_t n = ::read(m_stdout, chunk, sizeof chunk);
            if (n <= 0) {
                return {};
            }
            m_buffer.append(chunk, static_cast<size_t>(n));
        }
    }
    // Reads lines until one equals `line`; false when the peer ends or goes quiet first.
    bool Expect(const std::string& line) {
        for (;;) {
            const std::string got = ReadLine();
            if (got.empty()) {
                return false;
            }
            if (got == line) {
                return true;
            }
        }
    }
    bool Send(const std::string& line) const {
        const std::string text = line + '\n';
        return ::write(m_stdin, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    }
    // SIGKILL, and the process reaped: whatever it held, the kernel has taken back.
    void Kill() {
        if (m_pid > 0) {
            ::kill(m_pid, SIGKILL);
            int status = 0;
            ::waitpid(m_pid, &status, 0);
            m_pid = -1;
        }
    }

private:
    pid_t m_pid = -1;
    int m_stdin = -1;
    int m_stdout = -1;
    std::string m_buffer;
};

class CableWatchTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_runtime.isValid());
        ASSERT_TRUE(m_cables.isValid());
        qputenv("VESKCPS_STATUS_BLOCK", m_name);
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_runtime.path()));
        qputenv("VESKCPS_CABLE_DIR", QFile::encodeName(m_cables.path()));
        CSharedStatusBlock::Remove(m_name);
        // Converters plugged into this machine come before the virtual cables and would change
        // every expected count.
        d2xx::DWORD devices = 0;
        d2xx::FT_ListDevices(&devices, nullptr, d2xx::FT_LIST_NUMBER_ONLY);
        m_realDevices = static_cast<int>(devices);
        if (CUsbCable().CountCables() != 0) {
            GTEST_SKIP() << "a programming cable is plugged into this machine";
        }
        m_watch.emplace();
    }
    void TearDown() override {
        for (const int fd : m_farEnds) {
            ::close(fd);
        }
        CSharedStatusBlock::Remove(m_name);
    }

    // Registers a virtual cable on a fresh pseudo-terminal that the test keeps open.
    void Plug(const QString& fileName) {
        const int fd = ::posix_openpt(O_RDWR | O_NOCTTY);
        ASSERT_GE(fd, 0);
        m_farEnds.push_back(fd);
        ASSERT_EQ(::grantpt(fd), 0);
        ASSERT_EQ(::unlockpt(fd), 0);
        QFile file(QDir(m_cables.path()).filePath(fileName));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray("description=ZT CPS Cable\ndevice=") + ::ptsname(fd) + '\n');
    }

    // Starts the watch and waits until its posts say `wanted`; the index of that post.
    std::size_t StartUntil(const PostedStatus& wanted) {
        m_watch->Start(m_sink);
        const auto at = m_sink.Find(wanted, 0, 10);
        EXPECT_TRUE(at.has_value()) << "never posted " << ::testing::PrintToString(wanted);
        return at.value_or(0);
    }

    std::unique_ptr<CSharedStatusBlock> Block() const {
        return CSharedStatusBlock::OpenExisting(m_name);
    }

    CEnvGuard m_env{"VESKCPS_STATUS_BLOCK", "XDG_RUNTIME_DIR", "VESKCPS_CABLE_DIR"};
    QByteArray m_name = UniqueBlockName();
    QTemporaryDir m_runtime;
    QTemporaryDir m_cables;
    std::vector<int> m_farEnds;
    int m_realDevices = 0;
    CRecordingSink m_sink;
    // Made in SetUp, once the environment names this test's block and folders; declared last so
    // that it stops before anything it uses goes away.
    std::optional<CCableWatch> m_watch;
};

// How many posts a recovery may take: the cycle under way when the other copy died may have
// looked before it died, and the next one must see it.
constexpr std::size_t kRecoveryPosts = 2;

struct CableRow {
    const char* name;
    int cables;
    PostedStatus settled;
};

void PrintTo(const CableRow& row, std::ostream* out) {
    *out << row.name;
}

class CableWatchCountTest : public CableWatchTest,
                            public ::testing::WithParamInterface<CableRow> {};

TEST_P(CableWatchCountTest, ReadyOnlyWithExactlyOneCable) {
    const CableRow& row = GetParam();
    for (int i = 0; i < row.cables; ++i) {
        Plug(QStringLiteral("cable%1.cable").arg(i));
    }
    const std::size_t at = StartUntil(row.settled);
    // This copy is the only one, so it runs the monitor; the block agrees with the posts.
    EXPECT_TRUE(m_watch->RunsMonitor());
    const auto block = Block();
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(block->Load(CSharedStatusBlock::MonitorRunning), 1u);
    EXPECT_EQ(block->Load(CSharedStatusBlock::CableFound), row.cables > 0 ? 1u : 0u);
    EXPECT_EQ(block->Load(CSharedStatusBlock::CableCount), static_cast<std::uint32_t>(row.cables));
    EXPECT_EQ(m_watch->Cable().Present(), row.cables > 0 ? 1 : 0);
    EXPECT_EQ(m_watch->CableCount(), row.cables);
    if (row.cables > 0) {
        EXPECT_EQ(CUsbCable::CableIndex(), m_realDevices);
    }
    EXPECT_EQ(m_sink.At(at + 1), row.settled);
    EXPECT_TRUE(m_watch->Shutdown());
    EXPECT_EQ(block->Load(CSharedStatusBlock::MonitorRunning), 0u);
}

INSTANTIATE_TEST_SUITE_P(Rows, CableWatchCountTest,
                         ::testing::Values(CableRow{"NoCable", 0, {false, 0}},
                                           CableRow{"OneCable", 1, {true, 1}},
                                           CableRow{"TwoCables", 2, {false, 2}}),
                         [](const ::testing::TestParamInfo<CableRow>& row) {
                             return row.param.name;
                         });

TEST_F(CableWatchTest, AnotherCopysTransferKeepsThisCopyNotReadyUntilItEnds) {
    Plug(QStringLiteral("sim.cable"));
    const std::size_t ready = StartUntil({true, 1});
    CPeer peer("transfer");
    ASSERT_TRUE(peer.Started());
    ASSERT_TRUE(peer.Expect("ready"));
    const auto blocked = m_sink.Find({false, 1}, ready + 1, kRecoveryPosts + 1);
    ASSERT_TRUE(blocked.has_value());
    // The slot is the other copy's and its holder is alive: no cycle may clear it.
    for (std::size_t i = *blocked + 1; i <= *blocked + 2; ++i) {
        EXPECT_EQ(m_sink.At(i), (PostedStatus{false, 1})) << "post " << i;
    }
    const std::size_t ending = m_sink.Count();
    ASSERT_TRUE(peer.Send("end"));
    ASSERT_TRUE(peer.Expect("ended"));
    EXPECT_TRUE(m_sink.Find({true, 1}, ending, kRecoveryPosts + 1).has_value());
}

TEST_F(CableWatchTest, ACopyKilledWhileTransferringFreesTheCable) {
    Plug(QStringLiteral("sim.cable"));
    const std::size_t ready = StartUntil({true, 1});
    CPeer peer("transfer");
    ASSERT_TRUE(peer.Started());
    ASSERT_TRUE(peer.Expect("ready"));
    ASSERT_TRUE(m_sink.Find({false, 1}, ready + 1, kRecoveryPosts + 1).has_value());
    peer.Kill();
    const std::size_t killed = m_sink.Count();
    EXPECT_TRUE(m_sink.Find({true, 1}, killed, kRecoveryPosts).has_value());
    const auto block = Block();
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(block->Load(CSharedStatusBlock::Transferring), 0u);
}

TEST_F(CableWatchTest, ACopyKilledHoldingTheProtocolLockIsReportedAndReleased) {
    Plug(QStringLiteral("sim.cable"));
    CPeer peer("lock");
    ASSERT_TRUE(peer.Started());
    ASSERT_TRUE(peer.Expect("ready"));
    std::vector<qint64> reported;
    std::mutex reportedMutex;
    m_watch->ProtocolLock().SetDeadHolderReport([&](qint64 pid) {
        const std::lock_guard guard(reportedMutex);
        reported.push_back(pid);
    });
    // The monitor cannot count while the other copy holds the lock.
    m_watch->Start(m_sink);
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(m_sink.At(i), (PostedStatus{false, 0})) << "post " << i;
    }
    const pid_t holder = peer.Pid();
    peer.Kill();
    const std::size_t killed = m_sink.Count();
    EXPECT_TRUE(m_sink.Find({true, 1}, killed, kRecoveryPosts).has_value());
    EXPECT_EQ(m_watch->ProtocolLock().DeadHolderCount(), 1);
    EXPECT_EQ(m_watch->ProtocolLock().LastDeadHolder(), holder);
    const std::lock_guard guard(reportedMutex);
    EXPECT_EQ(reported, std::vector<qint64>{holder});
}

TEST_F(CableWatchTest, ReleasedProtocolLockIsNotReportedAsDead) {
    ipc::CProtocolLock first;
    ipc::CProtocolLock second;
    ASSERT_TRUE(first.Lock());
    EXPECT_FALSE(second.TryLockUntil(Clock::now()));
    first.Unlock();
    ASSERT_TRUE(second.TryLockUntil(Clock::now() + kPatience));
    second.Unlock();
    EXPECT_EQ(first.DeadHolderCount(), 0);
    EXPECT_EQ(second.DeadHolderCount(), 0);
}

TEST_F(CableWatchTest, ACopyKilledWhileRunningTheMonitorIsReplaced) {
    CPeer peer("monitor");
    ASSERT_TRUE(peer.Started());
    // Its first status line comes after it took the monitor's place.
    ASSERT_TRUE(peer.Expect("status 0 0"));
    const std::size_t first = StartUntil({false, 0});
    EXPECT_FALSE(m_watch->RunsMonitor());
    EXPECT_EQ(m_sink.At(first + 1), (PostedStatus{false, 0}));
    EXPECT_FALSE(m_watch->RunsMonitor());
    peer.Kill();
    // Its slot 0 still says that a monitor runs; the status cycle after the one under way must
    // take its place all the same.
    const std::size_t killed = m_sink.Count();
    ASSERT_TRUE(m_sink.At(killed + kRecoveryPosts - 1).has_value());
    EXPECT_TRUE(m_watch->RunsMonitor());
    // And the replacement monitors: a cable plugged now is found.
    Plug(QStringLiteral("sim.cable"));
    EXPECT_TRUE(m_sink.Find({true, 1}, m_sink.Count(), kRecoveryPosts + 1).has_value());
}

TEST_F(CableWatchTest, ShutdownEndsThreadsThatAreWaiting) {
    Plug(QStringLiteral("sim.cable"));
    CPeer peer("lock");
    ASSERT_TRUE(peer.Started());
    ASSERT_TRUE(peer.Expect("ready"));
    // The monitor now waits for the protocol lock and the status thread for its next cycle.
    m_watch->Start(m_sink);
    ASSERT_TRUE(m_sink.At(1).has_value());
    ASSERT_TRUE(m_watch->RunsMonitor());
    EXPECT_TRUE(m_watch->Shutdown());
    const auto block = Block();
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(block->Load(CSharedStatusBlock::MonitorRunning), 0u);
    const std::size_t posts = m_sink.Count();
    EXPECT_TRUE(m_watch->Shutdown());
    EXPECT_EQ(m_sink.Count(), posts);
}

}  // namespace
