#include "radio/usb_cable.h"

#include <chrono>
#include <cstdlib>
#include <ostream>
#include <vector>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "env_guard.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <unistd.h>

namespace {

using namespace std::chrono_literals;
using Clock = IByteTransport::Clock;

// Only guards against a broken cable hanging the suite; no result depends on it.
constexpr auto kPatience = 5s;

// The far end of a virtual cable: the test holds the master side and plays the radio.
class CFarEnd {
public:
    CFarEnd() {
        m_fd = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (m_fd >= 0 && ::grantpt(m_fd) == 0 && ::unlockpt(m_fd) == 0) {
            m_device = QString::fromLocal8Bit(::ptsname(m_fd));
        }
    }
    ~CFarEnd() { Hangup(); }
    CFarEnd(const CFarEnd&) = delete;
    CFarEnd& operator=(const CFarEnd&) = delete;

    const QString& Device() const { return m_device; }
    void Send(const QByteArray& bytes) const {
        ASSERT_EQ(::write(m_fd, bytes.constData(), static_cast<size_t>(bytes.size())),
                  bytes.size());
    }
    QByteArray Receive(qsizetype count) const {
        QByteArray got;
        const auto deadline = Clock::now() + kPatience;
        while (got.size() < count && Clock::now() < deadline) {
            pollfd p{m_fd, POLLIN, 0};
            if (::poll(&p, 1, 100) <= 0) {
                continue;
            }
            char buffer[256];
            const ssize_t n = ::read(m_fd, buffer, sizeof buffer);
            if (n <= 0) {
                break;
            }
            got.append(buffer, n);
        }
        return got;
    }
    void Hangup() {
        if (m_fd >= 0) {
            ::close(m_fd);
            m_fd = -1;
        }
    }

private:
    int m_fd = -1;
    QString m_device;
};

class UsbCableTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_folder.isValid());
        qputenv("VESKCPS_CABLE_DIR", QFile::encodeName(m_folder.path()));
        // Converters plugged into the machine come before the virtual cables.
        m_realCables = CountDevices();
        m_realCablesMatching = CUsbCable().CountCables();
    }

    static int CountDevices() {
        d2xx::DWORD count = 0;
        EXPECT_EQ(d2xx::FT_ListDevices(&count, nullptr, d2xx::FT_LIST_NUMBER_ONLY), d2xx::FT_OK);
        return static_cast<int>(count);
    }

    void Register(const QString& fileName, const QByteArray& description, const QString& device) {
        QFile file(QDir(m_folder.path()).filePath(fileName));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("description=" + description + "\ndevice=" + QFile::encodeName(device) + "\n");
    }

    // Opens a cable on a fresh far end registered as the only virtual cable.
    void OpenOne(CUsbCable& cable, const CFarEnd& far) {
        ASSERT_FALSE(far.Device().isEmpty());
        Register(QStringLiteral("sim.cable"), "ZT CPS Cable", far.Device());
        ASSERT_EQ(cable.CountCables(), 1 + m_realCablesMatching);
        ASSERT_EQ(cable.Open(m_realCables), 1);
        ASSERT_EQ(cable.LastStatus(), d2xx::FT_OK);
    }

    CEnvGuard m_env{"VESKCPS_CABLE_DIR"};
    QTemporaryDir m_folder;
    int m_realCables = 0;
    int m_realCablesMatching = 0;
};

struct DescriptionRow {
    const char* name;
    QByteArray description;
    bool matches;
};

void PrintTo(const DescriptionRow& row, std::ostream* out) {
    *out << '"' << row.description.toStdString() << '"';
}

class UsbCableDescriptionTest : public UsbCableTest,
                                public ::testing::WithParamInterface<DescriptionRow> {};

TEST_P(UsbCableDescriptionTest, MatchesOnlyTheWholeDescription) {
    const DescriptionRow& row = GetParam();
    CFarEnd far;
    ASSERT_FALSE(far.Device().isEmpty());
    Register(QStringLiteral("sim.cable"), row.description, far.Device());
    CUsbCable cable;
    EXPECT_EQ(cable.CountCables(), m_realCablesMatching + (row.matches ? 1 : 0));
    if (row.matches && m_realCablesMatching == 0) {
        EXPECT_EQ(CUsbCable::CableIndex(), m_realCables);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, UsbCableDescriptionTest,
    ::testing::Values(DescriptionRow{"ExactZt", "ZT CPS Cable", true},
                      DescriptionRow{"ExactQmv", "QMV Series CPS Cable", true},
                      DescriptionRow{"PrefixOfZt", "ZT CPS Cabl", false},
                      DescriptionRow{"PrefixOfQmv", "QMV Series", false},
                      DescriptionRow{"ZtWithSuffix", "ZT CPS Cable 2", false},
                      DescriptionRow{"QmvWithTrailingBlank", "QMV Series CPS Cable ", false},
                      DescriptionRow{"LeadingCharacter", "XZT CPS Cable", false},
                      DescriptionRow{"OtherCase", "zt cps cable", false},
                      DescriptionRow{"OtherProduct", "USB Serial Converter", false},
                      DescriptionRow{"Empty", "", false}),
    [](const ::testing::TestParamInfo<DescriptionRow>& row) { return row.param.name; });

TEST_F(UsbCableTest, VirtualCablesFollowFileNameOrder) {
    CFarEnd other;
    CFarEnd first;
    CFarEnd second;
    Register(QStringLiteral("c.cable"), "ZT CPS Cable", second.Device());
    Register(QStringLiteral("a.cable"), "USB Serial Converter", other.Device());
    Register(QStringLiteral("b.cable"), "QMV Series CPS Cable", first.Device());
    ASSERT_EQ(CountDevices(), m_realCables + 3);

    CUsbCable cable;
    ASSERT_EQ(cable.CountCables(), m_realCablesMatching + 2);
    if (m_realCablesMatching == 0) {
        EXPECT_EQ(CUsbCable::CableIndex(), m_realCables + 1);
    }
    // The index leads to b's line, not to the file written last or first.
    ASSERT_EQ(cable.Open(m_realCables + 1), 1);
    ASSERT_EQ(cable.Write(QByteArrayView("b?")).status, 0);
    EXPECT_EQ(first.Receive(2), QByteArray("b?"));
}

TEST_F(UsbCableTest, CableWhoseDeviceIsGoneIsIgnored) {
    CFarEnd alive;
    Register(QStringLiteral("a.cable"), "ZT CPS Cable",
             QStringLiteral("/dev/pts/no-such-terminal"));
    Register(QStringLiteral("b.cable"), "ZT CPS Cable", alive.Device());
    Register(QStringLiteral("c.cable"), "ZT CPS Cable", QString());
    EXPECT_EQ(CountDevices(), m_realCables + 1);
    CUsbCable cable;
    EXPECT_EQ(cable.CountCables(), m_realCablesMatching + 1);
    if (m_realCablesMatching == 0) {
        EXPECT_EQ(CUsbCable::CableIndex(), m_realCables);
    }
}

TEST_F(UsbCableTest, BytesCrossTheLineBothWays) {
    CFarEnd far;
    CUsbCable cable;
    OpenOne(cable, far);
    const QByteArray request("\xFF\x00\x04\x11\x01\x00\x09\x04\xE7", 9);
    EXPECT_EQ(cable.Write(request.constData(), static_cast<int>(request.size())), request.size());
    // No line discipline between the cable and the radio: 0x0A, 0x0D and 0x11 pass unchanged.
    EXPECT_EQ(far.Receive(request.size()), request);

    const QByteArray reply("\x50\x0A\x0D\x11\x13\x7F", 6);
    far.Send(reply);
    char buffer[6] = {};
    EXPECT_EQ(cable.Read(buffer, 6), 6);
    EXPECT_EQ(QByteArray(buffer, 6), reply);

    far.Send(reply);
    QByteArray through;
    while (through.size() < reply.size()) {
        const TransportRead got = cable.Read(64, Clock::now() + kPatience);
        ASSERT_EQ(got.status, 0);
        ASSERT_FALSE(got.bytes.isEmpty());
        through += got.bytes;
    }
    EXPECT_EQ(through, reply);
    EXPECT_EQ(cable.LastStatus(), d2xx::FT_OK);
    EXPECT_EQ(cable.Close(), 1);
    EXPECT_FALSE(cable.IsOpen());
    EXPECT_EQ(cable.Close(), 0);
}

TEST_F(UsbCableTest, SilenceUntilTheDeadlineGivesNoBytes) {
    CFarEnd far;
    CUsbCable cable;
    OpenOne(cable, far);
    const TransportRead got = cable.Read(64, Clock::now() + 30ms);
    EXPECT_EQ(got.status, 0);
    EXPECT_TRUE(got.bytes.isEmpty());

    char buffer[4] = {};
    EXPECT_EQ(cable.Read(buffer, 4), 0);
    // A short read is not a failure of the line.
    EXPECT_EQ(cable.LastStatus(), d2xx::FT_OK);
}

TEST_F(UsbCableTest, FarEndHangingUpFailsInsteadOfWaiting) {
    CFarEnd far;
    CUsbCable cable;
    OpenOne(cable, far);
    far.Hangup();
    const TransportRead got = cable.Read(64, Clock::now() + kPatience);
    EXPECT_NE(got.status, 0);
    EXPECT_TRUE(got.bytes.isEmpty());
    EXPECT_NE(cable.LastStatus(), d2xx::FT_OK);
    EXPECT_NE(cable.Write(QByteArrayView("\x22")).status, 0);
    char buffer[4] = {};
    EXPECT_EQ(cable.Read(buffer, 4), 0);
}

TEST_F(UsbCableTest, PurgeDropsPendingInput) {
    CFarEnd far;
    CUsbCable cable;
    OpenOne(cable, far);
    far.Send("AB");
    // Once A is here, B came with it and waits in the receive buffer.
    const TransportRead first = cable.Read(1, Clock::now() + kPatience);
    ASSERT_EQ(first.bytes, QByteArray("A"));
    EXPECT_EQ(cable.Purge(), 0);
    far.Send("C");
    const TransportRead after = cable.Read(16, Clock::now() + kPatience);
    EXPECT_EQ(after.status, 0);
    EXPECT_EQ(after.bytes, QByteArray("C"));
}

TEST_F(UsbCableTest, OpenGivesUpAfterThreeAttemptsWithGrowingPauses) {
    CUsbCable cable;
    std::vector<std::chrono::milliseconds> pauses;
    cable.SetWait([&pauses](std::chrono::milliseconds pause) { pauses.push_back(pause); });
    ASSERT_EQ(cable.CountCables(), m_realCablesMatching);
    EXPECT_EQ(cable.Open(m_realCables), 0);
    EXPECT_EQ(pauses, (std::vector<std::chrono::milliseconds>{500ms, 1000ms}));
    EXPECT_EQ(cable.LastStatus(), d2xx::FT_DEVICE_NOT_FOUND);
    EXPECT_FALSE(cable.IsOpen());
    char buffer[4] = {};
    EXPECT_EQ(cable.Read(buffer, 4), 0);
    EXPECT_NE(cable.Purge(), 0);
}

TEST_F(UsbCableTest, NothingMovesWithoutAnOpenLine) {
    CUsbCable cable;
    EXPECT_EQ(cable.Close(), 0);
    EXPECT_EQ(cable.Write("x", 1), 0);
    EXPECT_NE(cable.Write(QByteArrayView("x")).status, 0);
    EXPECT_NE(cable.Read(4, Clock::now()).status, 0);
}

}  // namespace
