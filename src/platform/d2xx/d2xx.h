#pragma once

// The cable driver calls the radio link relies on, with the usual driver library's names, arguments
// and status codes, so that the cable code reads the same whichever driver sits underneath. Here
// they run over the kernel's USB serial driver (/dev/ttyUSB*, found by the USB product string) and
// over virtual cables: pseudo-terminals that a radio simulator registers in the cable folder.

#include <chrono>
#include <cstdint>
#include <vector>

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace d2xx {

using FT_STATUS = std::uint32_t;
using DWORD = std::uint32_t;
struct Device;
using FT_HANDLE = Device*;

inline constexpr FT_STATUS FT_OK = 0;
inline constexpr FT_STATUS FT_INVALID_HANDLE = 1;
inline constexpr FT_STATUS FT_DEVICE_NOT_FOUND = 2;
inline constexpr FT_STATUS FT_DEVICE_NOT_OPENED = 3;
inline constexpr FT_STATUS FT_IO_ERROR = 4;
inline constexpr FT_STATUS FT_INVALID_PARAMETER = 6;
inline constexpr FT_STATUS FT_INVALID_BAUD_RATE = 7;
inline constexpr FT_STATUS FT_OTHER_ERROR = 18;

inline constexpr DWORD FT_LIST_NUMBER_ONLY = 0x80000000;
inline constexpr DWORD FT_LIST_BY_INDEX = 0x40000000;
inline constexpr DWORD FT_OPEN_BY_DESCRIPTION = 2;

inline constexpr std::uint8_t FT_BITS_8 = 8;
inline constexpr std::uint8_t FT_STOP_BITS_1 = 0;
inline constexpr std::uint8_t FT_PARITY_NONE = 0;
inline constexpr std::uint16_t FT_FLOW_NONE = 0x0000;
inline constexpr DWORD FT_PURGE_RX = 1;
inline constexpr DWORD FT_PURGE_TX = 2;

// Room for a description including its terminator; longer ones are cut to fit.
inline constexpr int kDescriptionSize = 64;

// FT_LIST_NUMBER_ONLY: arg1 points to a DWORD that receives the count, and the device list is
// taken afresh; later calls by index and FT_Open refer to that list. FT_LIST_BY_INDEX with
// FT_OPEN_BY_DESCRIPTION: arg1 carries the index itself, arg2 a kDescriptionSize-byte buffer.
FT_STATUS FT_ListDevices(void* arg1, void* arg2, DWORD flags);
FT_STATUS FT_Open(int index, FT_HANDLE* handle);
FT_STATUS FT_Close(FT_HANDLE handle);
FT_STATUS FT_SetBaudRate(FT_HANDLE handle, DWORD baudRate);
FT_STATUS FT_SetDataCharacteristics(FT_HANDLE handle, std::uint8_t wordLength,
                                    std::uint8_t stopBits, std::uint8_t parity);
FT_STATUS FT_SetFlowControl(FT_HANDLE handle, std::uint16_t flowControl, unsigned char xon,
                            unsigned char xoff);
FT_STATUS FT_SetTimeouts(FT_HANDLE handle, DWORD readTimeout, DWORD writeTimeout);
FT_STATUS FT_Purge(FT_HANDLE handle, DWORD mask);
// Waits up to the write time-out; bytes not taken by then are reported as not written.
FT_STATUS FT_Write(FT_HANDLE handle, const void* buffer, DWORD count, DWORD* written);
// Waits until count bytes have come or the read time-out has passed.
FT_STATUS FT_Read(FT_HANDLE handle, void* buffer, DWORD count, DWORD* read);

// Our addition for the protocol's byte transport: returns as soon as any bytes are there, or with
// none once the deadline has passed, whatever the read time-out says.
FT_STATUS ReadSome(FT_HANDLE handle, void* buffer, DWORD count,
                   std::chrono::steady_clock::time_point deadline, DWORD* read);

// Where virtual cables are registered: $VESKCPS_CABLE_DIR, else $XDG_RUNTIME_DIR/veskcps/cables,
// else /tmp/veskcps-$UID/cables.
QString VirtualCableFolder();

// Where the kernel's device tree is read: /sys, unless $VESKCPS_SYSFS_ROOT names a copy of it
// (to diagnose a machine from a saved tree, and for tests).
QString SysfsRoot();

// For diagnosis: the device list as a count would take it now, in its order, with what would keep
// each real port from working (no device node, no permission, a slow latency timer).
struct SDeviceReport {
    QString path;
    QByteArray description;
    bool isVirtual = false;
    QStringList problems;
};
std::vector<SDeviceReport> DescribeDevices();

// USB converters that look like a programming cable (the converter maker's vendor id, or one of
// the cable descriptions as product) but that no serial driver has taken, so they have no port:
// "1-1.2 (ZT CPS Cable)".
QStringList UnboundConverters();

}  // namespace d2xx
