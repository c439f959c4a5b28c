#pragma once

// The programming cable: find it among the attached converters by its description, open and
// configure it for the radio's line, and move bytes. It is also the byte transport the protocol
// link speaks through.

#include <atomic>
#include <chrono>
#include <functional>

#include <QByteArray>
#include <QByteArrayView>

#include "platform/d2xx/d2xx.h"
#include "radio/protocol.h"

class CUsbCable : public IByteTransport {
public:
    static constexpr d2xx::DWORD kBaudRate = 16406;
    static constexpr d2xx::DWORD kTimeoutMs = 120;
    static constexpr int kOpenAttempts = 3;

    // How the pause between open attempts is spent; the default sleeps.
    using Wait = std::function<void(std::chrono::milliseconds)>;

    CUsbCable();
    ~CUsbCable() override;
    CUsbCable(const CUsbCable&) = delete;
    CUsbCable& operator=(const CUsbCable&) = delete;

    // Whether a converter's description names one of our cables; the whole string must match.
    static bool IsCableDescription(const char* description);

    // The number of matching cables; the first one's device index becomes the cable index, and
    // is also given in *firstIndex (left alone when nothing matches). The device list is taken
    // anew, and an open by index refers to the list of the last count.
    int CountCables(int* firstIndex = nullptr);
    // The device index of the first matching cable of the last count, shared by the process.
    static int CableIndex();

    // 1 when opened and configured, 0 otherwise (the failing call's status is kept).
    int Open(int index);
    int Open() { return Open(CableIndex()); }
    // 1 when a handle was closed, 0 when none was open or the close failed.
    int Close();
    int Read(char* buffer, int count);
    int Write(const char* buffer, int count);

    d2xx::FT_STATUS LastStatus() const { return m_lastStatus; }
    bool HasHandle() const { return m_handle != nullptr; }
    int Present() const { return m_present.load(); }
    void SetPresent(int present) { m_present.store(present != 0 ? 1 : 0); }
    void SetWait(Wait wait) { m_wait = std::move(wait); }

    // The byte transport. Purge answers with the status, as the transport's callers expect,
    // where the cable's own convention would be 1 for success.
    bool IsOpen() const override { return m_handle != nullptr; }
    TransportWrite Write(QByteArrayView bytes) override;
    TransportRead Read(qsizetype max, Clock::time_point deadline) override;
    int Purge() override;

private:
    bool Check(d2xx::FT_STATUS status);

    d2xx::FT_HANDLE m_handle = nullptr;
    d2xx::FT_STATUS m_lastStatus = d2xx::FT_OK;
    std::atomic<int> m_present{0};
    Wait m_wait;
};
