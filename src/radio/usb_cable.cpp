#include "radio/usb_cable.h"

#include <array>
#include <cstring>
#include <thread>

using namespace d2xx;

namespace {

std::atomic<int> g_cableIndex{0};

constexpr std::array<const char*, 2> kCableDescriptions{"QMV Series CPS Cable", "ZT CPS Cable"};
constexpr std::array<std::chrono::milliseconds, CUsbCable::kOpenAttempts - 1> kOpenPauses{
    std::chrono::milliseconds(500), std::chrono::milliseconds(1000)};

}  // namespace

CUsbCable::CUsbCable()
    : m_wait([](std::chrono::milliseconds pause) { std::this_thread::sleep_for(pause); }) {}

CUsbCable::~CUsbCable() {
    Close();
}

bool CUsbCable::IsCableDescription(const char* description) {
    for (const char* name : kCableDescriptions) {
        // Comparing through the terminator: a longer description is another product.
        if (std::strcmp(description, name) == 0) {
            return true;
        }
    }
    return false;
}

int CUsbCable::CableIndex() {
    return g_cableIndex.load();
}

bool CUsbCable::Check(FT_STATUS status) {
    if (status != FT_OK) {
        m_lastStatus = status;
        return false;
    }
    return true;
}

int CUsbCable::CountCables(int* firstIndex) {
    DWORD devices = 0;
    if (!Check(FT_ListDevices(&devices, nullptr, FT_LIST_NUMBER_ONLY))) {
        return 0;
    }
    int matches = 0;
    for (DWORD index = 0; index < devices; ++index) {
        std::array<char, kDescriptionSize> description{};
        // The index travels in the pointer argument, as the driver's call defines it.
        void* byIndex = reinterpret_cast<void*>(static_cast<std::uintptr_t>(index));
        if (FT_ListDevices(byIndex, description.data(),
                           FT_LIST_BY_INDEX | FT_OPEN_BY_DESCRIPTION) != FT_OK) {
            continue;
        }
        description.back() = '\0';
        if (IsCableDescription(description.data())) {
            if (matches == 0) {
                g_cableIndex.store(static_cast<int>(index));
                if (firstIndex != nullptr) {
                    *firstIndex = static_cast<int>(index);
                }
            }
            ++matches;
        }
    }
    return matches;
}

int CUsbCable::Open(int index) {
    if (m_handle != nullptr) {
        Close();
        // A handle that would not close is abandoned: the open below gets a fresh one.
        m_handle = nullptr;
    }
    for (int attempt = 0; attempt < kOpenAttempts; ++attempt) {
        FT_HANDLE handle = nullptr;
        if (Check(FT_Open(index, &handle))) {
            m_handle = handle;
            break;
        }
        m_handle = nullptr;
        if (attempt + 1 < kOpenAttempts) {
            m_wait(kOpenPauses[static_cast<size_t>(attempt)]);
        }
    }
    if (m_handle == nullptr) {
        return 0;
    }
    if (!Check(FT_SetBaudRate(m_handle, kBaudRate)) ||
        !Check(FT_SetDataCharacteristics(m_handle, FT_BITS_8, FT_STOP_BITS_1, FT_PARITY_NONE)) ||
        !Check(FT_SetFlowControl(m_handle, FT_FLOW_NONE, 0, 0)) ||
        !Check(FT_SetTimeouts(m_handle, kTimeoutMs, kTimeoutMs))) {
        // An unconfigured line would garble the radio's memory; it is not left open.
        FT_Close(m_handle);
        m_handle = nullptr;
        return 0;
    }
    // A failed earlier attempt or exchange must not make the protocol refuse a good new line.
    m_lastStatus = FT_OK;
    return 1;
}

int CUsbCable::Close() {
    if (m_handle == nullptr) {
        return 0;
    }
    if (!Check(FT_Close(m_handle))) {
        return 0;
    }
    m_handle = nullptr;
    return 1;
}

int CUsbCable::Read(char* buffer, int count) {
    if (m_handle == nullptr || count <= 0) {
        return 0;
    }
    DWORD got = 0;
    Check(FT_Read(m_handle, buffer, static_cast<DWORD>(count), &got));
    return static_cast<int>(got);
}

int CUsbCable::Write(const char* buffer, int count) {
    if (m_handle == nullptr || count <= 0) {
        return 0;
    }
    DWORD done = 0;
    Check(FT_Write(m_handle, buffer, static_cast<DWORD>(count), &done));
    return static_cast<int>(done);
}

TransportWrite CUsbCable::Write(QByteArrayView bytes) {
    if (m_handle == nullptr) {
        return {static_cast<int>(FT_INVALID_HANDLE), 0};
    }
    DWORD done = 0;
    const FT_STATUS status =
        FT_Write(m_handle, bytes.data(), static_cast<DWORD>(bytes.size()), &done);
    Check(status);
    return {static_cast<int>(status), static_cast<qsizetype>(done)};
}

TransportRead CUsbCable::Read(qsizetype max, Clock::time_point deadline) {
    if (m_handle == nullptr) {
        return {static_cast<int>(FT_INVALID_HANDLE), {}};
    }
    QByteArray bytes(max > 0 ? max : 0, '\0');
    DWORD got = 0;
    const FT_STATUS status =
        ReadSome(m_handle, bytes.data(), static_cast<DWORD>(bytes.size()), deadline, &got);
    Check(status);
    bytes.truncate(static_cast<qsizetype>(got));
    return {static_cast<int>(status), bytes};
}

int CUsbCable::Purge() {
    if (m_handle == nullptr) {
        return static_cast<int>(FT_INVALID_HANDLE);
    }
    const FT_STATUS status = FT_Purge(m_handle, FT_PURGE_RX | FT_PURGE_TX);
    Check(status);
    return static_cast<int>(status);
}
