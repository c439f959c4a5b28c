// Finding real cables the way a machine shows them: the kernel's device tree, read from a copy
// laid out as the USB serial driver lays it out.

#include <algorithm>
#include <vector>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "env_guard.h"
#include "platform/d2xx/d2xx.h"
#include "radio/usb_cable.h"

#include <gtest/gtest.h>

namespace {

struct SPort {
    const char* tty;
    const char* usbDevice;  // "1-1"
    const char* product;    // nullptr: the device has no product string
    const char* vendor;
    const char* latency;      // nullptr: the driver offers no latency timer
    bool portBelowInterface;  // false: the port hangs directly below the device (older drivers)
};

class CSysfsCopy {
public:
    explicit CSysfsCopy(const QString& root) : m_root(root) {}

    void AddPort(const SPort& port) {
        const QString device = AddUsbDevice(port.usbDevice, port.product, port.vendor, true);
        const QString portDir =
            port.portBelowInterface
                ? device + QStringLiteral("/%1:1.0/%2").arg(port.usbDevice, port.tty)
                : device + QStringLiteral("/%1").arg(port.tty);
        ASSERT_TRUE(QDir().mkpath(portDir));
        if (port.latency != nullptr) {
            Write(portDir + QStringLiteral("/latency_timer"), port.latency);
        }
        const QString classDir = m_root + QStringLiteral("/class/tty/") + port.tty;
        ASSERT_TRUE(QDir().mkpath(classDir));
        ASSERT_TRUE(QFile::link(portDir, classDir + QStringLiteral("/device")));
    }

    // A converter with no port: its interface has no driver.
    void AddUnbound(const char* usbDevice, const char* product, const char* vendor) {
        AddUsbDevice(usbDevice, product, vendor, false);
    }

private:
    QString AddUsbDevice(const char* name, const char* product, const char* vendor, bool bound) {
        const QString device = m_root + QStringLiteral("/devices/pci0000:00/usb1/") + name;
        const QString interface = device + QStringLiteral("/%1:1.0").arg(name);
        EXPECT_TRUE(QDir().mkpath(interface));
        if (product != nullptr) {
            Write(device + QStringLiteral("/product"), QByteArray(product) + '\n');
        }
        Write(device + QStringLiteral("/idVendor"), QByteArray(vendor) + '\n');
        if (bound) {
            const QString driver = m_root + QStringLiteral("/bus/usb-serial/drivers/serial");
            EXPECT_TRUE(QDir().mkpath(driver));
            EXPECT_TRUE(QFile::link(driver, interface + QStringLiteral("/driver")));
        }
        const QString bus = m_root + QStringLiteral("/bus/usb/devices");
        EXPECT_TRUE(QDir().mkpath(bus));
        EXPECT_TRUE(QFile::link(device, bus + QLatin1Char('/') + name));
        EXPECT_TRUE(
            QFile::link(interface, bus + QStringLiteral("/%1:1.0").arg(QLatin1String(name))));
        return device;
    }

    static void Write(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }

    QString m_root;
};

class CableDiscovery : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_scratch.isValid());
        ASSERT_TRUE(QDir().mkpath(m_scratch.filePath(QStringLiteral("cables"))));
        qputenv("VESKCPS_SYSFS_ROOT", QFile::encodeName(m_scratch.filePath(QStringLiteral("sys"))));
        qputenv("VESKCPS_CABLE_DIR",
                QFile::encodeName(m_scratch.filePath(QStringLiteral("cables"))));
    }

    CSysfsCopy Sysfs() const { return CSysfsCopy(m_scratch.filePath(QStringLiteral("sys"))); }

    static std::vector<QByteArray> Descriptions() {
        std::vector<QByteArray> list;
        std::vector<d2xx::SDeviceReport> devices = d2xx::DescribeDevices();
        for (const d2xx::SDeviceReport& device : devices) {
            list.push_back(device.description);
        }
        return list;
    }

    CEnvGuard m_env{"VESKCPS_SYSFS_ROOT", "VESKCPS_CABLE_DIR"};
    QTemporaryDir m_scratch;
};

TEST_F(CableDiscovery, PortsInDeviceNumberOrderWithTheirProductStrings) {
    CSysfsCopy sys = Sysfs();
    // Created out of order, and ttyUSB10 sorting after ttyUSB2 only by number.
    sys.AddPort({"ttyUSB10", "1-4", "ZT CPS Cable Pro", "0403", "1", true});
    sys.AddPort({"ttyUSB2", "1-3", "QMV Series CPS Cable", "0403", "1", true});
    sys.AddPort({"ttyUSB0", "1-1", "GPS receiver", "067b", nullptr, true});
    sys.AddPort({"ttyUSB1", "1-2", "ZT CPS Cable", "0403", "16", false});

    const std::vector<QByteArray> expected{"GPS receiver", "ZT CPS Cable", "QMV Series CPS Cable",
                                           "ZT CPS Cable Pro"};
    EXPECT_EQ(Descriptions(), expected);

    CUsbCable cable;
    EXPECT_EQ(cable.CountCables(), 2);
    EXPECT_EQ(CUsbCable::CableIndex(), 1);

    const std::vector<d2xx::SDeviceReport> devices = d2xx::DescribeDevices();
    ASSERT_EQ(devices.size(), 4u);
    EXPECT_EQ(devices[1].path, QStringLiteral("/dev/ttyUSB1"));
    EXPECT_FALSE(devices[1].isVirtual);
    const auto mentionsLatency = [](const d2xx::SDeviceReport& device) {
        return std::any_of(device.problems.begin(), device.problems.end(), [](const QString& p) {
            return p.startsWith(QLatin1String("latency timer 16 ms"));
        });
    };
    EXPECT_TRUE(mentionsLatency(devices[1]));
    EXPECT_FALSE(mentionsLatency(devices[2]));
}

TEST_F(CableDiscovery, AMissingTreeOrProductMeansNoCable) {
    CUsbCable cable;
    EXPECT_EQ(cable.CountCables(), 0);  // no class/tty folder at all

    CSysfsCopy sys = Sysfs();
    sys.AddPort({"ttyUSB0", "1-1", nullptr, "0403", nullptr, true});
    EXPECT_EQ(Descriptions(), std::vector<QByteArray>{QByteArray()});
    EXPECT_EQ(cable.CountCables(), 0);
}

TEST_F(CableDiscovery, ConvertersWithoutADriverAreNamed) {
    CSysfsCopy sys = Sysfs();
    sys.AddPort({"ttyUSB0", "1-1", "ZT CPS Cable", "0403", "1", true});
    sys.AddUnbound("1-2", "QMV Series CPS Cable", "0403");
    sys.AddUnbound("1-3", "ZT CPS Cable", "1234");  // a cable's name on another maker's chip
    sys.AddUnbound("1-4", nullptr, "0403");
    sys.AddUnbound("1-5", "Keyboard", "046d");

    EXPECT_EQ(d2xx::UnboundConverters(),
              QStringList({QStringLiteral("1-2 (QMV Series CPS Cable)"),
                           QStringLiteral("1-3 (ZT CPS Cable)"), QStringLiteral("1-4")}));
    CUsbCable cable;
    EXPECT_EQ(cable.CountCables(), 1);
}

}  // namespace
