#include "platform/d2xx/d2xx.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <mutex>
#include <vector>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

// termios2 comes from the kernel headers; the C library's <termios.h> would clash with it and
// knows no arbitrary rates.
#include <asm/termbits.h>
#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace d2xx {

struct Device {
    int fd = -1;
    bool isVirtual = false;
    int readTimeoutMs = 120;
    int writeTimeoutMs = 120;
};

namespace {

using Clock = std::chrono::steady_clock;

struct ListedDevice {
    QString path;
    QByteArray description;
    bool isVirtual = false;
};

std::mutex g_listMutex;
std::vector<ListedDevice> g_list;
bool g_listTaken = false;

QByteArray ReadFirstLine(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return file.readLine(256).trimmed();
}

// The USB product string lives on the USB device, two levels above the serial port's own node
// (port -> interface -> device); some drivers hang the port directly below the interface's parent.
QByteArray ProductOf(const QString& ttyName) {
    const QString device =
        QFileInfo(SysfsRoot() + QStringLiteral("/class/tty/%1/device").arg(ttyName))
            .canonicalFilePath();
    if (device.isEmpty()) {
        return {};
    }
    for (const char* up : {"/../../product", "/../product"}) {
        const QByteArray product = ReadFirstLine(device + QLatin1String(up));
        if (!product.isEmpty()) {
            return product;
        }
    }
    return {};
}

void AddRealCables(std::vector<ListedDevice>& list) {
    static const QRegularExpression number(QStringLiteral("^ttyUSB(\\d+)$"));
    std::vector<std::pair<int, QString>> ports;
    const QStringList names =
        QDir(SysfsRoot() + QStringLiteral("/class/tty"))
            .entryList({QStringLiteral("ttyUSB*")}, QDir::AllEntries | QDir::System);
    for (const QString& name : names) {
        const auto match = number.match(name);
        if (match.hasMatch()) {
            ports.emplace_back(match.captured(1).toInt(), name);
        }
    }
    std::sort(ports.begin(), ports.end());
    for (const auto& [n, name] : ports) {
        Q_UNUSED(n);
        list.push_back({QStringLiteral("/dev/") + name, ProductOf(name), false});
    }
}

void AddVirtualCables(std::vector<ListedDevice>& list) {
    const QDir folder(VirtualCableFolder());
    const QStringList files =
        folder.entryList({QStringLiteral("*.cable")}, QDir::Files | QDir::Readable, QDir::Name);
    for (const QString& name : files) {
        QFile file(folder.filePath(name));
        if (!file.open(QIODevice::ReadOnly)) {
            continue;
        }
        ListedDevice cable;
        cable.isVirtual = true;
        // A registration is a few short lines; anything far larger is not one of ours.
        const QList<QByteArray> lines = file.read(4096).split('\n');
        for (QByteArray line : lines) {
            if (line.endsWith('\r')) {
                line.chop(1);
            }
            if (line.startsWith("description=")) {
                cable.description = line.mid(12);
            } else if (line.startsWith("device=")) {
                cable.path = QString::fromLocal8Bit(line.mid(7).trimmed());
            }
        }
        // A simulator that died leaves its file behind; its pseudo-terminal is gone with it.
        if (!cable.path.isEmpty() && QFileInfo::exists(cable.path)) {
            list.push_back(std::move(cable));
        }
    }
}

std::vector<ListedDevice> TakeList() {
    std::vector<ListedDevice> list;
    AddRealCables(list);
    AddVirtualCables(list);
    return list;
}

FT_STATUS SetAttributes(FT_HANDLE handle, void (*change)(termios2&)) {
    termios2 tio{};
    if (ioctl(handle->fd, TCGETS2, &tio) != 0) {
        return FT_IO_ERROR;
    }
    change(tio);
    if (ioctl(handle->fd, TCSETS2, &tio) != 0) {
        return FT_IO_ERROR;
    }
    return FT_OK;
}

int MillisecondsLeft(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) {
        return 0;
    }
    return static_cast<int>(std::min<long long>(left + 1, 60000));
}

// Reads until count bytes are there (or, with anyIsEnough, until the first ones come) or until the
// deadline. A hung-up or failing line is a status, never a wait: the cable may be pulled mid-frame.
FT_STATUS ReadUntil(FT_HANDLE handle, char* buffer, DWORD count, Clock::time_point deadline,
                    bool anyIsEnough, DWORD* read) {
    DWORD got = 0;
    *read = 0;
    while (got < count) {
        const ssize_t n = ::read(handle->fd, buffer + got, count - got);
        if (n > 0) {
            got += static_cast<DWORD>(n);
            *read = got;
            if (anyIsEnough) {
                break;
            }
            continue;
        }
        if (n == 0) {
            return FT_IO_ERROR;  // the far end hung up
        }
        if (errno == EINTR) {
            continue;
        }
        if (errno != EAGAIN) {
            return FT_IO_ERROR;
        }
        const int wait = MillisecondsLeft(deadline);
        if (wait == 0) {
            break;
        }
        pollfd p{handle->fd, POLLIN, 0};
        const int ready = ::poll(&p, 1, wait);
        if (ready < 0 && errno != EINTR) {
            return FT_IO_ERROR;
        }
        if (ready > 0 && (p.revents & POLLIN) == 0 &&
            (p.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0) {
            return FT_IO_ERROR;
        }
    }
    return FT_OK;
}

}  // namespace

QString VirtualCableFolder() {
    const QString configured = qEnvironmentVariable("VESKCPS_CABLE_DIR");
    if (!configured.isEmpty()) {
        return configured;
    }
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty()) {
        return runtime + QStringLiteral("/veskcps/cables");
    }
    return QStringLiteral("/tmp/veskcps-%1/cables").arg(::getuid());
}

QString SysfsRoot() {
    const QString configured = qEnvironmentVariable("VESKCPS_SYSFS_ROOT");
    return configured.isEmpty() ? QStringLiteral("/sys") : configured;
}

std::vector<SDeviceReport> DescribeDevices() {
    std::vector<SDeviceReport> reports;
    for (const ListedDevice& device : TakeList()) {
        SDeviceReport report{device.path, device.description, device.isVirtual, {}};
        if (!device.isVirtual) {
            const QByteArray node = QFile::encodeName(device.path);
            if (::access(node.constData(), F_OK) != 0) {
                report.problems << QStringLiteral("no device node %1").arg(device.path);
            } else if (::access(node.constData(), R_OK | W_OK) != 0) {
                report.problems << QStringLiteral(
                                       "no permission to open %1 (see its group: ls -l %1)")
                                       .arg(device.path);
            }
            const QString name = QFileInfo(device.path).fileName();
            bool ok = false;
            const int latency =
                ReadFirstLine(SysfsRoot() +
                              QStringLiteral("/class/tty/%1/device/latency_timer").arg(name))
                    .toInt(&ok);
            if (ok && latency > 1) {
                report.problems << QStringLiteral(
                                       "latency timer %1 ms (opening asks the driver for 1 ms)")
                                       .arg(latency);
            }
        }
        reports.push_back(std::move(report));
    }
    return reports;
}

QStringList UnboundConverters() {
    static const QByteArray kConverterVendor = "0403";
    QStringList unbound;
    const QDir devices(SysfsRoot() + QStringLiteral("/bus/usb/devices"));
    for (const QString& name :
         devices.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System, QDir::Name)) {
        // Interfaces ("1-1:1.0") are listed beside their devices; only devices carry a vendor.
        if (name.contains(QLatin1Char(':'))) {
            continue;
        }
        const QString path = devices.filePath(name);
        const QByteArray vendor = ReadFirstLine(path + QStringLiteral("/idVendor"));
        const QByteArray product = ReadFirstLine(path + QStringLiteral("/product"));
        const bool cableProduct = product == "QMV Series CPS Cable" || product == "ZT CPS Cable";
        if (vendor != kConverterVendor && !cableProduct) {
            continue;
        }
        bool bound = false;
        const QDir device(path);
        for (const QString& interface :
             device.entryList({name + QStringLiteral(":*")},
                              QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System)) {
            if (QFileInfo::exists(device.filePath(interface) + QStringLiteral("/driver"))) {
                bound = true;
            }
        }
        if (!bound) {
            unbound << (product.isEmpty()
                            ? name
                            : QStringLiteral("%1 (%2)").arg(name, QString::fromUtf8(product)));
        }
    }
    return unbound;
}

FT_STATUS FT_ListDevices(void* arg1, void* arg2, DWORD flags) {
    std::lock_guard lock(g_listMutex);
    if ((flags & FT_LIST_NUMBER_ONLY) != 0) {
        if (arg1 == nullptr) {
            return FT_INVALID_PARAMETER;
        }
        g_list = TakeList();
        g_listTaken = true;
        *static_cast<DWORD*>(arg1) = static_cast<DWORD>(g_list.size());
        return FT_OK;
    }
    if ((flags & FT_LIST_BY_INDEX) != 0 && (flags & FT_OPEN_BY_DESCRIPTION) != 0) {
        if (arg2 == nullptr) {
            return FT_INVALID_PARAMETER;
        }
        const auto index = reinterpret_cast<std::uintptr_t>(arg1);
        if (index >= g_list.size()) {
            return FT_DEVICE_NOT_FOUND;
        }
        const QByteArray& description = g_list[index].description;
        const auto n = std::min<qsizetype>(description.size(), kDescriptionSize - 1);
        std::memcpy(arg2, description.constData(), static_cast<size_t>(n));
        static_cast<char*>(arg2)[n] = '\0';
        return FT_OK;
    }
    return FT_INVALID_PARAMETER;
}

FT_STATUS FT_Open(int index, FT_HANDLE* handle) {
    if (handle == nullptr) {
        return FT_INVALID_PARAMETER;
    }
    *handle = nullptr;
    ListedDevice listed;
    {
        std::lock_guard lock(g_listMutex);
        if (!g_listTaken) {
            g_list = TakeList();
            g_listTaken = true;
        }
        if (index < 0 || static_cast<size_t>(index) >= g_list.size()) {
            return FT_DEVICE_NOT_FOUND;
        }
        listed = g_list[static_cast<size_t>(index)];
    }
    const QByteArray path = QFile::encodeName(listed.path);
    const int fd = ::open(path.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return FT_DEVICE_NOT_OPENED;
    }
    termios2 tio{};
    if (ioctl(fd, TCGETS2, &tio) != 0) {
        ::close(fd);
        return FT_DEVICE_NOT_OPENED;
    }
    // The converter passes bytes through untouched; the line discipline must do the same.
    tio.c_iflag &= ~static_cast<tcflag_t>(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR |
                                          ICRNL | IXON | IXOFF | IXANY);
    tio.c_oflag &= ~static_cast<tcflag_t>(OPOST);
    tio.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    tio.c_cflag |= CREAD | CLOCAL;
    // With VMIN 0 an empty line would read as end of file; with 1 it says EAGAIN, and the
    // descriptor being non-blocking, the deadlines stay ours.
    tio.c_cc[VMIN] = 1;
    tio.c_cc[VTIME] = 0;
    if (ioctl(fd, TCSETS2, &tio) != 0) {
        ::close(fd);
        return FT_DEVICE_NOT_OPENED;
    }
    // The converter's kernel driver otherwise holds received bytes for 16 ms, which the protocol's
    // time-outs cannot afford; ports without the setting (a pseudo-terminal) deliver at once
    // anyway.
    serial_struct serial{};
    if (ioctl(fd, TIOCGSERIAL, &serial) == 0) {
        serial.flags |= ASYNC_LOW_LATENCY;
        if (ioctl(fd, TIOCSSERIAL, &serial) != 0 && errno != ENOTTY && errno != EINVAL &&
            errno != EPERM) {
            ::close(fd);
            return FT_DEVICE_NOT_OPENED;
        }
    } else if (errno != ENOTTY && errno != EINVAL) {
        ::close(fd);
        return FT_DEVICE_NOT_OPENED;
    }
    // Another copy of the program must not open a cable that is mid-transfer.
    if (!listed.isVirtual) {
        ioctl(fd, TIOCEXCL);
    }
    *handle = new Device{fd, listed.isVirtual};
    return FT_OK;
}

FT_STATUS FT_Close(FT_HANDLE handle) {
    if (handle == nullptr) {
        return FT_INVALID_HANDLE;
    }
    const int result = ::close(handle->fd);
    delete handle;
    // The descriptor is released even when close reports an error, so the handle is gone either
    // way; only a bad descriptor means the handle was not ours.
    return result != 0 && errno == EBADF ? FT_INVALID_HANDLE : FT_OK;
}

FT_STATUS FT_SetBaudRate(FT_HANDLE handle, DWORD baudRate) {
    if (handle == nullptr) {
        return FT_INVALID_HANDLE;
    }
    if (baudRate == 0) {
        return FT_INVALID_BAUD_RATE;
    }
    termios2 tio{};
    if (ioctl(handle->fd, TCGETS2, &tio) != 0) {
        return FT_IO_ERROR;
    }
    tio.c_cflag &= ~static_cast<tcflag_t>(CBAUD | (CBAUD << IBSHIFT));
    tio.c_cflag |= BOTHER | (BOTHER << IBSHIFT);
    tio.c_ispeed = baudRate;
    tio.c_ospeed = baudRate;
    if (ioctl(handle->fd, TCSETS2, &tio) != 0) {
        // A pseudo-terminal has no wire and may refuse a rate it cannot express; that costs a
        // simulator nothing.
        return handle->isVirtual ? FT_OK : FT_INVALID_BAUD_RATE;
    }
    return FT_OK;
}

FT_STATUS FT_SetDataCharacteristics(FT_HANDLE handle, std::uint8_t wordLength,
                                    std::uint8_t stopBits, std::uint8_t parity) {
    if (handle == nullptr) {
        return FT_INVALID_HANDLE;
    }
    // The cable only ever runs 8N1; refusing the rest keeps a wrong call from passing silently.
    if (wordLength != FT_BITS_8 || stopBits != FT_STOP_BITS_1 || parity != FT_PARITY_NONE) {
        return FT_INVALID_PARAMETER;
    }
    return SetAttributes(handle, [](termios2& tio) {
        tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | CSTOPB | PARENB | PARODD);
        tio.c_cflag |= CS8;
    });
}

FT_STATUS FT_SetFlowControl(FT_HANDLE handle, std::uint16_t flowControl, unsigned char xon,
                            unsigned char xoff) {
    Q_UNUSED(xon);
    Q_UNUSED(xoff);
    if (handle == nullptr) {
        return FT_INVALID_HANDLE;
    }
    if (flowControl != FT_FLOW_NONE) {
        return FT_INVALID_PARAMETER;
    }
    return SetAttributes(handle, [](termios2& tio) {
        tio.c_cflag &= ~static_cast<tcflag_t>(CRTSCTS);
        tio.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
    });
}

FT_STATUS FT_SetTimeouts(FT_HANDLE handle, DWORD readTimeout, DWORD writeTimeout) {
    if (handle == nullptr) {
        return FT_INVALID_HANDLE;
    }
    handle->readTimeoutMs = static_cast<int>(std::min<DWORD>(readTimeout, 60000));
    handle->writeTimeoutMs = static_cast<int>(std::min<DWORD>(writeTimeout, 60000));
    return FT_OK;
}

FT_STATUS FT_Purge(FT_HANDLE handle, DWORD mask) {
    if (handle == nullptr) {
        return FT_INVALID_HANDLE;
    }
    const bool rx = (mask & FT_PURGE_RX) != 0;
    const bool tx = (mask & FT_PURGE_TX) != 0;
    if (!rx && !tx) {
        return FT_OK;
    }
    const int which = rx && tx ? TCIOFLUSH : (rx ? TCIFLUSH : TCOFLUSH);
    return ioctl(handle->fd, TCFLSH, which) == 0 ? FT_OK : FT_IO_ERROR;
}

FT_STATUS FT_Write(FT_HANDLE handle, const void* buffer, DWORD count, DWORD* written) {
    if (handle == nullptr) {
        return FT_INVALID_HANDLE;
    }
    if (written == nullptr || (buffer == nullptr && count > 0)) {
        return FT_INVALID_PARAMETER;
    }
    const auto deadline = Clock::now() + std::chrono::milliseconds(handle->writeTimeoutMs);
    const char* bytes = static_cast<const char*>(buffer);
    DWORD done = 0;
    *written = 0;
    while (done < count) {
        const ssize_t n = ::write(handle->fd, bytes + done, count - done);
        if (n > 0) {
            done += static_cast<DWORD>(n);
            *written = done;
            continue;
        }
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0 && errno != EAGAIN) {
            return FT_IO_ERROR;
        }
        const int wait = MillisecondsLeft(deadline);
        if (wait == 0) {
            break;
        }
        pollfd p{handle->fd, POLLOUT, 0};
        const int ready = ::poll(&p, 1, wait);
        if (ready < 0 && errno != EINTR) {
            return FT_IO_ERROR;
        }
        if (ready > 0 && (p.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0) {
            return FT_IO_ERROR;
        }
    }
    return FT_OK;
}

FT_STATUS FT_Read(FT_HANDLE handle, void* buffer, DWORD count, DWORD* read) {
    if (handle == nullptr) {
        return FT_INVALID_HANDLE;
    }
    if (read == nullptr || (buffer == nullptr && count > 0)) {
        return FT_INVALID_PARAMETER;
    }
    const auto deadline = Clock::now() + std::chrono::milliseconds(handle->readTimeoutMs);
    return ReadUntil(handle, static_cast<char*>(buffer), count, deadline, false, read);
}

FT_STATUS ReadSome(FT_HANDLE handle, void* buffer, DWORD count, Clock::time_point deadline,
                   DWORD* read) {
    if (handle == nullptr) {
        return FT_INVALID_HANDLE;
    }
    if (read == nullptr || (buffer == nullptr && count > 0)) {
        return FT_INVALID_PARAMETER;
    }
    return ReadUntil(handle, static_cast<char*>(buffer), count, deadline, true, read);
}

}  // namespace d2xx
